// Repaints paced to the display's frames: what arrives from the workers in a
// burst is shown together at the next frame, and nothing that arrived is left
// off the screen.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "control/CSonoluxCtrl.h"
#include "control/FramePacer.h"
#include "engine/PictureCache.h"
#include "tests/control/mocks/FakeSoundPlayer.h"
#include "tests/control/mocks/FinishPictures.h"
#include "tests/support/TempFolder.h"

namespace {

struct CountingClient : FrameClient {
    void OnFrame() override { ++frames; }
    int frames = 0;
};

// Counts the paint events a widget gets.
struct PaintCounter : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
    int paints = 0;
};

}  // namespace

TEST(FramePacer, CallsEachWaitingClientOnceAtTheFrameAndNoneThatCancelled) {
    // A frame far longer than the test: only the first schedule after a quiet
    // frame comes round at once, through the event loop.
    FramePacer pacer(3600 * 1000);
    CountingClient first, second, third;
    pacer.Schedule(first);
    EXPECT_EQ(first.frames, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(first.frames, 1);

    pacer.Schedule(second);
    pacer.Schedule(third);
    QCoreApplication::processEvents();
    EXPECT_EQ(second.frames, 0);
    pacer.Cancel(third);
    pacer.Flush();
    EXPECT_EQ(first.frames, 1);
    EXPECT_EQ(second.frames, 1);
    EXPECT_EQ(third.frames, 0);
    pacer.Flush();
    EXPECT_EQ(second.frames, 1);
}

// Four controls side by side in a shown window, whose recordings come in
// bursts from the workers.
struct PacedControls : ::testing::Test {
    PacedControls() {
        sonolux::SharedPictureCache().SetByteLimit(0);
        window.resize(4 * 60, 50);
        for (int i = 0; i < 4; ++i) {
            controls.push_back(std::make_unique<CSonoluxCtrl>(player, &window));
            controls.back()->setGeometry(i * 60, 0, 56, 46);
            controls.back()->installEventFilter(&painted);
        }
        window.show();
        QCoreApplication::processEvents();
        // The empty controls' own pictures, in before any burst.
        for (const auto& control : controls) EXPECT_FALSE(PictureStillPending(*control));
    }
    ~PacedControls() override {
        sonolux::SharedPictureCache().SetByteLimit(sonolux::PictureCache::DefaultByteLimit);
    }

    // New recordings in every control, "Calculating..." painted, and every load
    // with its picture finished and posted, none taken in yet.
    void StartBurst(const std::string& prefix) {
        std::uniform_int_distribution<int> sample(-9000, 9000);
        for (std::size_t i = 0; i < controls.size(); ++i) {
            std::vector<std::int16_t> samples(6000);
            for (std::int16_t& value : samples) value = static_cast<std::int16_t>(sample(random));
            const std::string name = folder.WriteWave(prefix + std::to_string(i) + ".wav", samples);
            controls[i]->SetFilename(QString::fromStdString(name));
        }
        window.repaint();
        sonolux::WaitForPictureWorkers();
    }
    // A burst whose loads and pictures are all taken in with no event loop between.
    void Burst(const std::string& prefix) {
        StartBurst(prefix);
        QCoreApplication::sendPostedEvents(nullptr, sonolux::LoadReadyEvent::EventType());
        for (const auto& control : controls) ASSERT_FALSE(control->GetPicturePending());
    }
    void ExpectPicturesOnScreen(const char* when) {
        const QImage screen = window.screen()->grabWindow(window.winId()).toImage();
        for (const auto& control : controls) {
            const QImage shown =
                screen.copy(control->geometry()).convertToFormat(QImage::Format_RGB32);
            const QImage picture = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(shown, picture) << when << ' ' << control->GetFilename().toStdString();
        }
    }

    TempFolder folder;
    FakeSoundPlayer player;
    QWidget window;
    PaintCounter painted;
    std::vector<std::unique_ptr<CSonoluxCtrl>> controls;
    std::mt19937 random{5};
};

// A burst of loads with their pictures: at the frame every control shows its
// picture on screen, as a grab draws it. In a second burst every control is
// painted whole before the frame, and the frame paints none of them again; in
// a third only part of each is painted before it, and the frame shows the rest.
TEST_F(PacedControls, EveryPictureThatArrivedIsOnScreenAfterTheFrameAndIsPaintedOnce) {
    Burst("a");
    FramePacer::Shared().Flush();
    QCoreApplication::processEvents();
    ExpectPicturesOnScreen("after the first burst");

    Burst("b");
    for (const auto& control : controls) control->repaint();
    const int paints = painted.paints;
    FramePacer::Shared().Flush();
    QCoreApplication::processEvents();
    EXPECT_EQ(painted.paints, paints);

    // A paint of two opposite corners spans the control but leaves the middle
    // showing "Calculating...": the frame still repaints it.
    Burst("c");
    for (const auto& control : controls)
        control->repaint(QRegion(0, 0, 8, 8) +
                         QRegion(control->width() - 8, control->height() - 8, 8, 8));
    FramePacer::Shared().Flush();
    QCoreApplication::processEvents();
    ExpectPicturesOnScreen("after a paint of two corners");
}

// Arrivals just after a frame wait for the next one, unless they are the last
// the workers had in hand: then nothing more is coming, and they are shown at
// once. (The frame itself is far off: the pacer has only just flushed.)
TEST_F(PacedControls, TheLastArrivalsAreShownWithoutWaitingForTheFrame) {
    StartBurst("a");
    QCoreApplication::sendPostedEvents(controls[0].get(), sonolux::LoadReadyEvent::EventType());
    FramePacer::Shared().Flush();
    QCoreApplication::sendPostedEvents(nullptr, sonolux::LoadReadyEvent::EventType());
    QCoreApplication::processEvents();  // the pacer's call
    QCoreApplication::processEvents();  // the repaints it asked for
    ExpectPicturesOnScreen("once the last picture was taken in");
}
