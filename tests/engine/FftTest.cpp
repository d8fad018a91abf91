#include "engine/Fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "tests/engine/LiteralSpectrogram.h"

using Complex = std::complex<double>;

namespace {

std::vector<Complex> DirectDft(const std::vector<Complex>& z) {
    const std::size_t n = z.size();
    std::vector<Complex> out(n);
    for (std::size_t k = 0; k < n; ++k) {
        Complex sum = 0;
        for (std::size_t j = 0; j < n; ++j) {
            sum += z[j] * std::polar(1.0, -2.0 * M_PI * static_cast<double>((k * j) % n) / n);
        }
        out[k] = sum;
    }
    return out;
}

std::vector<double> RandomValues(std::size_t count, std::mt19937& random) {
    std::uniform_real_distribution<double> value(-32768.0, 32767.0);
    std::vector<double> values(count);
    for (double& v : values) v = value(random);
    return values;
}

// The transforms add up to n products of values below 2^15; relative to that sum
// the rounding of a radix-2 transform stays far below 1e-12 for these sizes.
double Tolerance(std::size_t n) {
    return 1e-12 * 32768.0 * static_cast<double>(n);
}

TEST(ComplexFFT, MatchesADirectTransformOnRandomData) {
    std::mt19937 random(11);
    for (std::size_t nn : {1u, 2u, 4u, 8u, 64u, 512u}) {
        const std::vector<double> values = RandomValues(2 * nn, random);
        std::vector<Complex> z(nn);
        for (std::size_t j = 0; j < nn; ++j) z[j] = Complex(values[2 * j], values[2 * j + 1]);
        const std::vector<Complex> expected = DirectDft(z);
        std::vector<double> data = values;
        sonolux::ComplexFFT(data.data(), nn, 1);
        for (std::size_t k = 0; k < nn; ++k) {
            EXPECT_NEAR(data[2 * k], expected[k].real(), Tolerance(nn)) << nn << " " << k;
            EXPECT_NEAR(data[2 * k + 1], expected[k].imag(), Tolerance(nn)) << nn << " " << k;
        }
    }
}

TEST(ComplexFFT, InverseUndoesTheForwardTransformTimesN) {
    std::mt19937 random(12);
    const std::vector<double> values = RandomValues(256, random);
    std::vector<double> data = values;
    sonolux::ComplexFFT(data.data(), 128, 1);
    sonolux::ComplexFFT(data.data(), 128, -1);
    for (std::size_t i = 0; i < data.size(); ++i)
        EXPECT_NEAR(data[i], 128 * values[i], Tolerance(128));
}

TEST(RealFFT, MatchesADirectTransformOnRandomData) {
    std::mt19937 random(13);
    for (std::size_t n : {2u, 4u, 16u, 64u, 1024u}) {
        const std::size_t points = 2 * n;
        const std::vector<double> values = RandomValues(points, random);
        const std::vector<Complex> expected =
            DirectDft(std::vector<Complex>(values.begin(), values.end()));
        std::vector<double> data = values;
        data.push_back(-1.0);  // sentinels: nothing past the 2n values is touched
        data.push_back(-2.0);
        sonolux::RealFFT(data.data(), n, 1);
        EXPECT_NEAR(data[0], expected[0].real(), Tolerance(points));
        EXPECT_NEAR(data[1], expected[n].real(), Tolerance(points));
        for (std::size_t k = 1; k < n; ++k) {
            const double power = data[2 * k] * data[2 * k] + data[2 * k + 1] * data[2 * k + 1];
            EXPECT_NEAR(std::sqrt(power), std::abs(expected[k]), Tolerance(points))
                << n << " " << k;
            if (2 * k != n) {  // the middle bin comes out conjugated, which its power ignores
                EXPECT_NEAR(data[2 * k], expected[k].real(), Tolerance(points)) << n << " " << k;
                EXPECT_NEAR(data[2 * k + 1], expected[k].imag(), Tolerance(points))
                    << n << " " << k;
            }
        }
        EXPECT_EQ(data[points], -1.0);
        EXPECT_EQ(data[points + 1], -2.0);
    }
}

TEST(RealFFT, KnownSignals) {
    const std::size_t n = 32;  // 64 real points
    std::vector<double> impulse(2 * n, 0.0);
    impulse[0] = 1.0;
    sonolux::RealFFT(impulse.data(), n, 1);
    for (std::size_t k = 1; k < n; ++k) EXPECT_NEAR(impulse[2 * k], 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(impulse[0], 1.0);
    EXPECT_DOUBLE_EQ(impulse[1], 1.0);

    std::vector<double> sine(2 * n);
    for (std::size_t j = 0; j < 2 * n; ++j) sine[j] = std::sin(2.0 * M_PI * 5.0 * j / (2.0 * n));
    sonolux::RealFFT(sine.data(), n, 1);
    for (std::size_t k = 1; k < n; ++k) {
        const double magnitude = std::hypot(sine[2 * k], sine[2 * k + 1]);
        EXPECT_NEAR(magnitude, k == 5 ? 32.0 : 0.0, 1e-9) << k;
    }

    std::vector<double> nyquist(2 * n);
    for (std::size_t j = 0; j < 2 * n; ++j) nyquist[j] = j % 2 == 0 ? 1.0 : -1.0;
    sonolux::RealFFT(nyquist.data(), n, 1);
    EXPECT_DOUBLE_EQ(nyquist[0], 0.0);
    EXPECT_DOUBLE_EQ(nyquist[1], 64.0);
}

TEST(RealFFT, InverseUndoesTheForwardTransformTimesN) {
    std::mt19937 random(14);
    const std::vector<double> values = RandomValues(512, random);
    std::vector<double> data = values;
    sonolux::RealFFT(data.data(), 256, 1);
    sonolux::RealFFT(data.data(), 256, -1);
    for (std::size_t i = 0; i < data.size(); ++i)
        EXPECT_NEAR(data[i], 256 * values[i], Tolerance(512));
}

TEST(RealFFT, DirectAndPlannedGiveBitForBitTheValuesOfThePlainTranscription) {
    std::mt19937 random(15);
    for (std::size_t n = 16; n <= 4096; n *= 2) {
        std::vector<double> data = RandomValues(2 * n, random);
        data[5] = 0.0;
        data[6] = -0.0;
        std::vector<double> plain = data;
        sonolux::RealFFT(data.data(), n, 1);
        literal::RealFFT(plain.data(), n, 1);
        for (std::size_t i = 0; i < 2 * n; ++i)
            ASSERT_EQ(std::fabs(data[i]), std::fabs(plain[i])) << n << " " << i;
    }
}

// The frames of one interleaved call against each frame windowed, zero-padded and
// transformed alone by Forward: the powers must be the same doubles, for every size,
// for frames cut short by the padding, and for the smallest plan.
TEST(RealFftPlan, InterleavedFramePowersAreBitForBitThoseOfSingleTransforms) {
    std::mt19937 random(16);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    std::uniform_real_distribution<double> weight(0.0, 1.0);
    constexpr std::size_t lanes = sonolux::RealFftPlan::Interleave;
    for (std::size_t n = 2; n <= 4096; n *= 2) {
        const sonolux::RealFftPlan plan(n);
        for (const std::size_t count : {2 * n, n + 1, std::size_t{1}}) {
            std::vector<std::int16_t> frames(lanes * count);
            for (std::int16_t& s : frames) s = static_cast<std::int16_t>(sample(random));
            std::vector<double> window(count);
            for (double& w : window) w = weight(random);
            const std::int16_t* frame[lanes];
            for (std::size_t t = 0; t < lanes; ++t) frame[t] = frames.data() + t * count;
            std::vector<double> work(lanes * 2 * n + lanes - 1);
            std::vector<double> power(lanes * n);
            plan.FramePowers(frame, window.data(), count, n, work.data(), power.data());

            for (std::size_t t = 0; t < lanes; ++t) {
                std::vector<double> data(2 * n, 0.0);
                for (std::size_t j = 0; j < count; ++j) data[j] = frame[t][j] * window[j];
                std::vector<double> plain = data;
                plan.Forward(data.data());
                sonolux::RealFFT(plain.data(), n, 1);
                ASSERT_EQ(0, std::memcmp(data.data(), plain.data(), data.size() * sizeof(double)))
                    << n;
                for (std::size_t k = 0; k < n; ++k) {
                    const double alone =
                        k == 0 ? data[0] * data[0]
                               : data[2 * k] * data[2 * k] + data[2 * k + 1] * data[2 * k + 1];
                    ASSERT_EQ(0, std::memcmp(&alone, &power[lanes * k + t], sizeof alone))
                        << n << " " << count << " " << t << " " << k;
                }
            }
        }
    }
}

}  // namespace
