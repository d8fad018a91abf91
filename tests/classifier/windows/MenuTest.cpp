#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include "core/CorvaneError.h"
#include "tests/classifier/mocks/MainWindowFixture.h"
#include "tests/support/TempFolder.h"
#include "windows/frmOptions.h"
#include "windows/frmPreferences.h"

namespace {

struct Item {
    const char* name;
    const char* caption;
    const char* shortcut;
    bool checkable;
};

QAction* Action(frmMain& window, const char* name) {
    return window.findChild<QAction*>(QLatin1String(name));
}

}  // namespace

using Menus = MainWindowFixture;

TEST_F(Menus, EveryItemHasItsCaptionShortcutAndCheckMark) {
    const Item items[] = {
        {"mnuFileOpen", "&Open...", "Ctrl+O", false},
        {"mnuFileMany", "Open &Many...", "Ctrl+M", false},
        {"mnuFileNextBatch", "Next Batch", "Ctrl+B", false},
        {"mnuFileKeyListImport", "&Import classifier keys...", "", false},
        {"mnuFileKeyListExport", "&Export classifier keys...", "", false},
        {"mnuFileExit", "E&xit", "", false},
        {"mnuFileExportLabels", "Export Labels...", "", false},
        {"mnuEditCut", "Cut", "Ctrl+X", false},
        {"mnuEditCopy", "Copy", "Ctrl+C", false},
        {"mnuEditPaste", "Paste", "Ctrl+V", false},
        {"mnuEditClear", "Clear", "Del", false},
        {"mnuSPGKeystroke", "&Set keystroke directory...", "", false},
        {"mnuSPGEraseKeyDir", "&Erase keystroke directories", "", false},
        {"mnuSPGTab", "Tab after Classify", "", true},
        {"mnuSPGClear", "&Clear all", "", false},
        {"mnuSPGOptions", "&Options...", "", false},
        {"mnuSPGPlay", "&Play", "", true},
        {"mnuSPGPreferences", "&Preferences...", "", false},
        {"mnuSPGFieldView", "&Field View", "", true},
        {"mnuHelpAbout", "&About...", "", false},
    };
    for (const Item& item : items) {
        QAction* action = Action(*window, item.name);
        ASSERT_NE(action, nullptr) << item.name;
        EXPECT_EQ(action->text(), item.caption) << item.name;
        EXPECT_EQ(action->shortcut(), QKeySequence(QString(item.shortcut))) << item.name;
        EXPECT_EQ(action->isCheckable(), item.checkable) << item.name;
        EXPECT_FALSE(action->isChecked()) << item.name;
    }
    QStringList menus;
    for (QAction* menu : window->menuBar()->actions()) menus.append(menu->text());
    EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&Spectrogram", "&Help"}));
}

// A keyboard user reaches an item by its place in the menu (Alt+S, Down, Down,
// Enter is "Tab after Classify"): what Corvane adds must come after it all.
TEST_F(Menus, ItemsStandInTheirOrderWithAdditionsLast) {
    const QStringList expected[] = {
        {"mnuFileOpen", "mnuFileMany", "mnuFileNextBatch", "mnuFileBar1", "mnuFileKeyListImport",
         "mnuFileKeyListExport", "mnuFileBar2", "mnuFileExit", "mnuFileBar3",
         "mnuFileExportLabels"},
        {"mnuEditCut", "mnuEditCopy", "mnuEditPaste", "mnuEditClear"},
        {"mnuSPGKeystroke",
         "mnuSPGEraseKeyDir",
         "mnuSPGTab",
         "mnuSPGBar1",
         "mnuSPGClear",
         "mnuSPGOptions",
         "mnuSPGBar2",
         "mnuSPGPlay",
         "mnuSPGBar3",
         "mnuSPGUndo",
         "mnuSPGKeyBindings",
         "mnuSPGPreferences",
         "mnuSPGFieldView",
         "mnuSPGLoupe",
         "mnuSPGBar4",
         "mnuSPGSpeed",
         "mnuSPGPlaySelected",
         "mnuSPGStopPlaying",
         "mnuSPGPlayOnSelect",
         "mnuSPGBar5",
         "mnuSPGSuggestions",
         "mnuSPGAcceptSuggestions",
         "mnuSPGOrderBySuggestion"},
        {"mnuHelpAbout"},
    };
    const QList<QAction*> menus = window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    for (int i = 0; i < menus.size(); ++i) {
        QStringList items;
        for (QAction* item : menus[i]->menu()->actions()) items.append(item->objectName());
        EXPECT_EQ(items, expected[i]) << menus[i]->text().toStdString();
    }
}

TEST_F(Menus, PreferencesOpensItsDialogModelessWithoutAnOwner) {
    ASSERT_FALSE(window->PreferencesDialog().isVisible());
    Action(*window, "mnuSPGPreferences")->trigger();
    EXPECT_TRUE(window->PreferencesDialog().isVisible());
    EXPECT_FALSE(window->PreferencesDialog().isModal());
    EXPECT_EQ(window->PreferencesDialog().parentWidget(), nullptr);
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(Menus, PlayChosenTwiceReturnsAndReachesHiddenCells) {
    ResizeClient(306, 140);
    QAction* play = Action(*window, "mnuSPGPlay");
    play->trigger();
    play->trigger();
    EXPECT_FALSE(play->isChecked());
    for (int i = 0; i < window->LoadedCellCount(); ++i)
        EXPECT_EQ(window->Cell(i).Sonolux1()->property("PlayOnClick").toInt(), 0) << i;
}

TEST_F(Menus, ClearAllThenNextBatchFillsFromTheSameFolder) {
    TempFolder folder;
    folder.WriteWave("a.wav");
    folder.WriteWave("b.wav");
    const QString root = QString::fromStdString(folder.Path());
    fileDialog.answers.push_back(root + "/b.wav");
    window->mnuFileMany_Click();
    Action(*window, "mnuSPGClear")->trigger();
    for (int i = 0; i < 25; ++i) ASSERT_EQ(window->Cell(i).Filename(), "");
    EXPECT_TRUE(QFile::exists(root + "/a.wav"));
    Action(*window, "mnuFileNextBatch")->trigger();
    EXPECT_EQ(window->Cell(0).Filename(), root + "/a.wav");
    EXPECT_EQ(window->Cell(1).Filename(), root + "/b.wav");
}

TEST_F(Menus, ParameterSetReachesEveryCellAndIsReadFromTheSelection) {
    ResizeClient(306, 140);  // 6 of 25 cells visible
    window->UpdateSPGParams(2, 1, 64, 0, 120, 20);
    for (int i = 0; i < 25; ++i) {
        std::int32_t fft = 0, frame = 0, hop = 0, function = -1;
        float powerMax = 0, powerMin = 0;
        window->Cell(i).GetSPGParams(fft, frame, hop, function, powerMax, powerMin);
        EXPECT_EQ(fft, 2) << i;
        EXPECT_EQ(frame, 1) << i;
        EXPECT_EQ(hop, 64) << i;
        EXPECT_FLOAT_EQ(powerMin, 20) << i;
    }
    // A value a cell cannot take stops the command at that cell and reaches the caller.
    EXPECT_THROW(window->UpdateSPGParams(40000, 1, 64, 0, 120, 20), CorvaneError);
}

TEST(MenusWhileLoading, ParameterSetIsReadFromCellZeroBeforeAnyCellIsSelected) {
    FakeMessageBox messages;
    FakeFileDialogAsker dialogs;
    FileMover mover;
    SafeFileWriter writer;
    QTemporaryDir folder;
    QtSettingsStore settings(folder.filePath("Corvane.conf"));
    frmMain window({messages, dialogs, mover, writer, settings, LoadedControlModule(), {96, 96}});
    ASSERT_EQ(window.SelectedCell(), nullptr);
    window.Cell(0).UpdateSPGParams(5, 6, 99, 3, 100, 10);
    std::int32_t fft = 0, frame = 0, hop = 0, function = 0;
    float powerMax = 0, powerMin = 0;
    window.GetSPGParams(fft, frame, hop, function, powerMax, powerMin);
    EXPECT_EQ(fft, 5);
    EXPECT_EQ(hop, 99);
    EXPECT_EQ(function, 3);
}

TEST_F(Menus, EditItemsAreDisabledOverTheGridAndActOnTheOptionsTextBoxes) {
    QMenu* edit = window->findChild<QMenu*>("mnuEdit");
    QApplication::setActiveWindow(window.get());
    window->mnuEdit_Click();
    for (const char* name : {"mnuEditCut", "mnuEditCopy", "mnuEditPaste", "mnuEditClear"})
        EXPECT_FALSE(Action(*window, name)->isEnabled()) << name;
    ASSERT_NE(edit, nullptr);

    Action(*window, "mnuSPGOptions")->trigger();
    frmOptions& options = window->OptionsDialog();
    auto* width = options.findChild<QLineEdit*>("txtCellWidth");
    ASSERT_NE(width, nullptr);
    QApplication::setActiveWindow(&options);
    width->setFocus();
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &options);
    QGuiApplication::clipboard()->clear();
    window->mnuEdit_Click();
    EXPECT_TRUE(Action(*window, "mnuEditCopy")->isEnabled());
    EXPECT_FALSE(Action(*window, "mnuEditPaste")->isEnabled());

    width->setText("1500");
    width->selectAll();
    window->mnuEditCopy_Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "1500");
    window->mnuEditClear_Click();
    EXPECT_EQ(width->text(), "");
    window->mnuEdit_Click();
    EXPECT_TRUE(Action(*window, "mnuEditPaste")->isEnabled());
    window->mnuEditPaste_Click();
    window->mnuEditPaste_Click();
    EXPECT_EQ(width->text(), "15001500");
    width->setSelection(0, 4);
    window->mnuEditCut_Click();
    EXPECT_EQ(width->text(), "1500");
}

TEST_F(Menus, SettingsSurviveARestartOfTheWindow) {
    window->UpdateCellSizes(1000, 800);
    window->UpdateSPGParams(4, 3, 128, 1, 95.25f, 10.5f);
    Action(*window, "mnuSPGPlay")->trigger();
    Action(*window, "mnuFileExit")->trigger();
    EXPECT_FALSE(window->isVisible());
    window.reset();

    // A new window that reads the file anew.
    QtSettingsStore reread(settingsFolder.filePath("Corvane.conf"));
    window = std::make_unique<frmMain>(MainWindowServices{
        messages, fileDialog, fileMover, fileWriter, reread, LoadedControlModule(), {96, 96}});
    window->show();  // the first showing lays the cells out with the Play check mark
    QCoreApplication::processEvents();
    std::int32_t width = 0, height = 0;
    window->GetCellSize(width, height);
    EXPECT_EQ(width, 1000);
    EXPECT_EQ(height, 800);
    EXPECT_TRUE(Action(*window, "mnuSPGPlay")->isChecked());
    std::int32_t fft = 0, frame = 0, hop = 0, function = 0;
    float powerMax = 0, powerMin = 0;
    window->GetSPGParams(fft, frame, hop, function, powerMax, powerMin);
    EXPECT_EQ(fft, 4);
    EXPECT_EQ(frame, 3);
    EXPECT_EQ(hop, 128);
    EXPECT_EQ(function, 1);
    EXPECT_FLOAT_EQ(powerMax, 95.25f);
    EXPECT_FLOAT_EQ(powerMin, 10.5f);
    EXPECT_EQ(
        window->Cell(window->LoadedCellCount() - 1).Sonolux1()->property("PlayOnClick").toInt(),
        -1);
    window.reset();
}

TEST_F(Menus, FirstRunUsesTheClassifiersDefaultParameterSet) {
    std::int32_t fft = 0, frame = 0, hop = 0, function = -1;
    float powerMax = 0, powerMin = 0;
    window->GetSPGParams(fft, frame, hop, function, powerMax, powerMin);
    EXPECT_EQ(fft, 2);
    EXPECT_EQ(frame, 1);
    EXPECT_EQ(hop, 64);
    EXPECT_EQ(function, 0);
    EXPECT_FLOAT_EQ(powerMax, 120);
    EXPECT_FLOAT_EQ(powerMin, 20);
}
