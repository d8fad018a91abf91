#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTest>
#include <vector>

#include "cells/CellMarks.h"
#include "demo/WaveWriter.h"
#include "sorting/StatusText.h"
#include "tests/classifier/mocks/MainWindowFixture.h"
#include "tests/support/TempFolder.h"
#include "windows/FallingCount.h"
#include "windows/MainStatusBar.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A main window with a 3 x 2 grid and a folder of eight recordings in it.
struct StatusBar : MainWindowFixture {
    void SetUp() override {
        MainWindowFixture::SetUp();
        QApplication::setActiveWindow(window.get());
        ResizeClient(306, 140);
        status = window->findChild<MainStatusBar*>();
        ASSERT_NE(status, nullptr);
        inbox = Q(incoming.Path());
        for (int i = 0; i < 8; ++i)
            incoming.WriteWave(QStringLiteral("r%1.wav").arg(i).toStdString(), {1, short(i)});
        a = Q(sorted.MakeFolder("a")) + "/";
        window->SetClassifyKey(0x41, 0, false, a);  // A: the selection to a
        fileDialog.answers.push_back(inbox + "/r0.wav");
        window->findChild<QAction*>("mnuFileMany")->trigger();
    }
    void Select(int index) {
        window->Cell(index).GiveFocus();
        QCoreApplication::processEvents();
    }
    void Press(Qt::Key key) { QTest::keyClick(window->SelectedCell()->Sonolux1(), key); }
    QString Left(int count) const {
        return QStringLiteral("Next Batch: %1 - %2 left").arg(inbox).arg(count);
    }

    TempFolder incoming;
    TempFolder sorted;
    QString inbox, a;
    MainStatusBar* status = nullptr;
};

}  // namespace

TEST_F(StatusBar, CountsWhatNextBatchWillFindThroughMovesUndoAndDialogs) {
    EXPECT_EQ(status->NextBatchText(), Left(8));
    EXPECT_TRUE(status->NextBatchWarning().isEmpty());
    Select(0);
    Press(Qt::Key_A);
    Select(1);
    Press(Qt::Key_A);
    EXPECT_EQ(status->NextBatchText(), Left(6));
    window->findChild<QAction*>("mnuSPGUndo")->trigger();
    EXPECT_EQ(status->NextBatchText(), Left(7));
    window->findChild<QAction*>("mnuFileNextBatch")->trigger();
    EXPECT_EQ(status->NextBatchText(), Left(7));

    // Exporting the key list leaves its folder in the file dialog: Next Batch
    // would read it, and the bar says so.
    fileDialog.answers.push_back(a + "keylist.txt");
    window->findChild<QAction*>("mnuFileKeyListExport")->trigger();
    // It counts that folder too: r0.wav went there and stayed.
    EXPECT_EQ(status->NextBatchText(), "Next Batch: " + a.chopped(1) + " - 1 left");
    EXPECT_TRUE(status->NextBatchWarning().contains(inbox))
        << status->NextBatchWarning().toStdString();
    fileDialog.answers.push_back(inbox + "/keylist.txt");
    window->findChild<QAction*>("mnuFileKeyListExport")->trigger();
    EXPECT_EQ(status->NextBatchText(), Left(7));
    EXPECT_TRUE(status->NextBatchWarning().isEmpty());

    // Taking ".WAV" names too changes what Next Batch will find.
    incoming.WriteWave("R8.WAV", {1, 8});
    RecordingOptions anyCase;
    anyCase.AnyCaseWave = true;
    window->SetRecordingOptions(anyCase);
    EXPECT_EQ(status->NextBatchText(), Left(8));
    window->SetRecordingOptions(RecordingOptions{});
    EXPECT_EQ(status->NextBatchText(), Left(7));
}

TEST_F(StatusBar, NamesTheSelectedRecordingAndAFailedMove) {
    Select(2);
    EXPECT_EQ(status->RecordingText(), "r2.wav: 0.00 s, 48000 Hz, 1 channel, 16 bits");
    QFile::copy(inbox + "/r3.wav", a + "r3.wav");  // a name clash in the target
    Select(3);
    Press(Qt::Key_A);
    ASSERT_EQ(messages.texts, QStringList({"File exists"}));
    EXPECT_EQ(status->MessageText(), "r3.wav was not moved to " + a);
    // The message has a place of its own, and waits for the next keystroke.
    EXPECT_EQ(status->RecordingText(), "r3.wav: 0.00 s, 48000 Hz, 1 channel, 16 bits");
    EXPECT_EQ(status->NextBatchText(), Left(8));
    EXPECT_FALSE(status->MessageTimer().isActive());
    Press(Qt::Key_Shift);
    EXPECT_EQ(status->MessageText(), "");
    Select(4);
    window->Cell(4).SetFilename(Q(incoming.WriteText("empty.wav", "")));
    TakeInLoad(4);
    EXPECT_EQ(status->RecordingText(), "empty.wav: not a readable wave file");
}

TEST_F(StatusBar, MarksMovedAndUnreadableRecordingsOnTheirCells) {
    Select(0);
    Press(Qt::Key_A);
    EXPECT_EQ(window->Cell(0).Marks().MovedTo(), "a");
    EXPECT_EQ(window->Cell(1).Marks().MovedTo(), "");
    window->findChild<QAction*>("mnuSPGUndo")->trigger();
    EXPECT_EQ(window->Cell(0).Marks().MovedTo(), "");

    // A zero-length file and a float file (refused unless asked for), each
    // loaded into a cell that showed a good recording.
    const std::string floats = incoming.Path("float.wav");
    ASSERT_TRUE(corvane::WritePcmWave(floats, 1, 48000, 32, std::vector<std::uint8_t>(400, 0)));
    QFile patch(Q(floats));
    ASSERT_TRUE(patch.open(QIODevice::ReadWrite));
    patch.seek(20);
    patch.write(QByteArray("\x03\x00", 2));  // format tag 3: IEEE float
    patch.close();
    // The hatch names the reason; for a float file, where to ask for it to be read.
    const std::pair<std::string, QString> refused[] = {
        {incoming.WriteText("zero.wav", ""), "empty file"},
        {floats, "32-bit float: Preferences > Recordings"}};
    for (const auto& [name, text] : refused) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(window->Cell(1).Marks().IsUnreadable());
        window->Cell(1).SetFilename(Q(name));
        TakeInLoad(1);
        EXPECT_TRUE(window->Cell(1).Marks().IsUnreadable());
        EXPECT_EQ(window->Cell(1).Marks().UnreadableText(), text);
        window->Cell(1).SetFilename(inbox + "/r1.wav");
        TakeInLoad(1);
    }
    EXPECT_FALSE(window->Cell(1).Marks().IsUnreadable());
}

// A picture of less than the whole recording says so on its cell and in the
// bar, and says no more once the whole recording is shown.
TEST_F(StatusBar, APartialPictureIsMarkedOnItsCellAndInTheBar) {
    const std::string twoSeconds = incoming.Path("long.wav");
    ASSERT_TRUE(corvane::WriteMono16Wave(twoSeconds, 48000, std::vector<std::int16_t>(96000, 7)));
    Select(1);
    window->Cell(1).SetFilename(Q(twoSeconds));
    TakeInLoad(1);
    EXPECT_EQ(window->Cell(1).Marks().PartialLength(), "1.0 / 2.0 s");
    EXPECT_TRUE(window->Cell(1).Marks().isVisible());
    EXPECT_EQ(status->RecordingText(),
              "long.wav: 2.00 s, 48000 Hz, 1 channel, 16 bits; the "
              "picture shows the first 1.00 s of 2.00 s");
    EXPECT_EQ(window->Cell(0).Marks().PartialLength(), "");  // a whole two-sample recording
    EXPECT_FALSE(window->Cell(0).Marks().isVisible());

    // Moved, it is marked with both, each in its own corner.
    Press(Qt::Key_A);
    EXPECT_EQ(window->Cell(1).Marks().MovedTo(), "a");
    EXPECT_EQ(window->Cell(1).Marks().PartialLength(), "1.0 / 2.0 s");

    window->findChild<QAction*>("mnuSPGFieldView")->trigger();
    TakeInLoad(1);
    EXPECT_EQ(window->Cell(1).Marks().PartialLength(), "");
    EXPECT_EQ(status->RecordingText(), "long.wav: 2.00 s, 48000 Hz, 1 channel, 16 bits");
    window->findChild<QAction*>("mnuSPGFieldView")->trigger();
    TakeInLoad(1);
    EXPECT_EQ(window->Cell(1).Marks().PartialLength(), "1.0 / 2.0 s");

    window->Cell(1).SetFilename(Q(incoming.WriteText("zero.wav", "")));
    TakeInLoad(1);
    EXPECT_EQ(window->Cell(1).Marks().PartialLength(), "");
    EXPECT_TRUE(window->Cell(1).Marks().IsUnreadable());
    window->Cell(1).SetFilename(QString());
    EXPECT_EQ(window->Cell(1).Marks().PartialLength(), "");
}

TEST(StatusText, PartialLengthInSecondsPreciseEnoughToTellShownFromRecorded) {
    StatusText::RecordingInfo info;
    info.loaded = true;
    info.sampleRate = 48000;
    info.channels = 1;
    info.bitsPerSample = 16;
    info.loadedFrames = 48000;
    info.totalFrames = 384000;
    EXPECT_EQ(StatusText::PartialLengthMark(info), "1.0 / 8.0 s");
    // A picture a hundredth of a second short must not read as the whole.
    info.totalFrames = 48480;
    EXPECT_EQ(StatusText::PartialLengthMark(info), "1.00 / 1.01 s");
    EXPECT_EQ(StatusText::Recording("/r/x.wav", info),
              "x.wav: 1.01 s, 48000 Hz, 1 channel, 16 bits; the picture shows the first 1.00 s "
              "of 1.01 s");
    info.totalFrames = 48000;
    EXPECT_EQ(StatusText::PartialLengthMark(info), "");
    EXPECT_EQ(StatusText::Recording("/r/x.wav", info),
              "x.wav: 1.00 s, 48000 Hz, 1 channel, 16 bits");
    info.totalFrames = 384000;
    info.loaded = false;
    EXPECT_EQ(StatusText::PartialLengthMark(info), "");
}

TEST_F(StatusBar, MessagesFadeWhileTheRecordingAndFolderStay) {
    Select(1);
    const QString recording = status->RecordingText();
    ASSERT_FALSE(recording.isEmpty());
    QTimer& fade = status->MessageTimer();
    EXPECT_FALSE(fade.isActive());
    status->ShowMessage("Could not play r1.wav: no sound device");
    EXPECT_EQ(status->MessageText(), "Could not play r1.wav: no sound device");
    EXPECT_TRUE(fade.isActive());
    EXPECT_EQ(fade.interval(), MainStatusBar::FadeMilliseconds);
    EXPECT_EQ(status->RecordingText(), recording);
    EXPECT_EQ(status->NextBatchText(), Left(8));
    QMetaObject::invokeMethod(&fade, "timeout");
    EXPECT_EQ(status->MessageText(), "");
    EXPECT_EQ(status->RecordingText(), recording);

    // One that waits for a keystroke is left alone by the end of a sound.
    status->ShowMessage("r1.wav was not moved to /x/", MainStatusBar::Lasting::UntilKeystroke);
    EXPECT_FALSE(fade.isActive());
    status->ClearFadingMessage();
    EXPECT_EQ(status->MessageText(), "r1.wav was not moved to /x/");
}

TEST_F(StatusBar, AKeyThatTypesButIsNotBoundSaysHowToBindIt) {
    Select(1);
    Press(Qt::Key_B);
    EXPECT_EQ(status->MessageText(), "B key is not bound: Spectrogram > Set keystroke directory");
    EXPECT_TRUE(status->MessageTimer().isActive());
    QTest::keyClick(window->SelectedCell()->Sonolux1(), Qt::Key_7, Qt::ShiftModifier);
    EXPECT_EQ(status->MessageText(),
              "SHIFT+7 key is not bound: Spectrogram > Set keystroke directory");
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Left, Qt::Key_Escape, Qt::Key_Home,
                              Qt::Key_PageDown, Qt::Key_F5, Qt::Key_Control, Qt::Key_Return}) {
        Press(key);
        EXPECT_EQ(status->MessageText(), "") << key;
    }
    QTest::keyClick(window->SelectedCell()->Sonolux1(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(status->MessageText(), "");
    // A bound key classifies and says nothing of the kind.
    Select(1);
    Press(Qt::Key_A);
    EXPECT_EQ(window->Cell(1).Filename(), a + "r1.wav");
    EXPECT_EQ(status->MessageText(), "");
}

TEST_F(StatusBar, ProgressOfTheFolderShowsFromTheTenthMove) {
    for (int i = 8; i < 13; ++i)
        incoming.WriteWave(QStringLiteral("r%1.wav").arg(i).toStdString(), {1, short(i)});
    window->SetClassifyKey(0x71, 0, true, a);  // F2: every visible recording to a
    Select(0);
    Press(Qt::Key_F2);
    EXPECT_EQ(status->ProgressText(), "");
    window->findChild<QAction*>("mnuFileNextBatch")->trigger();
    Select(0);
    Press(Qt::Key_F2);
    EXPECT_TRUE(status->ProgressText().startsWith("12 sorted this session, 1 left, "))
        << status->ProgressText().toStdString();
    window->findChild<QAction*>("mnuSPGUndo")->trigger();
    EXPECT_EQ(status->ProgressText(), "");
}

TEST(StatusText, PointerReadoutFromRateFramesAndCellSize) {
    // Read at the middle of the pixel. 48000 frames at 48 kHz span 1 s across,
    // and the top is 24 kHz.
    EXPECT_EQ(StatusText::Pointer({39, 0}, {80, 60}, 48000, 48000), "0.49 s, 23.8 kHz");
    EXPECT_EQ(StatusText::Pointer({119, 59}, {160, 120}, 48000, 48000), "0.75 s, 12.1 kHz");
    // At 22.05 kHz the same frames span 2.18 s, and the top is 11.025 kHz.
    EXPECT_EQ(StatusText::Pointer({0, 30}, {80, 60}, 22050, 48000), "0.01 s, 5.4 kHz");
    EXPECT_EQ(StatusText::Pointer({159, 0}, {160, 120}, 22050, 48000), "2.17 s, 11.0 kHz");
    EXPECT_EQ(StatusText::Pointer({10, 10}, {80, 60}, 0, 0), "");
}

namespace {

// A mover whose every move completes with a warning, as a copy across file
// systems does when another program takes the original away meanwhile.
struct WarningMover : IFileMover {
    MoveResult MoveFile(const QString& source, const QString& destination) override {
        MoveResult moved = real.MoveFile(source, destination);
        moved.warning = "vanished: " + moved.path;
        return moved;
    }
    FileMover real;
};

}  // namespace

// The move happened: it counts, it can be undone, the cell follows it; the
// warning stands in the status bar instead of a box that stops the sorting.
TEST_F(StatusBar, AMoveWithAWarningCountsAndSaysSoWithoutAMessageBox) {
    WarningMover mover;
    frmMain warned(MainWindowServices{messages, fileDialog, mover, fileWriter, settings,
                                      LoadedControlModule(), ScreenDpi{96, 96}});
    warned.show();
    QApplication::setActiveWindow(&warned);
    warned.SetClassifyKey(0x41, 0, false, a);
    fileDialog.answers.push_back(inbox + "/r0.wav");
    warned.findChild<QAction*>("mnuFileMany")->trigger();
    warned.findChild<QAction*>("mnuSPGTab")->trigger();
    warned.Cell(0).GiveFocus();
    QCoreApplication::processEvents();
    QTest::keyClick(warned.SelectedCell()->Sonolux1(), Qt::Key_A);

    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join("|").toStdString();
    EXPECT_EQ(warned.findChild<MainStatusBar*>()->MessageText(), "vanished: " + a + "r0.wav");
    EXPECT_EQ(warned.Cell(0).Filename(), a + "r0.wav");
    EXPECT_EQ(warned.findChild<QAction*>("mnuSPGUndo")->text(), "&Undo Classify r0.wav");
    EXPECT_EQ(warned.findChild<MainStatusBar*>()->NextBatchText(), Left(7));
}

namespace {

int PicturesPending(frmMain& window) {
    int pending = 0;
    for (int i = 0; i < window.LoadedCellCount(); ++i)
        pending += window.Cell(i).IsPicturePending() ? 1 : 0;
    return pending;
}

// The module's workers post each finished picture to its control: waits for those
// events (never for a time) until no cell waits any more, or gives up after many.
void WaitForPictures(frmMain& window) {
    for (int i = 0; i < 10000 && PicturesPending(window) > 0; ++i)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace

TEST_F(StatusBar, SaysHowManySpectrogramsAreStillBeingDrawn) {
    EXPECT_EQ(StatusText::StillBeingDrawn(0), "");
    EXPECT_EQ(StatusText::StillBeingDrawn(1), "1 still being drawn");
    WaitForPictures(*window);
    ASSERT_EQ(PicturesPending(*window), 0);
    // Drawn off the window thread, finished pictures come back through the event
    // loop: a paint that processes no events leaves them all waiting.
    window->findChild<QAction*>("mnuSPGFieldView")->trigger();
    window->repaint();
    const int pending = PicturesPending(*window);
    EXPECT_EQ(pending, window->VisibleCellCount());
    EXPECT_GE(pending, 6);
    EXPECT_EQ(status->DrawingText(), QStringLiteral("%1 still being drawn").arg(pending));

    WaitForPictures(*window);
    EXPECT_EQ(PicturesPending(*window), 0);
    EXPECT_EQ(status->DrawingText(), "");
}

// Counts that fall within one frame show the first at once and the frame's
// last at its end; a rise, the end and a count shown outright show at once. No
// timer fires outside the event loop, so nothing here depends on how fast it runs.
TEST(FallingCountTest, ShowsAFallingCountOnceAFrameAndARiseOrTheEndAtOnce) {
    std::vector<int> shown;
    FallingCount count([&](int value) { shown.push_back(value); });
    count.Set(10);
    count.Set(9);
    count.Set(8);
    count.Set(7);
    EXPECT_EQ(shown, (std::vector<int>{10, 9}));
    for (int i = 0; i < 1000 && shown.back() != 7; ++i)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(shown, (std::vector<int>{10, 9, 7}));
    count.Set(6);
    count.Set(12);
    count.Set(11);
    count.Set(0);
    EXPECT_EQ(shown, (std::vector<int>{10, 9, 7, 12, 0}));
    // A batch's count, within a falling frame, replaces the fall that waits.
    count.Set(8);
    count.Set(6);
    count.Show(4);
    EXPECT_EQ(shown, (std::vector<int>{10, 9, 7, 12, 0, 8, 4}));
}

// Next Batch leaves the reading of its recordings to the controls' workers: a
// cell is marked once its load is taken in, and a keystroke before any event
// has run moves the selected recording, which its cell follows unread.
TEST_F(StatusBar, NextBatchMarksCellsAsTheirLoadsArriveAndAKeystrokeMovesAtOnce) {
    const std::string twoSeconds = incoming.Path("q-long.wav");
    ASSERT_TRUE(corvane::WriteMono16Wave(twoSeconds, 48000, std::vector<std::int16_t>(96000, 7)));
    const QString zero = Q(incoming.WriteText("q-zero.wav", ""));
    Select(0);
    window->findChild<QAction*>("mnuFileNextBatch")->trigger();
    const auto cellOf = [this](const QString& path) -> SonoluxBord* {
        for (int i = 0; i < window->VisibleCellCount(); ++i)
            if (window->Cell(i).Filename() == path) return &window->Cell(i);
        return nullptr;
    };
    SonoluxBord* const longCell = cellOf(Q(twoSeconds));
    SonoluxBord* const zeroCell = cellOf(zero);
    ASSERT_NE(longCell, nullptr);
    ASSERT_NE(zeroCell, nullptr);
    ASSERT_EQ(window->SelectedCell(), longCell);
    // The bar counts what the filled batch waits for, once it is filled.
    const int waiting = PicturesPending(*window);
    EXPECT_GT(waiting, 1);
    EXPECT_EQ(status->DrawingText(), StatusText::StillBeingDrawn(waiting));
    // Nothing but the selected cell's status line has asked what was found.
    ASSERT_TRUE(zeroCell->Sonolux1()->property("LoadPending").toBool());
    EXPECT_FALSE(zeroCell->Marks().IsUnreadable());

    const QVariant reads = longCell->Sonolux1()->property("FileReads");
    Press(Qt::Key_A);
    EXPECT_TRUE(QFile::exists(a + "q-long.wav"));
    EXPECT_FALSE(QFile::exists(Q(twoSeconds)));
    EXPECT_EQ(longCell->Filename(), a + "q-long.wav");
    EXPECT_TRUE(longCell->IsLoaded());
    EXPECT_EQ(longCell->Sonolux1()->property("FileReads"), reads);
    EXPECT_EQ(longCell->Marks().MovedTo(), "a");
    EXPECT_EQ(longCell->Marks().PartialLength(), "1.0 / 2.0 s");

    for (int i = 0; i < window->VisibleCellCount(); ++i) TakeInLoad(i);
    EXPECT_TRUE(zeroCell->Marks().IsUnreadable());
    EXPECT_EQ(zeroCell->Marks().UnreadableText(), "empty file");
    for (int i = 0; i < window->VisibleCellCount(); ++i) {
        if (&window->Cell(i) == zeroCell) continue;
        EXPECT_FALSE(window->Cell(i).Marks().IsUnreadable()) << i;
        EXPECT_FALSE(window->Cell(i).Sonolux1()->property("LoadPending").toBool()) << i;
    }
}

// The count of pictures still being drawn comes and goes in every batch, and
// the fields beside it change width with it: each must then show what it would
// show drawn anew at its new width, whole or cut with "...".
TEST(StatusFieldTest, ShowsItsTextAsDrawnAnewWhenTheBarMakesRoomOrTakesItAway) {
    const auto makeBar = [](MainStatusBar& bar) {
        bar.resize(900, 24);
        bar.show();
        QCoreApplication::processEvents();
    };
    const auto field = [](MainStatusBar& bar) { return bar.findChild<QWidget*>("lblRecording"); };
    const auto settle = [] { QCoreApplication::processEvents(); };
    // The count as it shows once drawing has lasted.
    const auto showDrawing = [](MainStatusBar& bar, const QString& text) {
        bar.ShowDrawing(text);
        if (bar.DrawingTimer().isActive())
            QMetaObject::invokeMethod(&bar.DrawingTimer(), "timeout");
    };

    MainStatusBar bar;
    makeBar(bar);
    bar.ShowRecording("x");
    const int wide = field(bar)->width();
    showDrawing(bar, "300 still being drawn");
    settle();
    const int narrow = field(bar)->width();
    ASSERT_LT(narrow, wide);
    // A name that fits the wide field but not the narrow one.
    QString name = "r";
    while (field(bar)->fontMetrics().horizontalAdvance(name) < (narrow + wide) / 2) name += "0";
    showDrawing(bar, "");
    settle();
    bar.ShowRecording(name);
    const QImage wholeFirst = field(bar)->grab().toImage();

    for (const QString& drawing : {QString("300 still being drawn"), QString()}) {
        showDrawing(bar, drawing);
        settle();
        MainStatusBar fresh;
        makeBar(fresh);
        showDrawing(fresh, drawing);
        fresh.ShowRecording(name);
        settle();
        ASSERT_EQ(field(fresh)->size(), field(bar)->size());
        EXPECT_EQ(field(bar)->grab().toImage(), field(fresh)->grab().toImage())
            << (drawing.isEmpty() ? "room made again" : "room taken away");
    }
    EXPECT_EQ(field(bar)->grab().toImage(), wholeFirst);
}

// A count that ends before the delay never shows; one that lasts shows until
// nothing is left to draw.
TEST(StatusFieldTest, TheCountOfPicturesShowsOnlyOnceDrawingLasts) {
    MainStatusBar bar;
    bar.resize(900, 24);
    bar.show();
    const QWidget* count = bar.findChild<QWidget*>("lblDrawing");
    QTimer& delay = bar.DrawingTimer();

    bar.ShowDrawing("300 still being drawn");
    EXPECT_EQ(bar.DrawingText(), "300 still being drawn");
    EXPECT_FALSE(count->isVisible());
    EXPECT_TRUE(delay.isActive());
    EXPECT_EQ(delay.interval(), MainStatusBar::DrawingDelayMilliseconds);
    bar.ShowDrawing("");
    EXPECT_FALSE(delay.isActive());
    EXPECT_FALSE(count->isVisible());

    bar.ShowDrawing("12 still being drawn");
    QMetaObject::invokeMethod(&delay, "timeout");
    EXPECT_TRUE(count->isVisible());
    bar.ShowDrawing("3 still being drawn");
    EXPECT_TRUE(count->isVisible());
    EXPECT_EQ(bar.DrawingText(), "3 still being drawn");
    bar.ShowDrawing("");
    EXPECT_FALSE(count->isVisible());
}
