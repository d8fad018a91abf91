#pragma once

#include <QImage>
#include <QRect>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/SpectrogramParameters.h"

class QPainter;
class QSize;

namespace sonolux {

// The off-screen 8-bit grey picture of a spectrogram: index 0 black, 255 white,
// width the frame count rounded up to a multiple of 4, height the bin count,
// bin 0 along the bottom edge.
class SpectrogramImage {
public:
    SpectrogramImage();

    // Replaces the image by a new one sized for `geometry`, all white. If the image
    // cannot be allocated it stays null, and Build() and Paint() then do nothing.
    void Create(const SpectrogramGeometry& geometry);

    // Create() for the grid that `samples` and `parameters` give in a control of
    // `controlSizePx`, then computes the whole grid into it.
    void Build(const std::vector<std::int16_t>& samples, const SpectrogramParameters& parameters,
               const QSize& controlSizePx);
    // Build() drawn as `options` ask: with both off exactly Build() above; an
    // every-sample grid is sized by ComputeEverySampleGeometry.
    void Build(const std::vector<std::int16_t>& samples, const SpectrogramParameters& parameters,
               const QSize& controlSizePx, const PictureOptions& options);

    // Stretches the whole grid the image was built for (see SourceRect) over
    // `bounds` without keeping the aspect ratio and without smoothing. A control
    // resized since the build shows the whole recording at the resolution it was
    // built for, never a cut-off part of it. Paints nothing when there is no image.
    void Paint(QPainter& painter, const QRect& bounds) const;
    // Whether Paint() with `painter` covers every device pixel of a non-empty
    // `bounds` with opaque ones: never without an image, nor where a logical
    // pixel is a fraction of device pixels (a stretch then leaves edge pixels).
    bool Covers(const QPainter& painter) const;

    bool IsNull() const { return m_image.isNull(); }
    // Bytes the picture holds, both of its images.
    std::size_t ByteCount() const {
        return static_cast<std::size_t>(m_image.sizeInBytes() + m_display.sizeInBytes());
    }
    const QImage& Image() const { return m_image; }
    // The grid the image was last created for.
    const SpectrogramGeometry& BuiltGeometry() const { return m_built; }
    // The part of the image that Paint() shows: the built F x B grid, without the
    // padding columns.
    QRect SourceRect() const;

private:
    void UpdateDisplay();
    void BuildFromPowers(const std::vector<std::int16_t>& samples,
                         const SpectrogramParameters& parameters, const QSize& controlSizePx,
                         const PictureOptions& options);

    QImage m_image;
    // The grid's pixels as RGB32 (null for very large grids): painting from a palette
    // image would convert it on every paint, spread over Qt's worker threads, which
    // costs more than the paint itself.
    QImage m_display;
    SpectrogramGeometry m_built;
};

// Whether the painter maps logical pixels onto whole device pixels, by a whole
// scale and a whole offset: then what is painted at a point of an image lands
// exactly where painting it in place would, and an opaque image hides all it covers.
bool MapsOntoWholeDevicePixels(const QPainter& painter);

}  // namespace sonolux
