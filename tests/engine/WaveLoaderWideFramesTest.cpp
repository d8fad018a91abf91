// Frames of many channels: read whole a block of frames at a time up to some width,
// one first sample at a time beyond it. Each file holds more frames than one block,
// some end in the middle of a frame, and every byte the loader must not take differs
// from the one it must. Each way of reading, mono 16-bit included, refuses a file cut
// while it reads.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/WaveLoader.h"
#include "tests/engine/AllocationProbe.h"
#include "tests/engine/WaveBytes.h"
#include "tests/support/TempFolder.h"

namespace {

constexpr std::uint8_t Filler = 0xA5;
constexpr std::size_t KiB = 1024;

struct WideFile {
    std::uint16_t channels;
    std::uint16_t bits;
    std::uint32_t frames;  // whole frames the file holds
    bool cutMidFrame;      // half a frame more, in a data chunk declaring far more
    std::uint32_t limit;   // a frame limit that falls inside a block or on its edge
};

// The first channel's value in frame `i` as the loader must give it.
std::int16_t Expected(std::uint16_t bits, std::uint32_t i) {
    const auto value = static_cast<std::uint16_t>(i * 40503u + 12345u);
    if (bits == 8) return static_cast<std::int16_t>((value & 0xFF) - 128);
    return static_cast<std::int16_t>(value);
}

// The frames of `file`: the first channel holds Expected() in the bytes the loader
// takes (the upper two of a wider sample), every other byte is Filler.
std::vector<std::uint8_t> FrameBytes(const WideFile& file) {
    const std::size_t sampleBytes = file.bits / 8u;
    const std::size_t frameBytes = sampleBytes * file.channels;
    const std::uint32_t started = file.frames + (file.cutMidFrame ? 1 : 0);
    std::vector<std::uint8_t> bytes(frameBytes * file.frames, Filler);
    if (file.cutMidFrame) bytes.resize(bytes.size() + frameBytes / 2, Filler);
    for (std::uint32_t i = 0; i < started; ++i) {
        const auto value = static_cast<std::uint16_t>(Expected(file.bits, i));
        std::uint8_t* sample = &bytes[i * frameBytes];
        if (file.bits == 8) {
            sample[0] = static_cast<std::uint8_t>(value + 128);
        } else {
            sample[sampleBytes - 2] = static_cast<std::uint8_t>(value);
            sample[sampleBytes - 1] = static_cast<std::uint8_t>(value >> 8);
        }
    }
    return bytes;
}

// Cut short, the data chunk declares 4 GB, as a recorder that stopped early leaves it.
std::string WaveText(const WideFile& file) {
    WaveBytes wave;
    // RiffHeader() spelled out in one piece: GCC 12 mistakes its growth four bytes at a
    // time for an overflow here (-Wstringop-overflow).
    wave.Bytes({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'})
        .Format(file.channels, file.bits);
    return wave.Data(FrameBytes(file), file.cutMidFrame ? 0xFFFFFFF0 : -1).Text();
}

std::vector<std::int16_t> ExpectedSamples(const WideFile& file, std::uint32_t count) {
    std::vector<std::int16_t> samples;
    for (std::uint32_t i = 0; i < count; ++i) samples.push_back(Expected(file.bits, i));
    return samples;
}

TEST(WaveLoaderWideFrames, GiveTheirFirstChannelWithBoundedBuffersAtEveryWidth) {
    const std::vector<WideFile> files = {
        {129, 16, 2500, true, 1500},  // 258 bytes, past the old whole-frame width
        {1366, 24, 70, true, 64},     // 4098 bytes
        {4096, 32, 40, false, 32},    // 16 KiB: the widest read whole
        {5462, 24, 5, false, 3},      // 16386 bytes: the narrowest read a sample at a time
        {65535, 8, 12, true, 7},      // the widest frame a header can state
    };
    TempFolder folder;
    for (const WideFile& file : files) {
        const std::uint32_t frameBytes = file.channels * (file.bits / 8u);
        SCOPED_TRACE(testing::Message() << frameBytes << "-byte frames");
        const std::string path = folder.WriteText("wide.wav", WaveText(file));
        for (const std::uint32_t limit : {sonolux::DefaultFrameLimit, file.limit}) {
            const std::uint32_t kept = std::min(limit, file.frames);
            std::vector<std::int16_t> samples;
            sonolux::WaveFileInfo info;
            AllocationProbe probe;
            ASSERT_EQ(sonolux::LoadWaveFile(path, samples, {limit, false}, &info),
                      sonolux::LoadResult::Replaced);
            // A block of whole frames is at most 256 KiB, and all buffers 320 KiB.
            EXPECT_LE(probe.LargestAllocation(), 256 * KiB);
            EXPECT_LT(probe.PeakLiveBytes(), 320 * KiB + 2 * kept);
            EXPECT_EQ(samples, ExpectedSamples(file, kept));
            EXPECT_EQ(info,
                      (sonolux::WaveFileInfo{8000, file.channels, file.bits, file.frames, kept}));
        }
    }
}

// Shortens the file to `keep` bytes when the loader looks for its samples by
// identity: after the header was checked and before the samples are read, as
// another program cutting the file meanwhile would. Counts what it is asked to keep.
struct ShorteningStore : sonolux::ISampleStore {
    sonolux::SharedSamples FindSamples(const sonolux::FileIdentity&,
                                       const sonolux::LoadOptions&) override {
        EXPECT_EQ(::truncate(path.c_str(), static_cast<off_t>(keep)), 0);
        return nullptr;
    }
    void KeepSamples(const sonolux::FileIdentity&, const sonolux::LoadOptions&,
                     const sonolux::SharedSamples&) override {
        ++kept;
    }
    void KeepName(const std::string&, const sonolux::LoadOptions&, const sonolux::FileIdentity&,
                  const sonolux::WaveFileInfo&) override {
        ++kept;
    }
    std::string path;
    std::size_t keep = 0;
    int kept = 0;
};

// Mono 16-bit samples read straight into place, 16-bit pairs read a block at a
// time, and frames too wide for that: a file cut to half its data while it is
// read is refused as cut short, whatever the samples read before the cut.
TEST(WaveLoaderWideFrames, AFileCutWhileItsSamplesAreReadIsRefusedAndNothingIsKept) {
    const std::vector<WideFile> files = {
        {1, 16, 200000, false, 0},
        {2, 16, 100000, false, 0},
        {9000, 16, 40, false, 0},
    };
    TempFolder folder;
    for (const WideFile& file : files) {
        SCOPED_TRACE(testing::Message() << file.channels << " channels");
        const std::string text = WaveText(file);
        ShorteningStore store;
        store.path = folder.WriteText("cut.wav", text);
        store.keep = text.size() / 2;
        const sonolux::SharedLoad load =
            sonolux::LoadSharedWaveFile(store.path, {sonolux::LargestFrameLimit, false}, &store);
        EXPECT_EQ(load.result, sonolux::LoadResult::Refused);
        EXPECT_EQ(load.refusal.failure, sonolux::LoadFailure::CutShort);
        EXPECT_EQ(load.samples, nullptr);
        EXPECT_EQ(store.kept, 0);
    }
}

}  // namespace
