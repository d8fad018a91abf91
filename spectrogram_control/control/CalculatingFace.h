#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <array>
#include <cstddef>

#include "control/CalculatingText.h"

class QRect;

// What a control shows while its picture is being made: white, with
// "Calculating..." centred. Next Batch shows it in every cell at once, and
// rasterising the glyphs in each costs more than copying pixels, so it is
// painted once for the size, font and resolution of the cells and copied into
// each. Where the copy could land between device pixels it is painted as it
// stands instead, so every paint has the pixels drawing it in place would give.
class CalculatingFace {
public:
    // Fills `bounds` and draws the text centred in it, in the painter's font
    // and layout direction.
    void Paint(QPainter& painter, const QRect& bounds);
    // The same, drawn in place.
    void PaintInPlace(QPainter& painter, const QRect& bounds);

private:
    // A face painted for one size of cell, and what it was painted for.
    struct Face {
        QImage image;
        QFont font;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        QPainter::RenderHints hints;
        int dpiX = 0;
        int dpiY = 0;
    };
    // A grid's rows and columns may differ by a pixel: a face for each size.
    static constexpr std::size_t FaceCount = 4;
    static constexpr qint64 LargestFacePixels = 512 * 512;

    // The face for `painter` and `size`, or a null image where a copy would not
    // give the pixels drawn in place.
    const QImage& FaceFor(QPainter& painter, QSize size);

    CalculatingText m_text;
    std::array<Face, FaceCount> m_faces;
    std::size_t m_nextReplaced = 0;
};
