// What the control says about a refused file, and the two picture options as a
// host sets them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "control/CSonoluxCtrl.h"
#include "control/SonoluxTypeLibrary.h"
#include "demo/WaveWriter.h"
#include "tests/control/mocks/FakeSoundPlayer.h"
#include "tests/engine/WaveBytes.h"
#include "tests/support/TempFolder.h"

namespace {

struct BadFile {
    std::string name;
    std::string contents;
    QString error;
};

// A mono file of `bits` per sample with the format tag `tag`, and one frame.
std::string OneFrame(std::uint16_t tag, std::uint16_t bits, std::uint32_t formatBytes = 16) {
    WaveBytes wave;
    wave.RiffHeader().Format(1, bits, -1, tag, formatBytes);
    if (formatBytes > 16) wave.Bytes(std::vector<std::uint8_t>(formatBytes - 16, 0));
    return wave.Data(std::vector<std::uint8_t>((bits + 7u) / 8u, 0)).Text();
}

std::vector<BadFile> BadFiles() {
    WaveBytes noData;
    noData.RiffHeader().Format(1, 16);
    WaveBytes dataFirst;
    dataFirst.RiffHeader().Data({1, 0}).Format(1, 16);
    WaveBytes noFrame;
    noFrame.RiffHeader().Format(2, 16).Data({1, 0});
    WaveBytes dataCut;
    dataCut.RiffHeader().Format(1, 16).Data({}, 4000);
    WaveBytes formatCut;
    formatCut.RiffHeader().Tag("fmt ").U32(16).U16(1).U16(1);
    WaveBytes avi;
    avi.Tag("RIFF").U32(4).Tag("AVI ").Tag("LIST");
    // WAVE_FORMAT_EXTENSIBLE, as most float recorders write it.
    WaveBytes extensibleFloat;
    extensibleFloat.RiffHeader()
        .Format(1, 32, -1, 0xFFFE, 40)
        .U16(22)
        .U16(32)
        .U32(4)
        .U16(3)
        .Bytes({0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71})
        .Data({0, 0, 0, 0});
    WaveBytes badAlign;
    badAlign.RiffHeader().Format(1, 16, 3).Data({0, 0, 0});
    return {
        {"zero.wav", "", "empty file"},
        {"text.wav", "plain text, not a recording", "not a wave file"},
        {"riff.wav", "RIFF\x04", "cut short"},
        {"avi.wav", avi.Text(), "not a wave file"},
        {"nodata.wav", noData.Text(), "no samples"},
        {"noframe.wav", noFrame.Text(), "no samples"},
        {"datacut.wav", dataCut.Text(), "cut short"},
        {"formatcut.wav", formatCut.Text(), "cut short"},
        {"datafirst.wav", dataFirst.Text(), "damaged header"},
        {"badalign.wav", badAlign.Text(), "damaged header"},
        {"twenty.wav", OneFrame(1, 20), "20-bit PCM"},
        {"float32.wav", OneFrame(3, 32), "32-bit float"},
        {"float64.wav", OneFrame(3, 64), "64-bit float"},
        {"extensible.wav", extensibleFloat.Text(), "32-bit float"},
        {"float16.wav", OneFrame(3, 16), "unsupported format"},
        {"alaw.wav", OneFrame(6, 8, 18), "8-bit A-law"},
        {"mulaw.wav", OneFrame(7, 8, 18), "8-bit mu-law"},
        {"adpcm.wav", OneFrame(2, 4, 20), "unsupported format"},
    };
}

TEST(LoadError, NamesWhyEachRefusedFileWasRefused) {
    TempFolder folder;
    FakeSoundPlayer player;
    CSonoluxCtrl control{player};
    const QString good = QString::fromStdString(folder.WriteWave("good.wav", {1, 2, 3}));
    QSignalSpy changes(&control, &CSonoluxCtrl::LoadStateChanged);

    std::vector<std::pair<QString, QString>> cases;  // file, expected text
    for (const BadFile& bad : BadFiles())
        cases.emplace_back(QString::fromStdString(folder.WriteText(bad.name, bad.contents)),
                           bad.error);
    cases.emplace_back(QString::fromStdString(folder.Path("missing.wav")), "file not found");
    cases.emplace_back(QString::fromStdString(folder.Path("missing/a.wav")), "file not found");
    cases.emplace_back(QString::fromStdString(folder.MakeFolder("folder.wav")),
                       "not a regular file");
    cases.emplace_back(QString::fromStdString(folder.Path("a")) + QChar(0) + "b.wav",
                       "name not usable");
    if (::geteuid() != 0) {  // root opens any file
        const std::string locked = folder.WriteWave("locked.wav", {1, 2});
        ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
        cases.emplace_back(QString::fromStdString(locked), "cannot be opened");
    }

    for (const auto& [file, expected] : cases) {
        SCOPED_TRACE(file.toStdString());
        control.SetFilename(good);
        ASSERT_TRUE(control.GetLoaded());
        EXPECT_EQ(control.property("LoadError").toString(), "");
        changes.clear();
        control.SetFilename(file);
        EXPECT_FALSE(control.GetLoaded());
        EXPECT_EQ(control.property("LoadError").toString(), expected);
        EXPECT_EQ(changes.count(), 1);
        // Only the words change from one refused file to the next: still announced.
        control.SetFilename(QString::fromStdString(folder.Path("missing.wav")));
        EXPECT_EQ(control.GetLoadError(), "file not found");
        EXPECT_EQ(changes.count(), expected == "file not found" ? 1 : 2);
    }
    control.SetFilename("");
    EXPECT_EQ(control.GetLoadError(), "");

    // The float file is read once the control is asked to read floats.
    control.SetFilename(QString::fromStdString(folder.Path("float32.wav")));
    EXPECT_EQ(control.GetLoadError(), "32-bit float");
    control.SetFloatSamples(true);
    EXPECT_TRUE(control.GetLoaded());
    EXPECT_EQ(control.GetLoadError(), "");
}

// 8 s at 22.05 kHz of faint noise with a 1 ms burst.
std::vector<std::int16_t> BurstInSilence(std::size_t burstStart) {
    std::mt19937 random(1);
    std::normal_distribution<double> noise(0.0, 3.0);
    std::vector<std::int16_t> samples(8 * 22050);
    for (auto& sample : samples) sample = static_cast<std::int16_t>(std::lround(noise(random)));
    for (std::size_t j = 0; j < 23; ++j)
        samples[burstStart + j] =
            static_cast<std::int16_t>(2000 * std::sin(2.0 * M_PI * 5000 * j / 22050.0));
    return samples;
}

// The columns of the built grid that hold a grey value below 128.
std::vector<int> DarkColumns(const CSonoluxCtrl& control) {
    const sonolux::SpectrogramGeometry& grid = control.Image().BuiltGeometry();
    std::vector<int> columns;
    for (int i = 0; i < grid.frameCount; ++i) {
        for (int row = 0; row < grid.binCount; ++row) {
            if (control.Image().Image().pixelIndex(i, row) < 128) {
                columns.push_back(i);
                break;
            }
        }
    }
    return columns;
}

void Render(CSonoluxCtrl& control) {
    QImage target(control.size(), QImage::Format_RGB32);
    QPainter painter(&target);
    control.DrawMetafile(painter, target.rect());
}

TEST(PictureOptions, EverySampleAndAutoContrastRedrawTheWholeRecording) {
    TempFolder folder;
    FakeSoundPlayer player;
    CSonoluxCtrl control{player};
    control.resize(150, 100);
    EXPECT_FALSE(control.property("EverySample").toBool());
    EXPECT_FALSE(control.property("AutoContrast").toBool());
    // Column 85 of 150, and between two frames of the described picture (hop 1315).
    const std::size_t burst = 100500;
    ASSERT_TRUE(corvane::WriteMono16Wave(folder.Path("burst.wav"), 22050, BurstInSilence(burst)));
    control.setProperty("FrameLimit", 4194304);
    control.SetFilename(QString::fromStdString(folder.Path("burst.wav")));
    ASSERT_EQ(control.GetLoadedFrames(), 8 * 22050);
    Render(control);
    EXPECT_EQ(control.Image().BuiltGeometry().frameCount, 135);
    EXPECT_EQ(DarkColumns(control), std::vector<int>{});  // between the frames

    for (const auto dispid : {SonoluxDispid::EverySample, SonoluxDispid::AutoContrast}) {
        EXPECT_TRUE(control.SetDispatchProperty(dispid, true));
        EXPECT_TRUE(control.IsImageDirty());
        Render(control);
    }
    EXPECT_TRUE(control.GetEverySample());
    EXPECT_TRUE(control.GetAutoContrast());
    EXPECT_EQ(control.Image().BuiltGeometry().frameCount, 150);
    const int column = static_cast<int>(burst * 150 / (8 * 22050));
    EXPECT_EQ(DarkColumns(control), std::vector<int>{column});

    // Neither is part of the saved state.
    FakeSoundPlayer otherPlayer;
    CSonoluxCtrl reloaded(otherPlayer);
    ASSERT_TRUE(reloaded.LoadState(control.SaveState()));
    EXPECT_FALSE(reloaded.GetEverySample());
    EXPECT_FALSE(reloaded.GetAutoContrast());

    // Writing the value already held leaves the picture alone.
    control.SetEverySample(true);
    EXPECT_FALSE(control.IsImageDirty());
}

}  // namespace
