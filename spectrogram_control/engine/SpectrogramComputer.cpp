#include "engine/SpectrogramComputer.h"

#include <algorithm>
#include <cstring>

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

constexpr std::size_t Lanes = RealFftPlan::Interleave;

// Pictures mostly follow each other with the same parameters (the cells of a batch,
// the same recording redrawn), and the window, the transform's plan and the grey
// scale depend on nothing else; building them again cost a tenth of a small
// picture. Each thread keeps the last one of each it made: they are never changed
// after they are made, and pictures on other threads do not wait for them.
template <typename Key, typename Value>
class LastMade {
public:
    template <typename Make>
    std::shared_ptr<const Value> Get(const Key& key, Make make) {
        if (!m_value || std::memcmp(&key, &m_key, sizeof key) != 0) {
            m_value = make();
            m_key = key;
        }
        return m_value;
    }

private:
    Key m_key{};
    std::shared_ptr<const Value> m_value;
};

struct WindowKey {
    std::int32_t length;
    std::int32_t choice;
};

// The bounds compared as bits: a NaN bound is then the same key as itself.
struct GreyKey {
    float powerMin;
    float powerMax;
};

std::shared_ptr<const std::vector<double>> WindowFor(std::int32_t length, int choice) {
    thread_local LastMade<WindowKey, std::vector<double>> last;
    return last.Get(WindowKey{length, choice}, [&] {
        auto window = std::make_shared<std::vector<double>>(static_cast<std::size_t>(length));
        MakeWindow(length, choice, window->data());
        return window;
    });
}

std::shared_ptr<const RealFftPlan> PlanFor(std::size_t n) {
    thread_local LastMade<std::size_t, RealFftPlan> last;
    return last.Get(n, [&] { return std::make_shared<RealFftPlan>(n); });
}

std::shared_ptr<const GreyScale> GreyScaleFor(float powerMin, float powerMax) {
    thread_local LastMade<GreyKey, GreyScale> last;
    return last.Get(GreyKey{powerMin, powerMax},
                    [&] { return std::make_shared<GreyScale>(powerMin, powerMax); });
}

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
      m_window(WindowFor(geometry.frameLength, parameters.windowFunctionChoice)),
      m_fft(static_cast<std::size_t>(geometry.fftSize) + 2),
      m_fftPlan(PlanFor(static_cast<std::size_t>(geometry.fftSize / 2))),
      m_frame(static_cast<std::size_t>(m_usedFrameLength)),
      m_lanes(RealFftPlan::Interleave * (static_cast<std::size_t>(geometry.fftSize) + 1)),
      m_lanesFrames(RealFftPlan::Interleave * static_cast<std::size_t>(m_usedFrameLength)),
      m_lanesPowers(RealFftPlan::Interleave * static_cast<std::size_t>(geometry.binCount)),
      m_greyScale(GreyScaleFor(parameters.powerMin, parameters.powerMax)) {}

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
    const double* window = m_window->data();
    for (std::int32_t j = 0; j < count; ++j) fft[j] = frame[j] * window[j];
    std::fill(fft + count, fft + m_fft.size(), 0.0);

    m_fftPlan->Forward(fft);
    return fft;
}

void SpectrogramComputer::ComputeColumn(std::int32_t frameIndex, std::uint8_t* column) {
    const double* fft = Transform(static_cast<std::int64_t>(frameIndex) * m_geometry.hop);
    // fft[1] holds the Nyquist term, which is not part of the grid.
    column[0] = (*m_greyScale)(fft[0] * fft[0]);
    for (std::int32_t k = 1; k < m_geometry.binCount; ++k) {
        column[k] = (*m_greyScale)(fft[2 * k] * fft[2 * k] + fft[2 * k + 1] * fft[2 * k + 1]);
    }
}

void SpectrogramComputer::ComputePowers(std::int64_t start, double* power) {
    const double* fft = Transform(start);
    power[0] = fft[0] * fft[0];
    for (std::int32_t k = 1; k < m_geometry.binCount; ++k) {
        power[k] = fft[2 * k] * fft[2 * k] + fft[2 * k + 1] * fft[2 * k + 1];
    }
}

void SpectrogramComputer::ComputeInterleavedPowers(const std::int64_t* starts, double* power) {
    const std::int16_t* frame[Lanes];
    for (std::size_t lane = 0; lane < Lanes; ++lane) frame[lane] = FrameSamples(starts[lane], lane);
    m_fftPlan->FramePowers(frame, m_window->data(), static_cast<std::size_t>(m_usedFrameLength),
                           static_cast<std::size_t>(m_geometry.binCount), m_lanes.data(), power);
}

const std::int16_t* SpectrogramComputer::FrameSamples(std::int64_t start, std::size_t lane) {
    const std::int32_t count = m_usedFrameLength;
    if (start + count <= static_cast<std::int64_t>(m_samples.size())) {
        return m_samples.data() + start;
    }
    std::int16_t* frame = m_lanesFrames.data() + lane * static_cast<std::size_t>(count);
    CopyFrame(start, frame, count);
    return frame;
}

void SpectrogramComputer::ComputeInterleavedColumns(std::int32_t first, std::uint8_t* bottomRow,
                                                    std::ptrdiff_t stride) {
    const std::int32_t frames = m_geometry.frameCount;
    std::int64_t starts[Lanes];
    for (std::size_t lane = 0; lane < Lanes; ++lane) {
        const auto index = std::min(first + static_cast<std::int32_t>(lane), frames - 1);
        starts[lane] = static_cast<std::int64_t>(index) * m_geometry.hop;
    }
    ComputeInterleavedPowers(starts, m_lanesPowers.data());
    const std::int32_t bins = m_geometry.binCount;
    const double* power = m_lanesPowers.data();
    const auto columns = static_cast<std::size_t>(std::min<std::int32_t>(Lanes, frames - first));
    std::uint8_t* row = bottomRow + first;
    for (std::int32_t k = 0; k < bins; ++k, row -= stride, power += Lanes) {
        for (std::size_t lane = 0; lane < columns; ++lane) row[lane] = (*m_greyScale)(power[lane]);
    }
}

void SpectrogramComputer::ComputeSpectrogram(std::uint8_t* pixels, std::ptrdiff_t stride) {
    PrepareVectorUnit();
    std::uint8_t* bottomRow = pixels + (m_geometry.binCount - 1) * stride;
    for (std::int32_t i = 0; i < m_geometry.frameCount; i += static_cast<std::int32_t>(Lanes)) {
        ComputeInterleavedColumns(i, bottomRow, stride);
    }
}

}  // namespace sonolux
