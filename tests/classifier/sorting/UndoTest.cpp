#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include "tests/classifier/mocks/MainWindowFixture.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempFolder.h"

namespace {

struct Undo : MainWindowFixture {
    void SetUp() override {
        MainWindowFixture::SetUp();
        QApplication::setActiveWindow(window.get());
        ResizeClient(306, 140);  // 3 x 2 cells
        inbox = Q(incoming.Path());
        a = Q(sorted.MakeFolder("a")) + "/";
        b = Q(sorted.MakeFolder("b")) + "/";
        window->SetClassifyKey(0x41, 0, false, a);  // A: the selection to a
        window->SetClassifyKey(0x42, 0, true, b);   // B: all visible to b
        undo = window->findChild<QAction*>("mnuSPGUndo");
        for (int i = 0; i < 6; ++i) {
            const QString name = QStringLiteral("r%1.wav").arg(i);
            window->Cell(i).SetFilename(Q(incoming.WriteWave(name.toStdString(), {1, short(i)})));
            original.append(FileBytes(inbox + "/" + name));
        }
    }

    void Select(int index) {
        window->Cell(index).GiveFocus();
        QCoreApplication::processEvents();
    }
    void Press(Qt::Key key) { QTest::keyClick(window->SelectedCell()->Sonolux1(), key); }
    QString In(int i) const { return inbox + QStringLiteral("/r%1.wav").arg(i); }

    TempFolder incoming;
    TempFolder sorted;
    QString inbox, a, b;
    QAction* undo = nullptr;
    QList<QByteArray> original;
};

}  // namespace

TEST_F(Undo, NothingToUndoIsDisabledAndDoesNothing) {
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "&Undo Classify");
    EXPECT_EQ(undo->shortcut(), QKeySequence("Ctrl+Z"));
    window->mnuSPGUndo_Click();
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(window->Cell(0).Filename(), In(0));
}

TEST_F(Undo, SelectionMoveGoesBackWithCellAndSelection) {
    window->findChild<QAction*>("mnuSPGTab")->trigger();
    Select(2);
    Press(Qt::Key_A);
    ASSERT_EQ(window->Cell(2).Filename(), a + "r2.wav");
    ASSERT_EQ(window->SelectedCell(), &window->Cell(3));
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "&Undo Classify r2.wav");

    undo->trigger();
    EXPECT_EQ(FileBytes(In(2)), original[2]);
    EXPECT_FALSE(QFile::exists(a + "r2.wav"));
    EXPECT_EQ(window->Cell(2).Filename(), In(2));
    EXPECT_EQ(window->SelectedCell(), &window->Cell(2));
    EXPECT_FALSE(undo->isEnabled());

    // Pressing the keystroke again gives the state from before the undo.
    Press(Qt::Key_A);
    EXPECT_EQ(window->Cell(2).Filename(), a + "r2.wav");
    EXPECT_EQ(FileBytes(a + "r2.wav"), original[2]);
}

TEST_F(Undo, AllVisibleMoveIsOneStepAndSeveralUndosGoFurtherBack) {
    Select(1);
    Press(Qt::Key_A);  // r1 to a
    Select(4);
    Press(Qt::Key_B);  // all six to b, r1 from a
    EXPECT_EQ(QDir(b).entryList(QDir::Files).size(), 6);
    EXPECT_EQ(undo->text(), "&Undo Classify 6 recordings");

    undo->trigger();
    EXPECT_EQ(QDir(b).entryList(QDir::Files).size(), 0);
    for (int i : {0, 2, 3, 4, 5}) {
        EXPECT_EQ(window->Cell(i).Filename(), In(i)) << i;
        EXPECT_EQ(FileBytes(In(i)), original[i]) << i;
    }
    EXPECT_EQ(window->Cell(1).Filename(), a + "r1.wav");  // back where the first step put it
    EXPECT_EQ(FileBytes(a + "r1.wav"), original[1]);
    EXPECT_EQ(window->SelectedCell(), &window->Cell(4));

    undo->trigger();
    EXPECT_EQ(window->Cell(1).Filename(), In(1));
    EXPECT_EQ(FileBytes(In(1)), original[1]);
    EXPECT_EQ(window->SelectedCell(), &window->Cell(1));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(QDir(inbox).entryList(QDir::Files).size(), 6);
}

TEST_F(Undo, AfterNextBatchTheFileGoesBackAndTheCellsAreLeftAlone) {
    fileDialog.answers.push_back(In(0));
    window->mnuFileMany_Click();
    Select(0);
    Press(Qt::Key_A);  // r0 to a
    window->mnuFileNextBatch_Click();
    ASSERT_EQ(window->Cell(0).Filename(), In(1));
    undo->trigger();
    EXPECT_EQ(FileBytes(In(0)), original[0]);
    EXPECT_EQ(window->Cell(0).Filename(), In(1));
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(Undo, TakenOldNameIsNeverReplacedAndTheStepStays) {
    Select(0);
    Press(Qt::Key_A);
    QFile newcomer(In(0));
    ASSERT_TRUE(newcomer.open(QIODevice::WriteOnly));
    newcomer.write("a new recording with the old name");
    newcomer.close();

    undo->trigger();
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], "File exists");
    EXPECT_EQ(FileBytes(In(0)), "a new recording with the old name");
    EXPECT_EQ(FileBytes(a + "r0.wav"), original[0]);
    EXPECT_EQ(window->Cell(0).Filename(), a + "r0.wav");
    EXPECT_TRUE(undo->isEnabled());

    ASSERT_TRUE(QFile::remove(In(0)));
    undo->trigger();
    EXPECT_EQ(FileBytes(In(0)), original[0]);
    EXPECT_FALSE(undo->isEnabled());
}

TEST_F(Undo, PartlyFailedUndoKeepsOnlyWhatDidNotGoBack) {
    Press(Qt::Key_B);  // all six to b
    ASSERT_EQ(QDir(b).entryList(QDir::Files).size(), 6);
    ASSERT_TRUE(QFile::remove(b + "r3.wav"));  // someone deleted one meanwhile
    undo->trigger();
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], "No such file or directory");
    for (int i : {0, 1, 2, 4, 5}) EXPECT_EQ(FileBytes(In(i)), original[i]) << i;
    EXPECT_EQ(undo->text(), "&Undo Classify r3.wav");
}

TEST_F(Undo, BoundCtrlZClassifiesAndUndoKeepsOnlyItsMenuItem) {
    Select(0);
    Press(Qt::Key_A);
    ASSERT_EQ(undo->shortcut(), QKeySequence("Ctrl+Z"));
    const QString c = Q(sorted.MakeFolder("c")) + "/";
    window->SetClassifyKey(0x5A, 2, false, c);
    EXPECT_TRUE(undo->shortcut().isEmpty());
    Select(1);
    QTest::keyClick(window->SelectedCell()->Sonolux1(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->Cell(1).Filename(), c + "r1.wav");
    EXPECT_EQ(window->Cell(0).Filename(), a + "r0.wav");  // not undone
    EXPECT_TRUE(undo->isEnabled());
    window->findChild<QAction*>("mnuSPGEraseKeyDir")->trigger();
    EXPECT_EQ(undo->shortcut(), QKeySequence("Ctrl+Z"));
}
