#include "engine/SpectrogramImage.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QtMath>
#include <cmath>
#include <vector>

#include "tests/engine/LiteralSpectrogram.h"

using sonolux::ComputeGeometry;
using sonolux::SpectrogramGeometry;
using sonolux::SpectrogramImage;
using sonolux::SpectrogramParameters;

namespace {

// A second of a loud low tone (bin 4 of 128 points) after a quarter second of silence.
std::vector<std::int16_t> LowToneAfterSilence() {
    std::vector<std::int16_t> samples(48000, 0);
    for (std::size_t j = 12000; j < samples.size(); ++j) {
        samples[j] = static_cast<std::int16_t>(20000 * std::sin(2.0 * M_PI * 4.0 * j / 128.0));
    }
    return samples;
}

TEST(SpectrogramImage, IsAGreyPaletteImageOfTheGridRoundedUpToFourColumns) {
    SpectrogramImage image;
    EXPECT_TRUE(image.IsNull());
    image.Build(LowToneAfterSilence(), SpectrogramParameters{}, QSize(150, 100));
    ASSERT_FALSE(image.IsNull());
    EXPECT_EQ(image.Image().format(), QImage::Format_Indexed8);
    EXPECT_EQ(image.Image().size(), QSize(136, 64));  // grid of 135 x 64
    ASSERT_EQ(image.Image().colorCount(), 256);
    EXPECT_EQ(image.Image().color(0), qRgb(0, 0, 0));
    EXPECT_EQ(image.Image().color(128), qRgb(128, 128, 128));
    EXPECT_EQ(image.Image().color(255), qRgb(255, 255, 255));
    for (int y = 0; y < 64; ++y) EXPECT_EQ(image.Image().pixelIndex(135, y), 255);  // padding
}

TEST(SpectrogramImage, LowFrequenciesAreAtTheBottomAndTimeRunsLeftToRight) {
    const std::vector<std::int16_t> samples = LowToneAfterSilence();
    const SpectrogramParameters p;
    SpectrogramImage image;
    image.Build(samples, p, QSize(150, 100));
    const QImage& pixels = image.Image();
    const SpectrogramGeometry g = ComputeGeometry(p, samples.size(), 150, 100);
    // Bin 4 of a 128-point transform is scan line 64 - 1 - 4 = 59.
    EXPECT_LT(pixels.pixelIndex(134, 59), 40);
    EXPECT_EQ(pixels.pixelIndex(0, 59), 255);   // silence at the start is white
    EXPECT_EQ(pixels.pixelIndex(134, 0), 255);  // nothing at the highest bin
    const std::vector<std::uint8_t> grid = literal::ComputeGrid(samples, p, g);
    for (int i = 0; i < g.frameCount; ++i) {
        for (int k = 0; k < g.binCount; ++k) {
            ASSERT_EQ(pixels.pixelIndex(i, g.binCount - 1 - k),
                      grid[static_cast<std::size_t>(i) * g.binCount + k])
                << i << " " << k;
        }
    }
}

QImage PaintOnto(const SpectrogramImage& image, const QRect& bounds) {
    QImage target(bounds.right() + 9, bounds.bottom() + 9, QImage::Format_RGB32);
    target.fill(qRgb(255, 0, 0));
    QPainter painter(&target);
    image.Paint(painter, bounds);
    painter.end();
    return target;
}

// Checks that `bounds` of `target` holds source rectangle `source` of `image` stretched
// by whole factors, pixel for pixel, and that nothing outside `bounds` was painted.
void ExpectStretched(const QImage& target, const QRect& bounds, const QImage& image,
                     const QRect& source) {
    const int sx = bounds.width() / source.width();
    const int sy = bounds.height() / source.height();
    for (int y = 0; y < target.height(); ++y) {
        for (int x = 0; x < target.width(); ++x) {
            if (!bounds.contains(x, y)) {
                ASSERT_EQ(target.pixel(x, y), qRgb(255, 0, 0)) << x << " " << y;
                continue;
            }
            const int value = image.pixelIndex(source.x() + (x - bounds.x()) / sx,
                                               source.y() + (y - bounds.y()) / sy);
            ASSERT_EQ(target.pixel(x, y), qRgb(value, value, value)) << x << " " << y;
        }
    }
}

TEST(SpectrogramImage, PaintStretchesTheGridOverTheBoundsWithoutSmoothing) {
    SpectrogramImage image;
    const SpectrogramParameters p;
    image.Build(LowToneAfterSilence(), p, QSize(150, 100));
    const SpectrogramGeometry g = image.BuiltGeometry();
    const QRect bounds(5, 7, 2 * g.frameCount, 3 * g.binCount);
    ExpectStretched(PaintOnto(image, bounds), bounds, image.Image(),
                    QRect(0, 0, g.frameCount, g.binCount));
}

TEST(SpectrogramImage, PaintAfterAResizeShowsTheWholeBuiltGrid) {
    // Silence, then a loud low tone in the last quarter only.
    std::vector<std::int16_t> samples(48000, 0);
    for (std::size_t j = 36000; j < samples.size(); ++j) {
        samples[j] = static_cast<std::int16_t>(20000 * std::sin(2.0 * M_PI * 4.0 * j / 128.0));
    }
    SpectrogramImage image;
    image.Build(samples, SpectrogramParameters{}, QSize(150, 100));
    const SpectrogramGeometry built = image.BuiltGeometry();
    const QRect whole(0, 0, built.frameCount, built.binCount);
    EXPECT_EQ(image.SourceRect(), whole);  // never the padding columns

    // A grown control reads nothing beyond the image.
    for (const QRect& bounds : {QRect(0, 0, 2 * built.frameCount, 2 * built.binCount),
                                QRect(3, 4, built.frameCount, 4 * built.binCount)}) {
        ExpectStretched(PaintOnto(image, bounds), bounds, image.Image(), whole);
    }
    // A shrunk control still shows the whole recording, its end included: the
    // right-hand quarter of the painting holds the tone.
    const QRect small(0, 0, built.frameCount / 2, built.binCount / 2);
    const QImage painted = PaintOnto(image, small);
    bool dark = false;
    for (int x = small.width() * 3 / 4 + 1; x < small.width(); ++x) {
        for (int y = 0; y < small.height(); ++y) dark = dark || qGray(painted.pixel(x, y)) < 100;
    }
    EXPECT_TRUE(dark);
}

TEST(SpectrogramImage, WithoutAnImagePaintLeavesTheTargetAlone) {
    SpectrogramImage image;
    const QRect bounds(0, 0, 20, 20);
    const QImage target = PaintOnto(image, bounds);
    for (int y = 0; y < target.height(); ++y) {
        for (int x = 0; x < target.width(); ++x) ASSERT_EQ(target.pixel(x, y), qRgb(255, 0, 0));
    }
}

// A control paints white under a picture only where the picture may not cover
// it: at whole device pixels per pixel it covers every device pixel a fill of
// the bounds would, at fractional ones some edge pixels are left.
TEST(SpectrogramImage, CoversEveryDevicePixelOfTheBoundsWhereItSaysSo) {
    SpectrogramImage image;
    {
        QImage target(8, 8, QImage::Format_RGB32);
        QPainter painter(&target);
        EXPECT_FALSE(image.Covers(painter));
    }
    image.Build(LowToneAfterSilence(), SpectrogramParameters{}, QSize(57, 37));
    int leftAtFractions = 0;
    for (const qreal ratio : {1.0, 1.25, 2.0}) {
        for (const QRect& bounds :
             {QRect(0, 0, 57, 37), QRect(1, 1, 50, 33), QRect(3, 2, 41, 29)}) {
            SCOPED_TRACE(testing::Message() << ratio << " " << bounds.x() << " " << bounds.width());
            const auto paint = [&](bool fill, bool* covers) {
                QImage target(qCeil(80 * ratio), qCeil(60 * ratio), QImage::Format_RGB32);
                target.setDevicePixelRatio(ratio);
                target.fill(qRgb(255, 0, 0));
                QPainter painter(&target);
                if (covers) *covers = image.Covers(painter);
                if (fill) {
                    painter.fillRect(bounds, Qt::white);
                } else {
                    image.Paint(painter, bounds);
                }
                return target;
            };
            bool covers = false;
            const QImage painted = paint(false, &covers);
            const QImage filled = paint(true, nullptr);
            int left = 0;
            for (int y = 0; y < filled.height(); ++y)
                for (int x = 0; x < filled.width(); ++x)
                    left += filled.pixel(x, y) != qRgb(255, 0, 0) &&
                            painted.pixel(x, y) == qRgb(255, 0, 0);
            EXPECT_EQ(covers, ratio != 1.25);
            if (covers) {
                EXPECT_EQ(left, 0);
            } else {
                leftAtFractions += left;
            }
        }
    }
    EXPECT_GT(leftAtFractions, 0);
}

TEST(SpectrogramImage, CreateGivesAWhiteImageOfTheGridSize) {
    SpectrogramImage image;
    SpectrogramGeometry g = ComputeGeometry(SpectrogramParameters{}, 48000, 400, 300);
    image.Create(g);
    EXPECT_EQ(image.Image().size(), QSize(360, 128));
    for (int y = 0; y < 128; y += 9) {
        for (int x = 0; x < 360; x += 7) ASSERT_EQ(image.Image().pixelIndex(x, y), 255);
    }
}

TEST(SpectrogramImage, VeryLargeGridsArePaintedFromThePaletteImage) {
    SpectrogramImage image;
    SpectrogramGeometry g;
    g.frameCount = 2048;
    g.binCount = 4096;
    image.Create(g);
    ASSERT_FALSE(image.IsNull());
    const QRect bounds(2, 2, 32, 32);
    const QImage target = PaintOnto(image, bounds);
    for (int y = 0; y < target.height(); ++y) {
        for (int x = 0; x < target.width(); ++x) {
            ASSERT_EQ(target.pixel(x, y),
                      bounds.contains(x, y) ? qRgb(255, 255, 255) : qRgb(255, 0, 0));
        }
    }
}

}  // namespace
