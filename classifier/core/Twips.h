#pragma once

#include <QRect>
#include <cstdint>

#include "core/ScreenDpi.h"

// Twips are the unit of every window geometry of the program: 1/1440 inch,
// 15 twips to the pixel at 96 dots per inch.
namespace Twips {

constexpr double PerInch = 1440.0;

// `pixels` in twips at `dotsPerInch`, rounded to the nearest whole twip with
// halves to the even neighbour.
std::int32_t FromPixels(std::int32_t pixels, double dotsPerInch);
// A pixel length in twips, unrounded.
double FromPixelsExact(double pixels, double dotsPerInch);
// A twip length in whole pixels, rounded to the nearest pixel.
int ToPixels(double twips, double dotsPerInch);
// A window's place (left, top, width, height) given in twips, in whole pixels
// at `dpi`, each length rounded on its own.
QRect ToPixels(int left, int top, int width, int height, const ScreenDpi& dpi);

}  // namespace Twips
