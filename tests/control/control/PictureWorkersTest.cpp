// Pictures drawn on the worker threads: the same bits as drawn on the window
// thread, taken in only for the state they were asked for.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <cmath>
#include <memory>
#include <random>
#include <string>
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
