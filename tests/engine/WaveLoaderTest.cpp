#include "engine/WaveLoader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "demo/WaveWriter.h"
#include "engine/WaveReader.h"
#include "tests/engine/AllocationProbe.h"
#include "tests/engine/WaveBytes.h"
#include "tests/support/TempFolder.h"

using sonolux::LoadOptions;
using sonolux::LoadResult;
using sonolux::LoadWaveFile;
using sonolux::WaveFileInfo;

namespace {

const std::vector<std::int16_t> Previous = {7, -7, 7};

class WaveLoaderTest : public ::testing::Test {
protected:
    // Loads `path` into samples that held Previous before.
    LoadResult Load(const std::string& path, const LoadOptions& options = {},
                    WaveFileInfo* info = nullptr) {
        samples = Previous;
        return LoadWaveFile(path, samples, options, info);
    }
    std::string Write(const std::string& name, const WaveBytes& bytes) {
        return folder.WriteText(name, bytes.Text());
    }
    std::string WritePcm(std::uint16_t channels, std::uint16_t bits,
                         const std::vector<std::uint8_t>& frames) {
        const std::string path = folder.Path("pcm.wav");
        EXPECT_TRUE(corvane::WritePcmWave(path, channels, 8000, bits, frames));
        return path;
    }
    void ExpectRefused(const std::string& path, const LoadOptions& options = {}) {
        EXPECT_EQ(Load(path, options), LoadResult::Refused) << path;
        EXPECT_EQ(samples, Previous) << path;
    }

    TempFolder folder;
    std::vector<std::int16_t> samples;
};

std::vector<std::int16_t> Ramp(int count) {
    std::vector<std::int16_t> values(count);
    for (int i = 0; i < count; ++i) values[i] = static_cast<std::int16_t>(i * 7 - 30000);
    return values;
}

// --- the conversions ---

TEST_F(WaveLoaderTest, Mono16BitIsTakenAsItStands) {
    const std::vector<std::int16_t> values = {0, 1, -1, 32767, -32768, 1234};
    ASSERT_EQ(Load(folder.WriteWave("a.wav", values)), LoadResult::Replaced);
    EXPECT_EQ(samples, values);
}

TEST_F(WaveLoaderTest, LongFileYieldsItsFirst48000Frames) {
    const std::vector<std::int16_t> values = Ramp(50000);
    ASSERT_EQ(Load(folder.WriteWave("long.wav", values)), LoadResult::Replaced);
    ASSERT_EQ(samples.size(), 48000u);
    EXPECT_EQ(samples.front(), values.front());
    EXPECT_EQ(samples.back(), values[47999]);
}

TEST_F(WaveLoaderTest, StereoYieldsTheFirstChannelOnly) {
    // Frames: (100, -5), (-200, 6), (300, -7) as little-endian 16-bit pairs.
    const std::vector<std::uint8_t> frames = {100, 0, 0xFB, 0xFF, 0x38, 0xFF,
                                              6,   0, 0x2C, 1,    0xF9, 0xFF};
    ASSERT_EQ(Load(WritePcm(2, 16, frames)), LoadResult::Replaced);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{100, -200, 300}));
}

TEST_F(WaveLoaderTest, EightBitIsCentredOnZero) {
    ASSERT_EQ(Load(WritePcm(1, 8, {0, 128, 255})), LoadResult::Replaced);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{-128, 0, 127}));
}

TEST_F(WaveLoaderTest, EightBitStereoTakesTheFirstByteOfEachFrame) {
    ASSERT_EQ(Load(WritePcm(2, 8, {0, 9, 255, 9, 130, 9})), LoadResult::Replaced);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{-128, 127, 2}));
}

TEST_F(WaveLoaderTest, WideSamplesGiveTheirUpperTwoBytes) {
    ASSERT_EQ(Load(WritePcm(1, 24, {0x56, 0x34, 0x12, 0x00, 0x00, 0x80})), LoadResult::Replaced);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{0x1234, -32768}));
    ASSERT_EQ(Load(WritePcm(1, 32, {0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF})),
              LoadResult::Replaced);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{0x1234, -1}));
    // Stereo 24-bit: the first channel's upper bytes, the second channel skipped.
    ASSERT_EQ(
        Load(WritePcm(2, 24, {0x00, 0x10, 0x00, 0xAA, 0xBB, 0xCC, 0x00, 0xF0, 0xFF, 1, 2, 3})),
        LoadResult::Replaced);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{0x0010, -16}));
}

TEST_F(WaveLoaderTest, TwelveBitSamplesAreTakenAsStoredInTheirContainers) {
    ASSERT_EQ(Load(WritePcm(2, 12, {0x10, 0x80, 0, 0, 0xF0, 0x7F, 0, 0})), LoadResult::Replaced);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{-32752, 32752}));
}

TEST_F(WaveLoaderTest, EmptyPathEmptiesTheSamples) {
    EXPECT_EQ(Load(""), LoadResult::Replaced);
    EXPECT_TRUE(samples.empty());
}

TEST_F(WaveLoaderTest, UnreadableFilesLeaveThePreviousSamples) {
    ExpectRefused(folder.Path("missing.wav"));
    ExpectRefused(folder.MakeFolder("folder.wav"));
    ExpectRefused(folder.WriteWave("empty.wav", {}));    // no frames
    ExpectRefused(WritePcm(1, 20, {1, 2, 3, 4, 5, 6}));  // 20-bit
    ExpectRefused(WritePcm(1, 10, {1, 2, 3, 4}));        // 10-bit
    ExpectRefused(WritePcm(1, 4, {1, 2, 3, 4}));         // one byte, not 8-bit
    ExpectRefused(Write("alaw.wav", WaveBytes().RiffHeader().Format(1, 8, -1, 6).Data({1, 2})));
    ExpectRefused(
        Write("float.wav", WaveBytes().RiffHeader().Format(1, 32, -1, 3).Data({1, 2, 3, 4})));
}

// --- format records longer than 16 bytes ---

WaveBytes ExtensibleFile(std::uint16_t channels, std::uint16_t bits, std::uint16_t validBits,
                         std::uint8_t subFormatFirstByte, const std::vector<std::uint8_t>& data) {
    const std::uint32_t align = channels * (bits / 8u);
    WaveBytes file;
    file.RiffHeader().Tag("fmt ").U32(40).U16(0xFFFE).U16(channels).U32(48000).U32(48000 * align);
    file.U16(align).U16(bits).U16(22).U16(validBits).U32(3);
    file.Bytes({subFormatFirstByte, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71});
    return file.Data(data);
}

TEST_F(WaveLoaderTest, PcmRecordWithEmptyExtensionIsRead) {
    WaveBytes file;
    file.RiffHeader().Format(1, 16, -1, 1, 18).U16(0).Data({0x34, 0x12, 0xFF, 0xFF});
    ASSERT_EQ(Load(Write("pcm18.wav", file)), LoadResult::Replaced);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{0x1234, -1}));
}

TEST_F(WaveLoaderTest, PcmRecordWithNonEmptyExtensionIsRefused) {
    WaveBytes file;
    file.RiffHeader().Format(1, 16, -1, 1, 20).U16(2).U16(0).Data({0x34, 0x12});
    ExpectRefused(Write("pcm20.wav", file));
}

TEST_F(WaveLoaderTest, ExtensiblePcmIsReadAsThePcmRecordItCarries) {
    // 24 valid bits in 32-bit containers, two channels.
    const std::vector<std::uint8_t> data = {0, 0x78, 0x56, 0x34, 9, 9, 9, 9,
                                            0, 0,    0x00, 0x80, 9, 9, 9, 9};
    ASSERT_EQ(Load(Write("ext.wav", ExtensibleFile(2, 32, 24, 0x01, data))), LoadResult::Replaced);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{0x3456, -32768}));
}

TEST_F(WaveLoaderTest, ExtensibleWithOtherSubFormatsIsRefused) {
    ExpectRefused(Write("extfloat.wav", ExtensibleFile(1, 32, 32, 0x03, {0, 0, 0x80, 0x3F})));
    ExpectRefused(Write("extvalid.wav", ExtensibleFile(1, 16, 17, 0x01, {1, 2})));
}

// --- IEEE float samples ---

const LoadOptions WithFloat{sonolux::DefaultFrameLimit, true};

// Little-endian bytes of each value as `Float` (float or double).
template <typename Float>
std::vector<std::uint8_t> FloatBytes(const std::vector<double>& values) {
    std::vector<std::uint8_t> bytes;
    for (double value : values) {
        const Float stored = static_cast<Float>(value);
        std::uint8_t raw[sizeof(Float)];
        std::memcpy(raw, &stored, sizeof raw);
        bytes.insert(bytes.end(), raw, raw + sizeof raw);  // the test machines are little-endian
    }
    return bytes;
}

TEST_F(WaveLoaderTest, FloatSamplesFollowTheFormulaOnlyWhenAsked) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> values = {0.5,          -1.0,        1.0,          0.99999, -0.00001,
                                        1e-9,         1.0 / 32768, -1.5 / 32768, 2.0,     -3.0,
                                        std::nan(""), inf,         -inf};
    // floor(x * 32768) within -32768 .. 32767, NaN 0.
    const std::vector<std::int16_t> expected = {16384, -32768, 32767,  32767, -1,    0,     1,
                                                -2,    32767,  -32768, 0,     32767, -32768};
    std::vector<double> stereo;  // the second channel is loud and must not be taken
    for (double value : values) stereo.insert(stereo.end(), {value, 0.75});
    WaveBytes float64;
    float64.RiffHeader().Format(2, 64, -1, 3, 18).U16(0).Data(FloatBytes<double>(stereo));
    const std::vector<std::string> files = {
        Write("f32.wav",
              WaveBytes().RiffHeader().Format(1, 32, -1, 3).Data(FloatBytes<float>(values))),
        Write("f64.wav", float64),
        Write("extfloat.wav", ExtensibleFile(1, 32, 32, 0x03, FloatBytes<float>(values))),
    };
    for (const std::string& path : files) {
        ExpectRefused(path);
        ASSERT_EQ(Load(path, WithFloat), LoadResult::Replaced) << path;
        EXPECT_EQ(samples, expected) << path;
    }
}

TEST_F(WaveLoaderTest, BrokenFloatFilesAreRefusedOrCutLikeAnyOther) {
    const std::vector<std::uint8_t> two = FloatBytes<float>({0.25, -0.25});
    ExpectRefused(Write("align.wav", WaveBytes().RiffHeader().Format(1, 32, 8, 3).Data(two)),
                  WithFloat);
    ExpectRefused(Write("f16.wav", WaveBytes().RiffHeader().Format(1, 16, -1, 3).Data({0, 0x3C})),
                  WithFloat);
    ExpectRefused(
        Write("f24.wav", WaveBytes().RiffHeader().Format(1, 24, -1, 3).Data({0, 0, 0x3F})),
        WithFloat);
    // Neither PCM nor float: A-law, and a sub-format whose identifier only starts like ours.
    ExpectRefused(Write("extalaw.wav", ExtensibleFile(1, 32, 32, 0x06, two)), WithFloat);
    WaveBytes strange = ExtensibleFile(1, 32, 32, 0x03, two);
    std::string text = strange.Text();
    text[12 + 8 + 39] = 0x72;  // the last byte of the sub-format
    ExpectRefused(folder.WriteText("extstrange.wav", text), WithFloat);
    // A data chunk longer than the file: the whole frames present.
    std::vector<std::uint8_t> cut = FloatBytes<float>({0.25, -0.25, 0.5});
    cut.pop_back();
    WaveBytes longData;
    longData.RiffHeader().Format(1, 32, -1, 3).Data(cut, 0xFFFFFFF0);
    ASSERT_EQ(Load(Write("cutfloat.wav", longData), WithFloat), LoadResult::Replaced);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{8192, -8192}));
}

// --- the frame limit and what the load found ---

TEST_F(WaveLoaderTest, FrameLimitTakesThatManyFramesAndNoMoreThanTheLargest) {
    const std::vector<std::int16_t> values = Ramp(50000);
    const std::string path = folder.WriteWave("long.wav", values);
    for (std::uint32_t limit : {1u, 49999u, 50000u, sonolux::LargestFrameLimit}) {
        ASSERT_EQ(Load(path, {limit, false}), LoadResult::Replaced);
        const std::size_t kept = std::min<std::size_t>(limit, values.size());
        EXPECT_EQ(samples, std::vector<std::int16_t>(values.begin(), values.begin() + kept));
        EXPECT_EQ(samples.capacity(), samples.size()) << limit;
    }
    ASSERT_EQ(Load(path, {0, false}), LoadResult::Replaced);
    EXPECT_EQ(samples.size(), 1u);
}

TEST_F(WaveLoaderTest, InfoDescribesTheFileReadAndIsZeroOtherwise) {
    const std::vector<std::uint8_t> frames = {0, 0x10, 0, 1, 2,    3, 0, 0x20, 0,
                                              4, 5,    6, 0, 0x30, 0, 7, 8,    9};
    WaveFileInfo info;
    ASSERT_EQ(Load(WritePcm(2, 24, frames), {2, false}, &info), LoadResult::Replaced);
    EXPECT_EQ(info, (WaveFileInfo{8000, 2, 24, 3, 2}));
    // Cut short: the whole frames that are there.
    WaveBytes cut;
    cut.RiffHeader().Format(2, 16).Data({1, 0, 2, 0, 3, 0, 4, 0, 5}, 0x7FFFFFFF);
    ASSERT_EQ(Load(Write("cut.wav", cut), {}, &info), LoadResult::Replaced);
    EXPECT_EQ(info, (WaveFileInfo{8000, 2, 16, 2, 2}));
    // The float format states its own width.
    ASSERT_EQ(
        Load(Write("f64.wav",
                   WaveBytes().RiffHeader().Format(1, 64, -1, 3).Data(FloatBytes<double>({0.5}))),
             WithFloat, &info),
        LoadResult::Replaced);
    EXPECT_EQ(info, (WaveFileInfo{8000, 1, 64, 1, 1}));

    info = WaveFileInfo{1, 1, 1, 1, 1};
    EXPECT_EQ(Load(folder.WriteText("text.wav", "not a wave file"), {}, &info),
              LoadResult::Refused);
    EXPECT_EQ(info, WaveFileInfo{});
    info = WaveFileInfo{1, 1, 1, 1, 1};
    EXPECT_EQ(Load("", {}, &info), LoadResult::Replaced);
    EXPECT_EQ(info, WaveFileInfo{});
}

// --- malformed files ---

TEST_F(WaveLoaderTest, MalformedHeadersAreRefused) {
    ExpectRefused(folder.WriteText("text.wav", "This is not a wave file, only some text.\n"));
    ExpectRefused(folder.WriteText("zero.wav", ""));
    ExpectRefused(folder.WriteText("short.wav", std::string("RIFF\x10\0\0\0WAV", 11)));
    ExpectRefused(
        Write("rifx.wav", WaveBytes().Tag("RIFX").U32(0).Tag("WAVE").Format(1, 16).Data({1, 2})));
    ExpectRefused(
        Write("avi.wav", WaveBytes().Tag("RIFF").U32(0).Tag("AVI ").Format(1, 16).Data({1, 2})));
    // Cut inside the format chunk.
    const std::string whole = WaveBytes().RiffHeader().Format(1, 16).Data({1, 2}).Text();
    ExpectRefused(folder.WriteText("cut.wav", whole.substr(0, 30)));
}

TEST_F(WaveLoaderTest, MissingFormatOrDataIsRefused) {
    ExpectRefused(Write("nofmt.wav", WaveBytes().RiffHeader().Data({1, 2, 3, 4})));
    ExpectRefused(
        Write("nodata.wav", WaveBytes().RiffHeader().Format(1, 16).Chunk("LIST", {1, 2})));
    ExpectRefused(Write("fmtlate.wav", WaveBytes().RiffHeader().Data({1, 2}).Format(1, 16)));
    ExpectRefused(
        Write("twofmt.wav", WaveBytes().RiffHeader().Format(1, 16).Format(1, 8).Data({1, 2})));
}

TEST_F(WaveLoaderTest, HeaderFieldsThatContradictEachOtherAreRefused) {
    ExpectRefused(Write("nochannels.wav", WaveBytes().RiffHeader().Format(0, 16, 2).Data({1, 2})));
    // Block align 1 for 16-bit mono would make the loader take bytes of two samples.
    ExpectRefused(
        Write("align1.wav", WaveBytes().RiffHeader().Format(1, 16, 1).Data({1, 2, 3, 4})));
    ExpectRefused(
        Write("align6.wav", WaveBytes().RiffHeader().Format(2, 16, 6).Data({1, 2, 3, 4, 5, 6})));
    ExpectRefused(Write("nobits.wav", WaveBytes().RiffHeader().Format(1, 0, 0).Data({1, 2})));
}

TEST_F(WaveLoaderTest, HugeDeclaredSizesAreRefusedOrCutToTheFile) {
    // A format chunk claiming 4 GB.
    ExpectRefused(
        Write("hugefmt.wav", WaveBytes().RiffHeader().Tag("fmt ").U32(0xFFFFFFF0).U16(1).U16(1)));
    // An unknown chunk claiming more than the file: the data never comes.
    ExpectRefused(Write("hugelist.wav",
                        WaveBytes().RiffHeader().Format(1, 16).Tag("LIST").U32(0xFFFFFFFF).U32(0)));
    // A data chunk declaring more than the file holds: the whole frames present, the odd byte
    // dropped.
    WaveBytes longData;
    longData.RiffHeader().Format(1, 16).Data({0x01, 0x00, 0x02, 0x00, 0x03}, 0xFFFFFFFF);
    ASSERT_EQ(Load(Write("hugedata.wav", longData)), LoadResult::Replaced);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{1, 2}));
}

TEST_F(WaveLoaderTest, DataChunkWithoutAWholeFrameIsRefused) {
    ExpectRefused(
        Write("partial.wav", WaveBytes().RiffHeader().Format(2, 16).Data({1, 2, 3}, 100)));
}

TEST_F(WaveLoaderTest, UnknownAndOddSizedChunksAreSkippedWithTheirPadByte) {
    WaveBytes file;
    file.RiffHeader().Chunk("JUNK", {1, 2, 3}).Format(1, 16).Chunk("LIST", {4}).Chunk("fact", {});
    file.Data({0x10, 0x00, 0x20, 0x00});
    ASSERT_EQ(Load(Write("chunks.wav", file)), LoadResult::Replaced);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{16, 32}));
}

TEST_F(WaveLoaderTest, OddSizedChunkWithoutItsPadByteIsNotMisread) {
    // The writer forgot the pad byte: the next chunk header is read one byte late
    // and the file has no recognisable data chunk.
    WaveBytes file;
    file.RiffHeader().Format(1, 16).Tag("JUNK").U32(1).Bytes({9}).Data({1, 0, 2, 0});
    ExpectRefused(Write("nopad.wav", file));
}

TEST_F(WaveLoaderTest, WrongRiffSizeDoesNotHideTheData) {
    std::string text = WaveBytes().RiffHeader().Format(1, 16).Data({5, 0, 6, 0}).Text();
    text[4] = 4;
    text[5] = text[6] = text[7] = 0;
    ASSERT_EQ(Load(folder.WriteText("riffsize.wav", text)), LoadResult::Replaced);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{5, 6}));
}

TEST_F(WaveLoaderTest, EveryTruncationOfAValidFileIsReadSafely) {
    const std::string whole = WaveBytes()
                                  .RiffHeader()
                                  .Chunk("LIST", {1, 2, 3})
                                  .Format(2, 16)
                                  .Data({1, 0, 2, 0, 3, 0, 4, 0})
                                  .Text();
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const LoadResult result = Load(folder.WriteText("cut.wav", whole.substr(0, length)));
        if (result == LoadResult::Replaced) {
            // Only cuts inside the data can be read, and only as whole frames.
            EXPECT_GE(length, whole.size() - 4) << length;
            EXPECT_EQ(samples, (std::vector<std::int16_t>{1})) << length;
        } else {
            EXPECT_EQ(samples, Previous) << length;
        }
    }
}

// Damaged headers must be refused or read within the file, never crash or over-read
// (run under the sanitizers to see the latter).
TEST_F(WaveLoaderTest, RandomlyDamagedFilesAreReadSafely) {
    WaveBytes valid;
    valid.RiffHeader()
        .Chunk("JUNK", {1, 2, 3})
        .Format(2, 24)
        .Data(std::vector<std::uint8_t>(60, 0x41));
    const std::string whole = valid.Text();
    std::mt19937 random(99);
    for (int round = 0; round < 400; ++round) {
        std::string damaged = whole;
        for (int flips = 1 + round % 4; flips > 0; --flips) {
            damaged[random() % 64] = static_cast<char>(random());
        }
        damaged.resize(random() % (damaged.size() + 1));
        const LoadResult result = Load(folder.WriteText("damaged.wav", damaged));
        if (result == LoadResult::Refused) {
            ASSERT_EQ(samples, Previous);
        } else {
            ASSERT_LE(samples.size(), damaged.size());
        }
    }
}

// --- what the load may cost ---

// Writes `header` and makes the file `length` bytes long, the rest a hole that
// takes no disk space, then writes each of `bytes` at its offset.
void WriteSparse(const std::string& path, const std::string& header, std::uint64_t length,
                 const std::vector<std::pair<std::uint64_t, std::uint8_t>>& bytes) {
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(file, 0);
    ASSERT_EQ(::write(file, header.data(), header.size()), static_cast<ssize_t>(header.size()));
    ASSERT_EQ(::ftruncate(file, static_cast<off_t>(length)), 0);
    for (const auto& [offset, value] : bytes) {
        ASSERT_EQ(::pwrite(file, &value, 1, static_cast<off_t>(offset)), 1);
    }
    ::close(file);
}

constexpr std::size_t MiB = 1024 * 1024;

TEST_F(WaveLoaderTest, MemoryStaysBoundedWhateverTheHeaderClaims) {
    // 65535 channels of 8 bits and a data chunk of 4 GB that the file really holds.
    const std::string header =
        WaveBytes().RiffHeader().Format(65535, 8).Tag("data").U32(0xFFFFFFFE).Text();
    const std::uint64_t frameBytes = 65535;
    const auto firstChannel = [&](std::uint64_t frame) {
        return header.size() + frame * frameBytes;
    };
    const std::string huge = folder.Path("huge.wav");
    WriteSparse(huge, header, header.size() + 0xFFFFFFFEull,
                {{firstChannel(0), 200},
                 {firstChannel(0) + 1, 7},
                 {firstChannel(1), 255},
                 {firstChannel(47999), 1},
                 {firstChannel(48000), 99}});
    {
        AllocationProbe probe;
        ASSERT_EQ(Load(huge), LoadResult::Replaced);
        EXPECT_LT(probe.LargestAllocation(), MiB);
        EXPECT_LT(probe.PeakLiveBytes(), MiB);
    }
    ASSERT_EQ(samples.size(), 48000u);
    EXPECT_EQ(samples[0], 72);
    EXPECT_EQ(samples[1], 127);
    EXPECT_EQ(samples[47999], -127);
    EXPECT_EQ(std::count(samples.begin(), samples.end(), -128), 47997);

    // Real frames of 8 channels of 32 bits, 1.5 MB of them, read in blocks.
    std::vector<std::uint8_t> frames;
    const std::vector<std::int16_t> values = Ramp(48100);
    for (std::int16_t value : values) {
        frames.insert(frames.end(), {0x11, 0x22, static_cast<std::uint8_t>(value),
                                     static_cast<std::uint8_t>(value >> 8)});
        frames.insert(frames.end(), 28, 0x5A);
    }
    const std::string wide = WritePcm(8, 32, frames);
    frames = {};
    {
        AllocationProbe probe;
        ASSERT_EQ(Load(wide), LoadResult::Replaced);
        EXPECT_LT(probe.LargestAllocation(), MiB);
        EXPECT_LT(probe.PeakLiveBytes(), MiB);
    }
    EXPECT_EQ(samples, std::vector<std::int16_t>(values.begin(), values.begin() + 48000));
}

TEST_F(WaveLoaderTest, TheLargestLimitHoldsLittleMoreThanTheSamplesItKeeps) {
    constexpr std::uint32_t largest = sonolux::LargestFrameLimit;
    constexpr std::size_t sampleBytes = 2 * std::size_t{largest};
    const LoadOptions whole{largest, false};
    // 8-bit mono in a file that really holds 4 GB of frames: converted a block at a time.
    const std::string header8 =
        WaveBytes().RiffHeader().Format(1, 8).Tag("data").U32(0xFFFFFFFE).Text();
    const std::string huge8 = folder.Path("huge8.wav");
    WriteSparse(huge8, header8, header8.size() + 0xFFFFFFFEull,
                {{header8.size(), 255}, {header8.size() + largest - 1, 0}});
    {
        AllocationProbe probe;
        ASSERT_EQ(Load(huge8, whole), LoadResult::Replaced);
        EXPECT_LE(probe.LargestAllocation(), sampleBytes);
        EXPECT_LT(probe.PeakLiveBytes(), sampleBytes + MiB);
    }
    ASSERT_EQ(samples.size(), largest);
    EXPECT_EQ(samples.capacity(), samples.size());
    EXPECT_EQ(samples.front(), 127);
    EXPECT_EQ(samples.back(), -128);
    EXPECT_EQ(std::count(samples.begin(), samples.end(), -128), largest - 1);

    // 16-bit mono: the samples and one block beside them.
    const std::string header16 =
        WaveBytes().RiffHeader().Format(1, 16).Tag("data").U32(0xFFFFFFFE).Text();
    const std::string huge16 = folder.Path("huge16.wav");
    WriteSparse(huge16, header16, header16.size() + 0xFFFFFFFEull,
                {{header16.size() + 1, 0x12}, {header16.size() + sampleBytes - 2, 0x34}});
    samples = {};
    {
        AllocationProbe probe;
        ASSERT_EQ(LoadWaveFile(huge16, samples, whole), LoadResult::Replaced);
        EXPECT_LE(probe.LargestAllocation(), sampleBytes);
        EXPECT_LT(probe.PeakLiveBytes(), sampleBytes + 128 * 1024);
    }
    ASSERT_EQ(samples.size(), largest);
    EXPECT_EQ(samples.capacity(), samples.size());
    EXPECT_EQ(samples.front(), 0x1200);
    EXPECT_EQ(samples.back(), 0x34);
}

TEST_F(WaveLoaderTest, OnlySoManyChunksAreWalkedBeforeTheData) {
    const auto file = [](std::uint32_t emptyChunks) {
        WaveBytes bytes;
        bytes.RiffHeader().Format(1, 16);
        for (std::uint32_t i = 1; i < emptyChunks; ++i) bytes.Chunk("JUNK", {});
        return bytes.Data({5, 0}).Text();
    };
    const std::uint32_t most = sonolux::WaveReader::MaxChunksBeforeData;
    ASSERT_EQ(Load(folder.WriteText("most.wav", file(most))), LoadResult::Replaced);
    EXPECT_EQ(samples, std::vector<std::int16_t>{5});
    ExpectRefused(folder.WriteText("more.wav", file(most + 1)));
    // 4 GB of zeros read as empty chunks would be walked 8 bytes at a time.
    const std::string zeros = folder.Path("zeros.wav");
    WriteSparse(zeros, WaveBytes().RiffHeader().Format(1, 16).Text(), 0xFFFFFFFFull, {});
    ExpectRefused(zeros);
}

TEST_F(WaveLoaderTest, OnlyRegularFilesAreOpened) {
    // Opening a named pipe for reading would wait for a writer that never comes.
    const std::string pipe = folder.Path("pipe.wav");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ExpectRefused(pipe);
    const std::string linkToPipe = folder.Path("link-to-pipe.wav");
    ASSERT_EQ(::symlink(pipe.c_str(), linkToPipe.c_str()), 0);
    ExpectRefused(linkToPipe);
    ExpectRefused("/dev/zero");
#ifdef SONOLUX_GRID_PATH
    // sonolux-grid reads through the same loader: it refuses the pipe at once.
    QProcess grid;
    grid.start(QStringLiteral(SONOLUX_GRID_PATH), {QString::fromStdString(pipe)});
    ASSERT_TRUE(grid.waitForFinished(-1));
    EXPECT_EQ(grid.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(grid.exitCode(), 3);
    EXPECT_EQ(grid.readAllStandardOutput(), "REFUSED\n");
#endif
    // A symbolic link to a wave file is read as the file.
    const std::string linkToWave = folder.Path("link.wav");
    ASSERT_EQ(::symlink(folder.WriteWave("real.wav", {3, 4}).c_str(), linkToWave.c_str()), 0);
    ASSERT_EQ(Load(linkToWave), LoadResult::Replaced);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{3, 4}));
}

}  // namespace
