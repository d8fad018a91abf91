#include "demo/WaveWriter.h"

#include <fstream>

namespace corvane {
namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutU16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    PutU16(out, static_cast<std::uint16_t>(value >> 16));
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace

bool WritePcmWave(const std::string& path, std::uint16_t channels, std::uint32_t sampleRate,
                  std::uint16_t bitsPerSample, const std::vector<std::uint8_t>& frameBytes) {
    const std::uint16_t blockAlign =
        static_cast<std::uint16_t>(channels * ((bitsPerSample + 7) / 8));
    const auto dataSize = static_cast<std::uint32_t>(frameBytes.size());
    std::vector<std::uint8_t> file;
    file.reserve(44 + frameBytes.size() + 1);
    PutTag(file, "RIFF");
    PutU32(file, 36 + dataSize + (dataSize & 1));
    PutTag(file, "WAVE");
    PutTag(file, "fmt ");
    PutU32(file, 16);
    PutU16(file, 1);
    PutU16(file, channels);
    PutU32(file, sampleRate);
    PutU32(file, sampleRate * blockAlign);
    PutU16(file, blockAlign);
    PutU16(file, bitsPerSample);
    PutTag(file, "data");
    PutU32(file, dataSize);
    file.insert(file.end(), frameBytes.begin(), frameBytes.end());
    if (dataSize & 1) file.push_back(0);

    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(file.data()),
                 static_cast<std::streamsize>(file.size()));
    stream.close();
    return static_cast<bool>(stream);
}

bool WriteMono16Wave(const std::string& path, std::uint32_t sampleRate,
                     const std::vector<std::int16_t>& samples) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(samples.size() * 2);
    for (std::int16_t sample : samples) PutU16(bytes, static_cast<std::uint16_t>(sample));
    return WritePcmWave(path, 1, sampleRate, 16, bytes);
}

}  // namespace corvane
