#include "WaveLoader.h"

#include <algorithm>
#include <new>

#include "WaveReader.h"

namespace sonolux {
namespace {

// Frames up to this size are read whole, a block of them at a time. From a larger
// frame only its first sample is read, so that a header claiming thousands of
// channels costs one small read per frame instead of reading (and holding) every
// channel that is never used.
constexpr std::uint32_t MaxFrameBytesReadWhole = 256;
// Bytes of whole frames read at a time.
constexpr std::size_t BlockBytes = 64 * 1024;

// Where the first channel's sample sits inside a frame and how it becomes 16 bits.
struct SampleLayout {
    std::uint32_t offset = 0;   // of the bytes taken, from the start of the frame
    bool unsignedByte = false;  // 8-bit: one unsigned byte centred on zero;
                                // otherwise a signed little-endian 16-bit value
    std::size_t Width() const { return unsignedByte ? 1 : 2; }
};

// The upper 16 bits of the first channel's sample (12-bit samples stand left-aligned
// in 16-bit containers). False for a sample width that is not read, and for a
// one-byte frame that is not 8-bit.
bool FirstChannelLayout(const WaveFormat& format, std::uint32_t frameBytes, SampleLayout& layout) {
    if (frameBytes < 2 && format.bitsPerSample != 8) return false;
    switch (format.bitsPerSample) {
        case 8:
            layout = {0, true};
            return true;
        case 12:
        case 16:
            layout = {0, false};
            return true;
        case 24:
            layout = {1, false};
            return true;
        case 32:
            layout = {2, false};
            return true;
        default:
            return false;
    }
}

std::int16_t SampleAt(const std::uint8_t* p, const SampleLayout& layout) {
    if (layout.unsignedByte) return static_cast<std::int16_t>(p[0] - 128);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | p[1] << 8));
}

// Fills `samples` from whole frames read a block at a time; the block holds at
// most BlockBytes.
bool ReadWholeFrames(const WaveReader& reader, const SampleLayout& layout,
                     std::vector<std::int16_t>& samples) {
    const std::size_t frameBytes = reader.FrameBytes();
    const std::size_t frameCount = samples.size();
    const std::size_t framesPerBlock = std::min(BlockBytes / frameBytes, frameCount);
    std::vector<std::uint8_t> block(framesPerBlock * frameBytes);
    for (std::size_t first = 0; first < frameCount; first += framesPerBlock) {
        const std::size_t count = std::min(framesPerBlock, frameCount - first);
        if (!reader.ReadFrameBytes(first * frameBytes, block.data(), count * frameBytes)) {
            return false;
        }
        for (std::size_t i = 0; i < count; ++i) {
            samples[first + i] = SampleAt(&block[i * frameBytes + layout.offset], layout);
        }
    }
    return true;
}

// Fills `samples` reading only the bytes of each frame's first sample.
bool ReadFirstSamples(const WaveReader& reader, const SampleLayout& layout,
                      std::vector<std::int16_t>& samples) {
    const std::uint64_t frameBytes = reader.FrameBytes();
    std::uint8_t bytes[2];
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (!reader.ReadFrameBytes(i * frameBytes + layout.offset, bytes, layout.Width())) {
            return false;
        }
        samples[i] = SampleAt(bytes, layout);
    }
    return true;
}

LoadResult ReadSamples(const std::string& path, std::vector<std::int16_t>& loaded) {
    WaveReader reader;
    if (!reader.Open(path)) return LoadResult::Refused;
    SampleLayout layout;
    const std::uint32_t frameCount = std::min(MaxFrames, reader.FrameCount());
    if (frameCount == 0 || !FirstChannelLayout(reader.Format(), reader.FrameBytes(), layout)) {
        return LoadResult::Refused;
    }
    loaded.resize(frameCount);
    const bool read = reader.FrameBytes() <= MaxFrameBytesReadWhole
                          ? ReadWholeFrames(reader, layout, loaded)
                          : ReadFirstSamples(reader, layout, loaded);
    return read ? LoadResult::Replaced : LoadResult::Refused;
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
