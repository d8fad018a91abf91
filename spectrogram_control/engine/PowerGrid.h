#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/GreyScale.h"
#include "engine/SpectrogramComputer.h"

namespace sonolux {

// The powers |X_k|^2 of a whole grid before the grey scale, column by column:
// bin k of column i is at [i * B + k]. Kept whole where the grey scale depends on
// all of them (AutoContrast).
using PowerGrid = std::vector<double>;

// The F x B powers of the frames ComputeSpectrogram draws: column i is frame i,
// which starts at i * H.
PowerGrid FramePowers(SpectrogramComputer& computer);

// The F x B powers of an every-sample picture (ComputeEverySampleGeometry): the
// samples are split into F stretches of equal length (column i holds samples
// floor(i * S / F) up to floor((i + 1) * S / F), at least one of them); frames start
// every H samples, the last one moved back to end at the last sample; and each
// column takes, bin by bin, the largest power of the frames that cover any of its
// samples. Every sample thus lies in a frame shown in its own column, and a
// column of a file shorter than the width shows the frames around it. Each frame
// is transformed once, however many columns it covers.
PowerGrid LoudestFramePowers(SpectrogramComputer& computer);

// Writes `powers` (F x B) through `scale` into a top-down 8-bit pixel buffer, bin 0
// along the bottom row, as ComputeSpectrogram lays out its grid.
void DrawPowers(const PowerGrid& powers, const SpectrogramGeometry& geometry,
                const GreyScale& scale, std::uint8_t* pixels, std::ptrdiff_t stride);

}  // namespace sonolux
