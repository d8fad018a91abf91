#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>

#include "core/CorvaneError.h"
#include "files/FileSystem.h"
#include "tests/classifier/mocks/MainWindowFixture.h"
#include "tests/support/TempFolder.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A folder of `count` recordings named r00.wav, r01.wav, ...
QString MakeRecordings(TempFolder& folder, int count) {
    for (int i = 0; i < count; ++i) {
        folder.WriteWave(QStringLiteral("r%1.wav").arg(i, 2, 10, QLatin1Char('0')).toStdString());
    }
    return Q(folder.Path());
}

QString Recording(const QString& folder, int i) {
    return folder + QStringLiteral("/r%1.wav").arg(i, 2, 10, QLatin1Char('0'));
}

}  // namespace

using MainWindow = MainWindowFixture;

TEST_F(MainWindow, FirstStartShowsFiveByFiveEmptyGridWithCellZeroSelected) {
    EXPECT_EQ(window->windowTitle(), "Corvane");
    EXPECT_EQ(window->ClientArea()->size(), QSize(526, 335));  // 7890 x 5025 twips
    EXPECT_EQ(window->GridColumns(), 5);
    EXPECT_EQ(window->GridRows(), 5);
    EXPECT_EQ(window->LoadedCellCount(), 25);
    std::int32_t width = 0, height = 0;
    window->GetCellSize(width, height);
    EXPECT_EQ(width, 1500);
    EXPECT_EQ(height, 1000);
    EXPECT_EQ(window->Cell(0).Left(), 195);
    EXPECT_EQ(window->Cell(0).Top(), 12);
    EXPECT_EQ(window->Cell(7).Left(), 3195);
    EXPECT_EQ(window->Cell(7).Top(), 1012);
    EXPECT_EQ(window->Cell(7).pos(), QPoint(213, 67));  // 3195 / 15, 1012 / 15 rounded
    for (int i = 0; i < 25; ++i) {
        EXPECT_TRUE(window->Cell(i).isVisible()) << i;
        EXPECT_EQ(window->Cell(i).Filename(), "") << i;
    }
    ASSERT_NE(window->SelectedCell(), nullptr);
    EXPECT_EQ(window->SelectedCell()->Index(), 0);
}

TEST_F(MainWindow, ShrinkingHidesButKeepsCellsAndGrowingShowsTheirRecordingsAgain) {
    TempFolder folder;
    const QString root = MakeRecordings(folder, 25);
    fileDialog.answers.push_back(Recording(root, 3));
    window->mnuFileMany_Click();
    ASSERT_EQ(window->Cell(24).Filename(), Recording(root, 24));

    ResizeClient(4600 / 15, 2100 / 15);  // 306 x 140 px: a 3 x 2 grid
    EXPECT_EQ(window->GridColumns(), 3);
    EXPECT_EQ(window->GridRows(), 2);
    for (int i = 0; i < 25; ++i) EXPECT_EQ(window->Cell(i).isVisible(), i < 6) << i;
    EXPECT_EQ(window->LoadedCellCount(), 25);

    ResizeClient(90, 300);  // narrower than one cell
    EXPECT_EQ(window->GridColumns(), 0);
    EXPECT_TRUE(window->Cell(0).isVisible());
    // Cell 0 stays where the 3 x 2 grid put it: 4590 - 4500 and 2100 - 2000 twips halved.
    EXPECT_EQ(window->Cell(0).Left(), 45);
    EXPECT_EQ(window->Cell(0).Top(), 50);
    for (int i = 1; i < 25; ++i) EXPECT_FALSE(window->Cell(i).isVisible()) << i;

    ResizeClient(526, 335);
    for (int i = 0; i < 25; ++i) {
        EXPECT_TRUE(window->Cell(i).isVisible()) << i;
        EXPECT_EQ(window->Cell(i).Filename(), Recording(root, i)) << i;
    }
}

TEST_F(MainWindow, BatchTakesLowerCaseWaveFilesInNameOrder) {
    TempFolder folder;
    folder.WriteWave("c.wav");
    folder.WriteText("notes.txt", "x");
    folder.WriteWave("B.WAV");
    folder.WriteWave("a.wav");
    const QString root = Q(folder.Path());
    fileDialog.answers.push_back(root + "/c.wav");
    window->mnuFileMany_Click();
    EXPECT_EQ(window->Cell(0).Filename(), root + "/a.wav");
    EXPECT_EQ(window->Cell(1).Filename(), root + "/c.wav");
    EXPECT_EQ(window->Cell(2).Filename(), "");
    EXPECT_EQ(window->Dialog().FileName, root + "/c.wav");
    ASSERT_EQ(fileDialog.requests.size(), 1u);
    EXPECT_EQ(fileDialog.requests[0].filter, "Wave files (*.wav)");
    EXPECT_TRUE(fileDialog.requests[0].fileMustExist);
}

TEST_F(MainWindow, BatchSaysOnceHowManyWaveFilesItSkippedForTheirNames) {
    TempFolder folder;
    folder.WriteWave("caf\xe9.wav");
    folder.WriteWave("\xe9t\xe9.wav");
    folder.WriteWave("good.wav");
    const QString root = Q(folder.Path());
    fileDialog.answers.push_back(root + "/good.wav");
    window->mnuFileMany_Click();
    EXPECT_EQ(window->Cell(0).Filename(), root + "/good.wav");
    EXPECT_EQ(window->Cell(1).Filename(), "");
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], "2 wave files in \"" + root +
                                     "\" were skipped: their names are not valid UTF-8 text, so "
                                     "Corvane cannot show or move them safely. Rename them to "
                                     "sort them.");
    window->mnuFileNextBatch_Click();
    EXPECT_EQ(messages.texts.size(), 2);
}

TEST_F(MainWindow, NextBatchShowsWhatIsLeftAfterTheFirstBatchWasMovedAway) {
    TempFolder folder;
    TempFolder elsewhere;
    const QString root = MakeRecordings(folder, 30);
    fileDialog.answers.push_back(Recording(root, 0));
    window->mnuFileMany_Click();
    for (int i = 0; i < 25; ++i) ASSERT_EQ(window->Cell(i).Filename(), Recording(root, i));

    for (int i = 0; i < 25; ++i) {
        const QString name = QStringLiteral("r%1.wav").arg(i, 2, 10, QLatin1Char('0'));
        ASSERT_TRUE(QFile::rename(Recording(root, i), Q(elsewhere.Path()) + "/" + name));
    }
    window->mnuFileNextBatch_Click();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(window->Cell(i).Filename(), Recording(root, 25 + i)) << i;
    for (int i = 5; i < 25; ++i) EXPECT_EQ(window->Cell(i).Filename(), "") << i;
    EXPECT_EQ(fileDialog.requests.size(), 1u);  // Next Batch asks nothing

    // Once the folder is empty, Next Batch empties the grid without a word.
    for (int i = 25; i < 30; ++i) ASSERT_TRUE(QFile::remove(Recording(root, i)));
    window->mnuFileNextBatch_Click();
    for (int i = 0; i < 25; ++i) EXPECT_EQ(window->Cell(i).Filename(), "") << i;
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(MainWindow, OpenManyKeepsOlderRecordingsBeyondTheNewBatchUntilNextBatch) {
    TempFolder first;
    TempFolder second;
    const QString firstRoot = MakeRecordings(first, 25);
    const QString secondRoot = MakeRecordings(second, 2);
    fileDialog.answers.push_back(Recording(firstRoot, 0));
    window->mnuFileMany_Click();
    fileDialog.answers.push_back(Recording(secondRoot, 1));
    window->mnuFileMany_Click();
    EXPECT_EQ(window->Cell(0).Filename(), Recording(secondRoot, 0));
    EXPECT_EQ(window->Cell(1).Filename(), Recording(secondRoot, 1));
    for (int i = 2; i < 25; ++i)
        EXPECT_EQ(window->Cell(i).Filename(), Recording(firstRoot, i)) << i;

    window->mnuFileNextBatch_Click();
    EXPECT_EQ(window->Cell(1).Filename(), Recording(secondRoot, 1));
    for (int i = 2; i < 25; ++i) EXPECT_EQ(window->Cell(i).Filename(), "") << i;
}

TEST_F(MainWindow, NextBatchWithEmptyDialogPathAsksLikeOpenMany) {
    TempFolder folder;
    const QString root = MakeRecordings(folder, 3);
    fileDialog.answers.push_back(Recording(root, 2));
    window->findChild<QAction*>("mnuFileNextBatch")->trigger();
    ASSERT_EQ(fileDialog.requests.size(), 1u);
    EXPECT_EQ(fileDialog.requests[0].mode, FileDialogRequest::Mode::Open);
    EXPECT_EQ(window->Cell(0).Filename(), Recording(root, 0));
    EXPECT_EQ(window->Cell(2).Filename(), Recording(root, 2));
}

TEST_F(MainWindow, CancelledDialogChangesNothing) {
    TempFolder folder;
    const QString root = MakeRecordings(folder, 3);
    fileDialog.answers.push_back(Recording(root, 0));
    window->mnuFileMany_Click();
    fileDialog.answers.push_back(std::nullopt);
    window->mnuFileOpen_Click();
    fileDialog.answers.push_back(std::nullopt);
    window->mnuFileMany_Click();
    EXPECT_EQ(window->Dialog().FileName, Recording(root, 0));
    EXPECT_EQ(window->Cell(0).Filename(), Recording(root, 0));
    EXPECT_EQ(window->Cell(3).Filename(), "");
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(MainWindow, OpenLoadsTheChosenFileIntoTheSelectedCell) {
    TempFolder folder;
    const QString root = MakeRecordings(folder, 2);
    QApplication::setActiveWindow(window.get());
    window->Cell(6).GiveFocus();
    QCoreApplication::processEvents();
    ASSERT_EQ(window->SelectedCell(), &window->Cell(6));
    fileDialog.answers.push_back(Recording(root, 1));
    window->mnuFileOpen_Click();
    EXPECT_EQ(window->Cell(6).Filename(), Recording(root, 1));
    EXPECT_EQ(window->Cell(0).Filename(), "");
    // The chosen file's folder is where Next Batch refills from.
    window->mnuFileNextBatch_Click();
    EXPECT_EQ(window->Cell(0).Filename(), Recording(root, 0));
    EXPECT_EQ(window->Cell(6).Filename(), "");
}

TEST_F(MainWindow, UnchangedCellSizeDoesNoLayout) {
    window->Cell(3).SetLeft(-999);
    window->UpdateCellSizes(1500, 1000, true);
    EXPECT_EQ(window->Cell(3).Left(), -999);
    window->UpdateCellSizes(1000, 1000);
    EXPECT_EQ(window->GridColumns(), 7);
    EXPECT_EQ(window->LoadedCellCount(), 35);
    EXPECT_EQ(window->Cell(3).Left(), 3 * 1000 + (7890 - 7000) / 2);
}

TEST_F(MainWindow, NonPositiveCellSizeLeavesOnlyCellZero) {
    window->UpdateCellSizes(0, 1000);
    EXPECT_EQ(window->VisibleCellCount(), 0);
    EXPECT_TRUE(window->Cell(0).isVisible());
    EXPECT_FALSE(window->Cell(1).isVisible());
    window->UpdateCellSizes(1500, -5);
    EXPECT_EQ(window->VisibleCellCount(), 0);
}

TEST_F(MainWindow, NewCellsTakeTheParameterSetAndPlayOfTheOthers) {
    window->Cell(0).UpdateSPGParams(2, 1, 100, 3, 110, 10);
    window->findChild<QAction*>("mnuSPGPlay")->trigger();
    window->UpdateCellSizes(750, 500);  // a larger grid creates cells
    ASSERT_GT(window->LoadedCellCount(), 25);
    SonoluxBord& fresh = window->Cell(window->LoadedCellCount() - 1);
    std::int32_t fft = 0, frame = 0, hop = 0, function = 0;
    float powerMax = 0, powerMin = 0;
    fresh.GetSPGParams(fft, frame, hop, function, powerMax, powerMin);
    EXPECT_EQ(fft, 2);
    EXPECT_EQ(hop, 100);
    EXPECT_EQ(function, 3);
    EXPECT_FLOAT_EQ(powerMin, 10);
    EXPECT_EQ(fresh.Sonolux1()->property("PlayOnClick").toInt(), -1);
}

TEST_F(MainWindow, PlayTogglesEveryCellHiddenOnesIncluded) {
    QAction* play = window->findChild<QAction*>("mnuSPGPlay");
    ASSERT_NE(play, nullptr);
    EXPECT_FALSE(play->isChecked());
    ResizeClient(306, 140);  // cells 6 to 24 hidden
    play->trigger();
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(window->Cell(i).Sonolux1()->property("PlayOnClick").toInt(), -1) << i;
    play->trigger();
    EXPECT_FALSE(play->isChecked());
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(window->Cell(i).Sonolux1()->property("PlayOnClick").toInt(), 0) << i;
}

TEST_F(MainWindow, CommandLineFolderOrFileFillsTheFirstBatch) {
    TempFolder folder;
    const QString root = MakeRecordings(folder, 3);
    window->OpenFromCommandLine(root);
    EXPECT_EQ(window->Cell(0).Filename(), Recording(root, 0));
    EXPECT_EQ(window->Cell(2).Filename(), Recording(root, 2));
    EXPECT_EQ(FileSystem::GetParentFolderName(window->Dialog().FileName), root);

    QFile::remove(Recording(root, 0));
    window->OpenFromCommandLine(Recording(root, 2));
    EXPECT_EQ(window->Dialog().FileName, Recording(root, 2));
    EXPECT_EQ(window->Cell(0).Filename(), Recording(root, 1));
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(MainWindow, CommandLinePathThatDoesNotExistIsReported) {
    window->OpenFromCommandLine("/no/such/place.wav");
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], "\"/no/such/place.wav\" does not exist.");
    EXPECT_EQ(window->Cell(0).Filename(), "");
    EXPECT_EQ(window->Dialog().FileName, "");
}

namespace {

// A module that can make only a few controls, as when memory runs out.
struct FewControls : ControlModule {
    int left = 0;
    QWidget* CreateControl(QWidget* parent) override {
        if (left <= 0) return nullptr;
        --left;
        return ControlModule::CreateControl(parent);
    }
};

}  // namespace

TEST_F(MainWindow, ControlThatCannotBeMadeIsReportedOnceAndTheGridGrowsNoFurther) {
    FewControls controls;
    ASSERT_NO_THROW(controls.Load(sonolux::CLSID_Sonolux, QCoreApplication::applicationDirPath()));
    controls.left = 7;
    messages.texts.clear();
    frmMain small(MainWindowServices{messages, fileDialog, fileMover, fileWriter, settings,
                                     controls, ScreenDpi{96, 96}});
    small.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(small.LoadedCellCount(), 7);
    EXPECT_EQ(small.GridColumns(), 5);  // of the 5 x 5 that would fit
    EXPECT_EQ(small.GridRows(), 1);
    small.resize(small.size() * 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(small.LoadedCellCount(), 7);
    EXPECT_EQ(messages.texts, QStringList({"The spectrogram control cannot be created."}));

    TempFolder folder;
    const QString root = MakeRecordings(folder, 30);
    fileDialog.answers.push_back(Recording(root, 0));
    small.mnuFileMany_Click();
    EXPECT_EQ(small.Cell(small.VisibleCellCount() - 1).Filename(),
              Recording(root, small.VisibleCellCount() - 1));
}

TEST_F(MainWindow, OnlyACancelledDialogEndsACommandSilently) {
    // A dialog that fails is no refusal of the user's: its error must reach them.
    fileDialog.failure = CorvaneError(7, "Out of memory");
    EXPECT_THROW(window->mnuFileOpen_Click(), CorvaneError);
    EXPECT_THROW(window->mnuFileMany_Click(), CorvaneError);
    EXPECT_THROW(window->mnuFileNextBatch_Click(), CorvaneError);
    EXPECT_THROW(window->mnuSPGKeystroke_Click(), CorvaneError);
    EXPECT_THROW(window->mnuFileKeyListImport_Click(), CorvaneError);
    EXPECT_THROW(window->mnuFileKeyListExport_Click(), CorvaneError);
    EXPECT_EQ(window->KeystrokeDialog(), nullptr);
}
