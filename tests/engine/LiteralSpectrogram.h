#pragma once

#include <cstdint>
#include <vector>

#include "engine/SpectrogramParameters.h"

// A plain, step-by-step transcription of the spectrogram computation, kept apart from
// the engine's tuned code so that every grey value of the engine can be checked
// against it: its own window, frame copy, transforms and logarithmic grey mapping.
namespace literal {

void ComplexFFT(double* data, unsigned long nn, int isign);
void RealFFT(double* data, unsigned long n, int isign);
void MakeWindow(int length, int windowChoice, double* window);
// The grey value of one bin's power |X_k|^2: 255 at or below powerMin, 0 at or above powerMax.
std::uint8_t GreyValue(double power, float powerMin, float powerMax);

// The F x B grid, column-major: grid[i * B + k] is bin k of frame i.
std::vector<std::uint8_t> ComputeGrid(const std::vector<std::int16_t>& samples,
                                      const sonolux::SpectrogramParameters& parameters,
                                      const sonolux::SpectrogramGeometry& geometry);

}  // namespace literal
