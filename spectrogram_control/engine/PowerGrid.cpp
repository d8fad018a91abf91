#include "engine/PowerGrid.h"

#include <algorithm>

namespace sonolux {
namespace {

std::size_t Cells(const SpectrogramGeometry& g) {
    return static_cast<std::size_t>(g.frameCount) * static_cast<std::size_t>(g.binCount);
}

// The column stretches of an every-sample picture: column c holds samples
// Begin(c) up to End(c), at least one.
class ColumnStretches {
public:
    ColumnStretches(std::int64_t samples, std::int64_t columns)
        : m_samples(samples), m_columns(columns) {}
    std::int64_t Begin(std::int64_t c) const { return c * m_samples / m_columns; }
    std::int64_t End(std::int64_t c) const { return std::max(Begin(c + 1), Begin(c) + 1); }

private:
    std::int64_t m_samples;
    std::int64_t m_columns;
};

}  // namespace

PowerGrid FramePowers(SpectrogramComputer& computer) {
    const SpectrogramGeometry& g = computer.Geometry();
    PowerGrid powers(Cells(g));
    for (std::int32_t i = 0; i < g.frameCount; ++i) {
        computer.ComputePowers(static_cast<std::int64_t>(i) * g.hop,
                               powers.data() + static_cast<std::size_t>(i) * g.binCount);
    }
    return powers;
}

PowerGrid LoudestFramePowers(SpectrogramComputer& computer) {
    const SpectrogramGeometry& g = computer.Geometry();
    const std::size_t bins = static_cast<std::size_t>(g.binCount);
    // Powers are never negative, and every column is covered by a frame, so
    // zero is a safe start for the maximum. No samples: one frame of zeros.
    PowerGrid powers(Cells(g), 0.0);
    const std::int64_t samples = g.sampleCount;
    if (samples == 0) return powers;
    const std::int64_t used = std::min(g.frameLength, g.fftSize);
    const std::int64_t lastStart = std::max<std::int64_t>(0, samples - used);
    const ColumnStretches stretches(samples, g.frameCount);
    std::vector<double> frame(bins);
    std::int64_t firstColumn = 0;
    for (std::int64_t start = 0;; start += g.hop) {
        start = std::min(start, lastStart);
        computer.ComputePowers(start, frame.data());
        const std::int64_t end = std::min(start + used, samples);
        while (stretches.End(firstColumn) <= start) ++firstColumn;
        for (std::int64_t c = firstColumn; c < g.frameCount && stretches.Begin(c) < end; ++c) {
            double* column = powers.data() + static_cast<std::size_t>(c) * bins;
            for (std::size_t k = 0; k < bins; ++k) column[k] = std::max(column[k], frame[k]);
        }
        if (start == lastStart) break;
    }
    return powers;
}

void DrawPowers(const PowerGrid& powers, const SpectrogramGeometry& geometry,
                const GreyScale& scale, std::uint8_t* pixels, std::ptrdiff_t stride) {
    const std::int32_t bins = geometry.binCount;
    std::uint8_t* bottomRow = pixels + (bins - 1) * stride;
    for (std::int32_t i = 0; i < geometry.frameCount; ++i) {
        const double* column = powers.data() + static_cast<std::size_t>(i) * bins;
        std::uint8_t* pixel = bottomRow + i;
        for (std::int32_t k = 0; k < bins; ++k, pixel -= stride) *pixel = scale(column[k]);
    }
}

}  // namespace sonolux
