#pragma once

#include <cstdint>

namespace sonolux {

// Window functions by their `WindowFunctionChoice` index; any other index gives
// the rectangular window.
enum class WindowFunction : int {
    Hamming = 0,
    Hanning = 1,
    Rectangular = 2,
    Blackman = 3,
    Bartlett = 4
};

// Fills window[0 .. length-1] (caller-owned, `length` doubles, `length` >= 2) with the
// window `windowChoice` selects, over M = length - 1 intervals.
void MakeWindow(std::int32_t length, int windowChoice, double* window);

}  // namespace sonolux
