#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "keys/ui/frmKeystroke.h"
#include "tests/classifier/mocks/MainWindowFixture.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempFolder.h"

namespace {

// A main window with a 3 x 2 grid, Tab after Classify as given, and recordings in
// a folder of their own.
struct Classification : MainWindowFixture {
    void SetUp() override {
        MainWindowFixture::SetUp();
        QApplication::setActiveWindow(window.get());
        ResizeClient(306, 140);  // 4590 x 2100 twips: 3 x 2 cells of 1500 x 1000
        inbox = Q(incoming.Path());
    }

    // Puts a recording named `name` into cell `index`.
    QString Load(int index, const QString& name) {
        const QString path =
            Q(incoming.WriteWave(name.toStdString(), {1, 2, static_cast<short>(index)}));
        window->Cell(index).SetFilename(path);
        return path;
    }

    void Select(int index) {
        window->Cell(index).GiveFocus();
        QCoreApplication::processEvents();
        ASSERT_EQ(window->SelectedCell(), &window->Cell(index));
    }

    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = window->SelectedCell() ? window->SelectedCell()->Sonolux1()
                                                 : window->Cell(0).Sonolux1();
        QTest::keyClick(target, key, modifiers);
    }

    void SetTabAfterClassify(bool on) {
        QAction* tab = window->findChild<QAction*>("mnuSPGTab");
        if (tab->isChecked() != on) tab->trigger();
    }

    TempFolder incoming;
    TempFolder sorted;
    QString inbox;
};

}  // namespace

TEST_F(Classification, SelectionKeystrokeMovesTheFileAndTabsOn) {
    const QString a = Q(sorted.MakeFolder("a")) + "/";
    window->SetClassifyKey(0x41, 2, false, a);
    SetTabAfterClassify(true);
    const QByteArray recording = FileBytes(Load(2, "x.wav"));
    Select(2);
    Press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(QFile::exists(inbox + "/x.wav"));
    EXPECT_EQ(FileBytes(a + "x.wav"), recording);
    EXPECT_EQ(window->Cell(2).Filename(), a + "x.wav");
    // The cell follows its recording without reading it again.
    EXPECT_EQ(window->Cell(2).Sonolux1()->property("FileReads"), QVariant(1));
    EXPECT_EQ(window->SelectedCell(), &window->Cell(3));
    EXPECT_TRUE(messages.texts.isEmpty());

    // From the last visible cell the selection wraps to cell 0.
    Load(5, "y.wav");
    Select(5);
    Press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(window->Cell(5).Filename(), a + "y.wav");
    EXPECT_EQ(window->SelectedCell(), &window->Cell(0));
}

TEST_F(Classification, WithoutTabAfterClassifyTheSelectionStays) {
    const QString a = Q(sorted.MakeFolder("a")) + "/";
    window->SetClassifyKey(0x41, 2, false, a);
    Load(2, "x.wav");
    Select(2);
    Press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(window->Cell(2).Filename(), a + "x.wav");
    EXPECT_EQ(window->SelectedCell(), &window->Cell(2));
}

TEST_F(Classification, EmptyCellIsSkippedButTheSelectionStillAdvances) {
    window->SetClassifyKey(0x41, 2, false, Q(sorted.MakeFolder("a")) + "/");
    SetTabAfterClassify(true);
    Select(1);
    Press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(window->SelectedCell(), &window->Cell(2));
}

TEST_F(Classification, AllVisibleKeystrokeMovesEveryRecordingAndSkipsEmptyCells) {
    const QString b = Q(sorted.MakeFolder("b")) + "/";
    window->SetClassifyKey(0x70, 0, true, b);
    Load(0, "r0.wav");
    Load(1, "r1.wav");
    Load(3, "r3.wav");
    Select(4);
    Press(Qt::Key_F1);
    EXPECT_TRUE(messages.texts.isEmpty());
    for (int i : {0, 1, 3}) {
        const QString name = QStringLiteral("r%1.wav").arg(i);
        EXPECT_EQ(window->Cell(i).Filename(), b + name);
        EXPECT_TRUE(QFile::exists(b + name));
        EXPECT_FALSE(QFile::exists(inbox + "/" + name));
    }
    EXPECT_EQ(window->Cell(2).Filename(), "");
}

TEST_F(Classification, NameClashStopsAllVisibleAtThatCellWithOneMessage) {
    const QString b = Q(sorted.MakeFolder("b")) + "/";
    window->SetClassifyKey(0x70, 0, true, b);
    Load(0, "r0.wav");
    const QString clash = Load(1, "r1.wav");
    const QString later = Load(3, "r3.wav");
    QFile existing(b + "r1.wav");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("sorted before");
    existing.close();
    const QByteArray clashBytes = FileBytes(clash);

    Press(Qt::Key_F1);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], "File exists");
    EXPECT_EQ(window->Cell(0).Filename(), b + "r0.wav");
    EXPECT_EQ(window->Cell(1).Filename(), clash);
    EXPECT_EQ(window->Cell(3).Filename(), later);
    EXPECT_EQ(FileBytes(clash), clashBytes);
    EXPECT_EQ(FileBytes(b + "r1.wav"), "sorted before");
    EXPECT_TRUE(QFile::exists(later));
}

TEST_F(Classification, OnlyVisibleCellsAreClassified) {
    ResizeClient(526, 335);  // 25 cells
    for (int i = 0; i < 25; ++i) Load(i, QStringLiteral("r%1.wav").arg(i, 2, 10, QLatin1Char('0')));
    ResizeClient(306, 140);  // 6 visible
    const QString b = Q(sorted.MakeFolder("b")) + "/";
    window->SetClassifyKey(0x70, 0, true, b);
    Press(Qt::Key_F1);
    EXPECT_EQ(QDir(b).entryList(QDir::Files).size(), 6);
    EXPECT_EQ(QDir(inbox).entryList(QDir::Files).size(), 19);
    EXPECT_EQ(window->Cell(6).Filename(), inbox + "/r06.wav");
}

TEST_F(Classification, UnboundOrDifferentlyShiftedKeystrokesDoNothing) {
    window->SetClassifyKey(0x41, 2, false, Q(sorted.MakeFolder("a")) + "/");
    const QString path = Load(0, "x.wav");
    Select(0);
    Press(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    Press(Qt::Key_A);
    Press(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(window->Cell(0).Filename(), path);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(Classification, MissingTargetFolderIsReportedAndTheRecordingStays) {
    window->SetClassifyKey(0x41, 2, false, Q(sorted.Path("missing")) + "/");
    SetTabAfterClassify(true);
    const QString path = Load(0, "x.wav");
    Select(0);
    Press(Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], "No such file or directory");
    EXPECT_EQ(window->Cell(0).Filename(), path);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(window->SelectedCell(), &window->Cell(1));  // Tab after Classify runs anyway
}

TEST_F(Classification, AlreadyBoundKeystrokeIsReportedAndTheFirstBindingStays) {
    window->SetClassifyKey(65, 2, false, "/data/a/");
    window->SetClassifyKey(65, 2, true, "/data/b/");
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], "Keystroke CTRL+A key is already being used for /data/a/");
    EXPECT_EQ(window->KeyMap().Find("41,2")->targetDir, "/data/a/");
    EXPECT_FALSE(window->KeyMap().Find("41,2")->classifyAll);
}

TEST_F(Classification, EraseAsksAndEmptiesTheMapOnlyOnOk) {
    window->SetClassifyKey(0x70, 0, false, "/f1/");
    window->SetClassifyKey(65, 2, false, "/a/");
    QAction* erase = window->findChild<QAction*>("mnuSPGEraseKeyDir");
    messages.answerOk = false;
    erase->trigger();
    EXPECT_EQ(messages.texts.last(),
              "Are you sure you want to erase all classification directory hotkeys?");
    EXPECT_EQ(window->KeyMap().Keys(), QStringList({"70,0", "41,2"}));
    messages.answerOk = true;
    erase->trigger();
    EXPECT_TRUE(window->KeyMap().IsEmpty());

    const QString path = Load(0, "x.wav");
    Select(0);
    Press(Qt::Key_F1);
    EXPECT_EQ(window->Cell(0).Filename(), path);
}

TEST_F(Classification, RoadOfOneKeystroke) {
    ResizeClient(526, 335);
    for (int i = 0; i < 30; ++i)
        incoming.WriteWave(QStringLiteral("r%1.wav").arg(i, 2, 10, QLatin1Char('0')).toStdString());
    const QString a = Q(sorted.MakeFolder("a")) + "/";
    window->SetClassifyKey(0x41, 2, false, a);
    SetTabAfterClassify(true);

    fileDialog.answers.push_back(inbox + "/r07.wav");
    window->findChild<QAction*>("mnuFileMany")->trigger();
    ASSERT_EQ(window->Cell(2).Filename(), inbox + "/r02.wav");

    QTest::mouseClick(window->Cell(2).Sonolux1(), Qt::LeftButton);
    ASSERT_EQ(window->SelectedCell(), &window->Cell(2));
    QTest::keyClick(window->Cell(2).Sonolux1(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(window->Cell(2).Filename(), a + "r02.wav");
    EXPECT_TRUE(QFile::exists(a + "r02.wav"));
    EXPECT_EQ(window->SelectedCell(), &window->Cell(3));
    EXPECT_TRUE(window->Cell(3).IsFrameShown());
    EXPECT_FALSE(window->Cell(2).IsFrameShown());

    // Move the rest of the batch away with the same key, then take the next batch.
    for (int i = 3; i < 25; ++i)
        QTest::keyClick(window->SelectedCell()->Sonolux1(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(window->SelectedCell()->Sonolux1(), Qt::Key_A, Qt::ControlModifier);  // cell 0
    QTest::keyClick(window->SelectedCell()->Sonolux1(), Qt::Key_A, Qt::ControlModifier);  // cell 1
    EXPECT_EQ(QDir(a).entryList(QDir::Files).size(), 25);
    window->findChild<QAction*>("mnuFileNextBatch")->trigger();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(window->Cell(i).Filename(), inbox + QStringLiteral("/r%1.wav").arg(25 + i)) << i;
    EXPECT_EQ(window->Cell(5).Filename(), "");
    EXPECT_TRUE(messages.texts.isEmpty());
}

// A keystroke bound to a folder classifies every time, whatever menu item also
// carries it; the item's shortcut comes back when the binding goes.
TEST_F(Classification, BoundKeystrokesWinOverMenuShortcuts) {
    QAction* open = window->findChild<QAction*>("mnuFileOpen");
    QAction* clear = window->findChild<QAction*>("mnuEditClear");
    const QString a = Q(sorted.MakeFolder("a")) + "/";
    const QString b = Q(sorted.MakeFolder("b")) + "/";
    window->SetClassifyKey(0x2E, 0, false, a);  // Del
    window->SetClassifyKey(0x4F, 2, false, b);  // Ctrl+O
    EXPECT_TRUE(open->shortcut().isEmpty());
    EXPECT_TRUE(clear->shortcut().isEmpty());
    Load(0, "x.wav");
    Load(1, "y.wav");
    Select(0);
    EXPECT_FALSE(clear->isEnabled());  // no text box has the focus, menu never opened
    Press(Qt::Key_Delete);
    EXPECT_EQ(window->Cell(0).Filename(), a + "x.wav");
    Select(1);
    Press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(window->Cell(1).Filename(), b + "y.wav");
    EXPECT_TRUE(fileDialog.requests.empty());  // Open did not run

    window->findChild<QAction*>("mnuSPGEraseKeyDir")->trigger();
    EXPECT_EQ(open->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(clear->shortcut(), QKeySequence("Del"));
}
