// The analysis of whole recordings: what it finds in known sounds, and what it says
// of files it cannot read.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "demo/WaveWriter.h"
#include "engine/WaveAnalysis.h"
#include "tests/engine/WaveBytes.h"
#include "tests/support/TempFolder.h"

namespace {

using sonolux::AnalysisStatus;

// Steady white noise of RMS 200 with, when `toneHz` > 0, a tone from 0.3 to 0.6 s
// `levelDb` above it.
std::vector<std::int16_t> NoiseWithTone(std::uint32_t rate, double toneHz, double levelDb,
                                        unsigned seed = 1) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 200.0);
    const double amplitude = 200.0 * std::sqrt(2.0) * std::pow(10.0, levelDb / 20.0);
    std::vector<std::int16_t> samples(rate);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double value = noise(random);
        if (toneHz > 0 && t >= 0.3 && t < 0.6) value += amplitude * std::sin(2 * M_PI * toneHz * t);
        samples[i] = static_cast<std::int16_t>(std::clamp(std::lround(value), -32768L, 32767L));
    }
    return samples;
}

int StrongestBand(const sonolux::WaveAnalysis& analysis) {
    const auto begin = analysis.features.begin();
    return static_cast<int>(std::max_element(begin, begin + sonolux::AnalysisBandCount) - begin);
}

TEST(WaveAnalysis, ACallStandsAboveItsBackgroundAndNoiseAloneDoesNot) {
    const sonolux::WaveAnalysis noise = sonolux::AnalyseSamples(NoiseWithTone(48000, 0, 0), 48000);
    ASSERT_EQ(noise.status, AnalysisStatus::Analysed);
    EXPECT_LT(noise.activityDb, 4.0f);
    const sonolux::WaveAnalysis call =
        sonolux::AnalyseSamples(NoiseWithTone(48000, 3000, 6), 48000);
    EXPECT_GT(call.activityDb, 15.0f);
    EXPECT_GT(call.features[sonolux::AnalysisBandCount], 0.2f);  // active share: 0.3 s of 1 s
    EXPECT_LT(call.features[sonolux::AnalysisBandCount], 0.4f);
    // Digital silence is no event either.
    const sonolux::WaveAnalysis silence =
        sonolux::AnalyseSamples(std::vector<std::int16_t>(48000, 0), 48000);
    ASSERT_EQ(silence.status, AnalysisStatus::Analysed);
    EXPECT_EQ(silence.activityDb, 0.0f);
}

TEST(WaveAnalysis, BandsAreTheSameInHertzAtEveryRate) {
    const auto low = sonolux::AnalyseSamples(NoiseWithTone(22050, 3000, 20), 22050);
    const auto high = sonolux::AnalyseSamples(NoiseWithTone(96000, 3000, 20), 96000);
    EXPECT_EQ(StrongestBand(low), StrongestBand(high));
    EXPECT_NEAR(std::log2(3000.0 / sonolux::AnalysisLowestHz) /
                    std::log2(sonolux::AnalysisHighestHz / sonolux::AnalysisLowestHz) *
                    sonolux::AnalysisBandCount,
                StrongestBand(low) + 0.5, 1.0);
    // Above 11 kHz a 22.05 kHz recording has nothing to say: the neutral 0.
    EXPECT_EQ(low.features[sonolux::AnalysisBandCount - 1], 0.0f);
}

TEST(WaveAnalysis, FilesItCannotReadGiveAStatusAndNoFingerprint) {
    TempFolder folder;
    const auto write = [&](const std::string& name, const WaveBytes& bytes) {
        return folder.WriteText(name, bytes.Text());
    };
    const std::vector<std::uint8_t> two(4, 1);
    const std::vector<std::string> hostile = {
        folder.WriteText("text.wav", "plain text, no RIFF"),
        folder.Path("missing.wav"),
        write("empty-data.wav", WaveBytes().RiffHeader().Format(1, 16).Data({})),
        write("no-channels.wav", WaveBytes().RiffHeader().Format(0, 16).Data(two)),
        write("zero-align.wav", WaveBytes().RiffHeader().Format(1, 16, 0).Data(two)),
        write("20-bit.wav", WaveBytes().RiffHeader().Format(1, 20).Data(two)),
        write("no-format.wav", WaveBytes().RiffHeader().Data(two)),
        write("long-format.wav", WaveBytes().RiffHeader().Format(1, 16, -1, 1, 0xFFFFFFF0u)),
        folder.MakeFolder("folder.wav"),
    };
    for (const std::string& path : hostile) {
        const sonolux::WaveAnalysis analysis = sonolux::AnalyseWaveFile(path);
        EXPECT_EQ(analysis.status, AnalysisStatus::NotRead) << path;
        EXPECT_EQ(analysis.activityDb, 0.0f) << path;
        EXPECT_TRUE(std::all_of(analysis.features.begin(), analysis.features.end(), [](float f) {
            return f == 0.0f;
        })) << path;
    }
    // A data chunk that claims 4 GiB is read as far as the file goes, as the control
    // reads a file cut short: two frames, not what the header says.
    const sonolux::WaveAnalysis cut = sonolux::AnalyseWaveFile(
        write("huge-claim.wav", WaveBytes().RiffHeader().Format(1, 16).Data(two, 0xFFFFFFF0u)));
    EXPECT_EQ(cut.status, AnalysisStatus::Analysed);
    EXPECT_EQ(cut.analysedFrames, 2u);

    const std::string pipe = folder.Path("pipe.wav");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(sonolux::AnalyseWaveFile(pipe).status, AnalysisStatus::NotRead);
    EXPECT_EQ(sonolux::AnalyseWaveFile("").status, AnalysisStatus::NoPath);
    EXPECT_STREQ(sonolux::AnalysisStatusText(AnalysisStatus::NotRead), "not a readable wave file");

    // A header may claim any rate; one no recorder writes is refused by name.
    const std::string slow = folder.Path("slow.wav");
    ASSERT_TRUE(corvane::WriteMono16Wave(slow, 100, std::vector<std::int16_t>(500, 7)));
    EXPECT_EQ(sonolux::AnalyseWaveFile(slow).status, AnalysisStatus::UnsupportedRate);
}

}  // namespace
