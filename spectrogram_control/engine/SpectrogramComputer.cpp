#include "engine/SpectrogramComputer.h"

#include <algorithm>

#include "engine/SpectrogramWindow.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace sonolux {
namespace {

// Some of Qt's drawing routines (QImage::fill among them) return with the upper
// halves of the AVX registers in use. Until they are cleared, every SSE instruction
// of the computation pays a transition penalty, which made it three times slower
// right after a paint. Clearing them costs one instruction.
#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx"))) void ClearUpperVectorHalves() {
    _mm256_zeroupper();
}

void PrepareVectorUnit() {
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx) ClearUpperVectorHalves();
}
#else
void PrepareVectorUnit() {}
#endif

}  // namespace

SpectrogramComputer::VectorUnitReady::VectorUnitReady() {
    PrepareVectorUnit();
}

SpectrogramComputer::SpectrogramComputer(const std::vector<std::int16_t>& samples,
                                         const SpectrogramParameters& parameters,
                                         const SpectrogramGeometry& geometry)
    : m_vectorUnitReady(),
      m_samples(samples),
      m_geometry(geometry),
      m_usedFrameLength(std::min(geometry.frameLength, geometry.fftSize)),
      m_window(static_cast<std::size_t>(geometry.frameLength)),
      m_fft(static_cast<std::size_t>(geometry.fftSize) + 2),
      m_fftPlan(static_cast<std::size_t>(geometry.fftSize / 2)),
      m_frame(static_cast<std::size_t>(m_usedFrameLength)),
      m_column(static_cast<std::size_t>(geometry.binCount)),
      m_greyScale(parameters.powerMin, parameters.powerMax) {
    MakeWindow(geometry.frameLength, parameters.windowFunctionChoice, m_window.data());
}

void SpectrogramComputer::ExtractFrame(std::int32_t frameIndex, std::int16_t* frame,
                                       std::int32_t count) const {
    CopyFrame(static_cast<std::int64_t>(frameIndex) * m_geometry.hop, frame, count);
}

void SpectrogramComputer::CopyFrame(std::int64_t start, std::int16_t* frame,
                                    std::int32_t count) const {
    const std::int64_t available =
        std::clamp<std::int64_t>(static_cast<std::int64_t>(m_samples.size()) - start, 0, count);
    std::copy_n(m_samples.data() + (available > 0 ? start : 0), available, frame);
    std::fill(frame + available, frame + count, std::int16_t{0});
}

const double* SpectrogramComputer::Transform(std::int64_t start) {
    const std::int32_t count = m_usedFrameLength;
    // Frames lie inside the samples except in a file shorter than one frame; only
    // then is the frame copied out and zero-padded.
    const std::int16_t* frame = m_samples.data() + start;
    if (start + count > static_cast<std::int64_t>(m_samples.size())) {
        CopyFrame(start, m_frame.data(), count);
        frame = m_frame.data();
    }
    double* fft = m_fft.data();
    const double* window = m_window.data();
    for (std::int32_t j = 0; j < count; ++j) fft[j] = frame[j] * window[j];
    std::fill(fft + count, fft + m_fft.size(), 0.0);

    m_fftPlan.Forward(fft);
    return fft;
}

void SpectrogramComputer::ComputeColumn(std::int32_t frameIndex, std::uint8_t* column) {
    const double* fft = Transform(static_cast<std::int64_t>(frameIndex) * m_geometry.hop);
    // fft[1] holds the Nyquist term, which is not part of the grid.
    column[0] = m_greyScale(fft[0] * fft[0]);
    for (std::int32_t k = 1; k < m_geometry.binCount; ++k) {
        column[k] = m_greyScale(fft[2 * k] * fft[2 * k] + fft[2 * k + 1] * fft[2 * k + 1]);
    }
}

void SpectrogramComputer::ComputePowers(std::int64_t start, double* power) {
    const double* fft = Transform(start);
    power[0] = fft[0] * fft[0];
    for (std::int32_t k = 1; k < m_geometry.binCount; ++k) {
        power[k] = fft[2 * k] * fft[2 * k] + fft[2 * k + 1] * fft[2 * k + 1];
    }
}

void SpectrogramComputer::ComputeSpectrogram(std::uint8_t* pixels, std::ptrdiff_t stride) {
    PrepareVectorUnit();
    const std::int32_t bins = m_geometry.binCount;
    std::uint8_t* bottomRow = pixels + (bins - 1) * stride;
    for (std::int32_t i = 0; i < m_geometry.frameCount; ++i) {
        ComputeColumn(i, m_column.data());
        std::uint8_t* pixel = bottomRow + i;
        for (std::int32_t k = 0; k < bins; ++k, pixel -= stride) *pixel = m_column[k];
    }
}

}  // namespace sonolux
