#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sonolux {

// At most this many sample frames are taken from the start of a file.
constexpr std::uint32_t MaxFrames = 48000;

enum class LoadResult { Replaced, Refused };

// Reads the first channel of the first MaxFrames frames of the PCM wave file at
// `path` (a file system path in the local 8-bit encoding) into `samples`, one
// 16-bit value per frame. Either replaces `samples` completely (Replaced) or
// leaves it untouched (Refused). An empty `path` empties `samples` (Replaced).
// Anything but a regular file (a named pipe, a device, a folder) is refused
// without blocking. Whatever the header claims, the load holds at most the
// samples it returns (2 bytes a frame) and one block of 64 KiB, and reads at
// most 256 bytes a frame. Any thread, but `samples` belongs to the caller.
LoadResult LoadWaveFile(const std::string& path, std::vector<std::int16_t>& samples);

}  // namespace sonolux
