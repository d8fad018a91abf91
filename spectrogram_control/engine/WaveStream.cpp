#include "engine/WaveStream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace sonolux {
namespace {

float PcmSample(const std::uint8_t* p, std::size_t bytes) {
    switch (bytes) {
        case 1:
            return static_cast<float>(p[0] - 128) / 128.0f;
        case 2:
            return static_cast<float>(static_cast<std::int16_t>(p[0] | p[1] << 8)) / 32768.0f;
        case 3: {
            const std::int32_t value =
                static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0] << 8 | p[1] << 16) |
                                          static_cast<std::uint32_t>(p[2]) << 24) /
                256;
            return static_cast<float>(value) / 8388608.0f;
        }
        default: {
            const auto bits =
                static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
            return static_cast<float>(static_cast<double>(static_cast<std::int32_t>(bits)) /
                                      2147483648.0);
        }
    }
}

// Out-of-range and NaN values are limited, so that no sample the file holds
// can drive the output beyond full scale.
float Limited(double value) {
    if (std::isnan(value)) return 0.0f;
    return static_cast<float>(std::clamp(value, -1.0, 1.0));
}

float FloatSample(const std::uint8_t* p, std::size_t bytes) {
    std::uint64_t bits = 0;
    for (std::size_t i = bytes; i > 0; --i) bits = bits << 8 | p[i - 1];
    if (bytes == 4) {
        const auto narrow = static_cast<std::uint32_t>(bits);
        float value;
        std::memcpy(&value, &narrow, sizeof value);
        return Limited(value);
    }
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return Limited(value);
}

}  // namespace

bool WaveStream::Open(const std::string& path) {
    m_next = 0;
    m_failed = false;
    std::vector<std::uint8_t>().swap(m_block);
    if (!m_reader.Open(path)) return false;
    const WaveFormat& format = m_reader.Format();
    const std::size_t container = (format.bitsPerSample + 7u) / 8u;
    m_float = format.formatTag == WaveFormatTag::IeeeFloat;
    const bool readable = m_float ? (format.bitsPerSample == 32 || format.bitsPerSample == 64)
                                  : (format.bitsPerSample == 8 || format.bitsPerSample == 12 ||
                                     format.bitsPerSample == 16 || format.bitsPerSample == 24 ||
                                     format.bitsPerSample == 32);
    // 12-bit samples stand left-aligned in 16-bit containers and read as 16-bit.
    m_bytesPerSample = container;
    if (!readable || m_reader.FrameCount() == 0 || m_reader.FrameBytes() > BlockBytes) {
        m_failed = true;
        return false;
    }
    return true;
}

std::size_t WaveStream::Read(std::size_t frames, std::vector<float>& out) {
    if (m_failed) return 0;
    const std::size_t frameBytes = m_reader.FrameBytes();
    const std::size_t channels = Channels();
    std::size_t done = 0;
    while (done < frames && m_next < FrameCount()) {
        const std::size_t count =
            std::min({frames - done, static_cast<std::size_t>(FrameCount() - m_next),
                      BlockBytes / frameBytes});
        m_block.resize(count * frameBytes);
        if (!m_reader.ReadFrameBytes(std::uint64_t{m_next} * frameBytes, m_block.data(),
                                     m_block.size())) {
            m_failed = true;
            break;
        }
        for (std::size_t i = 0; i < count * channels; ++i) {
            const std::uint8_t* p = &m_block[i * m_bytesPerSample];
            out.push_back(m_float ? FloatSample(p, m_bytesPerSample)
                                  : PcmSample(p, m_bytesPerSample));
        }
        m_next += static_cast<std::uint32_t>(count);
        done += count;
    }
    return done;
}

}  // namespace sonolux
