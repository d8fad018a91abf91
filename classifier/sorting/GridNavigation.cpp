#include "sorting/GridNavigation.h"

namespace GridNavigation {
namespace {

constexpr std::int16_t End = 0x23;
constexpr std::int16_t Home = 0x24;
constexpr std::int16_t Left = 0x25;
constexpr std::int16_t Up = 0x26;
constexpr std::int16_t Right = 0x27;
constexpr std::int16_t Down = 0x28;

}  // namespace

std::optional<int> Target(const KeyStroke& keyStroke, int selected, int columns, int visible) {
    if (keyStroke.Shift != 0 || keyStroke.KeyCode < End || keyStroke.KeyCode > Down)
        return std::nullopt;
    if (visible <= 0 || columns <= 0) return std::nullopt;
    if (keyStroke.KeyCode == Home) return 0;
    if (keyStroke.KeyCode == End) return visible - 1;
    // From no selection, any arrow starts where the batch starts.
    if (selected < 0 || selected >= visible) return 0;
    const int column = selected % columns;
    switch (keyStroke.KeyCode) {
        case Left:
            return column > 0 ? selected - 1 : selected;
        case Right:
            return column + 1 < columns && selected + 1 < visible ? selected + 1 : selected;
        case Up:
            return selected >= columns ? selected - columns : selected;
        default:  // Down
            return selected + columns < visible ? selected + columns : selected;
    }
}

}  // namespace GridNavigation
