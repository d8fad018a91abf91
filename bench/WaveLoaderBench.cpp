// Loads of whole recordings (the largest frame limit) whose frames are wide, from
// sparse files that the page cache holds after one load before the timing. The
// frame width decides how the loader reads, so the cases are the ones whose
// width costs the most: many channels of short frames, and the widest frames a
// full 4 GB file holds on either side of the width where whole-frame block reads
// give way to one read per frame.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/WaveLoader.h"

namespace {

constexpr std::uint32_t HeaderBytes = 44;
// The most data a wave file can hold: the RIFF size counts the rest of the header too.
constexpr std::uint64_t MostDataBytes = 0xFFFFFFFFull - (HeaderBytes - 8);

void PutU16(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    PutU16(bytes, value & 0xFFFF);
    PutU16(bytes, value >> 16);
}

void PutTag(std::vector<std::uint8_t>& bytes, const char* tag) {
    bytes.insert(bytes.end(), tag, tag + 4);
}

std::vector<std::uint8_t> Header(std::uint16_t channels, std::uint16_t bits,
                                 std::uint32_t dataBytes) {
    const std::uint32_t align = channels * (bits / 8u);
    std::vector<std::uint8_t> bytes;
    PutTag(bytes, "RIFF");
    PutU32(bytes, dataBytes + (HeaderBytes - 8));
    PutTag(bytes, "WAVE");
    PutTag(bytes, "fmt ");
    PutU32(bytes, 16);
    PutU16(bytes, 1);
    PutU16(bytes, channels);
    PutU32(bytes, 48000);
    PutU32(bytes, 48000 * align);
    PutU16(bytes, align);
    PutU16(bytes, bits);
    PutTag(bytes, "data");
    PutU32(bytes, dataBytes);
    return bytes;
}

// A 16-bit file of `frames` frames (as many as fit when 0) whose data is a hole
// but for the first channel of its first and last frame: 0x0101 and 0x0202.
bool WriteSparse16(const std::string& path, std::uint16_t channels, std::uint32_t& frames) {
    const std::uint64_t frameBytes = 2u * channels;
    if (frames == 0) frames = static_cast<std::uint32_t>(MostDataBytes / frameBytes);
    const std::uint64_t dataBytes = frames * frameBytes;
    const std::vector<std::uint8_t> header =
        Header(channels, 16, static_cast<std::uint32_t>(dataBytes));
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (file < 0) return false;
    const std::uint8_t first[2] = {1, 1};
    const std::uint8_t last[2] = {2, 2};
    const bool written =
        ::write(file, header.data(), header.size()) == static_cast<ssize_t>(header.size()) &&
        ::ftruncate(file, static_cast<off_t>(HeaderBytes + dataBytes)) == 0 &&
        ::pwrite(file, first, 2, HeaderBytes) == 2 &&
        ::pwrite(file, last, 2, static_cast<off_t>(HeaderBytes + dataBytes - frameBytes)) == 2;
    return ::close(file) == 0 && written;
}

// Arguments: channels of 16 bits, and frames (0: as many as a wave file holds).
void BM_LoadWideFrames(benchmark::State& state) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("wide.wav").toStdString();
    const auto channels = static_cast<std::uint16_t>(state.range(0));
    auto frames = static_cast<std::uint32_t>(state.range(1));
    if (!folder.isValid() || !WriteSparse16(path, channels, frames)) {
        state.SkipWithError("cannot write the file");
        return;
    }
    const sonolux::LoadOptions whole{sonolux::LargestFrameLimit, false};
    const std::size_t loaded = std::min(frames, sonolux::LargestFrameLimit);
    std::vector<std::int16_t> samples;
    // Brings what the load reads into the page cache; the timing starts from there.
    if (sonolux::LoadWaveFile(path, samples, whole) != sonolux::LoadResult::Replaced ||
        samples.size() != loaded || samples.front() != 0x0101 ||
        samples.back() != (loaded == frames ? 0x0202 : 0)) {
        state.SkipWithError("the file was not read as written");
        return;
    }
    for (auto _ : state) {
        if (sonolux::LoadWaveFile(path, samples, whole) != sonolux::LoadResult::Replaced) {
            state.SkipWithError("the file was refused");
            return;
        }
        benchmark::DoNotOptimize(samples.data());
    }
    state.counters["frame_bytes"] = 2.0 * channels;
    state.counters["frames"] = static_cast<double>(loaded);
}

// 129 channels: 258-byte frames, 4,194,304 of them (1.08 GB). Then full 4 GB files:
// 2 KiB frames, where whole-frame reads copy all 4 GB (as from 1 KiB up to 16 KiB,
// the slowest widths), 16 KiB frames, the widest read whole, and 16386-byte frames,
// the narrowest read one first sample at a time (262,112 reads).
BENCHMARK(BM_LoadWideFrames)
    ->Args({129, sonolux::LargestFrameLimit})
    ->Args({1024, 0})
    ->Args({8192, 0})
    ->Args({8193, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
