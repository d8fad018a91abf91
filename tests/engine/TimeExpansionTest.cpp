#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "demo/WaveWriter.h"
#include "engine/TimeExpansion.h"
#include "tests/support/TempFolder.h"

namespace {

// Frequency of channel `channel` by its zero crossings, away from both ends.
double Frequency(const std::vector<float>& samples, int channels, int channel, double rate) {
    const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
    int crossings = 0;
    std::size_t first = 0;
    std::size_t last = 0;
    for (std::size_t i = frames / 10 + 1; i < frames - frames / 10; ++i) {
        const float a = samples[(i - 1) * channels + channel];
        const float b = samples[i * channels + channel];
        if ((a < 0) == (b < 0)) continue;
        if (crossings++ == 0) first = i;
        last = i;
    }
    return (crossings - 1) / 2.0 / (static_cast<double>(last - first) / rate);
}

// A stereo 24-bit file: a tone on the left, its inverse at half level on the right.
std::string WriteStereoTone(TempFolder& folder, double frequency, std::uint32_t rate,
                            std::size_t frames) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < frames; ++i) {
        const double x = 0.5 * std::sin(2.0 * M_PI * frequency * static_cast<double>(i) / rate);
        for (const double value : {x, -x / 2}) {
            const auto sample = static_cast<std::uint32_t>(
                static_cast<std::int32_t>(std::lround(value * 8388608.0)));
            for (int b = 0; b < 3; ++b)
                bytes.push_back(static_cast<std::uint8_t>(sample >> (8 * b)));
        }
    }
    const std::string path = folder.Path("stereo.wav");
    EXPECT_TRUE(corvane::WritePcmWave(path, 2, rate, 24, bytes));
    return path;
}

}  // namespace

TEST(TimeExpansion, ChoosesTheSlowedRateWhereTheOutputTakesIt) {
    EXPECT_EQ(sonolux::OutputRateFor(48000, 1, 1, 384000, 44100), 48000);
    EXPECT_EQ(sonolux::OutputRateFor(48000, 10, 1, 384000, 44100), 4800);
    // Not a whole number of frames per second: the output's own rate.
    EXPECT_EQ(sonolux::OutputRateFor(22050, 20, 1, 384000, 44100), 44100);
    // Below what the output takes: its own rate, never a refusal.
    EXPECT_EQ(sonolux::OutputRateFor(48000, 20, 8000, 192000, 48000), 48000);
    EXPECT_EQ(sonolux::OutputRateFor(384000, 1, 8000, 192000, 48000), 48000);
    // An output whose own rate is outside its range: the nearest it takes.
    EXPECT_EQ(sonolux::OutputRateFor(48000, 20, 8000, 192000, 0), 8000);
}

// Every channel as the file holds it, straight or resampled to another rate,
// with its frequency slowed down by the divisor and its length stretched.
TEST(TimeExpansion, PlaysEveryChannelSlowedAndResampled) {
    TempFolder folder;
    const std::string path = WriteStereoTone(folder, 1000.0, 40000, 8000);

    sonolux::TimeExpandedStream straight;
    ASSERT_TRUE(straight.Open(path));
    EXPECT_EQ(straight.Channels(), 2);
    straight.Start(10, 4000);
    EXPECT_FALSE(straight.Resampled());
    std::vector<float> out;
    while (straight.Read(3000, out) > 0) {
    }
    ASSERT_EQ(out.size(), 16000u);
    EXPECT_NEAR(out[2 * 10], 0.5 * std::sin(2 * M_PI * 1000.0 * 10 / 40000), 1e-6);
    EXPECT_NEAR(out[2 * 10 + 1], -0.25 * std::sin(2 * M_PI * 1000.0 * 10 / 40000), 1e-6);
    EXPECT_DOUBLE_EQ(straight.RecordingSeconds(4000), 0.1);

    // 40 kHz at 1/10 is 4 kHz, which this output does not take: 44.1 kHz.
    sonolux::TimeExpandedStream resampled;
    ASSERT_TRUE(resampled.Open(path));
    resampled.Start(10, 44100);
    EXPECT_TRUE(resampled.Resampled());
    EXPECT_EQ(resampled.OutputFrames(), 88200u);
    out.clear();
    while (resampled.Read(1000, out) > 0) {
    }
    ASSERT_EQ(out.size(), 2u * 88200u);
    EXPECT_NEAR(Frequency(out, 2, 0, 44100), 100.0, 0.2);
    EXPECT_NEAR(Frequency(out, 2, 1, 44100), 100.0, 0.2);
    float peakLeft = 0;
    float peakRight = 0;
    for (std::size_t i = 2 * 8820; i < out.size() - 2 * 8820; i += 2) {
        peakLeft = std::max(peakLeft, std::abs(out[i]));
        peakRight = std::max(peakRight, std::abs(out[i + 1]));
    }
    EXPECT_NEAR(peakLeft, 0.5, 0.01);
    EXPECT_NEAR(peakRight, 0.25, 0.01);
    EXPECT_NEAR(resampled.RecordingSeconds(44100), 0.1, 1e-9);

    // Down to a lower rate: what the lower rate cannot hold is filtered out,
    // not folded back into what it can.
    const std::string high = folder.Path("high.wav");
    std::vector<std::int16_t> mixed(19200);
    for (std::size_t i = 0; i < mixed.size(); ++i)
        mixed[i] = static_cast<std::int16_t>(8000 * std::sin(2 * M_PI * 1000.0 * i / 96000) +
                                             8000 * std::sin(2 * M_PI * 30000.0 * i / 96000));
    ASSERT_TRUE(corvane::WriteMono16Wave(high, 96000, mixed));
    sonolux::TimeExpandedStream down;
    ASSERT_TRUE(down.Open(high));
    down.Start(1, 44100);
    out.clear();
    while (down.Read(1000, out) > 0) {
    }
    EXPECT_NEAR(Frequency(out, 1, 0, 44100), 1000.0, 2.0);
    float peak = 0;
    for (std::size_t i = out.size() / 10; i < out.size() - out.size() / 10; ++i)
        peak = std::max(peak, std::abs(out[i]));
    EXPECT_NEAR(peak, 8000.0 / 32768.0, 0.01);
}

TEST(TimeExpansion, RefusesWhatItCannotRead) {
    TempFolder folder;
    sonolux::TimeExpandedStream stream;
    EXPECT_FALSE(stream.Open(folder.WriteText("text.wav", "not a wave file")));
    EXPECT_FALSE(stream.Open(folder.WriteWave("empty.wav", {})));
    EXPECT_FALSE(stream.Open(folder.Path("missing.wav")));
}
