#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/SpectrogramParameters.h"

namespace sonolux {

int ClampSizeChoice(int choice) {
    return std::clamp(choice, 0, SizeChoiceCount - 1);
}

std::int32_t FrameLengthForChoice(int choice) {
    return std::int32_t{32} << ClampSizeChoice(choice);
}

std::int32_t FFTSizeForChoice(int choice) {
    return std::int32_t{32} << ClampSizeChoice(choice);
}

std::int32_t EffectiveHopSize(std::int32_t hop, int widthPx, std::int32_t sampleCount,
                              std::int32_t frameLength) {
    // A hop of 0 or less would never advance through the samples.
    const std::int32_t requested = std::max<std::int32_t>(hop, 1);
    if (widthPx <= 0) return requested;
    const double framesWanted = std::floor(0.9 * widthPx + 0.5) - 1.0;
    if (framesWanted == 0.0) return requested;
    const double spread = static_cast<double>(sampleCount) - static_cast<double>(frameLength);
    // The quotient is below the sample count, so it always fits 32 bits.
    const auto computed = static_cast<std::int32_t>(std::trunc(spread / framesWanted));
    return std::max(requested, computed);
}

std::int16_t EffectiveFFTSizeChoice(int choice, int heightPx) {
    int effective = ClampSizeChoice(choice);
    if (heightPx <= 0) return static_cast<std::int16_t>(effective);
    const std::int64_t rowsAllowed = 2 * static_cast<std::int64_t>(heightPx);
    while (effective > 0 && FFTSizeForChoice(effective) > rowsAllowed) --effective;
    return static_cast<std::int16_t>(effective);
}

SpectrogramGeometry ComputeGeometry(const SpectrogramParameters& parameters,
                                    std::size_t sampleCount, int widthPx, int heightPx) {
    SpectrogramGeometry g;
    g.sampleCount = static_cast<std::int32_t>(
        std::min<std::size_t>(sampleCount, std::numeric_limits<std::int32_t>::max()));
    g.frameLength = FrameLengthForChoice(parameters.frameLengthChoice);
    g.hop = EffectiveHopSize(parameters.hopSize, widthPx, g.sampleCount, g.frameLength);
    g.frameCount = std::max<std::int32_t>(1, (g.sampleCount - g.frameLength) / g.hop + 1);
    g.fftSizeChoice = EffectiveFFTSizeChoice(parameters.fftSizeChoice, heightPx);
    g.fftSize = FFTSizeForChoice(g.fftSizeChoice);
    g.binCount = g.fftSize / 2;
    return g;
}

SpectrogramGeometry ComputeEverySampleGeometry(const SpectrogramParameters& parameters,
                                               std::size_t sampleCount, int widthPx, int heightPx) {
    SpectrogramGeometry g = ComputeGeometry(parameters, sampleCount, widthPx, heightPx);
    g.frameCount = std::max(1, widthPx);
    g.hop = std::max<std::int32_t>(1, std::min(g.frameLength, g.fftSize) / 2);
    return g;
}

}  // namespace sonolux
