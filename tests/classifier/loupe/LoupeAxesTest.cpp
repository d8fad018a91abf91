#include <gtest/gtest.h>

#include <QStringList>
#include <cmath>
#include <string>

#include "loupe/LoupeAxes.h"
#include "loupe/LoupeText.h"

namespace {

// Labels as a plain font sets them: 7 pixels a character across, 14 high.
double Across(const QString& label) {
    return 7.0 * label.size();
}
double High(const QString&) {
    return 14.0;
}
constexpr double AcrossGap = 12;
constexpr double HighGap = 14;

// What every axis must keep: ticks from 0, increasing by one 1-2-5 step, none
// beyond the axis, the last within a step of its end, each label saying its
// value, and no two labels closer than the gap.
void ExpectReadableTicks(const LoupeAxis& axis, const LoupeAxis::LabelExtent& extent, double gap,
                         const std::string& what) {
    SCOPED_TRACE(what);
    const std::vector<LoupeAxis::Tick> ticks = axis.Ticks(extent, gap);
    ASSERT_GE(ticks.size(), 3u);
    EXPECT_EQ(ticks.front().value, 0.0);
    const double step = ticks[1].value - ticks[0].value;
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                std::abs(mantissa - 5) < 1e-9)
        << step;
    EXPECT_LE(ticks.back().value, axis.High());
    EXPECT_GT(ticks.back().value + step, axis.High());
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        // Labels round to their step's decimals; a value off by more is a wrong label.
        EXPECT_NEAR(ticks[i].label.toDouble(), ticks[i].value, 1e-9)
            << ticks[i].label.toStdString();
        EXPECT_DOUBLE_EQ(ticks[i].pixel, axis.PixelOf(ticks[i].value));
        if (i == 0) continue;
        EXPECT_GT(ticks[i].value, ticks[i - 1].value);
        EXPECT_NEAR(ticks[i].value - ticks[i - 1].value, step, step * 1e-9);
        const double room = std::abs(ticks[i].pixel - ticks[i - 1].pixel);
        EXPECT_GE(room, (extent(ticks[i].label) + extent(ticks[i - 1].label)) / 2 + gap)
            << ticks[i].label.toStdString();
    }
}

QStringList Labels(const std::vector<LoupeAxis::Tick>& ticks) {
    QStringList labels;
    for (const LoupeAxis::Tick& tick : ticks) labels.append(tick.label);
    return labels;
}

}  // namespace

TEST(LoupeAxes, TicksOfShortAndLongRecordingsAtLowAndHighRatesStayReadable) {
    for (const std::uint32_t rate : {22050u, 96000u}) {
        for (const double seconds : {0.3, 8.0, 60.0}) {
            for (const QSize size : {QSize(300, 120), QSize(1200, 500), QSize(2400, 1000)}) {
                const auto frames = static_cast<std::int64_t>(std::llround(seconds * rate));
                const LoupeAxes axes(QRect(QPoint(45, 20), size), rate, frames);
                const std::string what = std::to_string(rate) + " Hz, " + std::to_string(seconds) +
                                         " s, " + std::to_string(size.width()) + " px";
                EXPECT_DOUBLE_EQ(axes.Time().High(), static_cast<double>(frames) / rate);
                EXPECT_DOUBLE_EQ(axes.Frequency().High(), rate / 2000.0);
                ExpectReadableTicks(axes.Time(), Across, AcrossGap, what + " time");
                ExpectReadableTicks(axes.Frequency(), High, HighGap, what + " frequency");
            }
        }
    }
    // The steps a reader expects, where the ends fall between them.
    const LoupeAxes wide(QRect(45, 20, 1150, 450), 96000, 96000 * 8);
    EXPECT_EQ(Labels(wide.Time().Ticks(Across, AcrossGap)),
              QStringList({"0.0", "0.5", "1.0", "1.5", "2.0", "2.5", "3.0", "3.5", "4.0", "4.5",
                           "5.0", "5.5", "6.0", "6.5", "7.0", "7.5", "8.0"}));
    EXPECT_EQ(Labels(wide.Frequency().Ticks(High, HighGap)),
              QStringList({"0", "5", "10", "15", "20", "25", "30", "35", "40", "45"}));
    const LoupeAxes low(QRect(45, 20, 300, 450), 22050, 6615);
    EXPECT_EQ(Labels(low.Time().Ticks(Across, AcrossGap)),
              QStringList({"0.00", "0.05", "0.10", "0.15", "0.20", "0.25", "0.30"}));
    EXPECT_EQ(Labels(low.Frequency().Ticks(High, HighGap)),
              QStringList({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}));

    // Too little room for two labels leaves 0 alone; no recording, no ticks.
    EXPECT_EQ(Labels(LoupeAxes(QRect(0, 0, 15, 10), 48000, 48000).Time().Ticks(Across, 12)),
              QStringList({"0"}));
    EXPECT_TRUE(LoupeAxes(QRect(0, 0, 1000, 400), 0, 0).Time().Ticks(Across, 12).empty());
    EXPECT_TRUE(LoupeAxes(QRect(0, 0, 1000, 400), 48000, 0).Frequency().Ticks(High, 14).empty());
}

TEST(LoupeAxes, PixelsMapLinearlyOntoTimeAndHalfTheSampleRate) {
    // 8 s at 48 kHz in a picture 1000 x 512 pixels at (50, 20).
    const LoupeAxes axes(QRect(50, 20, 1000, 512), 48000, 384000);
    EXPECT_DOUBLE_EQ(axes.Time().PixelOf(0), 50);
    EXPECT_DOUBLE_EQ(axes.Time().PixelOf(8), 1050);
    EXPECT_DOUBLE_EQ(axes.Frequency().PixelOf(0), 532);
    EXPECT_DOUBLE_EQ(axes.Frequency().PixelOf(24), 20);
    // With a 256-point transform, 128 rows of 4 pixels: bin k's frequency,
    // k x 48000 / 256 Hz, lies on its row's lower edge.
    for (int k : {0, 1, 64, 127}) {
        EXPECT_DOUBLE_EQ(axes.Frequency().ValueAt(532.0 - 4 * k), k * 48.0 / 256) << k;
        EXPECT_DOUBLE_EQ(axes.Frequency().PixelOf(k * 48.0 / 256), 532.0 - 4 * k) << k;
    }
    EXPECT_DOUBLE_EQ(axes.Time().ValueAt(150), 0.8);
    // Beyond the picture the values stay at its ends.
    EXPECT_DOUBLE_EQ(axes.Time().ValueAt(-30), 0);
    EXPECT_DOUBLE_EQ(axes.Frequency().ValueAt(0), 24);

    // The pointer reads the middle of its pixel, to a pixel's precision.
    EXPECT_EQ(axes.Readout(QPoint(50, 531)), "0.004 s, 0.02 kHz");
    EXPECT_EQ(axes.Readout(QPoint(1049, 20)), "7.996 s, 23.98 kHz");
    EXPECT_EQ(axes.Readout(QPoint(549, 275)), "3.996 s, 12.02 kHz");
    EXPECT_EQ(axes.Readout(QPoint(49, 100)), "");
    EXPECT_EQ(axes.Readout(QPoint(1050, 100)), "");
    EXPECT_EQ(LoupeAxes(QRect(50, 20, 1000, 512), 0, 0).Readout(QPoint(60, 30)), "");
}

TEST(LoupeText, CaptionNamesTheRecordingItsLengthAndRateOrWhyThereIsNone) {
    StatusText::RecordingInfo info;
    info.loaded = true;
    info.sampleRate = 48000;
    info.totalFrames = info.loadedFrames = 384000;
    EXPECT_EQ(LoupeText::Caption("/in/bird.wav", info, {}), "bird.wav — 8.00 s, 48 kHz");
    info.sampleRate = 22050;
    info.totalFrames = info.loadedFrames = 6615;
    EXPECT_EQ(LoupeText::Caption("/in/wren.wav", info, {}), "wren.wav — 0.30 s, 22.05 kHz");
    info.sampleRate = 96000;
    info.totalFrames = 5760000;
    info.loadedFrames = 4194304;
    EXPECT_EQ(LoupeText::Caption("/in/long.wav", info, {}),
              "long.wav — 60.00 s, 96 kHz (the first 43.69 s shown)");
    info.loaded = false;
    EXPECT_EQ(LoupeText::Caption("/in/bad.wav", info, "cut short"),
              "bad.wav — not a readable wave file (cut short)");
    EXPECT_EQ(LoupeText::Caption("/in/bad.wav", info, {}), "bad.wav — not a readable wave file");
    EXPECT_EQ(LoupeText::Caption({}, info, {}), "No recording selected");
    EXPECT_EQ(LoupeText::Kilohertz(44100), "44.1 kHz");
}
