#pragma once

#include <cstdint>

// Bits of a shift state. Other bits may be carried along but have no name.
namespace ShiftBit {
constexpr std::int16_t Shift = 1;
constexpr std::int16_t Ctrl = 2;
constexpr std::int16_t Alt = 4;
}  // namespace ShiftBit

// One keystroke: the virtual-key code of a key-down event (the codes of the key
// tables, A = 0x41, F1 = 0x70, ...) and the shift state held with it.
struct KeyStroke {
    std::int16_t KeyCode = 0;
    std::int16_t Shift = 0;

    friend bool operator==(const KeyStroke& a, const KeyStroke& b) {
        return a.KeyCode == b.KeyCode && a.Shift == b.Shift;
    }
    friend bool operator!=(const KeyStroke& a, const KeyStroke& b) { return !(a == b); }
};
