#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <vector>

#include "host/CommonDialog.h"
#include "keys/ClassifyKeySetter.h"
#include "keys/ui/frmKeystroke.h"
#include "tests/classifier/mocks/FakeServices.h"
#include "tests/classifier/mocks/MainWindowFixture.h"
#include "tests/support/TempFolder.h"

namespace {

struct Binding {
    std::int16_t keyCode;
    std::int16_t shift;
    bool classifyAll;
    QString dir;
};

class RecordingKeySetter : public IClassifyKeySetter {
public:
    void SetClassifyKey(std::int16_t keyCode, std::int16_t shift, bool classifyAll,
                        const QString& TargetDir) override {
        bindings.push_back({keyCode, shift, classifyAll, TargetDir});
    }
    std::vector<Binding> bindings;
};

struct KeystrokeDialog : ::testing::Test {
    KeystrokeDialog() { dialog.Initialize("/data/birds/any.wav"); }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(dialog.ClassifyAllOption(), key, modifiers);
    }

    RecordingKeySetter setter;
    FakeFileDialogAsker asker;
    CommonDialog commonDialog{asker};
    frmKeystroke dialog{setter, commonDialog, ScreenDpi{96, 96}, nullptr};
};

}  // namespace

TEST_F(KeystrokeDialog, ShowsTheFolderPartAndStartsWithTheSelectionOption) {
    EXPECT_EQ(dialog.windowTitle(), "Type a keystroke...");
    EXPECT_EQ(dialog.TargetDir(), "/data/birds/");
    EXPECT_EQ(dialog.ShownKeystroke(), "");
    EXPECT_FALSE(dialog.ClassifyAllChosen());
    EXPECT_EQ(dialog.size(), QSize(320, 282));  // 4800 x 4230 twips
    EXPECT_EQ(dialog.Ok()->geometry(), QRect(57, 240, 73, 25));
    EXPECT_TRUE(dialog.Ok()->isDefault());
    EXPECT_EQ(frmKeystroke::FolderPart("any.wav"), "");
    EXPECT_EQ(frmKeystroke::FolderPart("/x.wav"), "/");
}

TEST_F(KeystrokeDialog, CapturesOnlyKeysAboveSpaceAndNotNumLock) {
    Press(Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(dialog.ShownKeystroke(), "");
    Press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(dialog.ShownKeystroke(), "CTRL+A key");
    for (Qt::Key ignored : {Qt::Key_Space, Qt::Key_Tab, Qt::Key_Backspace, Qt::Key_NumLock,
                            Qt::Key_Shift, Qt::Key_Alt}) {
        Press(ignored);
        EXPECT_EQ(dialog.ShownKeystroke(), "CTRL+A key") << ignored;
    }
    EXPECT_EQ(dialog.CapturedKeyCode(), 0x41);
    EXPECT_EQ(dialog.CapturedShift(), 2);
    Press(Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(dialog.ShownKeystroke(), "SHIFT+F2 key");  // only the last press counts
    Press(Qt::Key_F20, Qt::ControlModifier);
    EXPECT_EQ(dialog.ShownKeystroke(), "CTRL+0x83");
}

TEST_F(KeystrokeDialog, OkBindsTheCapturedKeystrokeWithTheFolderAndItsFinalSeparator) {
    Press(Qt::Key_F1);
    dialog.ClassifyAllOption()->setChecked(true);
    dialog.Ok()->click();
    ASSERT_EQ(setter.bindings.size(), 1u);
    EXPECT_EQ(setter.bindings[0].keyCode, 0x70);
    EXPECT_EQ(setter.bindings[0].shift, 0);
    EXPECT_TRUE(setter.bindings[0].classifyAll);
    EXPECT_EQ(setter.bindings[0].dir, "/data/birds/");
}

TEST_F(KeystrokeDialog, EnterConfirmsAndEscapeCancels) {
    dialog.show();
    Press(Qt::Key_B, Qt::AltModifier);
    QTest::keyClick(dialog.Ok(), Qt::Key_Return);
    ASSERT_EQ(setter.bindings.size(), 1u);
    EXPECT_EQ(setter.bindings[0].shift, 4);
    EXPECT_EQ(dialog.ShownKeystroke(), "ALT+B key");  // Enter is never taken as the keystroke

    dialog.Initialize("/data/any.wav");
    dialog.show();
    QTest::keyClick(dialog.Ok(), Qt::Key_Escape);
    EXPECT_EQ(setter.bindings.size(), 1u);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(KeystrokeDialog, NothingIsBoundBeforeAKeystrokeWasEverCaptured) {
    dialog.show();
    dialog.Ok()->setFocus();
    QTest::keyClick(dialog.Ok(), Qt::Key_Space);  // clicks the focused OK button
    QTest::keyClick(dialog.Ok(), Qt::Key_Return);
    dialog.Ok()->click();
    EXPECT_TRUE(setter.bindings.empty());
    EXPECT_TRUE(dialog.isVisible());  // still waiting for a keystroke, or Cancel
    Press(Qt::Key_F2);
    dialog.Ok()->click();
    ASSERT_EQ(setter.bindings.size(), 1u);
    EXPECT_EQ(setter.bindings[0].keyCode, 0x71);
}

TEST_F(KeystrokeDialog, SecondOpeningShowsNothingButBindsThePreviousKeystroke) {
    Press(Qt::Key_A, Qt::ControlModifier);
    dialog.Ok()->click();
    dialog.Initialize("/data/other/any.wav");
    EXPECT_EQ(dialog.ShownKeystroke(), "");
    EXPECT_FALSE(dialog.ClassifyAllChosen());
    dialog.Ok()->click();
    ASSERT_EQ(setter.bindings.size(), 2u);
    EXPECT_EQ(setter.bindings[1].keyCode, 0x41);
    EXPECT_EQ(setter.bindings[1].shift, 2);
    EXPECT_EQ(setter.bindings[1].dir, "/data/other/");
}

TEST_F(KeystrokeDialog, BrowseChangesTheFolderAndCancelKeepsIt) {
    asker.answers.push_back(std::nullopt);
    dialog.Browse()->click();
    EXPECT_EQ(dialog.TargetDir(), "/data/birds/");
    EXPECT_EQ(commonDialog.FileName, "any.wav");

    asker.answers.push_back(QString("/data/frogs/any.wav"));
    dialog.Browse()->click();
    EXPECT_EQ(dialog.TargetDir(), "/data/frogs/");
    ASSERT_EQ(asker.requests.size(), 2u);
    EXPECT_EQ(asker.requests[1].filter, "All files (*.*)");
    EXPECT_TRUE(asker.requests[1].pathMustExist);
    EXPECT_EQ(commonDialog.Filter, "All files|*.*");  // stays for later uses
}

using SetKeystrokeCommand = MainWindowFixture;

TEST_F(SetKeystrokeCommand, CancelledSaveDialogOpensNothing) {
    fileDialog.answers.push_back(std::nullopt);
    window->findChild<QAction*>("mnuSPGKeystroke")->trigger();
    EXPECT_EQ(window->KeystrokeDialog(), nullptr);
    ASSERT_EQ(fileDialog.requests.size(), 1u);
    EXPECT_EQ(fileDialog.requests[0].mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(fileDialog.requests[0].fileName, "any.wav");
    EXPECT_EQ(fileDialog.requests[0].defaultExt, "wav");
    EXPECT_EQ(window->Dialog().FileName, "any.wav");
}

TEST_F(SetKeystrokeCommand, BindsTheKeystrokeTypedIntoTheDialog) {
    fileDialog.answers.push_back(QString("/data/robin/any.wav"));
    // The dialog is modal: answer it from inside its own event loop.
    QTimer::singleShot(0, [] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<frmKeystroke*>(modal);
        if (!dialog) {
            if (modal) modal->close();  // never leave a test waiting on a dialog
            FAIL() << "the keystroke dialog is not open";
        }
        QTest::keyClick(dialog->Ok(), Qt::Key_R, Qt::ControlModifier);
        dialog->Ok()->click();
    });
    window->findChild<QAction*>("mnuSPGKeystroke")->trigger();
    ASSERT_NE(window->KeystrokeDialog(), nullptr);
    EXPECT_FALSE(window->KeystrokeDialog()->isVisible());
    const auto binding = window->KeyMap().Find("52,2");
    ASSERT_TRUE(binding.has_value());
    EXPECT_EQ(binding->targetDir, "/data/robin/");
    EXPECT_EQ(window->Dialog().FileName, "/data/robin/any.wav");
}

using KeystrokeFolder = MainWindowFixture;

TEST_F(KeystrokeFolder, AMissingFinalSlashIsAddedSoTheKeystrokeMovesIntoTheFolder) {
    QApplication::setActiveWindow(window.get());
    TempFolder incoming;
    TempFolder sorted;
    const QString folder = QString::fromStdString(sorted.MakeFolder("birds"));
    window->SetClassifyKey(0x41, 2, false, folder);
    EXPECT_EQ(window->KeyMap().Dir("41,2"), folder + "/");

    const QString recording = QString::fromStdString(incoming.WriteWave("robin.wav"));
    window->Cell(0).SetFilename(recording);
    window->Cell(0).GiveFocus();
    QCoreApplication::processEvents();
    ASSERT_EQ(window->SelectedCell(), &window->Cell(0));
    QTest::keyClick(window->Cell(0).Sonolux1(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join("; ").toStdString();
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QFileInfo(folder + "/robin.wav").isFile());
    EXPECT_FALSE(QFile::exists(recording));
    EXPECT_EQ(window->Cell(0).Filename(), folder + "/robin.wav");
}
