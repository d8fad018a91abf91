#pragma once

#include "engine/PowerGrid.h"

namespace sonolux {

// The levels, in dB, that an AutoContrast picture draws white and black.
struct GreyRange {
    float whiteDb = 0.0f;
    float blackDb = 0.0f;
};

// The grey range a grid's own powers call for. White is the background less
// BackgroundMarginDb, black the loudest bin, but never less than
// MinimumRiseDb above the background. The background is the median power of
// the grid's bins that hold any power at all (digital silence, power 0, is left
// out, so a recording padded with silence keeps the background of its sound).
// A grid without any power gives an empty range: all white.
GreyRange AutoContrastRange(const PowerGrid& powers);

// The median stands for the background because most bins of most recordings
// hold background: a call or a song covers a few frequency rows for part of the
// time. It ignores how loud the call is, where a mean would be pulled up by it.
//
// The margin puts the background itself a little below white, so it shows as a
// light grey texture rather than vanishing: the bins of noise spread around their
// median (an exponential distribution: the quartiles lie 4.2 dB below and 3 dB
// above it), so 6 dB keeps most of the background visible and still light, about
// grey 205 at the median.
constexpr double BackgroundMarginDb = 6.0;
// A recording of background only would otherwise be stretched over the whole grey
// scale, its loudest noise bins drawn black, and look like one holding a call.
// The loudest of a few thousand noise bins lies some 10-13 dB above their median;
// 24 dB keeps such a recording light (its loudest noise about grey 110), while a
// steady call 20 dB over its background still comes out dark: grey 35-50, and
// 70-80 where every sample is shown, whose columns take the loudest of several
// frames of noise and so lift the background by some 6 dB.
constexpr double MinimumRiseDb = 24.0;

}  // namespace sonolux
