#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QSize>
#include <array>
#include <cstddef>
#include <optional>

#include "control/CalculatingText.h"

class QRect;

// What a control shows while its picture is being made: white, with
// "Calculating..." centred. Next Batch shows it in every cell at once, and
// rasterising the glyphs in each costs more than copying pixels. So the first
// cell of a size paints it in place, and what that paint put into the window's
// backing store is kept and copied into the cells after it. A copy is kept only
// from a paint of the whole cell and used only where the paint stays within the
// cell and lands on whole device pixels: every paint has the pixels drawing it
// in place gives, subpixel text, fonts and all.
class CalculatingFace {
public:
    // Fills `bounds` and draws the text centred in it, in the painter's font
    // and layout direction.
    void Paint(QPainter& painter, const QRect& bounds);
    // The same, always drawn in place.
    void PaintInPlace(QPainter& painter, const QRect& bounds);

private:
    // What decides the pixels of a face, besides the text.
    struct Key {
        QSize pixels;  // device pixels
        qreal ratio = 1;
        QImage::Format format = QImage::Format_Invalid;
        QPointer<const QScreen> screen;  // its subpixel order and resolution
        int dpiX = 0;
        int dpiY = 0;
        QFont font;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        QPainter::RenderHints hints;
        bool operator==(const Key& other) const;
    };
    struct Face {
        Key key;
        QImage image;
    };
    // A grid's rows and columns may differ by a pixel: a face for each size.
    static constexpr std::size_t FaceCount = 4;
    static constexpr qint64 LargestFacePixels = 512 * 512;

    // The key of a paint of `bounds`, or nothing where a copy could differ
    // from drawing in place.
    static std::optional<Key> KeyFor(const QPainter& painter, const QRect& bounds);
    // Keeps what a paint of `bounds` drawn in place put into the painter's image,
    // when that paint reached every pixel of it.
    void Keep(const Key& key, const QPainter& painter, const QRect& bounds);

    CalculatingText m_text;
    std::array<Face, FaceCount> m_faces;
    std::size_t m_nextReplaced = 0;
};
