#pragma once

#include <cstdint>

// The grid of equally sized cells that fills the main window's client area,
// centred, in twips.
struct GridLayout {
    // The grid never holds more cells than a 16-bit count can number.
    static constexpr int MaxCells = 32767;

    std::int16_t columns = 0;
    std::int16_t rows = 0;
    std::int32_t leftMargin = 0;  // twips
    std::int32_t topMargin = 0;   // twips
    std::int32_t cellWidth = 0;   // twips
    std::int32_t cellHeight = 0;  // twips

    int CellCount() const { return columns * rows; }
    // Position of cell `index` (row by row, left to right), in twips.
    std::int32_t CellLeft(int index) const;
    std::int32_t CellTop(int index) const;

    // The grid of `cellWidth` x `cellHeight` cells in a client area of the
    // given size (twips, not necessarily whole). A non-positive cell size lays
    // out no cells; so does a client area smaller than one cell. A grid that
    // would exceed `maxCells` (at most MaxCells) keeps as many columns as it
    // can and loses rows.
    static GridLayout Compute(double clientWidth, double clientHeight, std::int32_t cellWidth,
                              std::int32_t cellHeight, int maxCells = MaxCells);
};
