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
LoadResult LoadWaveFile(const std::string& path, std::vector<std::int16_t>& samples);

}  // namespace sonolux
