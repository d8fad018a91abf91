#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "CorvaneError.h"
#include "MainWindowFixture.h"
#include "SonoluxBord.h"

namespace {

std::unique_ptr<SonoluxBord> MakeCell(double dpi, int index = 0, QWidget* parent = nullptr) {
    QWidget* control = LoadedControlModule().CreateControl(nullptr);
    auto cell = std::make_unique<SonoluxBord>(control, index, ScreenDpi{dpi, dpi}, parent);
    cell->SetWidth(1500);
    cell->SetHeight(1000);
    return cell;
}

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
    EXPECT_EQ(cell->Sonolux1()->pos(), QPoint(5, 5));  // 60 twips at 120 dpi
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

TEST(SonoluxBord, OnlyTheFocusedCellShowsItsFrame) {
    QWidget host;
    host.resize(400, 200);
    auto cell3 = MakeCell(96, 3, &host);
    auto cell4 = MakeCell(96, 4, &host);
    cell4->SetLeft(1500);
    host.show();
    QApplication::setActiveWindow(&host);
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
