#include "core/GridLayout.h"

#include <algorithm>
#include <cmath>

namespace {

// How many cells of `cellSize` fit into `clientSize`, truncated toward zero.
int Fit(double clientSize, std::int32_t cellSize) {
    if (cellSize <= 0 || !(clientSize > 0)) return 0;
    const double count = std::trunc(clientSize / cellSize);
    return static_cast<int>(std::min(count, static_cast<double>(GridLayout::MaxCells)));
}

// The leftover of a dimension, rounded to whole twips (halves to even), halved
// with the fraction dropped.
std::int32_t Margin(double clientSize, int count, std::int32_t cellSize) {
    const double leftover = clientSize - static_cast<double>(count) * cellSize;
    const auto whole = static_cast<std::int64_t>(std::nearbyint(leftover));
    return static_cast<std::int32_t>(whole / 2);
}

}  // namespace

std::int32_t GridLayout::CellLeft(int index) const {
    return columns > 0 ? (index % columns) * cellWidth + leftMargin : leftMargin;
}

std::int32_t GridLayout::CellTop(int index) const {
    return columns > 0 ? (index / columns) * cellHeight + topMargin : topMargin;
}

GridLayout GridLayout::Compute(double clientWidth, double clientHeight, std::int32_t cellWidth,
                               std::int32_t cellHeight, int maxCells) {
    GridLayout grid;
    grid.cellWidth = cellWidth;
    grid.cellHeight = cellHeight;
    maxCells = std::clamp(maxCells, 0, MaxCells);
    const int columns = std::min(Fit(clientWidth, cellWidth), maxCells);
    int rows = Fit(clientHeight, cellHeight);
    if (columns > 0 && rows > maxCells / columns) rows = maxCells / columns;
    grid.columns = static_cast<std::int16_t>(columns);
    grid.rows = static_cast<std::int16_t>(rows);
    if (cellWidth > 0 && cellHeight > 0) {
        grid.leftMargin = Margin(clientWidth, columns, cellWidth);
        grid.topMargin = Margin(clientHeight, rows, cellHeight);
    }
    return grid;
}
