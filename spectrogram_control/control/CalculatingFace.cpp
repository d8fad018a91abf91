#include "control/CalculatingFace.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <QWidget>

#include "engine/SpectrogramImage.h"

namespace {

// The image the painter's engine paints into, or null for a device that is not
// one (a printer, a picture).
const QImage* TargetImage(const QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    const QPaintDevice* target = engine ? engine->paintDevice() : nullptr;
    return target && target->devType() == QInternal::Image ? static_cast<const QImage*>(target)
                                                           : nullptr;
}

QRect DeviceRect(const QPainter& painter, const QRect& bounds) {
    return painter.deviceTransform().mapRect(bounds);
}

// The region the paint may reach, in device pixels; empty when it is not
// bounded (a painter of an image that was given no clip).
QRegion SystemClip(const QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    return engine ? engine->systemClip() : QRegion();
}

}  // namespace

bool CalculatingFace::Key::operator==(const Key& other) const {
    return pixels == other.pixels && ratio == other.ratio && format == other.format &&
           screen == other.screen && dpiX == other.dpiX && dpiY == other.dpiY &&
           direction == other.direction && hints == other.hints && font == other.font;
}

void CalculatingFace::Paint(QPainter& painter, const QRect& bounds) {
    const std::optional<Key> key = KeyFor(painter, bounds);
    if (key) {
        for (const Face& face : m_faces) {
            if (face.key == *key) {
                painter.drawImage(bounds.topLeft(), face.image);
                return;
            }
        }
    }
    PaintInPlace(painter, bounds);
    if (key) Keep(*key, painter, bounds);
}

void CalculatingFace::PaintInPlace(QPainter& painter, const QRect& bounds) {
    painter.fillRect(bounds, Qt::white);
    const int x = (bounds.left() + bounds.right() + 1) / 2;
    const int y = (bounds.top() + bounds.bottom() + 1) / 2;
    const QPen pen = painter.pen();
    painter.setPen(Qt::black);
    m_text.Draw(painter, QPoint(x, y));
    painter.setPen(pen);
}

std::optional<CalculatingFace::Key> CalculatingFace::KeyFor(const QPainter& painter,
                                                            const QRect& bounds) {
    const QImage* target = TargetImage(painter);
    // A translucent painter, or one that composes other than over, would show
    // what lies beneath through an opaque copy differently from a fill.
    if (!target || bounds.isEmpty() || !sonolux::MapsOntoWholeDevicePixels(painter) ||
        painter.opacity() != 1 || painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return std::nullopt;
    // Text wider than the cell reaches beyond it where the paint is not kept
    // within it; a copy would not.
    const QRect device = DeviceRect(painter, bounds);
    const QRegion clip = SystemClip(painter);
    if (clip.isEmpty() || !device.contains(clip.boundingRect())) return std::nullopt;
    // A face pays for itself in a grid of cells; a single large control is
    // painted in place, rather than held in a copy.
    if (static_cast<qint64>(device.width()) * device.height() > LargestFacePixels)
        return std::nullopt;
    const QPaintDevice* drawnOn = painter.device();
    Key key;
    key.pixels = device.size();
    key.ratio = painter.deviceTransform().m11();
    key.format = target->format();
    if (drawnOn->devType() == QInternal::Widget)
        key.screen = static_cast<const QWidget*>(drawnOn)->screen();
    key.dpiX = drawnOn->logicalDpiX();
    key.dpiY = drawnOn->logicalDpiY();
    key.font = painter.font();
    key.direction = painter.layoutDirection();
    key.hints = painter.renderHints();
    return key;
}

void CalculatingFace::Keep(const Key& key, const QPainter& painter, const QRect& bounds) {
    // Only a paint that reached every pixel of the cell, with nothing clipped
    // away, left a whole face behind.
    const QRect device = DeviceRect(painter, bounds);
    if (painter.hasClipping() || !(QRegion(device) - SystemClip(painter)).isEmpty()) return;
    const QImage* target = TargetImage(painter);
    if (!target->rect().contains(device)) return;
    QImage image = target->copy(device);
    if (image.isNull()) return;
    image.setDevicePixelRatio(key.ratio);
    m_faces[m_nextReplaced] = Face{key, image};
    m_nextReplaced = (m_nextReplaced + 1) % FaceCount;
}
