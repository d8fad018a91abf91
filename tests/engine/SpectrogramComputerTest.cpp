#include "engine/SpectrogramComputer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <vector>

#include "engine/GreyScale.h"
#include "engine/SpectrogramWindow.h"
#include "tests/engine/LiteralSpectrogram.h"

using sonolux::ComputeGeometry;
using sonolux::SpectrogramComputer;
using sonolux::SpectrogramGeometry;
using sonolux::SpectrogramParameters;

namespace {

// The engine's grid in the literal implementation's layout: grid[i * B + k].
std::vector<std::uint8_t> EngineGrid(const std::vector<std::int16_t>& samples,
                                     const SpectrogramParameters& parameters,
                                     const SpectrogramGeometry& geometry) {
    const int stride = geometry.frameCount + 5;  // wider than the grid, as an image row may be
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(stride) * geometry.binCount, 77);
    SpectrogramComputer computer(samples, parameters, geometry);
    computer.ComputeSpectrogram(pixels.data(), stride);
    std::vector<std::uint8_t> grid(static_cast<std::size_t>(geometry.frameCount) *
                                   geometry.binCount);
    for (int i = 0; i < geometry.frameCount; ++i) {
        for (int k = 0; k < geometry.binCount; ++k) {
            grid[static_cast<std::size_t>(i) * geometry.binCount + k] =
                pixels[static_cast<std::size_t>(geometry.binCount - 1 - k) * stride + i];
        }
        for (int pad = geometry.frameCount; pad < stride; ++pad) EXPECT_EQ(pixels[pad], 77);
    }
    return grid;
}

std::vector<std::uint8_t> Column(const std::vector<std::int16_t>& samples,
                                 const SpectrogramParameters& parameters, int widthPx, int heightPx,
                                 int frameIndex = 0) {
    const SpectrogramGeometry geometry =
        ComputeGeometry(parameters, samples.size(), widthPx, heightPx);
    SpectrogramComputer computer(samples, parameters, geometry);
    std::vector<std::uint8_t> column(static_cast<std::size_t>(geometry.binCount));
    computer.ComputeColumn(frameIndex, column.data());
    return column;
}

TEST(ComputeColumn, ConstantFrameGivesItsLevelInBinZeroOnly) {
    SpectrogramParameters p;
    p.windowFunctionChoice = 2;  // rectangular
    p.fftSizeChoice = 2;         // 128 points
    const std::vector<std::uint8_t> column =
        Column(std::vector<std::int16_t>(128, 1000), p, 150, 100);
    ASSERT_EQ(column.size(), 64u);
    // p = 128000^2 = 1.6384e10: 102.144 dB, level 209.
    EXPECT_EQ(column[0], 46);
    for (std::size_t k = 1; k < column.size(); ++k) EXPECT_EQ(column[k], 255) << k;
}

TEST(ComputeColumn, NoSamplesGiveOneWhiteColumn) {
    const SpectrogramGeometry g = ComputeGeometry(SpectrogramParameters{}, 0, 150, 100);
    ASSERT_EQ(g.frameCount, 1);
    const std::vector<std::uint8_t> grid = EngineGrid({}, SpectrogramParameters{}, g);
    EXPECT_EQ(grid, std::vector<std::uint8_t>(64, 255));
}

std::vector<std::int16_t> Noise(std::size_t count, int amplitude, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> value(-amplitude, amplitude);
    std::vector<std::int16_t> samples(count);
    for (auto& s : samples) s = static_cast<std::int16_t>(value(random));
    return samples;
}

TEST(ComputeSpectrogram, EmptyOrInvertedPowerRangeIsAllWhite) {
    const std::vector<std::int16_t> loud = Noise(5000, 32767, 1);
    for (auto [low, high] : {std::pair{50.0f, 50.0f}, std::pair{120.0f, 20.0f}}) {
        SpectrogramParameters p;
        p.powerMin = low;
        p.powerMax = high;
        const SpectrogramGeometry g = ComputeGeometry(p, loud.size(), 150, 100);
        EXPECT_EQ(EngineGrid(loud, p, g), std::vector<std::uint8_t>(g.frameCount * 64u, 255));
    }
}

TEST(ComputeSpectrogram, PowerRangeWithoutANumberStaysDefined) {
    const std::vector<std::int16_t> loud = Noise(2000, 32767, 2);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (auto [low, high] :
         {std::pair{nan, 120.0f}, std::pair{20.0f, nan}, std::pair{-inf, 120.0f}}) {
        SpectrogramParameters p;
        p.powerMin = low;
        p.powerMax = high;
        const SpectrogramGeometry g = ComputeGeometry(p, loud.size(), 150, 100);
        EXPECT_EQ(EngineGrid(loud, p, g), std::vector<std::uint8_t>(g.frameCount * 64u, 255));
    }
    // An infinite top leaves every finite level at the bottom of the scale.
    SpectrogramParameters p;
    p.powerMax = inf;
    const SpectrogramGeometry g = ComputeGeometry(p, loud.size(), 150, 100);
    EXPECT_EQ(EngineGrid(loud, p, g), std::vector<std::uint8_t>(g.frameCount * 64u, 255));
}

TEST(ComputeSpectrogram, UnknownWindowIsRectangular) {
    const std::vector<std::int16_t> samples = Noise(6000, 3000, 3);
    SpectrogramParameters rectangular;
    rectangular.windowFunctionChoice = 2;
    SpectrogramParameters unknown;
    unknown.windowFunctionChoice = 7;
    const SpectrogramGeometry g = ComputeGeometry(rectangular, samples.size(), 150, 100);
    EXPECT_EQ(EngineGrid(samples, unknown, g), EngineGrid(samples, rectangular, g));
    SpectrogramParameters hamming;
    EXPECT_NE(EngineGrid(samples, hamming, g), EngineGrid(samples, rectangular, g));
}

TEST(ComputeSpectrogram, FrameLongerThanTheFFTUsesOnlyItsFirstSamples) {
    SpectrogramParameters p;
    p.frameLengthChoice = 4;  // 512 samples
    p.fftSizeChoice = 3;      // 256 points
    p.hopSize = 1000;
    std::vector<std::int16_t> samples = Noise(8000, 20000, 4);
    const SpectrogramGeometry g = ComputeGeometry(p, samples.size(), 150, 200);
    ASSERT_EQ(g.fftSize, 256);
    ASSERT_EQ(g.hop, 1000);
    const std::vector<std::uint8_t> before = EngineGrid(samples, p, g);
    // Samples 256 .. 511 of every frame never reach the transform.
    for (int i = 0; i < g.frameCount; ++i) {
        for (int j = 256; j < 512; ++j) samples[i * 1000 + j] = 0;
    }
    EXPECT_EQ(EngineGrid(samples, p, g), before);
    EXPECT_EQ(before, literal::ComputeGrid(samples, p, g));
}

TEST(ExtractFrame, CopiesTheFrameAndZeroPadsPastTheSamples) {
    const std::vector<std::int16_t> samples = {1, 2, 3, 4, 5};
    SpectrogramParameters p;
    p.frameLengthChoice = 0;  // 32
    const SpectrogramGeometry g = ComputeGeometry(p, samples.size(), 150, 100);
    SpectrogramComputer computer(samples, p, g);
    std::vector<std::int16_t> frame(8, -1);
    computer.ExtractFrame(0, frame.data(), 8);
    EXPECT_EQ(frame, (std::vector<std::int16_t>{1, 2, 3, 4, 5, 0, 0, 0}));
    computer.ExtractFrame(3, frame.data(), 8);  // starts past the end
    EXPECT_EQ(frame, std::vector<std::int16_t>(8, 0));
}

TEST(MakeWindow, KnownValues) {
    std::vector<double> w(5);
    sonolux::MakeWindow(5, 0, w.data());
    EXPECT_NEAR(w[0], 0.08, 1e-15);
    EXPECT_NEAR(w[2], 1.0, 1e-15);
    sonolux::MakeWindow(5, 4, w.data());
    EXPECT_EQ(w, (std::vector<double>{0.0, 0.5, 1.0, 0.5, 0.0}));
    sonolux::MakeWindow(5, 3, w.data());
    EXPECT_NEAR(w[0], 0.0, 1e-15);
    EXPECT_NEAR(w[2], 1.0, 1e-15);
    for (int choice = -1; choice <= 8; ++choice) {
        std::vector<double> engine(128);
        std::vector<double> plain(128);
        sonolux::MakeWindow(128, choice, engine.data());
        literal::MakeWindow(128, choice, plain.data());
        EXPECT_EQ(engine, plain) << choice;
    }
}

// Powers on both sides of every grey step, a few units in the last place apart,
// are where a mapping without a logarithm per bin could disagree.
TEST(GreyScale, AgreesWithTheLogarithmicMappingAtEveryStep) {
    const std::pair<float, float> ranges[] = {{20.0f, 120.0f},  {0.0f, 1.0f},      {-50.0f, 200.0f},
                                              {33.3f, 33.31f},  {-999.0f, 999.0f}, {90.0f, 91.0f},
                                              {20.0f, 2000.0f}, {-3000.0f, 50.0f}};
    for (auto [low, high] : ranges) {
        const sonolux::GreyScale scale(low, high);
        const double range = static_cast<double>(high) - low;
        for (int level = 0; level <= 256; ++level) {
            const double db = low + (level - 0.5) * range / 255.0;
            double power = std::pow(10.0, db / 10.0);
            for (int step = 0; step < 40; ++step) power = std::nextafter(power, 0.0);
            for (int step = 0; step < 80; ++step) {
                ASSERT_EQ(scale(power), literal::GreyValue(power, low, high))
                    << low << " " << high << " " << level << " " << power;
                power = std::nextafter(power, HUGE_VAL);
            }
        }
        for (double power : {0.0, 1e-300, 4.9e-324, 1.0, 1e17, 1e300}) {
            EXPECT_EQ(scale(power), literal::GreyValue(power, low, high)) << power;
        }
        // The scale looks powers up by their exponent and top mantissa bits: both
        // sides of every such edge, down to 1/64 of an octave, over the whole range.
        for (int exponent = -1000; exponent <= 1000; ++exponent) {
            for (int sixtyfourth = 0; sixtyfourth < 64; ++sixtyfourth) {
                const double edge = std::ldexp(1.0 + sixtyfourth / 64.0, exponent);
                for (double power : {edge, std::nextafter(edge, 0.0)}) {
                    ASSERT_EQ(scale(power), literal::GreyValue(power, low, high))
                        << low << " " << high << " " << power;
                }
            }
        }
    }
}

struct Case {
    SpectrogramParameters parameters;
    int widthPx;
    int heightPx;
    std::size_t sampleCount;
    int amplitude;
};

std::string Describe(const Case& c) {
    std::ostringstream text;
    const SpectrogramParameters& p = c.parameters;
    text << "fft " << p.fftSizeChoice << " frame " << p.frameLengthChoice << " window "
         << p.windowFunctionChoice << " hop " << p.hopSize << " power " << p.powerMin << ".."
         << p.powerMax << " size " << c.widthPx << "x" << c.heightPx << " samples " << c.sampleCount
         << " amplitude " << c.amplitude;
    return text.str();
}

// Random signals: noise of a random loudness, a tone, and stretches of silence.
std::vector<std::int16_t> Signal(const Case& c, std::mt19937& random) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<std::int16_t> samples = Noise(c.sampleCount, c.amplitude, random());
    const double frequency = unit(random) * 0.5;
    for (std::size_t j = 0; j < samples.size(); ++j) {
        const double tone = c.amplitude * 0.5 * std::sin(2.0 * M_PI * frequency * j);
        samples[j] =
            static_cast<std::int16_t>(std::clamp(samples[j] / 2 + tone, -32768.0, 32767.0));
    }
    const std::size_t silence = samples.size() / 5;
    std::fill(samples.begin(), samples.begin() + static_cast<long>(silence), std::int16_t{0});
    return samples;
}

Case RandomCase(int fft, int frame, int window, std::mt19937& random) {
    std::uniform_int_distribution<int> pick(0, 1 << 20);
    Case c;
    c.parameters.fftSizeChoice = static_cast<std::int16_t>(fft);
    c.parameters.frameLengthChoice = static_cast<std::int16_t>(frame);
    c.parameters.windowFunctionChoice = static_cast<std::int16_t>(window);
    c.parameters.hopSize = 1 + pick(random) % 3000;
    const float lows[] = {20.0f, 0.0f, -10.0f, 40.0f, 60.5f, 80.0f};
    const float spans[] = {100.0f, 60.0f, 0.5f, 140.0f, 3.0f, 33.3f};
    c.parameters.powerMin = lows[pick(random) % 6];
    c.parameters.powerMax = c.parameters.powerMin + spans[pick(random) % 6];
    c.widthPx = 1 + pick(random) % 160;
    c.heightPx = 8 << (pick(random) % 10);  // 8 .. 4096: every FFT size can be reached
    const std::size_t lengths[] = {0, 31, 200, 3000, 9000, 20000};
    c.sampleCount = lengths[pick(random) % 6];
    const int amplitudes[] = {1, 30, 1000, 32767};
    c.amplitude = amplitudes[pick(random) % 4];
    return c;
}

void ExpectSameGridAsLiteral(const Case& c, std::mt19937& random) {
    const std::vector<std::int16_t> samples = Signal(c, random);
    const SpectrogramGeometry g =
        ComputeGeometry(c.parameters, samples.size(), c.widthPx, c.heightPx);
    const std::vector<std::uint8_t> engine = EngineGrid(samples, c.parameters, g);
    const std::vector<std::uint8_t> plain = literal::ComputeGrid(samples, c.parameters, g);
    ASSERT_EQ(engine.size(), plain.size()) << Describe(c);
    for (std::size_t i = 0; i < engine.size(); ++i) {
        ASSERT_EQ(engine[i], plain[i])
            << Describe(c) << " column " << i / g.binCount << " bin " << i % g.binCount;
    }
}

TEST(ComputeSpectrogram, SameGreyValuesAsTheLiteralComputationForEverySizeChoice) {
    std::mt19937 random(2024);
    for (int fft = 0; fft <= 8; ++fft) {
        for (int frame = 0; frame <= 8; ++frame) {
            ExpectSameGridAsLiteral(RandomCase(fft, frame, (fft + frame) % 5, random), random);
        }
    }
}

TEST(ComputeSpectrogram, SameGreyValuesAsTheLiteralComputationForEveryWindow) {
    std::mt19937 random(77);
    for (int round = 0; round < 12; ++round) {
        for (int window : {0, 1, 2, 3, 4, 9}) {
            ExpectSameGridAsLiteral(RandomCase(round % 5, round % 4, window, random), random);
        }
    }
}

TEST(ComputeSpectrogram, SameGreyValuesAsTheLiteralComputationForTheCellDefaults) {
    std::mt19937 random(5);
    Case c{SpectrogramParameters{}, 150, 100, 48000, 32767};
    ExpectSameGridAsLiteral(c, random);
    c.parameters.fftSizeChoice = 2;
    c.parameters.frameLengthChoice = 1;
    c.amplitude = 300;
    ExpectSameGridAsLiteral(c, random);
}

}  // namespace
