#include "engine/SpectrogramImage.h"

#include <QPainter>
#include <QRect>
#include <QSize>
#include <algorithm>
#include <cmath>
#include <new>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "engine/AutoContrast.h"
#include "engine/PowerGrid.h"
#include "engine/SpectrogramComputer.h"

namespace sonolux {
namespace {

// Above this many pixels the RGB32 copy for painting is not worth its memory, and
// the palette image is painted directly.
constexpr qint64 MaxDisplayPixels = qint64{1} << 22;

QVector<QRgb> GreyRamp() {
    QVector<QRgb> table(256);
    for (int i = 0; i < 256; ++i) table[i] = qRgb(i, i, i);
    return table;
}

}  // namespace

SpectrogramImage::SpectrogramImage() = default;

void SpectrogramImage::Create(const SpectrogramGeometry& geometry) {
    static const QVector<QRgb> greyRamp = GreyRamp();
    m_built = geometry;
    m_image = QImage((geometry.frameCount + 3) & ~3, geometry.binCount, QImage::Format_Indexed8);
    m_display = QImage();
    if (m_image.isNull()) return;
    if (qint64{geometry.frameCount} * geometry.binCount <= MaxDisplayPixels) {
        m_display = QImage(geometry.frameCount, geometry.binCount, QImage::Format_RGB32);
        m_display.fill(Qt::white);
    }
    m_image.setColorTable(greyRamp);
    m_image.setDotsPerMeterX(2835);
    m_image.setDotsPerMeterY(2835);
    // White until computed, padding columns included, so nothing undefined is ever shown.
    m_image.fill(255);
}

void SpectrogramImage::Build(const std::vector<std::int16_t>& samples,
                             const SpectrogramParameters& parameters, const QSize& controlSizePx) {
    const SpectrogramGeometry geometry =
        ComputeGeometry(parameters, samples.size(), controlSizePx.width(), controlSizePx.height());
    Create(geometry);
    if (m_image.isNull()) return;
    SpectrogramComputer computer(samples, parameters, geometry);
    computer.ComputeSpectrogram(m_image.bits(), m_image.bytesPerLine());
    UpdateDisplay();
}

void SpectrogramImage::Build(const std::vector<std::int16_t>& samples,
                             const SpectrogramParameters& parameters, const QSize& controlSizePx,
                             const PictureOptions& options) {
    if (!options.everySample && !options.autoContrast) {
        Build(samples, parameters, controlSizePx);
        return;
    }
    try {
        BuildFromPowers(samples, parameters, controlSizePx, options);
    } catch (const std::bad_alloc&) {
        // The powers of a grid take eight times its pixels; without room for them
        // the picture stays white, as one whose image cannot be made stays empty.
        if (!m_image.isNull()) m_image.fill(255);
    }
    UpdateDisplay();
}

// The whole grid's powers first, then the grey scale: AutoContrast needs all of
// them, and an every-sample column the largest of several frames, whose logarithm
// is then taken once.
void SpectrogramImage::BuildFromPowers(const std::vector<std::int16_t>& samples,
                                       const SpectrogramParameters& parameters,
                                       const QSize& controlSizePx, const PictureOptions& options) {
    const int width = controlSizePx.width();
    const int height = controlSizePx.height();
    const SpectrogramGeometry geometry =
        options.everySample ? ComputeEverySampleGeometry(parameters, samples.size(), width, height)
                            : ComputeGeometry(parameters, samples.size(), width, height);
    Create(geometry);
    if (m_image.isNull()) return;
    SpectrogramComputer computer(samples, parameters, geometry);
    const PowerGrid powers =
        options.everySample ? LoudestFramePowers(computer) : FramePowers(computer);
    GreyRange range{parameters.powerMin, parameters.powerMax};
    if (options.autoContrast) range = AutoContrastRange(powers);
    DrawPowers(powers, geometry, GreyScale(range.whiteDb, range.blackDb), m_image.bits(),
               m_image.bytesPerLine());
}

void SpectrogramImage::UpdateDisplay() {
    if (m_display.isNull()) return;
    const int width = m_display.width();
    const int height = m_display.height();
    for (int y = 0; y < height; ++y) {
        const uchar* grey = m_image.constScanLine(y);
        auto* rgb = reinterpret_cast<QRgb*>(m_display.scanLine(y));
        int x = 0;
#ifdef __SSE2__
        // Sixteen pixels at a time: the compiler leaves this loop scalar, and it
        // cost a tenth of a small picture's build.
        const __m128i zero = _mm_setzero_si128();
        const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
        for (; x + 16 <= width; x += 16) {
            const __m128i g = _mm_loadu_si128(reinterpret_cast<const __m128i*>(grey + x));
            const __m128i words[2] = {_mm_unpacklo_epi8(g, zero), _mm_unpackhi_epi8(g, zero)};
            for (int half = 0; half < 2; ++half) {
                const __m128i quads[2] = {_mm_unpacklo_epi16(words[half], zero),
                                          _mm_unpackhi_epi16(words[half], zero)};
                for (int q = 0; q < 2; ++q) {
                    const __m128i v = quads[q];
                    const __m128i pixel =
                        _mm_or_si128(_mm_or_si128(opaque, v),
                                     _mm_or_si128(_mm_slli_epi32(v, 8), _mm_slli_epi32(v, 16)));
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(rgb + x + 8 * half + 4 * q), pixel);
                }
            }
        }
#endif
        for (; x < width; ++x) rgb[x] = 0xFF000000u | grey[x] * 0x010101u;
    }
}

QRect SpectrogramImage::SourceRect() const {
    return QRect(0, 0, std::min(m_built.frameCount, m_image.width()),
                 std::min(m_built.binCount, m_image.height()));
}

void SpectrogramImage::Paint(QPainter& painter, const QRect& bounds) const {
    if (m_image.isNull()) return;
    const QRect source = SourceRect();
    if (source.isEmpty() || bounds.isEmpty()) return;
    // Only the hint is set aside: a saved painter state costs more than the paint
    // of a small picture.
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    if (smooth) painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRectF(bounds), m_display.isNull() ? m_image : m_display, QRectF(source));
    if (smooth) painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

bool SpectrogramImage::Covers(const QPainter& painter) const {
    return !m_image.isNull() && !SourceRect().isEmpty() && MapsOntoWholeDevicePixels(painter);
}

bool MapsOntoWholeDevicePixels(const QPainter& painter) {
    const QTransform& toDevice = painter.deviceTransform();
    const auto whole = [](qreal value) { return value == std::floor(value); };
    return toDevice.type() <= QTransform::TxScale && toDevice.m11() == toDevice.m22() &&
           toDevice.m11() >= 1 && whole(toDevice.m11()) && whole(toDevice.dx()) &&
           whole(toDevice.dy());
}

}  // namespace sonolux
