#include <gtest/gtest.h>

#include <QApplication>
#include <QBrush>
#include <QMenu>
#include <QScreen>
#include <QWidget>

#include "cells/CellMarks.h"
#include "cells/SonoluxBord.h"
#include "core/CorvaneError.h"
#include "tests/classifier/mocks/MainWindowFixture.h"

namespace {

std::unique_ptr<SonoluxBord> MakeCell(double dpi, int index = 0, QWidget* parent = nullptr) {
    QWidget* control = LoadedControlModule().CreateControl(nullptr);
    auto cell = std::make_unique<SonoluxBord>(control, index, ScreenDpi{dpi, dpi}, parent);
    cell->SetWidth(1500);
    cell->SetHeight(1000);
    return cell;
}

// Cells 3 and 4 side by side in a window that is shown and active.
struct TwoCellsOnScreen : ::testing::Test {
    TwoCellsOnScreen() {
        host.resize(400, 200);
        cell4->SetLeft(1500);
        host.show();
        QApplication::setActiveWindow(&host);
    }

    QWidget host;
    std::unique_ptr<SonoluxBord> cell3 = MakeCell(96, 3, &host);
    std::unique_ptr<SonoluxBord> cell4 = MakeCell(96, 4, &host);
};

}  // namespace

TEST(SonoluxBord, ConvertsPixelsToTwipsAtTheScreenResolution) {
    EXPECT_EQ(MakeCell(96)->ConvertPixelsToTwips(4, 0), 60);
    EXPECT_EQ(MakeCell(120)->ConvertPixelsToTwips(4, 1), 48);
    EXPECT_EQ(MakeCell(144)->ConvertPixelsToTwips(4, 0), 40);
    // 1 pixel at 96 dpi is 15 twips; at 100 dpi 14.4 rounds to 14.
    EXPECT_EQ(MakeCell(100)->ConvertPixelsToTwips(1, 0), 14);
}

TEST(SonoluxBord, InsetsTheSpectrogramByFourPixelsAt96Dpi) {
    auto cell = MakeCell(96);
    EXPECT_EQ(cell->BorderTwipsX(), 60);
    EXPECT_EQ(cell->BorderTwipsY(), 60);
    EXPECT_FLOAT_EQ(cell->SonoluxWidth(), 1380);
    EXPECT_FLOAT_EQ(cell->SonoluxHeight(), 880);
    EXPECT_EQ(cell->SonoluxLeft(), 60);
    EXPECT_EQ(cell->SonoluxTop(), 60);
    EXPECT_EQ(cell->size(), QSize(100, 67));
    EXPECT_EQ(cell->Sonolux1()->geometry(), QRect(4, 4, 92, 59));
}

TEST(SonoluxBord, KeepsTheSpectrogramAt60TwipsAt120Dpi) {
    auto cell = MakeCell(120);
    EXPECT_EQ(cell->BorderTwipsX(), 48);
    EXPECT_FLOAT_EQ(cell->SonoluxWidth(), 1404);
    EXPECT_FLOAT_EQ(cell->SonoluxHeight(), 904);
    EXPECT_EQ(cell->SonoluxLeft(), 60);
    // On screen the frame and the inset stay 4 pixels on every side: 125 x 83 pixels.
    EXPECT_EQ(cell->Sonolux1()->geometry(), QRect(4, 4, 117, 75));
}

TEST(SonoluxBord, CellSmallerThanItsBordersGetsAnEmptySpectrogram) {
    auto cell = MakeCell(96);
    cell->SetWidth(90);
    EXPECT_FLOAT_EQ(cell->SonoluxWidth(), -30);
    EXPECT_EQ(cell->Sonolux1()->width(), 0);
}

TEST(SonoluxBord, PassesFileNameToTheControlAndShowsItAsToolTip) {
    auto cell = MakeCell(96);
    cell->SetFilename("/data/x.wav");
    EXPECT_EQ(cell->Filename(), "/data/x.wav");
    EXPECT_EQ(cell->Sonolux1()->property("Filename").toString(), "/data/x.wav");
    EXPECT_EQ(cell->Sonolux1()->toolTip(), "/data/x.wav");
    cell->SetFilename("");
    EXPECT_EQ(cell->Filename(), "");
    EXPECT_EQ(cell->Sonolux1()->toolTip(), "");
}

TEST(SonoluxBord, PassesPlayAsBooleanAndTheParameterSetThrough) {
    auto cell = MakeCell(96);
    cell->SetPlay(true);
    EXPECT_EQ(cell->Sonolux1()->property("PlayOnClick").toInt(), -1);
    cell->SetPlay(false);
    EXPECT_EQ(cell->Sonolux1()->property("PlayOnClick").toInt(), 0);

    cell->UpdateSPGParams(2, 1, 64, 4, 110.5f, 30.25f);
    std::int32_t fft = 0, frame = 0, hop = 0, window = 0;
    float powerMax = 0, powerMin = 0;
    cell->GetSPGParams(fft, frame, hop, window, powerMax, powerMin);
    EXPECT_EQ(fft, 2);
    EXPECT_EQ(frame, 1);
    EXPECT_EQ(hop, 64);
    EXPECT_EQ(window, 4);
    EXPECT_FLOAT_EQ(powerMax, 110.5f);
    EXPECT_FLOAT_EQ(powerMin, 30.25f);
    EXPECT_EQ(cell->Sonolux1()->property("FFTSizeChoice").toInt(), 2);
    EXPECT_EQ(cell->Sonolux1()->property("WindowFunctionChoice").toInt(), 4);
}

TEST(SonoluxBord, ChoiceBeyond16BitsIsRefusedAsOverflow) {
    auto cell = MakeCell(96);
    try {
        cell->UpdateSPGParams(70000, 1, 64, 0, 120, 20);
        FAIL() << "expected an overflow";
    } catch (const CorvaneError& error) {
        EXPECT_EQ(error.Description(), "Overflow");
    }
    EXPECT_EQ(cell->Sonolux1()->property("FFTSizeChoice").toInt(), 3);  // unchanged
}

TEST_F(TwoCellsOnScreen, OnlyTheFocusedCellShowsItsFrame) {
    QCoreApplication::processEvents();

    cell3->GiveFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(cell3->IsFrameShown());
    EXPECT_FALSE(cell4->IsFrameShown());

    cell4->GiveFocus();
    QCoreApplication::processEvents();
    EXPECT_FALSE(cell3->IsFrameShown());
    EXPECT_TRUE(cell4->IsFrameShown());

    // The frame is pure red along the cell's four-pixel edge.
    const QImage picture = cell4->grab().toImage();
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(picture.pixelColor(3, 30), QColor(255, 0, 0));
    EXPECT_EQ(picture.pixelColor(99, 66), QColor(255, 0, 0));
    EXPECT_NE(picture.pixelColor(4, 30), QColor(255, 0, 0));
}

namespace {

// What the window shows of `cell` right now, from its backing store.
QImage OnScreen(const SonoluxBord& cell) {
    QCoreApplication::processEvents();
    const QWidget* window = cell.window();
    const QImage shown = window->screen()->grabWindow(window->winId()).toImage();
    return shown.copy(QRect(cell.mapTo(window, QPoint(0, 0)), cell.size()));
}

bool IsRed(const QImage& picture, int x, int y) {
    return picture.pixelColor(x, y) == QColor(255, 0, 0);
}

// Empty when the picture shows the whole 4-pixel frame and nothing red inside
// it, else where it does not.
QString FrameProblem(const QImage& picture) {
    const int w = picture.width();
    const int h = picture.height();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool edge = x < 4 || y < 4 || x >= w - 4 || y >= h - 4;
            if (IsRed(picture, x, y) != edge)
                return QStringLiteral("%1 at %2,%3 of %4 x %5")
                    .arg(edge ? "no frame" : "frame")
                    .arg(x)
                    .arg(y)
                    .arg(w)
                    .arg(h);
        }
    }
    return {};
}

}  // namespace

TEST(SonoluxBord, FrameIsFourPixelsOnEveryEdgeOnRowsOf66And67Pixels) {
    QWidget host;
    host.resize(400, 200);
    auto tall = MakeCell(96, 0, &host);
    auto short_ = MakeCell(96, 1, &host);
    short_->SetLeft(1500);
    short_->SetTop(8);  // its edges round to pixels 1 and 67
    host.show();
    QApplication::setActiveWindow(&host);
    ASSERT_EQ(tall->height(), 67);
    ASSERT_EQ(short_->height(), 66);

    for (SonoluxBord* cell : {tall.get(), short_.get()}) {
        cell->GiveFocus();
        EXPECT_EQ(FrameProblem(OnScreen(*cell)).toStdString(), "") << cell->height();
        EXPECT_EQ(cell->Sonolux1()->geometry(), QRect(4, 4, 92, cell->height() - 8));
    }
}

TEST_F(TwoCellsOnScreen, FrameStaysWhileAMenuOrAnotherWindowHasTheKeyboard) {
    cell3->GiveFocus();
    ASSERT_TRUE(IsRed(OnScreen(*cell3), 0, 0));

    QMenu menu;
    menu.addAction(QStringLiteral("&Open..."));
    menu.popup(host.mapToGlobal(QPoint(10, 10)));
    QCoreApplication::processEvents();
    ASSERT_TRUE(menu.isVisible());
    EXPECT_TRUE(cell3->IsFrameShown());
    EXPECT_TRUE(IsRed(OnScreen(*cell3), 0, 0));
    menu.close();

    QWidget options;  // a modeless dialog the user works in
    options.show();
    QApplication::setActiveWindow(&options);
    QCoreApplication::processEvents();
    ASSERT_NE(QApplication::focusWidget(), cell3->Sonolux1());
    EXPECT_TRUE(cell3->IsFrameShown());
    EXPECT_TRUE(IsRed(OnScreen(*cell3), 0, 0));

    // The selection moves while the window is inactive: once it is active again,
    // only the new cell shows a frame.
    cell4->GiveFocus();
    QApplication::setActiveWindow(&host);
    EXPECT_FALSE(cell3->IsFrameShown());
    EXPECT_TRUE(cell4->IsFrameShown());
    EXPECT_FALSE(IsRed(OnScreen(*cell3), 0, 0));
    EXPECT_TRUE(IsRed(OnScreen(*cell4), 0, 0));
}

TEST_F(TwoCellsOnScreen, UnselectedBorderShowsTheWindowsOwnColour) {
    QPalette palette = host.palette();
    palette.setColor(QPalette::Window, QColor(20, 90, 40));
    host.setPalette(palette);
    cell3->GiveFocus();
    cell4->GiveFocus();  // cell 3's frame is taken away again

    const QImage shown = OnScreen(*cell3);
    const int w = shown.width();
    const int h = shown.height();
    for (const QPoint& p : {QPoint(0, 0), QPoint(3, h / 2), QPoint(w - 1, h - 1), QPoint(w / 2, 2)})
        EXPECT_EQ(shown.pixelColor(p), QColor(20, 90, 40)) << p.x() << "," << p.y();
}

TEST(SonoluxBord, ControlThatDoesNotSayItLoadedGetsNoPartialLengthMark) {
    // A control without "Loaded": what the cell tells of its recording says
    // nothing was read, so no mark may claim part of it is shown.
    auto* control = new QWidget;
    control->setProperty("SampleRate", 1000u);
    control->setProperty("TotalFrames", qint64{8000});
    control->setProperty("LoadedFrames", qint64{1000});
    SonoluxBord cell(control, 0, ScreenDpi{96, 96});
    cell.SetFilename("/data/x.wav");
    ASSERT_FALSE(cell.RecordingInfo().loaded);
    EXPECT_FALSE(cell.Marks().IsUnreadable());
    EXPECT_EQ(cell.Marks().PartialLength(), "");
}

TEST_F(TwoCellsOnScreen, BorderLooksLikeTheWindowAroundItWhateverItsBrush) {
    cell3->SetTop(1500);  // 100 pixels down, the window's own background to its right
    QLinearGradient gradient(0, 0, 0, 200);
    gradient.setColorAt(0, Qt::black);
    gradient.setColorAt(1, Qt::white);
    for (const QBrush& brush : {QBrush(gradient), QBrush(QColor(20, 90, 40, 128))}) {
        QPalette palette = host.palette();
        palette.setBrush(QPalette::Window, brush);
        host.setPalette(palette);
        cell4->GiveFocus();
        QCoreApplication::processEvents();
        const QImage shown = host.screen()->grabWindow(host.winId()).toImage();
        for (int y : {100, 130, 166})
            EXPECT_EQ(shown.pixelColor(1, y), shown.pixelColor(300, y)) << y;
    }
}
