// The picture beyond the six parameters: every sample shown, and a grey scale
// set by the recording itself.
#include <gtest/gtest.h>

#include <QSize>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "engine/PowerGrid.h"
#include "engine/SpectrogramComputer.h"
#include "engine/SpectrogramImage.h"
#include "tests/engine/LiteralSpectrogram.h"

using sonolux::PictureOptions;
using sonolux::SpectrogramGeometry;
using sonolux::SpectrogramImage;
using sonolux::SpectrogramParameters;

namespace {

constexpr double Rate = 22050.0;

std::vector<double> GaussianNoise(std::size_t count, double sigma, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, sigma);
    std::vector<double> values(count);
    for (double& value : values) value = noise(random);
    return values;
}

std::vector<std::int16_t> Rounded(const std::vector<double>& values) {
    std::vector<std::int16_t> samples(values.size());
    for (std::size_t j = 0; j < values.size(); ++j)
        samples[j] =
            static_cast<std::int16_t>(std::lround(std::clamp(values[j], -32768.0, 32767.0)));
    return samples;
}

// Grey value of bin k of grid column i.
int Grey(const SpectrogramImage& image, int i, int k) {
    return image.Image().pixelIndex(i, image.BuiltGeometry().binCount - 1 - k);
}

const PictureOptions EverySample{true, false};
const PictureOptions AutoContrast{false, true};

TEST(EverySample, AOneMillisecondBurstDarkensItsColumnWhereverItFalls) {
    // 8 s of noise at about -60 dBFS (sigma 30) and, at one of 50 places, 1 ms of
    // 5 kHz whose power is 30 dB above the noise's: amplitude sqrt(2 * 1000) * 30.
    const std::size_t count = static_cast<std::size_t>(8 * Rate);
    const std::vector<double> noise = GaussianNoise(count, 30.0, 7);
    const double amplitude = std::sqrt(2000.0) * 30.0;
    const int burst = static_cast<int>(std::ceil(0.001 * Rate));
    const SpectrogramParameters p;
    const QSize cell(150, 100);
    const int burstBin = static_cast<int>(std::lround(5000.0 / Rate * 128));
    int missedWithoutEverySample = 0;
    for (int place = 0; place < 50; ++place) {
        // Spread over the file, and over where a column's samples begin and end.
        const std::size_t start = 977 + static_cast<std::size_t>(place) * 3517 + place % 7 * 151;
        std::vector<double> values = noise;
        for (int j = 0; j < burst; ++j)
            values[start + j] += amplitude * std::sin(2.0 * M_PI * 5000.0 * j / Rate);
        const std::vector<std::int16_t> samples = Rounded(values);

        SpectrogramImage image;
        image.Build(samples, p, cell, EverySample);
        ASSERT_EQ(image.BuiltGeometry().frameCount, 150);
        const int column = static_cast<int>(start * 150 / count);
        // The darkest the burst's rows get in the burst's column, and anywhere else.
        int inColumn = 255;
        int elsewhere = 255;
        for (int i = 0; i < 150; ++i) {
            for (int k = burstBin - 2; k <= burstBin + 2; ++k) {
                if (i == column) inColumn = std::min(inColumn, Grey(image, i, k));
                if (std::abs(i - column) > 1) elsewhere = std::min(elsewhere, Grey(image, i, k));
            }
        }
        EXPECT_LT(inColumn + 40, elsewhere) << "burst at sample " << start;

        // Without the option the picture is the one described, bit for bit, and
        // misses bursts that fall between its frames.
        SpectrogramImage described;
        described.Build(samples, p, cell, PictureOptions{});
        const SpectrogramGeometry g = described.BuiltGeometry();
        const std::vector<std::uint8_t> literalGrid = literal::ComputeGrid(samples, p, g);
        bool darkened = false;
        for (int i = 0; i < g.frameCount; ++i) {
            for (int k = 0; k < g.binCount; ++k) {
                ASSERT_EQ(Grey(described, i, k),
                          literalGrid[static_cast<std::size_t>(i) * g.binCount + k]);
            }
            darkened |= Grey(described, i, burstBin) + 40 < elsewhere;
        }
        missedWithoutEverySample += darkened ? 0 : 1;
    }
    EXPECT_GT(missedWithoutEverySample, 25);
}

// Every column is, bin by bin, the darkest of the frames at half a frame's hop
// that cover any of its samples, each frame exactly as the literal computation
// draws it.
TEST(EverySample, EachColumnIsTheLoudestOfTheFramesOverItsSamples) {
    SpectrogramParameters p;
    p.frameLengthChoice = 2;  // 128 samples, hop 64
    p.fftSizeChoice = 3;      // 256 points, 128 bins at 200 pixels
    p.powerMin = 10.0f;
    p.powerMax = 110.0f;
    const std::vector<std::int16_t> samples = Rounded(GaussianNoise(128 + 64 * 400, 500.0, 3));
    for (const int width : {37, 150, 1000}) {
        SCOPED_TRACE(width);
        SpectrogramImage image;
        image.Build(samples, p, QSize(width, 200), EverySample);
        const SpectrogramGeometry g = image.BuiltGeometry();
        ASSERT_EQ(g.frameCount, width);
        ASSERT_EQ(g.hop, 64);
        ASSERT_EQ(g.binCount, 128);
        SpectrogramGeometry frames = g;
        frames.frameCount = 401;  // the last one ends at the last sample
        const std::vector<std::uint8_t> grid = literal::ComputeGrid(samples, p, frames);
        const std::int64_t count = static_cast<std::int64_t>(samples.size());
        for (int i = 0; i < width; ++i) {
            const std::int64_t begin = i * count / width;
            const std::int64_t end = std::max((i + 1) * count / width, begin + 1);
            for (int k = 0; k < g.binCount; ++k) {
                int darkest = 255;
                for (int f = 0; f < frames.frameCount; ++f) {
                    if (f * 64 < end && f * 64 + 128 > begin)
                        darkest =
                            std::min<int>(darkest, grid[static_cast<std::size_t>(f) * 128 + k]);
                }
                ASSERT_EQ(Grey(image, i, k), darkest) << i << " " << k;
            }
        }
    }
}

// The grids of powers behind both options, transformed several frames at a
// time, hold bit for bit the powers of each frame transformed on its own: for
// 100 random recordings, parameters and sizes, short files and files that end
// between hops among them.
TEST(PowerGrids, HoldEachFramesOwnPowersBitForBit) {
    std::mt19937 random(26);
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int round = 0; round < 100; ++round) {
        SpectrogramParameters p;
        p.frameLengthChoice = static_cast<std::int16_t>(pick(0, 4));
        p.fftSizeChoice = static_cast<std::int16_t>(pick(0, 4));
        p.windowFunctionChoice = static_cast<std::int16_t>(pick(0, 3));
        p.hopSize = pick(1, 300);
        const std::size_t count =
            static_cast<std::size_t>(round % 5 == 0 ? pick(1, 40) : pick(41, 30000));
        const std::vector<std::int16_t> samples =
            Rounded(GaussianNoise(count, pick(1, 20000), static_cast<unsigned>(round)));
        const int width = pick(1, 400);
        const int height = pick(1, 300);
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << count << " samples, "
                                        << width << " x " << height);
        for (const bool everySample : {false, true}) {
            const SpectrogramGeometry g =
                everySample ? sonolux::ComputeEverySampleGeometry(p, count, width, height)
                            : sonolux::ComputeGeometry(p, count, width, height);
            sonolux::SpectrogramComputer computer(samples, p, g);
            const sonolux::PowerGrid grid = everySample ? sonolux::LoudestFramePowers(computer)
                                                        : sonolux::FramePowers(computer);
            const auto bins = static_cast<std::size_t>(g.binCount);
            std::vector<double> one(bins);
            std::vector<double> expected(grid.size(), 0.0);
            if (!everySample) {
                for (std::int32_t i = 0; i < g.frameCount; ++i)
                    computer.ComputePowers(std::int64_t{i} * g.hop, expected.data() + i * bins);
            } else {
                // Frames a hop apart, the last ending at the last sample; each counts
                // in every column whose samples it shares.
                const std::int64_t used = std::min(g.frameLength, g.fftSize);
                const std::int64_t last = std::max<std::int64_t>(0, g.sampleCount - used);
                for (std::int64_t start = 0;; start = std::min(start + g.hop, last)) {
                    computer.ComputePowers(start, one.data());
                    for (std::int64_t c = 0; c < g.frameCount; ++c) {
                        const std::int64_t begin = c * g.sampleCount / g.frameCount;
                        const std::int64_t end =
                            std::max((c + 1) * g.sampleCount / g.frameCount, begin + 1);
                        if (begin >= start + used || end <= start) continue;
                        for (std::size_t k = 0; k < bins; ++k) {
                            double& cell = expected[static_cast<std::size_t>(c) * bins + k];
                            cell = std::max(cell, one[k]);
                        }
                    }
                    if (start == last) break;
                }
            }
            ASSERT_EQ(grid.size(), expected.size());
            ASSERT_EQ(0, std::memcmp(grid.data(), expected.data(), grid.size() * sizeof(double)))
                << (everySample ? "every sample" : "one frame a column");
        }
    }
}

TEST(EverySample, AFileShorterThanTheWidthLeavesNoWhiteColumn) {
    const std::vector<std::int16_t> samples = Rounded(GaussianNoise(1000, 3000.0, 5));
    SpectrogramImage image;
    image.Build(samples, SpectrogramParameters{}, QSize(1200, 500), EverySample);
    ASSERT_EQ(image.BuiltGeometry().frameCount, 1200);
    for (int i = 0; i < 1200; ++i) {
        int darkest = 255;
        for (int k = 0; k < image.BuiltGeometry().binCount; ++k)
            darkest = std::min(darkest, Grey(image, i, k));
        ASSERT_LT(darkest, 200) << i;
    }
    // No samples at all: white, at the control's width.
    image.Build({}, SpectrogramParameters{}, QSize(90, 100), PictureOptions{true, true});
    ASSERT_EQ(image.BuiltGeometry().frameCount, 90);
    for (int i = 0; i < 90; ++i) EXPECT_EQ(Grey(image, i, 0), 255);
}

// A steady tone at bin 20 whose power in its bin lies 20 dB above the noise
// bins' median: Hamming window of 128, noise sigma s gives a median bin power of
// ln 2 x 50.9 s^2 = 35.3 s^2, a tone of amplitude A at a bin centre (A x 69.1 / 2)^2
// = 1194 A^2, so A = 1.72 s.
std::vector<std::int16_t> ToneOverNoise(double sigma) {
    std::vector<double> values = GaussianNoise(48000, sigma, 11);
    for (std::size_t j = 0; j < values.size(); ++j)
        values[j] += 1.72 * sigma * std::sin(2.0 * M_PI * 20.0 * j / 128.0);
    return Rounded(values);
}

TEST(AutoContrast, AToneTwentyDbOverItsBackgroundIsDarkAtAnyLevel) {
    const SpectrogramParameters p;  // FFT of 128 points in a 100-pixel-high control
    for (const bool everySample : {false, true}) {
        for (const double sigma : {8000.0, 80.0, 0.8}) {  // 40 dB apart
            SCOPED_TRACE(testing::Message()
                         << "sigma " << sigma << " every sample " << everySample);
            const std::vector<std::int16_t> samples = ToneOverNoise(sigma);
            SpectrogramImage image;
            image.Build(samples, p, QSize(150, 100), PictureOptions{everySample, true});
            const SpectrogramGeometry& g = image.BuiltGeometry();
            ASSERT_EQ(g.binCount, 64);
            std::vector<int> tone;
            std::vector<int> background;
            for (int i = 0; i < g.frameCount; ++i) {
                tone.push_back(Grey(image, i, 20));
                for (int k = 30; k < 64; ++k) background.push_back(Grey(image, i, k));
            }
            std::sort(tone.begin(), tone.end());
            std::sort(background.begin(), background.end());
            // Nearly every column of the tone's row is dark, the background light.
            EXPECT_LT(tone[tone.size() * 9 / 10], 100) << tone[tone.size() / 2];
            EXPECT_GT(background[background.size() / 2], 180) << background[background.size() / 10];
            EXPECT_GT(background[background.size() / 2], 180);
        }
    }
}

TEST(AutoContrast, SilenceStaysWhiteAndThePowerRangeNoLongerCounts) {
    std::vector<std::int16_t> samples = ToneOverNoise(80.0);
    SpectrogramParameters p;
    SpectrogramImage image;
    image.Build(samples, p, QSize(150, 100), AutoContrast);
    const QImage first = image.Image();
    p.powerMin = -50.0f;
    p.powerMax = 200.0f;
    image.Build(samples, p, QSize(150, 100), AutoContrast);
    EXPECT_EQ(image.Image(), first);
    image.Build(std::vector<std::int16_t>(5000, 0), p, QSize(150, 100), AutoContrast);
    for (int i = 0; i < image.BuiltGeometry().frameCount; ++i) EXPECT_EQ(Grey(image, i, 3), 255);
}

}  // namespace
