#include "engine/TimeExpansion.h"

#include <algorithm>
#include <cmath>

namespace sonolux {
namespace {

// Zero crossings of the sinc on either side of the kernel's centre: the
// transition band is some 1/16 of the cut-off wide, and the Blackman window
// keeps what leaks past it about 74 dB down.
constexpr int ZeroCrossings = 16;
// Input frames read at a time, and passed before they are dropped.
constexpr std::int64_t ReadFrames = 4096;
constexpr std::int64_t DropFrames = 8192;

double Sinc(double x) {
    if (std::abs(x) < 1e-12) return 1.0;
    return std::sin(M_PI * x) / (M_PI * x);
}

double Blackman(double u) {  // u in -1 .. 1
    return 0.42 + 0.5 * std::cos(M_PI * u) + 0.08 * std::cos(2.0 * M_PI * u);
}

}  // namespace

int OutputRateFor(std::uint32_t fileRate, int divisor, int minRate, int maxRate,
                  int preferredRate) {
    divisor = std::clamp(divisor, 1, LargestSpeedDivisor);
    if (fileRate % static_cast<std::uint32_t>(divisor) == 0) {
        const auto slowed =
            static_cast<std::int64_t>(fileRate / static_cast<std::uint32_t>(divisor));
        if (slowed >= minRate && slowed <= maxRate) return static_cast<int>(slowed);
    }
    if (preferredRate >= minRate && preferredRate <= maxRate && preferredRate > 0)
        return preferredRate;
    const double slowed = static_cast<double>(fileRate) / divisor;
    return static_cast<int>(
        std::clamp<double>(std::round(slowed), std::max(minRate, 1), std::max(maxRate, 1)));
}

SincResampler::SincResampler(std::size_t channels, double inputRate, double outputRate)
    : m_channels(channels),
      m_step(inputRate / outputRate),
      m_cutoff(std::min(1.0, outputRate / inputRate)),
      m_halfWidth(static_cast<int>(std::ceil(ZeroCrossings / m_cutoff))) {}

std::int64_t SincResampler::FirstNeeded() const {
    return static_cast<std::int64_t>(std::floor(Position())) - m_halfWidth + 1;
}

std::int64_t SincResampler::LastNeeded() const {
    return static_cast<std::int64_t>(std::floor(Position())) + m_halfWidth;
}

void SincResampler::Next(const float* span, std::int64_t spanStart, std::int64_t spanFrames,
                         std::vector<float>& out) {
    const double position = Position();
    const std::int64_t first = FirstNeeded();
    const std::int64_t last = LastNeeded();
    m_weights.resize(static_cast<std::size_t>(last - first + 1));
    double sum = 0.0;
    for (std::int64_t i = first; i <= last; ++i) {
        const double x = position - static_cast<double>(i);
        const double w = Sinc(m_cutoff * x) * Blackman(x / (m_halfWidth + 1));
        m_weights[static_cast<std::size_t>(i - first)] = w;
        sum += w;
    }
    const std::int64_t from = std::max(first, spanStart);
    const std::int64_t to = std::min(last, spanStart + spanFrames - 1);
    for (std::size_t c = 0; c < m_channels; ++c) {
        double value = 0.0;
        for (std::int64_t i = from; i <= to; ++i) {
            value += m_weights[static_cast<std::size_t>(i - first)] *
                     span[static_cast<std::size_t>(i - spanStart) * m_channels + c];
        }
        out.push_back(static_cast<float>(sum != 0.0 ? value / sum : 0.0));
    }
    ++m_next;
}

bool TimeExpandedStream::Open(const std::string& path) {
    m_resampler.reset();
    m_span.clear();
    m_spanStart = 0;
    return m_file.Open(path);
}

void TimeExpandedStream::Start(int divisor, int outputRate) {
    m_divisor = std::clamp(divisor, 1, LargestSpeedDivisor);
    m_outputRate = std::max(outputRate, 1);
    m_outputDone = 0;
    const std::uint64_t slowedTimesDivisor =
        std::uint64_t{static_cast<std::uint32_t>(m_outputRate)} *
        static_cast<std::uint32_t>(m_divisor);
    m_resampled = slowedTimesDivisor != FileRate();
    if (!m_resampled) {
        m_outputFrames = FileFrames();
        return;
    }
    const double slowedRate = static_cast<double>(FileRate()) / m_divisor;
    m_resampler.emplace(Channels(), slowedRate, static_cast<double>(m_outputRate));
    m_outputFrames = static_cast<std::uint64_t>(
        std::ceil(static_cast<double>(FileFrames()) * m_outputRate / slowedRate));
}

void TimeExpandedStream::Fill(std::int64_t first, std::int64_t last) {
    const std::size_t channels = Channels();
    // What lies before the kernel is dropped in large pieces, not frame by frame,
    // which would move the whole span once per output frame.
    if (first - m_spanStart >= DropFrames) {
        const auto drop = static_cast<std::size_t>(std::min<std::int64_t>(
            first - m_spanStart, static_cast<std::int64_t>(m_span.size() / channels)));
        m_span.erase(m_span.begin(), m_span.begin() + static_cast<std::ptrdiff_t>(drop * channels));
        m_spanStart += static_cast<std::int64_t>(drop);
    }
    const std::int64_t have = m_spanStart + static_cast<std::int64_t>(m_span.size() / channels);
    if (last >= have) {
        // A block at a time at least, so that the file is not read a frame at a time.
        const auto wanted =
            static_cast<std::size_t>(std::max<std::int64_t>(last - have + 1, ReadFrames));
        m_file.Read(wanted, m_span);
    }
}

std::size_t TimeExpandedStream::Read(std::size_t frames, std::vector<float>& out) {
    frames =
        static_cast<std::size_t>(std::min<std::uint64_t>(frames, m_outputFrames - m_outputDone));
    if (!m_resampler) {
        const std::size_t read = m_file.Read(frames, out);
        m_outputDone += read;
        return read;
    }
    const auto channels = static_cast<std::int64_t>(Channels());
    std::size_t done = 0;
    for (; done < frames; ++done) {
        Fill(m_resampler->FirstNeeded(), m_resampler->LastNeeded());
        const std::int64_t spanFrames = static_cast<std::int64_t>(m_span.size()) / channels;
        const std::int64_t lastNeeded =
            std::min<std::int64_t>(m_resampler->LastNeeded(), FileFrames() - 1);
        // The file was cut short while it played: it ends here.
        if (m_spanStart + spanFrames <= lastNeeded && m_file.FramesRead() < FileFrames()) break;
        m_resampler->Next(m_span.data(), m_spanStart, spanFrames, out);
    }
    m_outputDone += done;
    return done;
}

double TimeExpandedStream::RecordingSeconds(double frame) const {
    return frame / (static_cast<double>(m_outputRate) * m_divisor);
}

}  // namespace sonolux
