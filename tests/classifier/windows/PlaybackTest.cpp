// Playing from the keyboard, Play on Select and the playhead, with controls
// whose sound player is a fake the test drives.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "cells/CellMarks.h"
#include "control/CSonoluxCtrl.h"
#include "files/FileMover.h"
#include "files/SafeFileWriter.h"
#include "host/ControlModule.h"
#include "settings/QtSettingsStore.h"
#include "tests/classifier/mocks/FakeServices.h"
#include "tests/control/mocks/FakeSoundPlayer.h"
#include "tests/support/TempFolder.h"
#include "windows/LoupeView.h"
#include "windows/MainStatusBar.h"
#include "windows/frmMain.h"

namespace {

// Makes every cell's control over one fake player.
struct FakePlayerControls : ControlModule {
    QWidget* CreateControl(QWidget* parent) override { return new CSonoluxCtrl(player, parent); }
    FakeSoundPlayer player;
};

class PlaybackInTheWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<frmMain>(MainWindowServices{
            messages, fileDialog, fileMover, fileWriter, settings, controls, ScreenDpi{96, 96}});
        window->show();
        QApplication::setActiveWindow(window.get());
        QCoreApplication::processEvents();
        // One second at 48 kHz each.
        for (int i = 0; i < 3; ++i)
            window->Cell(i).SetFilename(Path(i, std::vector<std::int16_t>(48000, 1000)));
    }
    QString Path(int i, const std::vector<std::int16_t>& samples = {1, 2}) {
        return QString::fromStdString(
            recordings.WriteWave("r" + std::to_string(i) + ".wav", samples));
    }
    QString Name(int i) {
        return QString::fromStdString(recordings.Path()) + "/r" + QString::number(i) + ".wav";
    }
    void Select(int index) {
        window->Cell(index).GiveFocus();
        QCoreApplication::processEvents();
    }
    void Press(Qt::Key key) { QTest::keyClick(window->SelectedCell()->Sonolux1(), key); }
    QAction* Action(const char* name) { return window->findChild<QAction*>(QLatin1String(name)); }
    QString Status() { return window->findChild<MainStatusBar*>()->MessageText(); }

    FakeMessageBox messages;
    FakeFileDialogAsker fileDialog;
    FileMover fileMover;
    SafeFileWriter fileWriter;
    QTemporaryDir settingsFolder;
    QtSettingsStore settings{settingsFolder.filePath("Corvane.conf")};
    FakePlayerControls controls;
    FakeSoundPlayer& player = controls.player;
    TempFolder recordings;
    std::unique_ptr<frmMain> window;
};

}  // namespace

TEST_F(PlaybackInTheWindow, SpacePlaysAndStopsEscapeStopsAndABoundSpaceClassifies) {
    Select(1);
    Press(Qt::Key_Space);
    ASSERT_EQ(player.played, QStringList({Name(1)}));
    player.Start();
    EXPECT_TRUE(window->Cell(1).IsPlaying());
    EXPECT_EQ(Status(), "Playing r1.wav");
    Press(Qt::Key_Space);
    EXPECT_EQ(player.stops, 1);
    EXPECT_FALSE(window->Cell(1).IsPlaying());

    // Escape stops whatever plays, whichever cell is selected.
    Press(Qt::Key_Space);
    player.Start();
    Select(2);
    Press(Qt::Key_Escape);
    EXPECT_FALSE(window->Cell(1).IsPlaying());

    // The speed chosen reaches every cell, and the status bar tells it.
    Action("mnuSPGSpeed10")->trigger();
    EXPECT_TRUE(Action("mnuSPGSpeed10")->isChecked());
    EXPECT_FALSE(Action("mnuSPGSpeed1")->isChecked());
    for (int i = 0; i < window->LoadedCellCount(); ++i)
        EXPECT_EQ(window->Cell(i).PlaybackSpeedDivisor(), 10) << i;
    Press(Qt::Key_Space);
    EXPECT_EQ(player.divisors.last(), 10);
    player.Start();
    EXPECT_EQ(Status(), "Playing r2.wav at 1/10");
    player.End();
    Press(Qt::Key_Space);
    player.Fail("no sound output");
    EXPECT_EQ(Status(), "Could not play r2.wav: no sound output");

    // Bound to a folder, Space classifies instead, until the binding goes.
    TempFolder sorted;
    const QString target = QString::fromStdString(sorted.Path()) + "/";
    window->SetClassifyKey(0x20, 0, false, target);
    const int plays = static_cast<int>(player.played.size());
    Press(Qt::Key_Space);
    EXPECT_EQ(player.played.size(), plays);
    EXPECT_TRUE(QFile::exists(target + "r2.wav"));
    window->EraseClassifyKeys();
    Press(Qt::Key_Space);
    EXPECT_EQ(player.played.size(), plays + 1);
}

TEST_F(PlaybackInTheWindow, PlayOnSelectPlaysEachRecordingTheSelectionReaches) {
    Select(1);
    EXPECT_TRUE(player.played.isEmpty());  // off unless asked for
    Action("mnuSPGPlayOnSelect")->trigger();
    Select(0);
    ASSERT_EQ(player.played, QStringList({Name(0)}));
    player.Start();
    Select(1);
    EXPECT_FALSE(window->Cell(0).IsPlaying());
    EXPECT_EQ(player.played.last(), Name(1));
    player.Start();
    // An empty cell stops the sound and plays nothing.
    Select(3);
    EXPECT_FALSE(window->Cell(1).IsPlaying());
    EXPECT_EQ(player.played.size(), 2);
    // Tab moves the selection on, and plays what it reaches.
    Select(0);
    Press(Qt::Key_Tab);
    EXPECT_EQ(player.played.last(), Name(window->SelectedCell()->Index()));

    // The choice and the speed survive a restart.
    Action("mnuSPGSpeed4")->trigger();
    Action("mnuFileExit")->trigger();
    window.reset();
    QtSettingsStore reread(settingsFolder.filePath("Corvane.conf"));
    window = std::make_unique<frmMain>(MainWindowServices{
        messages, fileDialog, fileMover, fileWriter, reread, controls, ScreenDpi{96, 96}});
    EXPECT_TRUE(Action("mnuSPGPlayOnSelect")->isChecked());
    EXPECT_TRUE(Action("mnuSPGSpeed4")->isChecked());
    EXPECT_EQ(window->Cell(0).PlaybackSpeedDivisor(), 4);
    EXPECT_EQ(window->GetPlaybackOptions(), (PlaybackOptions{4, true}));
    window.reset();
}

TEST_F(PlaybackInTheWindow, PlayheadFollowsTheSoundAcrossItsCell) {
    EXPECT_EQ(CellMarks::PlayheadX(0.25, 48000, 48000, 100), 25);
    EXPECT_EQ(CellMarks::PlayheadX(1.0, 48000, 48000, 100), 99);
    EXPECT_EQ(CellMarks::PlayheadX(1.01, 48000, 48000, 100), -1);  // past what is shown
    EXPECT_EQ(CellMarks::PlayheadX(0.5, 0, 48000, 100), -1);

    const CellMarks& marks = window->Cell(1).Marks();
    Select(1);
    Press(Qt::Key_Space);
    EXPECT_EQ(marks.PlayheadX(), -1);
    player.Start();
    player.Reach(0.5);
    EXPECT_EQ(marks.PlayheadX(), marks.width() / 2);
    EXPECT_TRUE(marks.isVisible());
    player.Reach(0.75);
    EXPECT_EQ(marks.PlayheadX(), marks.width() * 3 / 4);
    player.End();
    EXPECT_EQ(marks.PlayheadX(), -1);
    EXPECT_FALSE(marks.isVisible());

    // The loupe draws it over its own picture of the selected recording, on its time axis.
    Action("mnuSPGLoupe")->trigger();
    auto* loupe = window->findChild<LoupeView*>(QStringLiteral("picLoupe"));
    ASSERT_NE(loupe, nullptr);
    loupe->resize(600, 300);
    Press(Qt::Key_Space);
    player.Start();
    EXPECT_EQ(loupe->PlayheadX(), loupe->PictureRect().left());  // at 0 s: the left edge
    player.Reach(0.5);
    EXPECT_EQ(loupe->PlayheadX(), static_cast<int>(loupe->Axes().Time().PixelOf(0.5)));
    EXPECT_GT(loupe->PlayheadX(), loupe->PictureRect().left());
    player.End();
    EXPECT_EQ(loupe->PlayheadX(), -1);
}
