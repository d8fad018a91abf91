#pragma once

#include <QSize>
#include <QString>
#include <cstdint>

// The cell sizes that the grid can lay out: at least 1 twip wide and high, and
// not so small that a desktop of the given size would need more cells than the
// grid holds (GridLayout::MaxCells).
class CellSizeLimits {
public:
    // The desktop the main window can cover, in twips.
    CellSizeLimits(double desktopWidth, double desktopHeight);
    // The limits for a desktop of `desktopPixels` (the primary screen's virtual
    // desktop when empty) at `dpiX` x `dpiY` dots per inch.
    static CellSizeLimits ForDesktop(double dpiX, double dpiY, QSize desktopPixels = QSize());

    // Empty when a cell of `width` x `height` twips is fine, else the message
    // that tells the user why not.
    QString Problem(std::int32_t width, std::int32_t height) const;

private:
    double m_desktopWidth;
    double m_desktopHeight;
};
