#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/Fft.h"
#include "engine/GreyScale.h"
#include "engine/SpectrogramParameters.h"

namespace sonolux {

// Turns samples into the grid of grey values of one spectrogram: column i is frame i
// (frame 0 at the start), row k frequency bin k; 255 is silence (white), 0 a level
// at or above the parameters' powerMax. Holds the window, the FFT buffer and the
// grey scale for one grid, so they are made once for all its columns. Keeps a
// reference to `samples`, which must outlive it and stay unchanged.
class SpectrogramComputer {
public:
    SpectrogramComputer(const std::vector<std::int16_t>& samples,
                        const SpectrogramParameters& parameters,
                        const SpectrogramGeometry& geometry);

    // Fills frame[0 .. count-1] with the samples from frameIndex * H on, and zeros
    // where the samples end. `count` is at most the frame length L.
    void ExtractFrame(std::int32_t frameIndex, std::int16_t* frame, std::int32_t count) const;

    // Fills column[0 .. B-1] with the grey values of frame `frameIndex`. A frame
    // longer than the FFT contributes its first N windowed samples; a shorter one
    // is zero-padded to N.
    void ComputeColumn(std::int32_t frameIndex, std::uint8_t* column);

    // Fills power[0 .. B-1] with |X_k|^2 of the frame that starts at sample `start`
    // (0 <= start), zero-padded past the samples' end: the powers ComputeColumn
    // turns into grey values, bit for bit.
    void ComputePowers(std::int64_t start, double* power);
    // ComputePowers for RealFftPlan::Interleave frames at once, bit for bit:
    // power[Interleave * k + t] is bin k of the frame that starts at starts[t].
    void ComputeInterleavedPowers(const std::int64_t* starts, double* power);

    // Writes the whole F x B grid into a top-down 8-bit pixel buffer: bin k of
    // column i at pixels[(B - 1 - k) * stride + i], so bin 0 is the bottom row.
    // The buffer must hold B rows of `stride` >= F bytes.
    void ComputeSpectrogram(std::uint8_t* pixels, std::ptrdiff_t stride);

    const SpectrogramGeometry& Geometry() const { return m_geometry; }

private:
    // ExtractFrame for the frame that starts at sample `start`.
    void CopyFrame(std::int64_t start, std::int16_t* frame, std::int32_t count) const;
    // Windows the frame from sample `start` on into the FFT buffer and transforms it.
    const double* Transform(std::int64_t start);
    // The samples of the frame that starts at sample `start`, zero-padded into
    // `lane` of m_lanesFrames if the frame runs past the samples' end.
    const std::int16_t* FrameSamples(std::int64_t start, std::size_t lane);
    // Transforms the frames `first` .. first + Interleave - 1 side by side (the last
    // frame repeated past the grid's end) and writes their columns' grey values.
    void ComputeInterleavedColumns(std::int32_t first, std::uint8_t* bottomRow,
                                   std::ptrdiff_t stride);

    // Readies the vector unit before the other members are built (see the .cpp).
    struct VectorUnitReady {
        VectorUnitReady();
    };

    VectorUnitReady m_vectorUnitReady;
    const std::vector<std::int16_t>& m_samples;
    SpectrogramGeometry m_geometry;
    std::int32_t m_usedFrameLength;  // min(L, N): the frame samples the FFT uses
    std::shared_ptr<const std::vector<double>> m_window;  // L values
    std::vector<double> m_fft;                            // N + 2 values
    std::shared_ptr<const RealFftPlan> m_fftPlan;
    std::vector<std::int16_t> m_frame;
    std::vector<double> m_lanes;              // the work of RealFftPlan::FramePowers
    std::vector<std::int16_t> m_lanesFrames;  // Interleave zero-padded frames
    std::vector<double> m_lanesPowers;        // Interleave * B powers
    std::shared_ptr<const GreyScale> m_greyScale;
};

}  // namespace sonolux
