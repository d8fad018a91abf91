#include "control/CalculatingFace.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRect>

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

}  // namespace

void CalculatingFace::Paint(QPainter& painter, const QRect& bounds) {
    const QImage& face = FaceFor(painter, bounds.size());
    if (face.isNull()) {
        PaintInPlace(painter, bounds);
        return;
    }
    painter.drawImage(bounds.topLeft(), face);
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

const QImage& CalculatingFace::FaceFor(QPainter& painter, QSize size) {
    static const QImage none;
    const QImage* target = TargetImage(painter);
    // A translucent painter, or one that composes other than over, would show
    // what lies beneath through an opaque copy differently from a fill.
    if (!target || size.isEmpty() || !sonolux::MapsOntoWholeDevicePixels(painter) ||
        painter.opacity() != 1 || painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return none;
    const qreal ratio = painter.deviceTransform().m11();
    const QSize pixels = size * ratio;
    // A face pays for itself in a grid of cells; a single large control is
    // painted in place, rather than held in a copy.
    if (static_cast<qint64>(pixels.width()) * pixels.height() > LargestFacePixels) return none;
    const QPaintDevice* device = painter.device();
    const int dpiX = device->logicalDpiX();
    const int dpiY = device->logicalDpiY();
    for (const Face& face : m_faces) {
        if (face.image.size() == pixels && face.image.devicePixelRatio() == ratio &&
            face.image.format() == target->format() && face.dpiX == dpiX && face.dpiY == dpiY &&
            face.direction == painter.layoutDirection() && face.hints == painter.renderHints() &&
            face.font == painter.font())
            return face.image;
    }
    QImage image(pixels, target->format());
    if (image.isNull()) return none;
    image.setDevicePixelRatio(ratio);
    image.setDotsPerMeterX(qRound(dpiX / 0.0254));
    image.setDotsPerMeterY(qRound(dpiY / 0.0254));
    // The font's pixel size follows the resolution it is drawn at.
    if (image.logicalDpiX() != dpiX || image.logicalDpiY() != dpiY) return none;
    {
        QPainter facePainter(&image);
        facePainter.setRenderHints(painter.renderHints());
        facePainter.setFont(painter.font());
        facePainter.setLayoutDirection(painter.layoutDirection());
        PaintInPlace(facePainter, QRect(QPoint(0, 0), size));
    }
    Face& replaced = m_faces[m_nextReplaced];
    m_nextReplaced = (m_nextReplaced + 1) % FaceCount;
    replaced =
        Face{image, painter.font(), painter.layoutDirection(), painter.renderHints(), dpiX, dpiY};
    return replaced.image;
}
