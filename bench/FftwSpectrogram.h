#pragma once

#include <fftw3.h>

#include <QImage>
#include <QSize>
#include <cstdint>
#include <vector>

#include "engine/SpectrogramParameters.h"

// The reference the engine is measured against: the same grid, with the same window,
// frames and grey mapping (a logarithm per bin), but transformed by FFTW. Plans once
// per grid size, outside any timed loop.
class FftwSpectrogram {
public:
    FftwSpectrogram(const sonolux::SpectrogramParameters& parameters, std::size_t sampleCount,
                    const QSize& controlSizePx);
    ~FftwSpectrogram();
    FftwSpectrogram(const FftwSpectrogram&) = delete;
    FftwSpectrogram& operator=(const FftwSpectrogram&) = delete;

    // Computes the grid of `samples` into an image laid out as the engine's.
    void Build(const std::vector<std::int16_t>& samples);
    const QImage& Image() const { return m_image; }

private:
    sonolux::SpectrogramParameters m_parameters;
    sonolux::SpectrogramGeometry m_geometry;
    std::vector<double> m_window;
    double* m_in = nullptr;
    fftw_complex* m_out = nullptr;
    fftw_plan m_plan = nullptr;
    QImage m_image;
};
