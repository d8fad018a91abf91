// The module's player through a real sound server: what it plays is recorded
// from the server's null sink and measured.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "control/CSonoluxCtrl.h"
#include "demo/WaveWriter.h"
#include "framework/SoundPlayer.h"
#include "tests/control/framework/MonitorRecorder.h"
#include "tests/control/framework/PrivateSoundServer.h"
#include "tests/support/TempFolder.h"

namespace {

// Generous: every sound here lasts at most a few seconds.
constexpr int PlayDeadlineMilliseconds = 20000;

// `seconds` of a `frequency` Hz tone at half of full scale, in every channel,
// as `bits`-bit PCM at `rate`.
std::string WriteTone(TempFolder& folder, const std::string& name, double frequency, double seconds,
                      std::uint32_t rate, std::uint16_t channels = 1, std::uint16_t bits = 16) {
    const auto frames = static_cast<std::size_t>(std::lround(seconds * rate));
    const std::size_t bytes = bits / 8u;
    std::vector<std::uint8_t> data;
    data.reserve(frames * channels * bytes);
    for (std::size_t i = 0; i < frames; ++i) {
        const double x = 0.5 * std::sin(2.0 * M_PI * frequency * static_cast<double>(i) / rate);
        const auto value = static_cast<std::int32_t>(std::lround(x * std::ldexp(1.0, bits - 1)));
        for (std::uint16_t c = 0; c < channels; ++c)
            for (std::size_t b = 0; b < bytes; ++b)
                data.push_back(
                    static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * b)));
    }
    const std::string path = folder.Path(name);
    EXPECT_TRUE(corvane::WritePcmWave(path, channels, rate, bits, data));
    return path;
}

// The server's pulse variables become this process's before anything here
// opens an output, so that the module's player talks to that server alone.
class RealPlayback : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server = new PrivateSoundServer;
        if (!server->Failure().isEmpty()) return;
        const QProcessEnvironment environment = server->Environment();
        for (const char* name : {"XDG_RUNTIME_DIR", "PULSE_RUNTIME_PATH", "PULSE_STATE_PATH",
                                 "PULSE_SERVER", "PULSE_CLIENTCONFIG"})
            qputenv(name, environment.value(QString::fromLatin1(name)).toLocal8Bit());
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }

    void SetUp() override {
        if (!server->Failure().isEmpty())
            GTEST_SKIP() << "no private sound server: " << server->Failure().toStdString();
        recorder = std::make_unique<MonitorRecorder>(*server);
        if (!recorder->Failure().isEmpty())
            GTEST_SKIP() << "the sound server's output cannot be recorded: "
                         << recorder->Failure().toStdString();
        control.resize(150, 100);
        QObject::connect(&control, &CSonoluxCtrl::PlayPositionChanged, [this] {
            positions.push_back({control.GetPlayPosition(), recorder->Pump()});
        });
    }

    // Plays `path` at 1/`divisor` and records until a quarter of a second after
    // its end; returns the sound recorded from the request on.
    RecordedSound PlayAndRecord(const std::string& path, int divisor = 1) {
        control.SetFilename(QString::fromStdString(path));
        control.SetPlaybackSpeedDivisor(static_cast<short>(divisor));
        requestedAt = recorder->Pump();
        positions.clear();
        control.Play();
        EXPECT_TRUE(control.GetPlayError().isEmpty()) << control.GetPlayError().toStdString();
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return !control.GetPlaying(); }, PlayDeadlineMilliseconds));
        return RecordQuarterSecondMore();
    }

    RecordedSound RecordQuarterSecondMore() {
        const std::size_t until = recorder->Pump() + MonitorRecorder::Rate / 4;
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return recorder->Pump() >= until; }, PlayDeadlineMilliseconds));
        return FindSound(recorder->Samples(), requestedAt);
    }

    struct Position {
        float seconds;
        std::size_t recorded;  // samples recorded when it was told
    };

    static PrivateSoundServer* server;
    std::unique_ptr<MonitorRecorder> recorder;
    QtSoundPlayer player;
    CSonoluxCtrl control{player};
    TempFolder folder;
    std::size_t requestedAt = 0;
    std::vector<Position> positions;
};

PrivateSoundServer* RealPlayback::server = nullptr;

}  // namespace

TEST_F(RealPlayback, PlaysTheToneAtItsOwnSpeedAndSlowedDown) {
    const std::string tone = WriteTone(folder, "tone.wav", 1000.0, 0.3, 48000);

    const RecordedSound own = PlayAndRecord(tone);
    std::printf("measured at 1x: %.1f Hz for %.3f s\n", own.frequency, own.Seconds());
    ASSERT_TRUE(own.heard);
    EXPECT_NEAR(own.frequency, 1000.0, 10.0);
    EXPECT_NEAR(own.Seconds(), 0.3, 0.02);

    const RecordedSound slowed = PlayAndRecord(tone, 4);
    std::printf("measured at 1/4: %.1f Hz for %.3f s\n", slowed.frequency, slowed.Seconds());
    ASSERT_TRUE(slowed.heard);
    EXPECT_NEAR(slowed.frequency, 250.0, 2.5);
    EXPECT_NEAR(slowed.Seconds(), 1.2, 0.03);
}

TEST_F(RealPlayback, PlaysWideSamplesEveryChannelAndHighRates) {
    const RecordedSound stereo =
        PlayAndRecord(WriteTone(folder, "stereo24.wav", 1000.0, 0.3, 44100, 2, 24));
    std::printf("measured stereo 24-bit: %.1f Hz for %.3f s\n", stereo.frequency, stereo.Seconds());
    ASSERT_TRUE(stereo.heard);
    EXPECT_NEAR(stereo.frequency, 1000.0, 10.0);
    EXPECT_NEAR(stereo.Seconds(), 0.3, 0.02);

    // Above the monitor's 48 kHz, and at half speed exactly at it.
    const std::string high = WriteTone(folder, "high.wav", 4000.0, 0.3, 96000);
    const RecordedSound fast = PlayAndRecord(high);
    std::printf("measured 96 kHz: %.1f Hz for %.3f s\n", fast.frequency, fast.Seconds());
    ASSERT_TRUE(fast.heard);
    EXPECT_NEAR(fast.frequency, 4000.0, 40.0);
    EXPECT_NEAR(fast.Seconds(), 0.3, 0.02);
    const RecordedSound half = PlayAndRecord(high, 2);
    std::printf("measured 96 kHz at 1/2: %.1f Hz for %.3f s\n", half.frequency, half.Seconds());
    ASSERT_TRUE(half.heard);
    EXPECT_NEAR(half.frequency, 2000.0, 20.0);
    EXPECT_NEAR(half.Seconds(), 0.6, 0.02);
}

// What the control tells as heard is what the sink plays, and Stop silences it
// at once.
TEST_F(RealPlayback, TellsThePositionHeardAndStopsAtOnce) {
    const std::string tone = WriteTone(folder, "long.wav", 500.0, 2.0, 48000);
    control.SetFilename(QString::fromStdString(tone));
    requestedAt = recorder->Pump();
    control.Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return control.GetPlayPosition() >= 0.8f; },
                                PlayDeadlineMilliseconds));
    const std::size_t stopRequestedAt = recorder->Pump();
    const std::vector<Position> told = positions;
    control.Stop();
    EXPECT_FALSE(control.GetPlaying());
    const RecordedSound sound = RecordQuarterSecondMore();
    ASSERT_TRUE(sound.heard);

    // Told at least 30 times a second.
    ASSERT_GE(told.size(), 2u);
    const double toldSpan =
        static_cast<double>(told.back().recorded - told.front().recorded) / MonitorRecorder::Rate;
    EXPECT_GE(static_cast<double>(told.size() - 1), 30.0 * toldSpan);
    double worst = 0.0;
    for (const Position& position : told) {
        if (position.recorded < sound.onset + MonitorRecorder::Rate / 10) continue;
        const double heard =
            static_cast<double>(position.recorded - sound.onset) / MonitorRecorder::Rate;
        if (std::abs(position.seconds - heard) > std::abs(worst)) worst = position.seconds - heard;
    }
    std::printf("measured position error: worst %+.1f ms over %zu reports\n", worst * 1000.0,
                told.size());
    EXPECT_LT(std::abs(worst), 0.05);

    const double afterStop =
        (static_cast<double>(sound.end) - static_cast<double>(stopRequestedAt)) /
        MonitorRecorder::Rate;
    std::printf("measured stop: sound ends %.1f ms after the request\n", afterStop * 1000.0);
    EXPECT_LT(afterStop, 0.1);
    EXPECT_LT(sound.Seconds(), 1.5);
}
