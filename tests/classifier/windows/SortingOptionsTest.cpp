#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QSettings>
#include <QTabBar>
#include <QTest>
#include <functional>

#include "keys/KeyListFile.h"
#include "tests/classifier/mocks/MainWindowFixture.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempFolder.h"
#include "windows/MainStatusBar.h"
#include "windows/frmPreferences.h"

namespace {

// A main window with a 3 x 2 grid over a folder of eight recordings, A bound
// to move the selection into folder a, and the Sorting options it is given.
struct SortingOptionsInTheWindow : MainWindowFixture {
    void SetUp() override {
        MainWindowFixture::SetUp();
        inbox = Q(incoming.Path());
        for (int i = 0; i < 8; ++i)
            incoming.WriteWave(QStringLiteral("r%1.wav").arg(i).toStdString(), {1, short(i)});
        a = Q(sorted.MakeFolder("a")) + "/";
        Prepare();
    }
    void Prepare() {
        QApplication::setActiveWindow(window.get());
        ResizeClient(306, 140);
        window->SetClassifyKey(0x41, 0, false, a);
    }
    void OpenMany() {
        fileDialog.answers.push_back(inbox + "/r0.wav");
        Trigger("mnuFileMany");
    }
    void Trigger(const char* item) { window->findChild<QAction*>(item)->trigger(); }
    void Set(bool SortingOptions::*option, bool on) {
        SortingOptions options = window->GetSortingOptions();
        options.*option = on;
        window->SetSortingOptions(options);
    }
    void Select(int index) {
        window->Cell(index).GiveFocus();
        QCoreApplication::processEvents();
    }
    int Selected() const {
        const SonoluxBord* cell = window->SelectedCell();
        return cell ? cell->Index() : -1;
    }
    void Press(Qt::Key key) { QTest::keyClick(window->SelectedCell()->Sonolux1(), key); }
    QString Message() const { return window->findChild<MainStatusBar*>()->MessageText(); }
    // Ends the run as Exit does, runs `betweenRuns`, and starts the next run on
    // the same settings file.
    void Restart(const std::function<void()>& betweenRuns = {}) {
        Trigger("mnuFileExit");
        window.reset();
        if (betweenRuns) betweenRuns();
        reread = std::make_unique<QtSettingsStore>(SettingsPath());
        window = std::make_unique<frmMain>(MainWindowServices{
            messages, fileDialog, fileMover, fileWriter, *reread, LoadedControlModule(), {96, 96}});
        window->show();
        QCoreApplication::processEvents();
        QApplication::setActiveWindow(window.get());
    }
    QString SettingsPath() const { return settingsFolder.filePath("Corvane.conf"); }
    QString BindingsPath() const { return settingsFolder.filePath("bindings.txt"); }
    QString Stored(const char* key) const {
        return QSettings(SettingsPath(), QSettings::IniFormat).value(key).toString();
    }

    TempFolder incoming;
    TempFolder sorted;
    QString inbox, a;
    std::unique_ptr<QtSettingsStore> reread;
};

}  // namespace

TEST_F(SortingOptionsInTheWindow, SortingPageOffersFiveOptionsStoredOnlyOnceChanged) {
    const QString defaultLog = sorted.Path("decisions.csv").c_str();
    auto dialog = std::make_unique<frmPreferences>(*window, messages, ScreenDpi{96, 96},
                                                   PreferencesServices{fileDialog, defaultLog});
    dialog->Update();
    auto* tabs = dialog->findChild<QTabBar*>(QStringLiteral("tbsPreferences"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);  // after Recordings and Playback
    EXPECT_EQ(tabs->tabText(2), "Sorting");
    EXPECT_EQ(tabs->tabData(2).toString(), "grpSorting");
    const std::pair<const char*, const char*> boxes[] = {
        {"chkArrowKeys", "Arrow keys move the selection"},
        {"chkStartAtFirstCell", "Start each batch at the first cell"},
        {"chkSkipSortedCells", "Tab after Classify skips sorted cells"},
        {"chkKeepBindings", "Keep key bindings between runs"},
        {"chkRememberWindow", "Remember the window's size and place"}};
    for (const auto& [name, caption] : boxes) {
        auto* box = dialog->findChild<QCheckBox*>(QLatin1String(name));
        ASSERT_NE(box, nullptr) << name;
        EXPECT_EQ(box->text(), QLatin1String(caption));
        EXPECT_FALSE(box->isChecked()) << name;
        EXPECT_GE(box->width(), box->sizeHint().width()) << name;
        EXPECT_TRUE(box->parentWidget()->contentsRect().contains(box->geometry())) << name;
        box->setChecked(true);
    }
    // The decision log's box sits on the same page, below the five, and is off.
    auto* log = dialog->findChild<QCheckBox*>(QStringLiteral("chkDecisionLog"));
    ASSERT_NE(log, nullptr);
    EXPECT_FALSE(log->isChecked());
    const QWidget* chooser = dialog->findChild<QWidget*>(QStringLiteral("ctlDecisionLog"));
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->parentWidget()->contentsRect().contains(chooser->geometry()));
    EXPECT_GE(chooser->height(), chooser->sizeHint().height());
    log->setChecked(true);
    EXPECT_EQ(window->GetSortingOptions(), SortingOptions{});
    EXPECT_EQ(window->DecisionLogPath(), "");
    dialog->cmdApply_Click();
    EXPECT_EQ(window->GetSortingOptions(), (SortingOptions{true, true, true, true, true}));
    EXPECT_EQ(window->DecisionLogPath(), defaultLog);
    dialog.reset();

    Restart();
    EXPECT_EQ(window->GetSortingOptions(), (SortingOptions{true, true, true, true, true}));
    for (const char* key :
         {"Sorting/ArrowKeys", "Sorting/StartAtFirstCell", "Sorting/SkipSortedCells",
          "Sorting/KeepBindings", "Sorting/RememberWindow"})
        EXPECT_EQ(Stored(key), "True") << key;

    window->SetSortingOptions({false, true, false, false, false});
    Restart();
    EXPECT_EQ(window->GetSortingOptions(), (SortingOptions{false, true, false, false, false}));
    EXPECT_EQ(Stored("Sorting/ArrowKeys"), "False");
    EXPECT_EQ(Stored("Sorting/StartAtFirstCell"), "True");
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('|').toStdString();
}

TEST_F(SortingOptionsInTheWindow, ArrowKeysMoveTheSelectionOnlyWhenOnAndABindingWins) {
    OpenMany();
    Select(0);
    Press(Qt::Key_Right);
    EXPECT_EQ(Selected(), 0);
    Press(Qt::Key_End);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(Message(), "");

    Set(&SortingOptions::ArrowKeys, true);
    const std::pair<Qt::Key, int> moves[] = {
        {Qt::Key_Right, 1}, {Qt::Key_Down, 4}, {Qt::Key_Right, 5}, {Qt::Key_Right, 5},
        {Qt::Key_Up, 2},    {Qt::Key_Home, 0}, {Qt::Key_Left, 0},  {Qt::Key_End, 5}};
    for (const auto& [key, cell] : moves) {
        Press(key);
        EXPECT_EQ(Selected(), cell) << key;
    }
    QTest::keyClick(window->SelectedCell()->Sonolux1(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), 5);

    window->SetClassifyKey(0x25, 0, false, a);  // Left: the selection to a
    Press(Qt::Key_Left);
    EXPECT_EQ(window->Cell(5).Filename(), a + "r5.wav");
    EXPECT_EQ(Selected(), 5);
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('|').toStdString();
}

TEST_F(SortingOptionsInTheWindow, StartAtFirstCellSelectsCellZeroAfterEveryWayABatchIsFilled) {
    OpenMany();
    Select(4);
    Trigger("mnuFileNextBatch");
    EXPECT_EQ(Selected(), 4);

    Set(&SortingOptions::StartAtFirstCell, true);
    Trigger("mnuFileNextBatch");
    EXPECT_EQ(Selected(), 0);
    Select(3);
    OpenMany();
    EXPECT_EQ(Selected(), 0);
    Select(2);
    window->OpenFromCommandLine(inbox);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(window->Cell(0).Filename(), inbox + "/r0.wav");
}

TEST_F(SortingOptionsInTheWindow, SkipSortedCellsPassesOverSortedRecordingsAndSaysWhenNoneIsLeft) {
    OpenMany();
    Trigger("mnuSPGTab");
    Select(1);
    Press(Qt::Key_A);
    EXPECT_EQ(Selected(), 2);
    Select(0);
    Press(Qt::Key_A);
    EXPECT_EQ(Selected(), 1);  // onto r1, sorted already

    Set(&SortingOptions::SkipSortedCells, true);
    Trigger("mnuFileNextBatch");  // r2 to r7
    Select(1);
    Press(Qt::Key_A);
    EXPECT_EQ(Selected(), 2);
    Select(0);
    Press(Qt::Key_A);
    EXPECT_EQ(Selected(), 2);  // past cell 1
    for (int cell : {3, 4, 5}) {
        Press(Qt::Key_A);
        EXPECT_EQ(Selected(), cell);
        EXPECT_EQ(Message(), "");
    }
    Press(Qt::Key_A);
    EXPECT_EQ(window->Cell(5).Filename(), a + "r7.wav");
    EXPECT_EQ(Selected(), 5);
    EXPECT_EQ(Message(), "Every recording on screen is sorted: Next Batch (Ctrl+B)");
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('|').toStdString();
}

TEST_F(SortingOptionsInTheWindow, KeepBindingsWritesTheKeyMapBesideTheSettingsAndBindsItAtStart) {
    Restart();
    EXPECT_TRUE(window->KeyMap().IsEmpty());
    EXPECT_FALSE(QFile::exists(BindingsPath()));

    Set(&SortingOptions::KeepBindings, true);
    window->SetClassifyKey(0x41, 0, false, a);
    window->SetClassifyKey(0x71, 2, true, Q(sorted.MakeFolder("b")));
    const QByteArray written = KeyListFile::Format(window->KeyMap());
    Restart();
    EXPECT_EQ(FileBytes(BindingsPath()), written);
    EXPECT_EQ(window->KeyMap().Keys(), QStringList({"41,0", "71,2"}));
    EXPECT_EQ(window->KeyMap().AllFlag("71,2"), "True");
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('|').toStdString();

    // A line that binds nothing is told as an import tells it; the others bind.
    Restart([&] {
        QFile file(BindingsPath());
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("\"Foo\",\"All\",\"/x/\"\r\n");
    });
    EXPECT_EQ(messages.texts, QStringList{"Invalid key description: \"Foo\""});
    EXPECT_EQ(window->KeyMap().Keys(), QStringList({"41,0", "71,2"}));

    // Erased bindings stay erased; turned off, the file is left as it is.
    window->EraseClassifyKeys();
    Restart();
    EXPECT_TRUE(window->KeyMap().IsEmpty());
    EXPECT_EQ(FileBytes(BindingsPath()), QByteArray());
    Set(&SortingOptions::KeepBindings, false);
    window->SetClassifyKey(0x41, 0, false, a);
    Restart();
    EXPECT_TRUE(window->KeyMap().IsEmpty());
    EXPECT_EQ(FileBytes(BindingsPath()), QByteArray());
}

TEST_F(SortingOptionsInTheWindow, RememberWindowPutsTheMainWindowBackWhereTheLastRunLeftIt) {
    Restart();
    const QSize initial = window->size();  // as a new window opens
    window->move(40, 50);
    window->resize(500, 380);
    Restart();
    EXPECT_EQ(window->size(), initial);
    EXPECT_EQ(Stored("Main Window/Width"), "");

    Set(&SortingOptions::RememberWindow, true);
    window->move(60, 70);
    window->resize(520, 410);
    Restart();
    EXPECT_EQ(window->pos(), QPoint(60, 70));
    EXPECT_EQ(window->size(), QSize(520, 410));
    EXPECT_EQ(Stored("Main Window/Width"), "520");
    EXPECT_EQ(Stored("Main Window/Top"), "70");
}
