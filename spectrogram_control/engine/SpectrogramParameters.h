#pragma once

#include <cstddef>
#include <cstdint>

namespace sonolux {

// The six values that shape a spectrogram, with the control's initial state.
struct SpectrogramParameters {
    std::int16_t frameLengthChoice = 2;  // index into the frame length table: 32 * 2^k samples
    std::int16_t fftSizeChoice = 3;      // index into the FFT size table: 32 * 2^k points
    std::int16_t windowFunctionChoice =
        0;                      // 0 Hamming, 1 Hanning, 2 Rectangular, 3 Blackman, 4 Bartlett
    std::int32_t hopSize = 64;  // smallest hop between frame starts, in samples
    float powerMin = 20.0f;     // dB drawn white
    float powerMax = 120.0f;    // dB drawn black
};

// The grid that a parameter set gives for a number of samples in a control of a given pixel size.
struct SpectrogramGeometry {
    std::int32_t sampleCount = 0;    // S
    std::int32_t frameLength = 0;    // L, samples
    std::int32_t hop = 0;            // H, samples (always >= 1)
    std::int32_t frameCount = 0;     // F, columns of the grid (always >= 1)
    std::int16_t fftSizeChoice = 0;  // c, the effective FFT size index
    std::int32_t fftSize = 0;        // N, points
    std::int32_t binCount = 0;       // B = N / 2, rows of the grid
};

// How the picture is drawn beyond the six values. Both false give the picture the
// six values alone describe, bit for bit.
struct PictureOptions {
    // One column per pixel of the width, each the loudest power, bin by bin, of the
    // frames that cover any of its samples; frames overlap by half, so that every
    // sample lies in one.
    bool everySample = false;
    // The grey scale runs from the grid's own background (white) to its loudest
    // bin (black) instead of powerMin to powerMax.
    bool autoContrast = false;
};

// Number of entries of the frame length and FFT size tables (indexes 0 to 8).
constexpr int SizeChoiceCount = 9;

// Frame length in samples, and FFT size in points, for a table index: 32 * 2^k.
// An index outside 0 to 8 takes the nearest valid one (below 0 -> 0, above 8 -> 8).
std::int32_t FrameLengthForChoice(int choice);
std::int32_t FFTSizeForChoice(int choice);
int ClampSizeChoice(int choice);

// The hop between frame starts, in samples, for a requested `hop` in a control `widthPx`
// pixels wide: large enough that about 0.9 x width frames cover `sampleCount` samples
// in frames of `frameLength`, never below `hop`. A `hop` below 1 is taken as 1, so the
// result is always at least 1.
std::int32_t EffectiveHopSize(std::int32_t hop, int widthPx, std::int32_t sampleCount,
                              std::int32_t frameLength);

// The FFT size index actually used for a requested `choice` in a control `heightPx`
// pixels high: the largest index not above `choice` (taken into 0 to 8 first) whose
// half size fits the height, and never below 0. A height <= 0 leaves the choice as it is.
std::int16_t EffectiveFFTSizeChoice(int choice, int heightPx);

// Evaluates S, L, H, F, c, N and B for `sampleCount` samples in a control of
// `widthPx` x `heightPx` pixels.
SpectrogramGeometry ComputeGeometry(const SpectrogramParameters& parameters,
                                    std::size_t sampleCount, int widthPx, int heightPx);

// The grid of an every-sample picture of `sampleCount` samples in a control of
// `widthPx` x `heightPx` pixels: F = `widthPx` columns (at least 1), B as in
// ComputeGeometry, and H = half the samples one transform takes (min(L, N) / 2),
// the distance between the starts of the frames behind the columns.
SpectrogramGeometry ComputeEverySampleGeometry(const SpectrogramParameters& parameters,
                                               std::size_t sampleCount, int widthPx, int heightPx);

}  // namespace sonolux
