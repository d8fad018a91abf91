#pragma once

#include <optional>

#include "keys/KeyStroke.h"

// Which cell the arrow keys, Home and End select when "Arrow keys move the
// selection" is on. The grid is laid out row by row: cell i is in row
// i / columns and column i % columns. A move that would leave the grid stays
// at the edge; nothing wraps.
namespace GridNavigation {

// The cell `keyStroke` selects from cell `selected` (-1 when none is) in a
// grid of `columns` columns whose first `visible` cells are shown; nothing
// when it is no navigation key (any modifier makes it none) or no cell is shown.
std::optional<int> Target(const KeyStroke& keyStroke, int selected, int columns, int visible);

}  // namespace GridNavigation
