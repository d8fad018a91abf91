#include <gtest/gtest.h>

#include "engine/SpectrogramParameters.h"

using sonolux::ComputeGeometry;
using sonolux::SpectrogramGeometry;
using sonolux::SpectrogramParameters;

namespace {

TEST(ComputeGeometry, SmallCellOfAFullSecond) {
    const SpectrogramGeometry g = ComputeGeometry(SpectrogramParameters{}, 48000, 150, 100);
    EXPECT_EQ(g.frameLength, 128);
    EXPECT_EQ(g.hop, 357);  // (48000 - 128) / 134
    EXPECT_EQ(g.frameCount, 135);
    EXPECT_EQ(g.fftSizeChoice, 2);  // 256 points would need 128 > 100 rows
    EXPECT_EQ(g.fftSize, 128);
    EXPECT_EQ(g.binCount, 64);
}

TEST(ComputeGeometry, LargerCellsKeepTheRequestedHopAsAMinimum) {
    const SpectrogramGeometry medium = ComputeGeometry(SpectrogramParameters{}, 48000, 400, 300);
    EXPECT_EQ(medium.hop, 133);
    EXPECT_EQ(medium.frameCount, 360);
    EXPECT_EQ(medium.fftSize, 256);
    EXPECT_EQ(medium.binCount, 128);
    // 1000 pixels would allow a hop of 53, below the requested 64.
    const SpectrogramGeometry wide = ComputeGeometry(SpectrogramParameters{}, 48000, 1000, 300);
    EXPECT_EQ(wide.hop, 64);
    EXPECT_EQ(wide.frameCount, 749);
}

TEST(ComputeGeometry, ShorterFile) {
    const SpectrogramGeometry g = ComputeGeometry(SpectrogramParameters{}, 10000, 150, 100);
    EXPECT_EQ(g.hop, 73);
    EXPECT_EQ(g.frameCount, 136);
}

TEST(ComputeGeometry, FilesShorterThanOneFrameGiveOneColumn) {
    EXPECT_EQ(ComputeGeometry(SpectrogramParameters{}, 0, 150, 100).frameCount, 1);
    EXPECT_EQ(ComputeGeometry(SpectrogramParameters{}, 127, 150, 100).frameCount, 1);
    EXPECT_EQ(ComputeGeometry(SpectrogramParameters{}, 128, 150, 100).frameCount, 1);
    EXPECT_EQ(ComputeGeometry(SpectrogramParameters{}, 0, 1, 1).frameCount, 1);
}

TEST(ComputeGeometry, LowControlFallsToTheSmallestFFT) {
    const SpectrogramGeometry g = ComputeGeometry(SpectrogramParameters{}, 48000, 150, 10);
    EXPECT_EQ(g.fftSizeChoice, 0);
    EXPECT_EQ(g.binCount, 16);
    // The height only ever lowers the requested size.
    SpectrogramParameters small;
    small.fftSizeChoice = 1;
    EXPECT_EQ(ComputeGeometry(small, 48000, 150, 1000).fftSize, 64);
}

TEST(ComputeGeometry, OnePixelWideOrEmptyControlUsesTheRequestedHop) {
    EXPECT_EQ(ComputeGeometry(SpectrogramParameters{}, 48000, 1, 100).hop, 64);
    EXPECT_EQ(ComputeGeometry(SpectrogramParameters{}, 48000, 0, 100).hop, 64);
    EXPECT_EQ(ComputeGeometry(SpectrogramParameters{}, 48000, 0, 0).fftSize, 256);
}

TEST(ComputeGeometry, HopBelowOneIsTakenAsOne) {
    SpectrogramParameters p;
    p.hopSize = 0;
    // A wide enough control computes its own hop, as for any requested hop.
    EXPECT_EQ(ComputeGeometry(p, 48000, 150, 100).hop, 357);
    // Without one the hop would be 0: it is 1.
    const SpectrogramGeometry g = ComputeGeometry(p, 1000, 1, 100);
    EXPECT_EQ(g.hop, 1);
    EXPECT_EQ(g.frameCount, 873);
    p.hopSize = -5;
    EXPECT_EQ(ComputeGeometry(p, 100, 2000, 100).hop, 1);
}

TEST(ComputeGeometry, ChoicesOutsideTheTablesTakeTheNearestEntry) {
    SpectrogramParameters p;
    p.frameLengthChoice = 9;
    p.fftSizeChoice = 32767;
    const SpectrogramGeometry high = ComputeGeometry(p, 48000, 150, 10000);
    EXPECT_EQ(high.frameLength, 8192);
    EXPECT_EQ(high.fftSize, 8192);
    p.frameLengthChoice = -1;
    p.fftSizeChoice = -32768;
    const SpectrogramGeometry low = ComputeGeometry(p, 48000, 150, 10000);
    EXPECT_EQ(low.frameLength, 32);
    EXPECT_EQ(low.fftSize, 32);
}

TEST(ComputeGeometry, HugeControlsStayDefined) {
    const SpectrogramGeometry g =
        ComputeGeometry(SpectrogramParameters{}, 48000, 2147483647, 2147483647);
    EXPECT_EQ(g.hop, 64);
    EXPECT_EQ(g.frameCount, 749);
    EXPECT_EQ(g.fftSize, 256);
}

}  // namespace
