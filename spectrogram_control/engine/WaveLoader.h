#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/FileIdentity.h"
#include "engine/LoadFailure.h"

namespace sonolux {

// Sample frames taken from the start of a file unless asked otherwise: 1 s at 48 kHz.
constexpr std::uint32_t DefaultFrameLimit = 48000;
// The most frames a load takes: 87 s at 48 kHz, 8 MiB of samples.
constexpr std::uint32_t LargestFrameLimit = 4194304;

enum class LoadResult { Replaced, Refused };

struct LoadOptions {
    // At most this many frames are taken from the start of the file; a value outside
    // 1 to LargestFrameLimit is taken as the nearest of the two.
    std::uint32_t frameLimit = DefaultFrameLimit;
    // Whether IEEE float samples (32 or 64 bits) are read; without it such files are
    // refused.
    bool floatSamples = false;
};

// What a load found in the file it read.
struct WaveFileInfo {
    std::uint32_t sampleRate = 0;  // frames per second, as the header states it
    std::uint16_t channels = 0;
    std::uint16_t bitsPerSample = 0;  // of one sample as the file stores it
    std::uint32_t totalFrames = 0;    // whole frames the file holds
    std::uint32_t loadedFrames = 0;   // of them, taken into the samples

    bool operator==(const WaveFileInfo& other) const {
        return sampleRate == other.sampleRate && channels == other.channels &&
               bitsPerSample == other.bitsPerSample && totalFrames == other.totalFrames &&
               loadedFrames == other.loadedFrames;
    }
};

// Reads the first channel of the first `options.frameLimit` frames of the PCM (or,
// with `options.floatSamples`, IEEE float) wave file at `path` (a file system path in
// the local 8-bit encoding) into `samples`, one 16-bit value per frame. Either
// replaces `samples` completely (Replaced) or leaves it untouched (Refused). An
// empty `path` empties `samples` (Replaced). Anything but a regular file (a named
// pipe, a device, a folder) is refused without blocking, and so is a `path` that
// holds a NUL byte.
//
// Float samples x become floor(x * 32768) limited to -32768 .. 32767, NaN 0.
//
// `samples` gets exactly the loaded length as its capacity. Whatever the header
// claims, the load holds at most the samples it returns (2 bytes a frame) and 320 KiB
// of buffers besides, and reads at most 16 KiB a frame: a frame up to 16 KiB wide is
// read whole, in a block of frames of at most 256 KiB, and of a wider frame only the
// bytes of its first sample. `info`, when given, describes the file after a load that
// read one, and is all zeros after a refusal or for an empty `path`. `refusal`, when
// given, says why the file was refused (LoadRefusalText words it), and is
// LoadFailure::None after a load that read a file and for an empty `path`. Any
// thread, but `samples`, `info` and `refusal` belong to the caller.
LoadResult LoadWaveFile(const std::string& path, std::vector<std::int16_t>& samples,
                        const LoadOptions& options = {}, WaveFileInfo* info = nullptr,
                        LoadRefusal* refusal = nullptr);

// Samples that several holders share and nobody changes.
using SharedSamples = std::shared_ptr<const std::vector<std::int16_t>>;

// Where a load looks for the samples of the file it opened before reading them,
// and leaves those it read. Called on the loading thread.
class ISampleStore {
public:
    virtual SharedSamples FindSamples(const FileIdentity& file, const LoadOptions& options) = 0;
    virtual void KeepSamples(const FileIdentity& file, const LoadOptions& options,
                             const SharedSamples& samples) = 0;
    // `path` named `file` when a load with `options` found `info` there; told
    // only of settled files on a local file system (IsOnLocalFileSystem).
    virtual void KeepName(const std::string& path, const LoadOptions& options,
                          const FileIdentity& file, const WaveFileInfo& info) = 0;

protected:
    ~ISampleStore() = default;
};

// What LoadSharedWaveFile found.
struct SharedLoad {
    LoadResult result = LoadResult::Refused;
    SharedSamples samples;  // when Replaced: the samples (empty for an empty path)
    WaveFileInfo info;
    LoadRefusal refusal;
    std::optional<FileIdentity> identity;  // of the file opened, when one was
    bool settled = false;       // whether `identity` was settled when taken (see IsSettled)
    bool readFromFile = false;  // false when the store had the samples
};

// LoadWaveFile() with the same checks and the same samples, shared: the file is
// opened and its header checked as there, then `store` (when given) is asked for
// the samples of the opened file's identity, and only without them are they read
// (and handed to `store` when that identity was settled). Any thread.
SharedLoad LoadSharedWaveFile(const std::string& path, const LoadOptions& options,
                              ISampleStore* store = nullptr);

}  // namespace sonolux
