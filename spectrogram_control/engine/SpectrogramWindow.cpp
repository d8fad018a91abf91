#include "engine/SpectrogramWindow.h"

#include <cmath>

namespace sonolux {
namespace {

// The literal 2 pi and 4 pi of the window formulas, kept as written rather than the
// doubles nearest to them, so every window value matches the established pictures.
constexpr double TwoPi = 6.28318530717959;
constexpr double FourPi = 12.56637061435918;

double Hamming(std::int32_t j, double m) {
    return 0.54 - 0.46 * std::cos(TwoPi * j / m);
}

double Hanning(std::int32_t j, double m) {
    return 0.5 - 0.5 * std::cos(TwoPi * j / m);
}

double Blackman(std::int32_t j, double m) {
    return 0.42 - 0.5 * std::cos(TwoPi * j / m) + 0.08 * std::cos(FourPi * j / m);
}

double Bartlett(std::int32_t j, std::int32_t m) {
    if (j <= m / 2) return 2.0 * j / m;
    return 2.0 - 2.0 * j / m;
}

}  // namespace

void MakeWindow(std::int32_t length, int windowChoice, double* window) {
    const std::int32_t m = length - 1;
    const auto md = static_cast<double>(m);
    for (std::int32_t j = 0; j < length; ++j) {
        switch (static_cast<WindowFunction>(windowChoice)) {
            case WindowFunction::Hamming:
                window[j] = Hamming(j, md);
                break;
            case WindowFunction::Hanning:
                window[j] = Hanning(j, md);
                break;
            case WindowFunction::Blackman:
                window[j] = Blackman(j, md);
                break;
            case WindowFunction::Bartlett:
                window[j] = Bartlett(j, m);
                break;
            default:
                window[j] = 1.0;
                break;
        }
    }
}

}  // namespace sonolux
