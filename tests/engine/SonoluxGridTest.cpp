#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "demo/WaveWriter.h"
#include "engine/SpectrogramImage.h"
#include "tests/engine/WaveBytes.h"
#include "tests/support/TempFolder.h"

namespace {

struct GridRun {
    int exitCode = -1;
    std::string out;
};

GridRun RunGrid(const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromUtf8(SONOLUX_GRID_PATH), arguments);
    GridRun run;
    if (!process.waitForFinished(-1)) return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    return run;
}

struct Pgm {
    std::string magic;
    int width = 0;
    int height = 0;
    int maximum = 0;
    std::vector<int> values;
};

Pgm ParsePgm(const std::string& text) {
    std::istringstream in(text);
    Pgm pgm;
    in >> pgm.magic >> pgm.width >> pgm.height >> pgm.maximum;
    for (int value; in >> value;) pgm.values.push_back(value);
    return pgm;
}

TEST(SonoluxGrid, RefusedFilePrintsRefusedAndExitsWithThree) {
    TempFolder folder;
    const GridRun run =
        RunGrid({QString::fromStdString(folder.WriteText("notes.wav", "plain text"))});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "REFUSED\n");
    EXPECT_EQ(RunGrid({QString::fromStdString(folder.Path("missing.wav"))}).out, "REFUSED\n");
}

TEST(SonoluxGrid, PrintsTheLoadedSamples) {
    TempFolder folder;
    const GridRun run = RunGrid(
        {"--samples", QString::fromStdString(folder.WriteWave("a.wav", {5, -32768, 32767}))});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "5\n-32768\n32767\n");
    EXPECT_EQ(RunGrid({"--samples", ""}).out, "");
}

TEST(SonoluxGrid, EmptyFileNameGivesOneWhiteColumn) {
    const GridRun run = RunGrid({""});
    EXPECT_EQ(run.exitCode, 0);
    const Pgm pgm = ParsePgm(run.out);
    EXPECT_EQ(pgm.magic, "P2");
    EXPECT_EQ(pgm.width, 1);
    EXPECT_EQ(pgm.height, 64);
    EXPECT_EQ(pgm.maximum, 255);
    EXPECT_EQ(pgm.values, std::vector<int>(64, 255));
}

TEST(SonoluxGrid, PrintsTheGridAsThePictureLooksForTheGivenControl) {
    TempFolder folder;
    std::vector<std::int16_t> samples(20000);
    for (std::size_t j = 0; j < samples.size(); ++j)
        samples[j] = static_cast<std::int16_t>(static_cast<int>((j * 7919) % 20011) - 10000);
    const QString path = QString::fromStdString(folder.WriteWave("noise.wav", samples));
    sonolux::SpectrogramParameters p;
    p.fftSizeChoice = 1;
    p.frameLengthChoice = 3;
    p.hopSize = 100;
    p.windowFunctionChoice = 4;
    p.powerMin = 30.5f;
    p.powerMax = 90.0f;
    const GridRun run =
        RunGrid({"--width", "40", "--height=300", "--fft-choice", "1", "--frame-choice", "3",
                 "--hop", "100", "--window", "4", "--pmin", "30.5", "--pmax", "90", path});
    ASSERT_EQ(run.exitCode, 0);
    sonolux::SpectrogramImage image;
    image.Build(samples, p, QSize(40, 300));
    const sonolux::SpectrogramGeometry& g = image.BuiltGeometry();
    const Pgm pgm = ParsePgm(run.out);
    ASSERT_EQ(pgm.width, g.frameCount);
    ASSERT_EQ(pgm.height, 32);
    ASSERT_EQ(pgm.values.size(), static_cast<std::size_t>(g.frameCount) * 32);
    for (int row = 0; row < 32; ++row) {
        for (int column = 0; column < g.frameCount; ++column) {
            ASSERT_EQ(pgm.values[static_cast<std::size_t>(row) * g.frameCount + column],
                      image.Image().pixelIndex(column, row))
                << row << " " << column;
        }
    }
}

TEST(SonoluxGrid, EverySampleAndAutoContrastPrintThePictureTheyAskFor) {
    TempFolder folder;
    std::vector<std::int16_t> samples(30000);
    for (std::size_t j = 0; j < samples.size(); ++j)
        samples[j] = static_cast<std::int16_t>(static_cast<int>((j * 7919) % 2011) - 1000);
    const QString path = QString::fromStdString(folder.WriteWave("noise.wav", samples));
    for (const sonolux::PictureOptions options :
         {sonolux::PictureOptions{true, false}, sonolux::PictureOptions{false, true},
          sonolux::PictureOptions{true, true}}) {
        QStringList arguments = {"--width", "60", "--height", "40"};
        if (options.everySample) arguments << "--every-sample";
        if (options.autoContrast) arguments << "--auto-contrast";
        const GridRun run = RunGrid(arguments << path);
        ASSERT_EQ(run.exitCode, 0);
        sonolux::SpectrogramImage image;
        image.Build(samples, sonolux::SpectrogramParameters{}, QSize(60, 40), options);
        const sonolux::SpectrogramGeometry& g = image.BuiltGeometry();
        const Pgm pgm = ParsePgm(run.out);
        ASSERT_EQ(pgm.width, options.everySample ? 60 : g.frameCount);
        ASSERT_EQ(pgm.height, g.binCount);
        std::vector<int> expected;
        for (int row = 0; row < g.binCount; ++row)
            for (int column = 0; column < g.frameCount; ++column)
                expected.push_back(image.Image().pixelIndex(column, row));
        EXPECT_EQ(pgm.values, expected);
    }
}

TEST(SonoluxGrid, InfoPrintsWhatTheLoadFoundAndRefusalsAsZeros) {
    TempFolder folder;
    const QString stereo = QString::fromStdString(folder.Path("stereo24.wav"));
    ASSERT_TRUE(corvane::WritePcmWave(stereo.toStdString(), 2, 44100, 24,
                                      std::vector<std::uint8_t>(6 * 60000, 1)));
    GridRun run = RunGrid({"--info", stereo});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "loaded=1\nrate=44100\nchannels=2\nbits=24\nframes=60000\n"
              "loaded_frames=48000\nerror=\n");
    run = RunGrid({"--info", "--frame-limit", "4194304", stereo});
    EXPECT_EQ(run.out,
              "loaded=1\nrate=44100\nchannels=2\nbits=24\nframes=60000\n"
              "loaded_frames=60000\nerror=\n");

    const std::string zeros = "loaded=0\nrate=0\nchannels=0\nbits=0\nframes=0\nloaded_frames=0\n";
    run = RunGrid({"--info", QString::fromStdString(folder.WriteText("notes.wav", "text"))});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, zeros + "error=not a wave file\n");
    run = RunGrid({"--info", QString::fromStdString(folder.Path("gone.wav"))});
    EXPECT_EQ(run.out, zeros + "error=file not found\n");
    run = RunGrid({"--info", ""});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, zeros + "error=\n");
}

TEST(SonoluxGrid, AnalysePrintsStatusActivityAndFingerprintOnOneLine) {
    TempFolder folder;
    std::vector<std::int16_t> tone(22050);
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<std::int16_t>(8000 * std::sin(i * 0.9) + (i * 7919 % 61) - 30);
    GridRun run = RunGrid({"--analyse", QString::fromStdString(folder.WriteWave("t.wav", tone))});
    EXPECT_EQ(run.exitCode, 0);
    const QString line = QString::fromStdString(run.out);
    EXPECT_TRUE(line.startsWith("status=analysed activity_db=")) << run.out;
    EXPECT_TRUE(line.contains(" f0=") && line.contains(" f29=") && !line.contains(" f30="));
    EXPECT_EQ(line.count('\n'), 1);

    run = RunGrid({"--analyse", QString::fromStdString(folder.WriteText("notes.wav", "text"))});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "status=not a readable wave file\n");
}

TEST(SonoluxGrid, FrameLimitAndFloatChangeWhatIsLoaded) {
    TempFolder folder;
    const QString pcm = QString::fromStdString(folder.WriteWave("a.wav", {5, -6, 7}));
    EXPECT_EQ(RunGrid({"--samples", "--frame-limit=2", pcm}).out, "5\n-6\n");
    // One float sample of -0.5 and one of 0.25, 32 bits each.
    WaveBytes floats;
    floats.RiffHeader().Format(1, 32, -1, 3).Data({0, 0, 0, 0xBF, 0, 0, 0x80, 0x3E});
    const QString path = QString::fromStdString(folder.WriteText("f.wav", floats.Text()));
    EXPECT_EQ(RunGrid({"--samples", path}).out, "REFUSED\n");
    const GridRun run = RunGrid({"--samples", "--float", path});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "-16384\n8192\n");
    EXPECT_EQ(RunGrid({"--info", "--float", path}).out,
              "loaded=1\nrate=8000\nchannels=1\nbits=32\nframes=2\nloaded_frames=2\nerror=\n");
    EXPECT_EQ(RunGrid({"--info", path}).out,
              "loaded=0\nrate=0\nchannels=0\nbits=0\nframes=0\nloaded_frames=0\n"
              "error=32-bit float\n");
}

TEST(SonoluxGrid, BadCommandLinesAreRejected) {
    EXPECT_EQ(RunGrid({}).exitCode, 2);
    EXPECT_EQ(RunGrid({"--frame-limit", "0", ""}).exitCode, 2);
    EXPECT_EQ(RunGrid({"--frame-limit", "4194305", ""}).exitCode, 2);
    EXPECT_EQ(RunGrid({"--info", "--samples", ""}).exitCode, 2);
    EXPECT_EQ(RunGrid({"--width", "x", ""}).exitCode, 2);
    EXPECT_EQ(RunGrid({"--fft-choice", "40000", ""}).exitCode, 2);
    EXPECT_EQ(RunGrid({"--colour", "1", ""}).exitCode, 2);
    EXPECT_EQ(RunGrid({"a.wav", "b.wav"}).exitCode, 2);
}

TEST(SonoluxGrid, VersionAnswersAndUnknownShortOptionsAreRejected) {
    for (const char* option : {"-v", "--version"}) {
        const GridRun run = RunGrid({option, "--colour"});
        EXPECT_EQ(run.exitCode, 0) << option;
        EXPECT_TRUE(QString::fromStdString(run.out).contains(
            QRegularExpression("^sonolux-grid 1\\.\\d+\\.\\d+\\n$")))
            << run.out;
    }
    const GridRun unknown = RunGrid({"-x", ""});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.out, "");
    // After -- a name that starts with - is a FILE like any other.
    EXPECT_EQ(RunGrid({"--", "-x"}).out, "REFUSED\n");
}

}  // namespace
