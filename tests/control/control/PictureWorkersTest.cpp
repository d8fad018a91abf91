// Pictures drawn on the worker threads: the same bits as drawn on the window
// thread, taken in only for the state they were asked for.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <cmath>
#include <future>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "control/CSonoluxCtrl.h"
#include "engine/PictureCache.h"
#include "tests/control/mocks/FakeSoundPlayer.h"
#include "tests/control/mocks/FinishPictures.h"
#include "tests/support/TempFolder.h"

namespace {

std::vector<std::int16_t> Noisy(int count, std::mt19937& random) {
    std::normal_distribution<double> noise(0.0, 800.0);
    std::vector<std::int16_t> samples(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        samples[static_cast<std::size_t>(i)] =
            static_cast<std::int16_t>(6000.0 * std::sin(0.002 * i * i / 50.0) + noise(random));
    return samples;
}

sonolux::SpectrogramImage BuiltHere(const CSonoluxCtrl& control) {
    sonolux::SpectrogramParameters parameters;
    parameters.frameLengthChoice = control.GetFrameLengthChoice();
    parameters.fftSizeChoice = control.GetFFTSizeChoice();
    parameters.windowFunctionChoice = control.GetWindowFunctionChoice();
    parameters.hopSize = control.GetHopSize();
    parameters.powerMin = control.GetPowerMin();
    parameters.powerMax = control.GetPowerMax();
    sonolux::PictureOptions options;
    options.everySample = control.GetEverySample();
    options.autoContrast = control.GetAutoContrast();
    sonolux::SpectrogramImage image;
    image.Build(control.Samples(), parameters, control.GetControlSize(), options);
    return image;
}

struct PictureWorkers : ::testing::Test {
    PictureWorkers() {
        // Every picture here is drawn, none found.
        sonolux::SharedPictureCache().SetByteLimit(0);
    }
    ~PictureWorkers() override {
        sonolux::SharedPictureCache().SetByteLimit(sonolux::PictureCache::DefaultByteLimit);
    }
    TempFolder folder;
    FakeSoundPlayer player;
};

}  // namespace

TEST_F(PictureWorkers, DrawTheSameBitsAsOneThreadForRandomParameterSets) {
    std::mt19937 random(20261207);
    const std::string path = folder.WriteWave("call.wav", Noisy(12000, random));
    CSonoluxCtrl control(player);
    control.SetFilename(QString::fromStdString(path));
    control.show();
    ASSERT_FALSE(PictureStillPending(control));
    std::uniform_int_distribution<int> choice(0, 8);
    std::uniform_int_distribution<int> window(0, 4);
    std::uniform_int_distribution<int> hop(1, 400);
    std::uniform_real_distribution<float> power(0.0f, 140.0f);
    std::uniform_int_distribution<int> side(8, 260);
    std::bernoulli_distribution flag(0.3);
    for (int round = 0; round < 100; ++round) {
        control.resize(side(random), side(random));
        control.SetFrameLengthChoice(static_cast<short>(choice(random)));
        control.SetFFTSizeChoice(static_cast<short>(choice(random)));
        control.SetWindowFunctionChoice(static_cast<short>(window(random)));
        control.SetHopSize(hop(random));
        control.SetPowerMin(power(random));
        control.SetPowerMax(power(random));
        control.SetEverySample(flag(random));
        control.SetAutoContrast(flag(random));
        const int builds = control.ImageBuildCount();
        control.repaint();
        ASSERT_TRUE(control.GetPicturePending()) << round;
        ASSERT_FALSE(PictureStillPending(control, false)) << round;
        ASSERT_EQ(control.ImageBuildCount(), builds + 1) << round;
        const sonolux::SpectrogramImage here = BuiltHere(control);
        ASSERT_EQ(control.Image().BuiltGeometry().frameCount, here.BuiltGeometry().frameCount);
        ASSERT_EQ(control.Image().Image(), here.Image()) << "round " << round;
    }
}

TEST_F(PictureWorkers, APictureForAStateLeftMeanwhileIsDroppedAndAGoneControlGetsNone) {
    std::mt19937 random(7);
    const std::string path = folder.WriteWave("call.wav", Noisy(6000, random));
    CSonoluxCtrl control(player);
    control.resize(120, 80);
    control.SetFilename(QString::fromStdString(path));
    control.show();
    ASSERT_FALSE(PictureStillPending(control));
    ASSERT_EQ(control.ImageBuildCount(), 1);
    control.SetPowerMax(110);
    control.repaint();  // a worker draws the picture of PowerMax 110...
    ASSERT_TRUE(control.GetPicturePending());
    control.SetPowerMax(90);  // ...which is stale before it arrives
    EXPECT_TRUE(control.GetPicturePending());
    sonolux::WaitForPictureWorkers();
    QCoreApplication::sendPostedEvents(nullptr, sonolux::PictureReadyEvent::EventType());
    EXPECT_TRUE(control.IsImageDirty());
    EXPECT_EQ(control.ImageBuildCount(), 1);
    ASSERT_FALSE(PictureStillPending(control));  // the repaint asked for the new one
    EXPECT_EQ(control.ImageBuildCount(), 2);
    EXPECT_EQ(control.Image().Image(), BuiltHere(control).Image());

    // A metafile needs its picture at once, and the worker's comes too late.
    control.SetPowerMax(80);
    control.repaint();
    ASSERT_TRUE(control.GetPicturePending());
    QImage target(120, 80, QImage::Format_RGB32);
    {
        QPainter painter(&target);
        control.DrawMetafile(painter, target.rect());
    }
    EXPECT_FALSE(control.GetPicturePending());
    EXPECT_EQ(control.ImageBuildCount(), 3);
    EXPECT_FALSE(PictureStillPending(control));
    EXPECT_EQ(control.ImageBuildCount(), 3);

    // Hidden before a paint asked for it: nothing is being drawn.
    control.SetPowerMax(70);
    control.repaint();
    control.SetPowerMax(60);
    sonolux::WaitForPictureWorkers();
    QCoreApplication::sendPostedEvents(nullptr, sonolux::PictureReadyEvent::EventType());
    ASSERT_TRUE(control.GetPicturePending());
    control.hide();
    EXPECT_FALSE(control.GetPicturePending());

    // A control destroyed while its picture is drawn is never handed it.
    auto gone = std::make_unique<CSonoluxCtrl>(player);
    gone->resize(120, 80);
    gone->SetFilename(QString::fromStdString(path));
    ASSERT_TRUE(gone->GetLoaded());
    gone->show();
    QCoreApplication::processEvents();
    gone->SetPowerMax(100);
    gone->repaint();
    ASSERT_TRUE(gone->GetPicturePending());
    gone.reset();
    sonolux::WaitForPictureWorkers();
    QCoreApplication::sendPostedEvents();
}

TEST_F(PictureWorkers, AShownControlGetsItsPictureWithItsLoadUnlessItsStateChangedMeanwhile) {
    std::mt19937 random(23);
    const std::string first = folder.WriteWave("first.wav", Noisy(7000, random));
    const std::string second = folder.WriteWave("second.wav", Noisy(9000, random));
    CSonoluxCtrl control(player);
    control.resize(130, 70);
    control.show();
    QCoreApplication::processEvents();

    // No paint comes between the load and the picture: the worker drew it.
    control.SetFilename(QString::fromStdString(first));
    ASSERT_TRUE(control.GetPicturePending());
    sonolux::WaitForPictureWorkers();
    QCoreApplication::sendPostedEvents(nullptr, sonolux::LoadReadyEvent::EventType());
    EXPECT_FALSE(control.IsImageDirty());
    EXPECT_FALSE(control.GetPicturePending());
    EXPECT_EQ(control.ImageBuildCount(), 1);
    EXPECT_EQ(control.Image().Image(), BuiltHere(control).Image());

    // Drawn for a PowerMax and a size the control has left before it arrives:
    // not taken; the paint asks for the picture of the state it is in.
    {
        HeldWorkers held;
        control.SetFilename(QString::fromStdString(second));
        control.SetPowerMax(95);
        control.resize(140, 60);
    }
    QCoreApplication::sendPostedEvents(nullptr, sonolux::LoadReadyEvent::EventType());
    EXPECT_TRUE(control.IsImageDirty());
    EXPECT_EQ(control.ImageBuildCount(), 1);
    ASSERT_FALSE(PictureStillPending(control));
    EXPECT_EQ(control.ImageBuildCount(), 2);
    EXPECT_EQ(control.Image().Image(), BuiltHere(control).Image());

    // A load a getter took in: its picture arrives while a newer load is
    // pending, and the control still waits for that one's.
    control.SetFilename(QString::fromStdString(first));
    sonolux::WaitForPictureWorkers();
    ASSERT_TRUE(control.GetLoaded());
    HeldWorkers held;
    control.SetFilename(QString::fromStdString(second));
    ASSERT_TRUE(control.GetLoadPending());
    QCoreApplication::sendPostedEvents(nullptr, sonolux::LoadReadyEvent::EventType());
    EXPECT_TRUE(control.GetLoadPending());
    EXPECT_TRUE(control.GetPicturePending());
}

TEST_F(PictureWorkers, OnlyTheNewestWritesLoadLandsAndARefusalKeepsTheSamplesWrittenBefore) {
    std::mt19937 random(11);
    const std::vector<std::int16_t> first = Noisy(5000, random);
    const std::vector<std::int16_t> second = Noisy(7000, random);
    const QString a = QString::fromStdString(folder.WriteWave("a.wav", first));
    const QString b = QString::fromStdString(folder.WriteWave("b.wav", second));
    const QString refused = QString::fromStdString(folder.WriteText("refused.wav", "not a wave"));
    CSonoluxCtrl control(player);
    control.resize(90, 60);
    control.show();
    QSignalSpy changes(&control, &CSonoluxCtrl::LoadStateChanged);

    // Two quick writes: the first load's result is stale when it arrives.
    control.SetFilename(a);
    control.SetFilename(b);
    EXPECT_TRUE(control.GetPicturePending());
    ASSERT_FALSE(PictureStillPending(control));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(control.GetLoadedFrames(), 7000);
    EXPECT_EQ(control.Samples(), second);
    EXPECT_EQ(control.GetFileReads(), 1);
    EXPECT_EQ(control.Image().Image(), BuiltHere(control).Image());

    // A refused file after a good one keeps its samples and picture, and tells
    // of the refused one; so it does when the good one was not taken in yet.
    const int builds = control.ImageBuildCount();
    const QImage picture = control.Image().Image();
    control.SetFilename(refused);
    EXPECT_TRUE(control.GetPicturePending());
    ASSERT_FALSE(PictureStillPending(control));
    EXPECT_FALSE(control.GetLoaded());
    EXPECT_EQ(control.GetLoadError(), "not a wave file");
    EXPECT_EQ(control.Samples(), second);
    EXPECT_EQ(control.ImageBuildCount(), builds);
    EXPECT_EQ(control.Image().Image(), picture);
    for (const bool finishedFirst : {false, true}) {
        control.SetFilename(a);
        control.SetFilename(refused);
        if (finishedFirst) sonolux::WaitForPictureWorkers();
        EXPECT_EQ(control.GetLoadError(), "not a wave file") << finishedFirst;
        EXPECT_EQ(control.Samples(), first) << finishedFirst;
        ASSERT_FALSE(PictureStillPending(control));
        EXPECT_EQ(control.Image().Image(), BuiltHere(control).Image()) << finishedFirst;
        control.SetFilename(b);
        ASSERT_FALSE(PictureStillPending(control));
    }
}

TEST_F(PictureWorkers, ALoadRunsOnceOnWhicheverSideComesFirst) {
    // Queued and finished by its owner: run there, and never again by a worker.
    int runs = 0;
    const auto counted = [&runs] {
        ++runs;
        sonolux::SharedLoad load;
        load.info.totalFrames = 12;
        return load;
    };
    auto nowhere = std::make_shared<sonolux::PictureMailbox>(nullptr);
    {
        HeldWorkers held;
        auto job = std::make_shared<sonolux::LoadJob>(1, counted);
        sonolux::LoadOnWorker(job, nowhere);
        EXPECT_EQ(job->Finish().info.totalFrames, 12u);
        held.Release();
        EXPECT_EQ(runs, 1);
        // Cancelled: never run, unless its owner asks for it after all.
        auto dropped = std::make_shared<sonolux::LoadJob>(2, counted);
        EXPECT_TRUE(dropped->Cancel());
        EXPECT_FALSE(dropped->RunOnWorker());
        EXPECT_EQ(runs, 1);
    }
    // Running on a worker when its owner asks: the owner waits for that run.
    std::promise<void> started;
    std::shared_ptr<sonolux::LoadJob> running;
    running = std::make_shared<sonolux::LoadJob>(3, [&] {
        started.set_value();
        while (!running->OwnerWaits()) std::this_thread::yield();
        return counted();
    });
    sonolux::LoadOnWorker(running, nowhere);
    started.get_future().wait();
    EXPECT_EQ(running->Finish().info.totalFrames, 12u);
    EXPECT_FALSE(running->Cancel());
    EXPECT_EQ(runs, 2);
    sonolux::WaitForPictureWorkers();
    EXPECT_EQ(runs, 2);
}
