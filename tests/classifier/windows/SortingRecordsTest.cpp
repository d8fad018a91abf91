#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "tests/classifier/mocks/MainWindowFixture.h"
#include "tests/support/CsvRecords.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempFolder.h"
#include "windows/DecisionLogChooser.h"
#include "windows/MainStatusBar.h"

namespace {

struct SortingRecords : MainWindowFixture {
    void Trigger(const char* name) { window->findChild<QAction*>(QLatin1String(name))->trigger(); }
    // Ends the run as Exit does, and starts the next one on the same settings file.
    void Restart() {
        Trigger("mnuFileExit");
        window.reset();
        reread = std::make_unique<QtSettingsStore>(SettingsPath());
        window = std::make_unique<frmMain>(MainWindowServices{
            messages, fileDialog, fileMover, fileWriter, *reread, LoadedControlModule(), {96, 96}});
        window->show();
        QApplication::setActiveWindow(window.get());
        QCoreApplication::processEvents();
    }
    QString SettingsPath() const { return settingsFolder.filePath("Corvane.conf"); }

    TempFolder folders;
    std::unique_ptr<QtSettingsStore> reread;
};

}  // namespace

// Export Labels asks for a CSV file through the shared dialog, leaves the
// dialog's filter as the usual commands left it, writes the bound folders'
// labels and says what it did; without bindings it says why nothing is asked.
TEST_F(SortingRecords, ExportLabelsWritesTheBoundFoldersThroughTheSharedDialog) {
    Trigger("mnuFileExportLabels");
    EXPECT_EQ(messages.texts,
              QStringList{"No keystroke directory is set, so there are no labels to export."});
    EXPECT_TRUE(fileDialog.requests.empty());

    const QString birds = Q(folders.MakeFolder("birds"));
    const QString frogs = Q(folders.MakeFolder("frogs"));
    folders.WriteWave("birds/a.wav");
    folders.MakeFolder("frogs/nested");
    folders.WriteWave("frogs/nested/f.wav");
    window->SetClassifyKey(0x41, 2, false, birds);
    window->SetClassifyKey(0x70, 0, true, frogs);
    window->Dialog().Filter = QStringLiteral("Wave files|*.wav");
    const QString out = Q(folders.Path("labels.csv"));
    fileDialog.answers.push_back(out);

    Trigger("mnuFileExportLabels");

    ASSERT_EQ(fileDialog.requests.size(), 1u);
    const FileDialogRequest& request = fileDialog.requests.front();
    EXPECT_EQ(request.mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(request.fileName, "labels.csv");
    EXPECT_EQ(request.filter, "CSV files (*.csv)");
    EXPECT_TRUE(request.confirmOverwrite);
    EXPECT_EQ(window->Dialog().Filter, "Wave files|*.wav");
    EXPECT_EQ(window->Dialog().FileName, out);
    const auto records = CsvRecords(FileBytes(out));
    ASSERT_TRUE(records.has_value());
    ASSERT_EQ(records->size(), 3u);
    EXPECT_EQ((*records)[1].mid(0, 2), (QStringList{"birds", "a.wav"}));
    EXPECT_EQ((*records)[2].mid(0, 2), (QStringList{"frogs", "nested/f.wav"}));
    EXPECT_EQ(window->findChild<MainStatusBar*>()->MessageText(),
              "Exported the labels of 2 recordings to " + out);
}

// A keystroke writes its line to the log the settings name, the log's file is
// kept from one run to the next, and a run that never had a log writes no key.
TEST_F(SortingRecords, DecisionLogFollowsKeystrokesAndIsKeptAcrossRuns) {
    Restart();
    EXPECT_FALSE(FileBytes(SettingsPath()).contains("DecisionLog"));
    EXPECT_EQ(window->DecisionLogPath(), QString());

    const QString log = Q(folders.Path("decisions.csv"));
    window->SetDecisionLogPath(log);
    Restart();
    EXPECT_EQ(window->DecisionLogPath(), log);

    const QString birds = Q(folders.MakeFolder("birds"));
    window->SetClassifyKey(0x41, 2, false, birds);
    window->Cell(0).SetFilename(Q(folders.WriteWave("x.wav")));
    window->Cell(0).GiveFocus();
    QCoreApplication::processEvents();
    QTest::keyClick(window->Cell(0).Sonolux1(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(window->Cell(0).Filename(), birds + "/x.wav");

    const auto records = CsvRecords(FileBytes(log));
    ASSERT_TRUE(records.has_value());
    ASSERT_EQ(records->size(), 2u);
    EXPECT_EQ((*records)[1].mid(1, 5),
              (QStringList{"move", "x.wav", Q(folders.Path()), birds, "CTRL+A key"}));
}

// The chooser gives no file while its box is unticked, the file beside the
// settings when ticked, and the file chosen through the dialog's question.
TEST_F(SortingRecords, DecisionLogChooserGivesAFileOnlyWhileTicked) {
    const QString beside = settingsFolder.filePath("decisions.csv");
    DecisionLogChooser chooser(fileDialog, beside);
    auto* box = chooser.findChild<QCheckBox*>("chkDecisionLog");
    auto* browse = chooser.findChild<QPushButton*>("cmdBrowseDecisionLog");
    EXPECT_EQ(box->text(), "Write a decision log");
    EXPECT_EQ(chooser.Path(), QString());
    EXPECT_FALSE(browse->isEnabled());

    box->setChecked(true);
    EXPECT_EQ(chooser.Path(), beside);
    const QString chosen = Q(folders.Path("sorting.csv"));
    fileDialog.answers.push_back(chosen);
    browse->click();
    EXPECT_EQ(chooser.Path(), chosen);
    EXPECT_EQ(window->Dialog().FileName, QString());  // Next Batch's folder stays

    box->setChecked(false);
    EXPECT_EQ(chooser.Path(), QString());
    chooser.SetPath(chosen);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(chooser.findChild<QLineEdit*>("txtDecisionLog")->text(), chosen);
}
