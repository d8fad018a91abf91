#include "engine/PowerGrid.h"

#include <algorithm>
#include <vector>

namespace sonolux {
namespace {

std::size_t Cells(const SpectrogramGeometry& g) {
    return static_cast<std::size_t>(g.frameCount) * static_cast<std::size_t>(g.binCount);
}

// The column stretches of an every-sample picture: column c holds samples
// Begin(c) up to End(c), at least one. Worked out once: a picture asks for them
// for every frame, hundreds of frames a column.
class ColumnStretches {
public:
    ColumnStretches(std::int64_t samples, std::int64_t columns)
        : m_begin(static_cast<std::size_t>(columns) + 1) {
        for (std::int64_t c = 0; c <= columns; ++c)
            m_begin[static_cast<std::size_t>(c)] = c * samples / columns;
    }
    std::int64_t Begin(std::int64_t c) const { return m_begin[static_cast<std::size_t>(c)]; }
    std::int64_t End(std::int64_t c) const { return std::max(Begin(c + 1), Begin(c) + 1); }

private:
    std::vector<std::int64_t> m_begin;  // columns + 1 values
};

constexpr std::size_t Lanes = RealFftPlan::Interleave;

}  // namespace

PowerGrid FramePowers(SpectrogramComputer& computer) {
    const SpectrogramGeometry& g = computer.Geometry();
    const std::size_t bins = static_cast<std::size_t>(g.binCount);
    PowerGrid powers(Cells(g));
    std::vector<double> frames(Lanes * bins);
    for (std::int32_t first = 0; first < g.frameCount; first += static_cast<std::int32_t>(Lanes)) {
        const auto count = static_cast<std::size_t>(
            std::min<std::int32_t>(static_cast<std::int32_t>(Lanes), g.frameCount - first));
        // Lanes past the last frame transform it again, and are left unused.
        std::int64_t starts[Lanes];
        for (std::size_t t = 0; t < Lanes; ++t)
            starts[t] = static_cast<std::int64_t>(first + std::min(t, count - 1)) * g.hop;
        computer.ComputeInterleavedPowers(starts, frames.data());
        for (std::size_t t = 0; t < count; ++t) {
            double* column = powers.data() + (static_cast<std::size_t>(first) + t) * bins;
            for (std::size_t k = 0; k < bins; ++k) column[k] = frames[Lanes * k + t];
        }
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
    // Frames start a hop apart; the last one ends at the last sample.
    const std::int64_t lastStart = std::max<std::int64_t>(0, samples - used);
    const ColumnStretches stretches(samples, g.frameCount);
    // Frames are transformed Lanes at a time, which is what makes the every-sample
    // picture affordable: it takes hundreds of frames a column.
    std::vector<double> frames(Lanes * bins);
    // The columns each frame of a group counts in: from[t] up to to[t]. Both only
    // move on, frame after frame.
    std::int64_t from[Lanes];
    std::int64_t to[Lanes];
    std::int64_t firstColumn = 0;
    std::int64_t endColumn = 0;
    std::int64_t next = 0;
    bool last = false;
    while (!last) {
        std::int64_t starts[Lanes];
        std::size_t count = 0;
        for (; count < Lanes && !last; ++count) {
            starts[count] = std::min(next, lastStart);
            last = starts[count] == lastStart;
            next = starts[count] + g.hop;
        }
        for (std::size_t t = count; t < Lanes; ++t) starts[t] = starts[count - 1];
        computer.ComputeInterleavedPowers(starts, frames.data());
        for (std::size_t t = 0; t < count; ++t) {
            const std::int64_t end = std::min(starts[t] + used, samples);
            while (stretches.End(firstColumn) <= starts[t]) ++firstColumn;
            endColumn = std::max(endColumn, firstColumn);
            while (endColumn < g.frameCount && stretches.Begin(endColumn) < end) ++endColumn;
            from[t] = firstColumn;
            to[t] = endColumn;
        }
        // Most columns take every frame of a group: the group's loudest first.
        static_assert(Lanes == 4, "a group's loudest is taken of four frames");
        for (std::int64_t c = from[0]; c < to[count - 1]; ++c) {
            double* column = powers.data() + static_cast<std::size_t>(c) * bins;
            const double* frame = frames.data();
            if (count == Lanes && from[Lanes - 1] <= c && c < to[0]) {
                for (std::size_t k = 0; k < bins; ++k, frame += Lanes) {
                    const double loudest =
                        std::max(std::max(frame[0], frame[1]), std::max(frame[2], frame[3]));
                    column[k] = std::max(column[k], loudest);
                }
                continue;
            }
            for (std::size_t t = 0; t < count; ++t) {
                if (c < from[t] || c >= to[t]) continue;
                for (std::size_t k = 0; k < bins; ++k)
                    column[k] = std::max(column[k], frame[Lanes * k + t]);
            }
        }
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
