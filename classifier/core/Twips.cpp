#include "core/Twips.h"

#include <cmath>

namespace Twips {

std::int32_t FromPixels(std::int32_t pixels, double dotsPerInch) {
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    return static_cast<std::int32_t>(std::nearbyint(pixels / dotsPerInch * PerInch));
}

double FromPixelsExact(double pixels, double dotsPerInch) {
    return pixels * PerInch / dotsPerInch;
}

int ToPixels(double twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / PerInch));
}

QRect ToPixels(int left, int top, int width, int height, const ScreenDpi& dpi) {
    return QRect(ToPixels(left, dpi.x), ToPixels(top, dpi.y), ToPixels(width, dpi.x),
                 ToPixels(height, dpi.y));
}

}  // namespace Twips
