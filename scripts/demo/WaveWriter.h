#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// Writes a canonical PCM RIFF/WAVE file: a 16-byte format chunk followed by
// the data chunk. `frames` holds interleaved little-endian sample bytes as the
// file stores them. Returns false when the file cannot be written whole.
bool WritePcmWave(const std::string& path, std::uint16_t channels, std::uint32_t sampleRate,
                  std::uint16_t bitsPerSample, const std::vector<std::uint8_t>& frameBytes);

// Mono 16-bit convenience over WritePcmWave.
bool WriteMono16Wave(const std::string& path, std::uint32_t sampleRate,
                     const std::vector<std::int16_t>& samples);

}  // namespace corvane
