#include "WaveLoader.h"

#include <algorithm>
#include <new>

#include "WaveReader.h"

namespace sonolux {
namespace {

std::int16_t Le16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | p[1] << 8));
}

// Offset, inside one frame, of the two bytes that become the sample: the upper
// 16 bits of the first channel's sample. -1 for a sample width that is not read.
int SampleByteOffset(std::uint16_t bitsPerSample) {
    switch (bitsPerSample) {
        case 12:
        case 16:
            return 0;
        case 24:
            return 1;
        case 32:
            return 2;
        default:
            return -1;
    }
}

// Converts `frameCount` frames of `frameBytes` bytes each into one 16-bit sample per
// frame from the first channel. Returns false for a sample width that is not read.
bool ConvertFrames(const WaveFormat& format, std::uint32_t frameBytes,
                   const std::vector<std::uint8_t>& bytes, std::uint32_t frameCount,
                   std::vector<std::int16_t>& samples) {
    samples.resize(frameCount);
    if (format.channels == 1 && format.bitsPerSample == 16) {
        for (std::uint32_t i = 0; i < frameCount; ++i) samples[i] = Le16(&bytes[2 * i]);
        return true;
    }
    if (frameBytes < 2 && format.bitsPerSample != 8) return false;
    if (format.bitsPerSample == 8) {
        for (std::uint32_t i = 0; i < frameCount; ++i) {
            samples[i] = static_cast<std::int16_t>(bytes[std::size_t{i} * frameBytes] - 128);
        }
        return true;
    }
    const int offset = SampleByteOffset(format.bitsPerSample);
    if (offset < 0) return false;
    for (std::uint32_t i = 0; i < frameCount; ++i) {
        samples[i] = Le16(&bytes[std::size_t{i} * frameBytes + static_cast<std::size_t>(offset)]);
    }
    return true;
}

LoadResult ReadSamples(const std::string& path, std::vector<std::int16_t>& loaded) {
    WaveReader reader;
    if (!reader.Open(path)) return LoadResult::Refused;
    const WaveFormat& format = reader.Format();
    const std::uint32_t frameBytes = reader.FrameBytes();
    std::vector<std::uint8_t> bytes;
    const std::uint32_t frameCount = reader.ReadFrames(MaxFrames, bytes);
    if (frameCount == 0) return LoadResult::Refused;  // no frames, or the read failed
    if (!ConvertFrames(format, frameBytes, bytes, frameCount, loaded)) return LoadResult::Refused;
    return LoadResult::Replaced;
}

}  // namespace

LoadResult LoadWaveFile(const std::string& path, std::vector<std::int16_t>& samples) {
    if (path.empty()) {
        samples.clear();
        return LoadResult::Replaced;
    }
    std::vector<std::int16_t> loaded;
    try {
        if (ReadSamples(path, loaded) == LoadResult::Refused) return LoadResult::Refused;
    } catch (const std::bad_alloc&) {
        return LoadResult::Refused;
    }
    samples.swap(loaded);
    return LoadResult::Replaced;
}

}  // namespace sonolux
