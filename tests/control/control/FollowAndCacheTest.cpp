// A control following its recording to where a move put it, and controls sharing
// the module's samples and pictures.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "control/CSonoluxCtrl.h"
#include "engine/PictureCache.h"
#include "tests/control/mocks/FakeSoundPlayer.h"
#include "tests/control/mocks/FinishPictures.h"
#include "tests/support/SettledFile.h"
#include "tests/support/TempFolder.h"

namespace {

std::vector<std::int16_t> Chirp(int count, double rate) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        samples[static_cast<std::size_t>(i)] =
            static_cast<std::int16_t>(9000.0 * std::sin(rate * i * (1.0 + i / 4000.0)));
    return samples;
}

void Render(CSonoluxCtrl& control) {
    QImage target(control.size(), QImage::Format_RGB32);
    QPainter painter(&target);
    control.DrawMetafile(painter, target.rect());
}

struct FollowAndCache : ::testing::Test {
    FollowAndCache() {
        // Each test starts from an empty cache of the usual size.
        sonolux::SharedPictureCache().SetByteLimit(0);
        sonolux::SharedPictureCache().SetByteLimit(sonolux::PictureCache::DefaultByteLimit);
        control.resize(150, 100);
    }
    TempFolder folder;
    FakeSoundPlayer player;
    CSonoluxCtrl control{player};
};

}  // namespace

TEST_F(FollowAndCache, ARenamedRecordingIsFollowedWithoutReadingOrDrawingIt) {
    const std::string path = folder.WriteWave("bat.wav", Chirp(6000, 0.3));
    control.SetFilename(QString::fromStdString(path));
    Render(control);
    ASSERT_EQ(control.GetFileReads(), 1);
    ASSERT_EQ(control.ImageBuildCount(), 1);
    const QImage picture = control.Image().Image();
    const std::vector<std::int16_t> samples = control.Samples();

    const std::string moved = folder.MakeFolder("Pipistrelle") + "/bat.wav";
    ASSERT_EQ(std::rename(path.c_str(), moved.c_str()), 0);
    QSignalSpy loadSpy(&control, &CSonoluxCtrl::LoadStateChanged);
    control.SetModifiedFlag(false);
    ASSERT_TRUE(QMetaObject::invokeMethod(&control, "FollowFile",
                                          Q_ARG(QString, QString::fromStdString(moved))));
    EXPECT_EQ(control.GetFilename(), QString::fromStdString(moved));
    EXPECT_TRUE(control.IsModified());
    EXPECT_EQ(control.property("FileReads").toInt(), 1);
    EXPECT_FALSE(control.IsImageDirty());
    EXPECT_EQ(control.ImageBuildCount(), 1);
    EXPECT_EQ(control.Samples(), samples);
    EXPECT_EQ(control.Image().Image(), picture);
    EXPECT_EQ(loadSpy.count(), 0);
    EXPECT_TRUE(control.GetLoaded());
    EXPECT_EQ(control.GetLoadedFrames(), 6000);

    // Moved back (an undo): followed again.
    ASSERT_EQ(std::rename(moved.c_str(), path.c_str()), 0);
    control.FollowFile(QString::fromStdString(path));
    EXPECT_EQ(control.GetFilename(), QString::fromStdString(path));
    EXPECT_EQ(control.GetFileReads(), 1);
    EXPECT_FALSE(control.IsImageDirty());
}

TEST_F(FollowAndCache, AFollowedNameThatHoldsOtherContentsIsLoadedAsAWriteOfFilename) {
    const std::string path = folder.WriteWave("a.wav", Chirp(3000, 0.2));
    control.SetFilename(QString::fromStdString(path));
    Render(control);

    // Another recording, where the host says the moved one went.
    const std::string other = folder.WriteWave("b.wav", Chirp(5000, 0.5));
    control.FollowFile(QString::fromStdString(other));
    EXPECT_EQ(control.GetFileReads(), 2);
    EXPECT_EQ(control.Samples(), Chirp(5000, 0.5));
    EXPECT_TRUE(control.IsImageDirty());
    EXPECT_EQ(control.GetLoadedFrames(), 5000);

    // Nothing there: as a write of Filename, refused, the picture and samples stay.
    Render(control);
    const QString missing = QString::fromStdString(folder.Path("gone.wav"));
    control.FollowFile(missing);
    EXPECT_EQ(control.GetFilename(), missing);
    EXPECT_FALSE(control.GetLoaded());
    EXPECT_EQ(control.GetLoadError(), QStringLiteral("file not found"));
    EXPECT_EQ(control.Samples(), Chirp(5000, 0.5));

    // A control whose last load was refused never follows: the new place is read.
    ASSERT_EQ(std::rename(other.c_str(), missing.toStdString().c_str()), 0);
    control.FollowFile(missing);
    EXPECT_TRUE(control.GetLoaded());
    EXPECT_EQ(control.GetFileReads(), 3);

    // The same contents at the same size written anew under the same name is
    // a file changed since it was loaded: the new place is read.
    const std::string rewritten = folder.WriteWave("c.wav", Chirp(4000, 0.3));
    ASSERT_TRUE(WaitUntilSettled(rewritten));
    control.SetFilename(QString::fromStdString(rewritten));
    const int reads = control.GetFileReads();
    folder.WriteWave("c.wav", Chirp(4000, 0.7));
    control.FollowFile(QString::fromStdString(rewritten));
    EXPECT_EQ(control.GetFileReads(), reads + 1);
    EXPECT_EQ(control.Samples(), Chirp(4000, 0.7));
}

TEST_F(FollowAndCache, ControlsShareSamplesAndPicturesAndAChangedFileIsReadAgain) {
    const std::string path = folder.WriteWave("a.wav", Chirp(8000, 0.4));
    ASSERT_TRUE(WaitUntilSettled(path));
    control.SetFilename(QString::fromStdString(path));
    Render(control);
    ASSERT_EQ(control.ImageBuildCount(), 1);

    // A second control of the same size finds both, as one copy.
    CSonoluxCtrl second(player);
    second.resize(150, 100);
    second.SetFilename(QString::fromStdString(path));
    EXPECT_FALSE(second.GetLoadPending());  // taken at once: the name still names that file
    EXPECT_EQ(second.GetFileReads(), 0);
    EXPECT_EQ(&second.Samples(), &control.Samples());
    EXPECT_EQ(second.GetLoadedFrames(), 8000);
    Render(second);
    EXPECT_EQ(second.ImageBuildCount(), 0);
    EXPECT_EQ(&second.Image(), &control.Image());

    // Another size is another picture; resized back it is found again.
    second.resize(151, 100);
    second.SetPowerMax(second.GetPowerMax());
    Render(second);
    EXPECT_EQ(second.ImageBuildCount(), 1);
    second.resize(150, 100);
    second.SetPowerMax(second.GetPowerMax());
    Render(second);
    EXPECT_EQ(second.ImageBuildCount(), 1);
    EXPECT_EQ(&second.Image(), &control.Image());

    // An options round trip finds the first picture again, bit for bit what a build gives.
    control.SetAutoContrast(true);
    Render(control);
    EXPECT_EQ(control.ImageBuildCount(), 2);
    control.SetAutoContrast(false);
    Render(control);
    EXPECT_EQ(control.ImageBuildCount(), 2);
    sonolux::SpectrogramImage fresh;
    fresh.Build(control.Samples(), sonolux::SpectrogramParameters{}, QSize(150, 100));
    EXPECT_EQ(control.Image().Image(), fresh.Image());

    // The file changed under its name: read again, drawn again.
    folder.WriteWave("a.wav", Chirp(8000, 0.9));
    CSonoluxCtrl third(player);
    third.resize(150, 100);
    third.SetFilename(QString::fromStdString(path));
    EXPECT_EQ(third.GetFileReads(), 1);
    EXPECT_EQ(third.Samples(), Chirp(8000, 0.9));
    Render(third);
    EXPECT_EQ(third.ImageBuildCount(), 1);
    EXPECT_NE(third.Image().Image(), control.Image().Image());

    // Without a cache every control reads and draws for itself.
    sonolux::SharedPictureCache().SetByteLimit(0);
    CSonoluxCtrl fourth(player);
    fourth.resize(150, 100);
    fourth.SetFilename(QString::fromStdString(path));
    Render(fourth);
    EXPECT_EQ(fourth.GetFileReads(), 1);
    EXPECT_EQ(fourth.ImageBuildCount(), 1);
    EXPECT_EQ(fourth.Image().Image(), third.Image().Image());

    // Another file of the same size renamed onto the name: read, not taken.
    sonolux::SharedPictureCache().SetByteLimit(sonolux::PictureCache::DefaultByteLimit);
    const std::string other = folder.WriteWave("other.wav", Chirp(8000, 0.6));
    ASSERT_TRUE(WaitUntilSettled(other));
    ASSERT_TRUE(WaitUntilSettled(path));
    CSonoluxCtrl reader(player);
    reader.SetFilename(QString::fromStdString(path));
    ASSERT_EQ(reader.Samples(), Chirp(8000, 0.9));
    CSonoluxCtrl known(player);
    known.SetFilename(QString::fromStdString(path));
    ASSERT_FALSE(known.GetLoadPending());
    ASSERT_EQ(std::rename(other.c_str(), path.c_str()), 0);
    CSonoluxCtrl renamed(player);
    renamed.SetFilename(QString::fromStdString(path));
    EXPECT_TRUE(renamed.GetLoadPending());
    EXPECT_EQ(renamed.Samples(), Chirp(8000, 0.6));
    EXPECT_EQ(renamed.GetFileReads(), 1);
}

TEST_F(FollowAndCache, AShownControlTakesOnlyPicturesOfTheSamplesItHolds) {
    const std::string a = folder.WriteWave("a.wav", Chirp(8000, 0.4));
    const std::string b = folder.WriteWave("b.wav", Chirp(8000, 0.8));
    ASSERT_TRUE(WaitUntilSettled(a));
    ASSERT_TRUE(WaitUntilSettled(b));
    {
        CSonoluxCtrl hidden(player);  // hidden: reads B, draws nothing
        hidden.SetFilename(QString::fromStdString(b));
        ASSERT_TRUE(hidden.GetLoaded());
    }
    CSonoluxCtrl shown(player);
    shown.resize(130, 70);
    shown.show();
    QCoreApplication::processEvents();

    // A's picture, drawn with its load, arrives after B was taken by name.
    shown.SetFilename(QString::fromStdString(a));
    sonolux::WaitForPictureWorkers();
    shown.SetFilename(QString::fromStdString(b));
    ASSERT_FALSE(shown.GetLoadPending());
    QCoreApplication::sendPostedEvents(nullptr, sonolux::LoadReadyEvent::EventType());
    ASSERT_FALSE(PictureStillPending(shown));
    sonolux::SpectrogramImage here;
    here.Build(Chirp(8000, 0.8), sonolux::SpectrogramParameters{}, shown.GetControlSize());
    EXPECT_EQ(shown.Image().Image(), here.Image());

    // Written under another spelling of A's name, A is read by a worker, which
    // finds the picture the cache holds for it: the same one, not drawn again.
    const std::string spelled = a.substr(0, a.rfind('/')) + "//a.wav";
    shown.SetFilename(QString::fromStdString(a));
    ASSERT_FALSE(PictureStillPending(shown));
    const sonolux::SpectrogramImage* cached = &shown.Image();
    CSonoluxCtrl second(player);
    second.resize(130, 70);
    second.show();
    QCoreApplication::processEvents();
    second.SetFilename(QString::fromStdString(spelled));
    ASSERT_TRUE(second.GetLoadPending());
    sonolux::WaitForPictureWorkers();
    QCoreApplication::sendPostedEvents(nullptr, sonolux::LoadReadyEvent::EventType());
    EXPECT_EQ(second.GetFileReads(), 0);
    EXPECT_FALSE(second.IsImageDirty());
    EXPECT_EQ(second.ImageBuildCount(), 0);
    EXPECT_EQ(&second.Image(), cached);
}

TEST_F(FollowAndCache, EveryLoadPropertyReadRightAfterAWriteOfFilenameIsWhatTheLoadFound) {
    const std::string whole = folder.WriteWave("whole.wav", Chirp(5000, 0.2));
    const std::string refused = folder.WriteText("text.wav", "RIFF but not a wave file");
    ASSERT_TRUE(WaitUntilSettled(whole));
    ASSERT_TRUE(WaitUntilSettled(refused));
    const std::vector<std::string> paths = {whole, refused, folder.Path("missing.wav"), ""};
    for (const int frameLimit : {48000, 3000}) {
        for (const std::string& path : paths) {
            sonolux::LoadOptions options;
            options.frameLimit = static_cast<std::uint32_t>(frameLimit);
            std::vector<std::int16_t> samples{42};
            sonolux::WaveFileInfo info;
            sonolux::LoadRefusal refusal;
            const bool replaced = sonolux::LoadWaveFile(path, samples, options, &info, &refusal) ==
                                  sonolux::LoadResult::Replaced;
            // The first control reads the file, the second finds what the first
            // kept; each read comes while no worker has started the load (the
            // read runs it), once a worker has finished it (the read takes it
            // in), and as the workers happen to be.
            for (int round = 0; round < 6; ++round) {
                CSonoluxCtrl fresh(player);
                fresh.SetFrameLimit(frameLimit);
                std::optional<HeldWorkers> held;
                if (round / 2 == 0) held.emplace();
                fresh.SetFilename(QString::fromStdString(path));
                // A file a control read before is taken from the cache at once.
                const bool cached = replaced && !path.empty() && round > 0;
                EXPECT_EQ(fresh.GetLoadPending(), !path.empty() && !cached);
                if (round / 2 == 1) sonolux::WaitForPictureWorkers();
                EXPECT_EQ(fresh.GetLoadPending(), !path.empty() && !cached);
                const std::string where = path + " round " + std::to_string(round);
                EXPECT_EQ(fresh.property("Loaded").toBool(), replaced && !path.empty()) << where;
                EXPECT_EQ(fresh.property("SampleRate").toUInt(), info.sampleRate) << where;
                EXPECT_EQ(fresh.property("Channels").toInt(), info.channels) << where;
                EXPECT_EQ(fresh.property("BitsPerSample").toInt(), info.bitsPerSample) << where;
                EXPECT_EQ(fresh.property("TotalFrames").toUInt(), info.totalFrames) << where;
                EXPECT_EQ(fresh.property("LoadedFrames").toInt(),
                          static_cast<int>(info.loadedFrames))
                    << where;
                EXPECT_EQ(fresh.property("LoadError").toString().toStdString(),
                          sonolux::LoadRefusalText(refusal))
                    << where;
                EXPECT_EQ(fresh.Samples(), replaced ? samples : std::vector<std::int16_t>{})
                    << where;
                EXPECT_FALSE(fresh.GetLoadPending()) << where;
                EXPECT_EQ(fresh.GetFileReads(), replaced && !path.empty() && !cached ? 1 : 0)
                    << where;
            }
        }
    }
}

TEST_F(FollowAndCache, ARecordingMovedBeforeItsLoadStartedIsReadWhereItWasPut) {
    const std::string path = folder.WriteWave("bat.wav", Chirp(6000, 0.3));
    const std::string moved = folder.MakeFolder("Noctule") + "/bat.wav";
    {
        HeldWorkers held;
        control.SetFilename(QString::fromStdString(path));
        ASSERT_TRUE(control.GetLoadPending());
        ASSERT_EQ(std::rename(path.c_str(), moved.c_str()), 0);
        QSignalSpy changes(&control, &CSonoluxCtrl::LoadStateChanged);
        control.FollowFile(QString::fromStdString(moved));
        // Never "file not found" for the name it had before.
        EXPECT_EQ(control.GetLoadError(), "");
        EXPECT_EQ(changes.count(), 1);
        EXPECT_EQ(control.GetFilename(), QString::fromStdString(moved));
        EXPECT_TRUE(control.GetLoaded());
        EXPECT_EQ(control.GetLoadError(), "");
        EXPECT_EQ(control.GetLoadedFrames(), 6000);
        EXPECT_EQ(control.GetFileReads(), 1);
    }
    // A load a worker has finished read the file before the move: followed.
    ASSERT_EQ(std::rename(moved.c_str(), path.c_str()), 0);
    const std::string other = folder.WriteWave("other.wav", Chirp(3000, 0.1));
    ASSERT_TRUE(WaitUntilSettled(other));
    control.SetFilename(QString::fromStdString(other));
    sonolux::WaitForPictureWorkers();
    ASSERT_TRUE(control.GetLoadPending());
    const std::string otherMoved = folder.Path("Noctule/other.wav");
    ASSERT_EQ(std::rename(other.c_str(), otherMoved.c_str()), 0);
    control.FollowFile(QString::fromStdString(otherMoved));
    EXPECT_TRUE(control.GetLoaded());
    EXPECT_EQ(control.GetLoadedFrames(), 3000);
    EXPECT_EQ(control.GetFileReads(), 2);
}
