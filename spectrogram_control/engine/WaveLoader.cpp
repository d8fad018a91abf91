#include "engine/WaveLoader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>

#include "engine/WaveReader.h"

namespace sonolux {
namespace {

// Frames up to this width are read whole, a block of them at a time, and the first
// sample taken from each; of a wider frame only its first sample is read. A frame read
// whole costs its copy out of the page cache (10-14 GB/s), a sample read alone one read
// call (0.7-1 us, as long as copying some 10 KB). The cut errs wide: at any width, block
// reads of a full 4 GB file cost no more than copying its 4 GB (about a third of a
// second), where a cut too narrow would let the calls cost more than that on a machine
// with slower calls. Above it a full file takes at most 4 GB / 16 KiB = 262144 calls.
//
// The file is not mapped instead, although touching only the pages that hold a first
// sample would be faster still: a file cut short by another program while it is
// mapped kills the whole process with SIGBUS, where a read merely comes back short
// and the load is refused.
constexpr std::uint32_t MaxFrameBytesReadWhole = 16 * 1024;
// Bytes of mono 16-bit samples read at a time.
constexpr std::size_t BlockBytes = 64 * 1024;
// Whole frames read at a time: at most this many bytes of them, and at most so many
// frames, which bounds the samples converted from one block to 64 KiB.
constexpr std::size_t WholeFrameBlockBytes = 256 * 1024;
constexpr std::size_t WholeFrameBlockFrames = 32 * 1024;
static_assert(MaxFrameBytesReadWhole <= WholeFrameBlockBytes, "a block holds a frame");

// How the first channel's sample is stored.
enum class Coding {
    UnsignedByte,  // 8-bit: one unsigned byte centred on zero
    Signed16,      // a signed little-endian 16-bit value (the upper two bytes of wider ones)
    Float32,       // IEEE single, little-endian
    Float64,       // IEEE double, little-endian
};

// Where the first channel's sample sits inside a frame and how it becomes 16 bits.
struct SampleLayout {
    std::uint32_t offset = 0;  // of the bytes taken, from the start of the frame
    Coding coding = Coding::Signed16;
    std::size_t Width() const {
        switch (coding) {
            case Coding::UnsignedByte:
                return 1;
            case Coding::Signed16:
                return 2;
            case Coding::Float32:
                return 4;
            case Coding::Float64:
                return 8;
        }
        return 2;
    }
};

// The upper 16 bits of the first channel's sample (12-bit samples stand left-aligned
// in 16-bit containers), or a float sample. None, or why not: a sample width that is
// not read, a one-byte frame that is not 8-bit, float samples unless asked.
LoadFailure FirstChannelLayout(const WaveFormat& format, std::uint32_t frameBytes,
                               bool floatSamples, SampleLayout& layout) {
    if (format.formatTag == WaveFormatTag::IeeeFloat) {
        if (format.bitsPerSample != 32 && format.bitsPerSample != 64) {
            return LoadFailure::UnsupportedFormat;
        }
        if (!floatSamples) return LoadFailure::Float;
        layout = {0, format.bitsPerSample == 32 ? Coding::Float32 : Coding::Float64};
        return LoadFailure::None;
    }
    if (frameBytes < 2 && format.bitsPerSample != 8) return LoadFailure::UnsupportedWidth;
    switch (format.bitsPerSample) {
        case 8:
            layout = {0, Coding::UnsignedByte};
            return LoadFailure::None;
        case 12:
        case 16:
            layout = {0, Coding::Signed16};
            return LoadFailure::None;
        case 24:
            layout = {1, Coding::Signed16};
            return LoadFailure::None;
        case 32:
            layout = {2, Coding::Signed16};
            return LoadFailure::None;
        default:
            return LoadFailure::UnsupportedWidth;
    }
}

std::uint64_t LittleEndian(const std::uint8_t* p, std::size_t bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes; i > 0; --i) value = value << 8 | p[i - 1];
    return value;
}

// floor(x * 32768) within the 16-bit range; NaN, which has no place on it, is silence.
std::int16_t FromFloat(double x) {
    if (std::isnan(x)) return 0;
    const double scaled = std::floor(x * 32768.0);
    if (scaled <= -32768.0) return -32768;
    if (scaled >= 32767.0) return 32767;
    return static_cast<std::int16_t>(scaled);
}

std::int16_t SampleAt(const std::uint8_t* p, const SampleLayout& layout) {
    switch (layout.coding) {
        case Coding::UnsignedByte:
            return static_cast<std::int16_t>(p[0] - 128);
        case Coding::Signed16:
            return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | p[1] << 8));
        case Coding::Float32: {
            const auto bits = static_cast<std::uint32_t>(LittleEndian(p, 4));
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return FromFloat(value);
        }
        case Coding::Float64: {
            const std::uint64_t bits = LittleEndian(p, 8);
            double value;
            std::memcpy(&value, &bits, sizeof value);
            return FromFloat(value);
        }
    }
    return 0;
}

// The samples are appended to a vector whose capacity was reserved for all of
// them.

// Mono 16-bit frames are the samples as they stand: read straight into place.
// Sizing the vector first zeroes it, but that costs less than copying every
// block once more from a buffer, and leaves the memory warm for the read.
bool AppendStraight(const WaveReader& reader, std::size_t frameCount,
                    std::vector<std::int16_t>& samples) {
    const std::size_t start = samples.size();
    samples.resize(start + frameCount);
    std::int16_t* const into = samples.data() + start;
    const std::size_t blockFrames = BlockBytes / 2;
    for (std::size_t first = 0; first < frameCount; first += blockFrames) {
        const std::size_t count = std::min(blockFrames, frameCount - first);
        if (!reader.ReadFrameBytes(first * 2, into + first, count * 2)) return false;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        for (std::size_t i = first; i < first + count; ++i) {
            const auto bits = static_cast<std::uint16_t>(into[i]);
            into[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(bits << 8 | bits >> 8));
        }
#endif
    }
    return true;
}

// Whole frames are read a block at a time and converted.
bool AppendWholeFrames(const WaveReader& reader, const SampleLayout& layout, std::size_t frameCount,
                       std::vector<std::int16_t>& samples) {
    const std::size_t frameBytes = reader.FrameBytes();
    const std::size_t framesPerBlock =
        std::min({WholeFrameBlockBytes / frameBytes, WholeFrameBlockFrames, frameCount});
    // Uninitialised, as above: only bytes just read are looked at.
    const std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[framesPerBlock * frameBytes]);
    const std::unique_ptr<std::int16_t[]> converted(new std::int16_t[framesPerBlock]);
    for (std::size_t first = 0; first < frameCount; first += framesPerBlock) {
        const std::size_t count = std::min(framesPerBlock, frameCount - first);
        if (!reader.ReadFrameBytes(first * frameBytes, block.get(), count * frameBytes)) {
            return false;
        }
        for (std::size_t i = 0; i < count; ++i) {
            converted[i] = SampleAt(&block[i * frameBytes + layout.offset], layout);
        }
        samples.insert(samples.end(), converted.get(), converted.get() + count);
    }
    return true;
}

// Only the bytes of each frame's first sample are read.
bool AppendFirstSamples(const WaveReader& reader, const SampleLayout& layout,
                        std::size_t frameCount, std::vector<std::int16_t>& samples) {
    const std::uint64_t frameBytes = reader.FrameBytes();
    std::uint8_t bytes[8];
    for (std::size_t i = 0; i < frameCount; ++i) {
        if (!reader.ReadFrameBytes(i * frameBytes + layout.offset, bytes, layout.Width())) {
            return false;
        }
        samples.push_back(SampleAt(bytes, layout));
    }
    return true;
}

bool AppendFrames(const WaveReader& reader, const SampleLayout& layout, std::size_t frameCount,
                  std::vector<std::int16_t>& samples) {
    if (layout.coding == Coding::Signed16 && layout.offset == 0 && reader.FrameBytes() == 2) {
        return AppendStraight(reader, frameCount, samples);
    }
    if (reader.FrameBytes() <= MaxFrameBytesReadWhole) {
        return AppendWholeFrames(reader, layout, frameCount, samples);
    }
    return AppendFirstSamples(reader, layout, frameCount, samples);
}

WaveFileInfo Describe(const WaveReader& reader, std::uint32_t loadedFrames) {
    const WaveFormat& format = reader.Format();
    return {format.samplesPerSecond, format.channels, format.bitsPerSample, reader.FrameCount(),
            loadedFrames};
}

// Where a shared load looks for samples first, and what it found there.
struct StoreLookup {
    ISampleStore* store = nullptr;
    std::optional<FileIdentity> identity;
    bool settled = false;
    bool local = false;  // whether a stat of the name can tell a change (IsOnLocalFileSystem)
    SharedSamples found;
};

LoadFailure ReadSamples(const std::string& path, const LoadOptions& options,
                        std::vector<std::int16_t>& loaded, WaveFileInfo& info, LoadRefusal& refusal,
                        StoreLookup* lookup = nullptr) {
    WaveReader reader;
    if (!reader.Open(path)) {
        refusal = reader.Refusal();
        return refusal.failure;
    }
    refusal.bitsPerSample = reader.Format().bitsPerSample;
    const std::uint32_t limit = std::clamp(options.frameLimit, 1u, LargestFrameLimit);
    const std::uint32_t frameCount = std::min(limit, reader.FrameCount());
    if (frameCount == 0) {
        return reader.IsCutShort() ? LoadFailure::CutShort : LoadFailure::NoSamples;
    }
    SampleLayout layout;
    const LoadFailure unread =
        FirstChannelLayout(reader.Format(), reader.FrameBytes(), options.floatSamples, layout);
    if (unread != LoadFailure::None) return unread;
    if (lookup) {
        // Taken from the descriptor just opened, so the samples found belong to the
        // file whose header was checked, whatever the name names by now.
        lookup->identity = reader.Identity();
        lookup->settled = lookup->identity && IsSettled(*lookup->identity);
        lookup->local = reader.OnLocalFileSystem();
        if (lookup->store && lookup->identity) {
            SharedSamples found = lookup->store->FindSamples(*lookup->identity, options);
            if (found && found->size() == frameCount) {
                lookup->found = std::move(found);
                info = Describe(reader, frameCount);
                return LoadFailure::None;
            }
        }
    }
    // Allocated once, for the frames kept: no slack for the caller to carry along.
    loaded.reserve(frameCount);
    // A read that comes back short now finds a file shortened since it was opened.
    if (!AppendFrames(reader, layout, frameCount, loaded)) return LoadFailure::CutShort;
    info = Describe(reader, frameCount);
    return LoadFailure::None;
}

}  // namespace

LoadResult LoadWaveFile(const std::string& path, std::vector<std::int16_t>& samples,
                        const LoadOptions& options, WaveFileInfo* info, LoadRefusal* refusal) {
    WaveFileInfo found;
    std::vector<std::int16_t> loaded;
    LoadRefusal why;
    if (!path.empty()) {
        try {
            why.failure = ReadSamples(path, options, loaded, found, why);
        } catch (const std::bad_alloc&) {
            why.failure = LoadFailure::OutOfMemory;
        }
    }
    const LoadResult result =
        why.failure == LoadFailure::None ? LoadResult::Replaced : LoadResult::Refused;
    if (result == LoadResult::Replaced) {
        samples.swap(loaded);
        why = LoadRefusal{};
    } else {
        found = WaveFileInfo{};
    }
    if (info) *info = found;
    if (refusal) *refusal = why;
    return result;
}

SharedLoad LoadSharedWaveFile(const std::string& path, const LoadOptions& options,
                              ISampleStore* store) {
    SharedLoad load;
    if (path.empty()) {
        load.result = LoadResult::Replaced;
        load.samples = std::make_shared<const std::vector<std::int16_t>>();
        return load;
    }
    StoreLookup lookup;
    lookup.store = store;
    try {
        std::vector<std::int16_t> loaded;
        load.refusal.failure = ReadSamples(path, options, loaded, load.info, load.refusal, &lookup);
        if (load.refusal.failure == LoadFailure::None) {
            if (lookup.found) {
                load.samples = std::move(lookup.found);
            } else {
                load.samples = std::make_shared<const std::vector<std::int16_t>>(std::move(loaded));
                load.readFromFile = true;
            }
        }
    } catch (const std::bad_alloc&) {
        load.refusal.failure = LoadFailure::OutOfMemory;
    }
    if (load.refusal.failure != LoadFailure::None) {
        load.samples.reset();
        load.info = WaveFileInfo{};
        return load;
    }
    load.result = LoadResult::Replaced;
    load.refusal = LoadRefusal{};
    load.identity = lookup.identity;
    load.settled = lookup.settled;
    if (store && load.identity && load.settled) {
        if (load.readFromFile) store->KeepSamples(*load.identity, options, load.samples);
        // A name is looked up by a stat alone, which only a local file system
        // answers from what it holds now.
        if (lookup.local) store->KeepName(path, options, *load.identity, load.info);
    }
    return load;
}

}  // namespace sonolux
