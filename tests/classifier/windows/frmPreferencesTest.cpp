#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTest>

#include "tests/classifier/mocks/FakeServices.h"
#include "tests/classifier/mocks/MainWindowFixture.h"
#include "tests/support/TempFolder.h"
#include "windows/frmPreferences.h"

namespace {

// The Preferences dialog over a real main window, whose values it edits.
class PreferencesInTheWindow : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        MakeDialog();
    }
    void TearDown() override {
        dialog.reset();
        window.reset();
    }
    void MakeDialog() {
        dialog = std::make_unique<frmPreferences>(*window, dialogMessages, ScreenDpi{96, 96},
                                                  PreferencesServices{fileDialog, {}});
    }

    QCheckBox* Box(const char* name) {
        auto* box = dialog->findChild<QCheckBox*>(QLatin1String(name));
        EXPECT_NE(box, nullptr) << name;
        return box;
    }
    void Press(const char* button) {
        dialog->findChild<QPushButton*>(QLatin1String(button))->click();
    }
    // Ticks the three boxes of a freshly refreshed dialog and presses Apply.
    void ApplyRecordingOptions(bool whole, bool anyCase, bool floatSamples) {
        dialog->Update();
        Box("chkWholeRecording")->setChecked(whole);
        Box("chkAnyCaseWave")->setChecked(anyCase);
        Box("chkFloatSamples")->setChecked(floatSamples);
        dialog->cmdApply_Click();
    }
    // Ends the run as Exit does, and starts the next one on the same settings file.
    void Restart() {
        dialog.reset();
        window->findChild<QAction*>(QStringLiteral("mnuFileExit"))->trigger();
        window.reset();
        reread = std::make_unique<QtSettingsStore>(SettingsPath());
        window = std::make_unique<frmMain>(MainWindowServices{
            messages, fileDialog, fileMover, fileWriter, *reread, LoadedControlModule(), {96, 96}});
        window->show();
        QCoreApplication::processEvents();
        MakeDialog();
    }
    QString SettingsPath() const { return settingsFolder.filePath("Corvane.conf"); }

    FakeMessageBox dialogMessages;
    std::unique_ptr<QtSettingsStore> reread;
    std::unique_ptr<frmPreferences> dialog;
};

// Every cell's control, hidden ones included, read back by property name.
void ExpectEveryControl(const frmMain& window, int frameLimit, bool floatSamples) {
    for (int i = 0; i < window.LoadedCellCount(); ++i) {
        const QWidget* control = window.Cell(i).Sonolux1();
        EXPECT_EQ(control->property("FrameLimit").toInt(), frameLimit) << i;
        EXPECT_EQ(control->property("FloatSamples").toBool(), floatSamples) << i;
    }
}

// The picture options of every cell's control, hidden ones included.
void ExpectEveryPicture(const frmMain& window, bool whole, bool everySample, bool autoContrast) {
    ASSERT_GT(window.LoadedCellCount(), window.VisibleCellCount());
    for (int i = 0; i < window.LoadedCellCount(); ++i) {
        const QWidget* control = window.Cell(i).Sonolux1();
        EXPECT_EQ(control->property("FrameLimit").toInt(), whole ? 4194304 : 48000) << i;
        EXPECT_EQ(control->property("EverySample").toBool(), everySample) << i;
        EXPECT_EQ(control->property("AutoContrast").toBool(), autoContrast) << i;
    }
}

}  // namespace

TEST_F(PreferencesInTheWindow, RecordingsPageHoldsThreeOptionsThatOnlyApplyAndOkPassOn) {
    dialog->Update();
    dialog->ShowModeless();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Preferences"));
    EXPECT_FALSE(dialog->isModal());
    auto* tabs = dialog->findChild<QTabBar*>(QStringLiteral("tbsPreferences"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Recordings"));
    EXPECT_EQ(tabs->tabData(0).toString(), QStringLiteral("grpRecordings"));
    EXPECT_EQ(tabs->tabToolTip(0), QStringLiteral("How recordings are listed and read"));
    auto* frame = dialog->findChild<QGroupBox*>(QStringLiteral("fraRecordings"));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), QStringLiteral("Wave Files"));
    const std::pair<const char*, const char*> boxes[] = {
        {"chkWholeRecording", "Show the whole recording"},
        {"chkAnyCaseWave", "Take .WAV and .Wav names too"},
        {"chkFloatSamples", "Read floating-point wave files"}};
    for (const auto& [name, caption] : boxes) {
        QCheckBox* box = Box(name);
        EXPECT_EQ(box->text(), QLatin1String(caption));
        EXPECT_FALSE(box->isChecked()) << name;
        EXPECT_GE(box->width(), box->sizeHint().width()) << name;
        EXPECT_TRUE(frame->contentsRect().contains(box->geometry())) << name;
        box->setChecked(true);
    }
    Press("cmdCancel");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(window->GetRecordingOptions(), RecordingOptions{});

    window->SetRecordingOptions({true, false, true});
    dialog->Update();
    dialog->ShowModeless();
    EXPECT_TRUE(Box("chkWholeRecording")->isChecked());
    EXPECT_FALSE(Box("chkAnyCaseWave")->isChecked());
    EXPECT_TRUE(Box("chkFloatSamples")->isChecked());
    Box("chkWholeRecording")->setChecked(false);
    Box("chkAnyCaseWave")->setChecked(true);
    Press("cmdApply");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(window->GetRecordingOptions(), (RecordingOptions{false, true, true}));

    Box("chkFloatSamples")->setChecked(false);
    QTest::keyClick(Box("chkFloatSamples"), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(window->GetRecordingOptions(), (RecordingOptions{false, true, true}));

    dialog->Update();
    dialog->ShowModeless();
    Box("chkFloatSamples")->setChecked(false);
    Press("cmdOK");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(dialog->IsLoaded());
    EXPECT_EQ(window->GetRecordingOptions(), (RecordingOptions{false, true, false}));
    EXPECT_TRUE(dialogMessages.texts.isEmpty());
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(PreferencesInTheWindow, RecordingOptionsReachEveryCellAndTheBatchAndSurviveARestart) {
    TempFolder folder;
    for (const char* name : {"a.wav", "B.WAV", "c.Wav"}) folder.WriteWave(name);
    TempFolder upper;
    upper.WriteWave("Z0001.WAV");
    const QString root = QString::fromStdString(folder.Path());
    const QString upperRoot = QString::fromStdString(upper.Path());
    ExpectEveryControl(*window, 48000, false);
    window->OpenFromCommandLine(root);
    EXPECT_EQ(window->Cell(0).Filename(), root + "/a.wav");
    EXPECT_EQ(window->Cell(1).Filename(), "");

    ResizeClient(306, 140);  // cells 6 to 24 hidden
    ApplyRecordingOptions(true, true, true);
    EXPECT_EQ(window->GetRecordingOptions(), (RecordingOptions{true, true, true}));
    ExpectEveryControl(*window, 4194304, true);
    window->mnuFileNextBatch_Click();
    EXPECT_EQ(window->Cell(0).Filename(), root + "/a.wav");
    EXPECT_EQ(window->Cell(1).Filename(), root + "/B.WAV");
    EXPECT_EQ(window->Cell(2).Filename(), root + "/c.Wav");
    window->OpenFromCommandLine(upperRoot);
    EXPECT_EQ(window->Dialog().FileName, upperRoot + "/Z0001.WAV");
    EXPECT_EQ(window->Cell(0).Filename(), upperRoot + "/Z0001.WAV");

    Restart();
    EXPECT_EQ(window->GetRecordingOptions(), (RecordingOptions{true, true, true}));
    window->UpdateCellSizes(750, 500);  // cells made after the options were read
    ASSERT_GT(window->LoadedCellCount(), 25);
    ExpectEveryControl(*window, 4194304, true);

    ApplyRecordingOptions(false, false, false);
    ExpectEveryControl(*window, 48000, false);
    window->OpenFromCommandLine(root);
    EXPECT_EQ(window->Cell(0).Filename(), root + "/a.wav");
    EXPECT_EQ(window->Cell(1).Filename(), "");
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('|').toStdString();
    EXPECT_TRUE(dialogMessages.texts.isEmpty());
}

TEST_F(PreferencesInTheWindow, OnlyAChangedAdditionReachesTheSettingsFile) {
    const QStringList described{"Cell Size/Cell Height",
                                "Cell Size/Cell Width",
                                "Menu Defaults/Play",
                                "Spectrogram Parameters/FFT Size Choice",
                                "Spectrogram Parameters/Frame Length Choice",
                                "Spectrogram Parameters/Hop Size",
                                "Spectrogram Parameters/Power Max",
                                "Spectrogram Parameters/Power Min",
                                "Spectrogram Parameters/Window Function Choice"};
    Restart();
    QStringList stored = QSettings(SettingsPath(), QSettings::IniFormat).allKeys();
    stored.sort();
    EXPECT_EQ(stored, described);

    // Field View on and off again within a run leaves nothing to store.
    window->findChild<QAction*>(QStringLiteral("mnuSPGFieldView"))->trigger();
    window->findChild<QAction*>(QStringLiteral("mnuSPGFieldView"))->trigger();
    Restart();
    stored = QSettings(SettingsPath(), QSettings::IniFormat).allKeys();
    stored.sort();
    EXPECT_EQ(stored, described);

    ApplyRecordingOptions(false, true, false);
    Restart();
    EXPECT_EQ(window->GetRecordingOptions(), (RecordingOptions{false, true, false}));
    QSettings changed(SettingsPath(), QSettings::IniFormat);
    EXPECT_EQ(changed.value("Recordings/AnyCaseWave").toString(), "True");
    EXPECT_EQ(changed.value("Recordings/WholeRecording").toString(), "False");

    // Back to the defaults: they are stored over the old value.
    ApplyRecordingOptions(false, false, false);
    Restart();
    EXPECT_EQ(window->GetRecordingOptions(), RecordingOptions{});
    QSettings back(SettingsPath(), QSettings::IniFormat);
    EXPECT_EQ(back.value("Recordings/AnyCaseWave").toString(), "False");
}

TEST_F(PreferencesInTheWindow, FieldViewSetsThePictureOptionsTogetherEverywhere) {
    ResizeClient(306, 140);  // cells 6 to 24 hidden
    auto fieldView = [this] {
        return window->findChild<QAction*>(QStringLiteral("mnuSPGFieldView"));
    };
    window->SetRecordingOptions({false, true, false});  // a name option Field View leaves alone
    ASSERT_FALSE(fieldView()->isChecked());
    fieldView()->trigger();
    EXPECT_TRUE(fieldView()->isChecked());
    EXPECT_EQ(window->GetRecordingOptions(), (RecordingOptions{true, true, false, true, true}));
    ExpectEveryPicture(*window, true, true, true);

    // The page shows the same, and one picture box off is no Field View.
    dialog->Update();
    for (const char* name : {"chkWholeRecording", "chkEverySample", "chkAutoContrast",
                             "chkFieldView", "chkAnyCaseWave"})
        EXPECT_TRUE(Box(name)->isChecked()) << name;
    EXPECT_EQ(Box("chkEverySample")->text(), "&Every sample in the picture");
    EXPECT_EQ(Box("chkAutoContrast")->text(), "&Contrast per recording");
    EXPECT_EQ(Box("chkFieldView")->text(), "&Field View");
    const auto* frame = dialog->findChild<QGroupBox*>(QStringLiteral("fraRecordings"));
    for (const char* name : {"chkEverySample", "chkAutoContrast", "chkFieldView"}) {
        EXPECT_GE(Box(name)->width(), Box(name)->sizeHint().width()) << name;
        EXPECT_TRUE(frame->contentsRect().contains(Box(name)->geometry())) << name;
    }
    Box("chkAutoContrast")->setChecked(false);
    EXPECT_FALSE(Box("chkFieldView")->isChecked());
    dialog->cmdApply_Click();
    EXPECT_FALSE(fieldView()->isChecked());
    ExpectEveryPicture(*window, true, true, false);

    // The page's own Field View box sets all three, and Apply takes them.
    Box("chkFieldView")->click();
    EXPECT_TRUE(Box("chkAutoContrast")->isChecked());
    dialog->cmdApply_Click();
    EXPECT_TRUE(fieldView()->isChecked());

    Restart();
    EXPECT_TRUE(fieldView()->isChecked());
    QSettings stored(SettingsPath(), QSettings::IniFormat);
    for (const char* key :
         {"Recordings/WholeRecording", "Recordings/EverySample", "Recordings/AutoContrast"})
        EXPECT_EQ(stored.value(key).toString(), "True") << key;
    window->UpdateCellSizes(750, 500);  // cells made after the options were read
    ResizeClient(306, 140);
    ExpectEveryPicture(*window, true, true, true);

    fieldView()->trigger();
    EXPECT_EQ(window->GetRecordingOptions(), (RecordingOptions{false, true, false, false, false}));
    ExpectEveryPicture(*window, false, false, false);
    fieldView()->trigger();
    dialog->Update();
    Box("chkFieldView")->click();
    for (const char* name : {"chkWholeRecording", "chkEverySample", "chkAutoContrast"})
        EXPECT_FALSE(Box(name)->isChecked()) << name;
    EXPECT_TRUE(Box("chkAnyCaseWave")->isChecked());
    dialog->cmdOK_Click();
    EXPECT_FALSE(fieldView()->isChecked());
    ExpectEveryPicture(*window, false, false, false);
    Restart();
    QSettings off(SettingsPath(), QSettings::IniFormat);
    EXPECT_EQ(off.value("Recordings/EverySample").toString(), "False");
    EXPECT_EQ(off.value("Recordings/AutoContrast").toString(), "False");
    EXPECT_EQ(window->GetRecordingOptions(), (RecordingOptions{false, true, false}));
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('|').toStdString();
    EXPECT_TRUE(dialogMessages.texts.isEmpty());
}

TEST_F(PreferencesInTheWindow, PlaybackPageHoldsTheSpeedAndPlayOnSelect) {
    auto* speed = dialog->findChild<QComboBox*>(QStringLiteral("cboSpeed"));
    ASSERT_NE(speed, nullptr);
    QStringList speeds;
    for (int i = 0; i < speed->count(); ++i) speeds.append(speed->itemText(i));
    EXPECT_EQ(speeds, QStringList({"1x", "1/2", "1/4", "1/8", "1/10", "1/20"}));
    auto* tabs = dialog->findChild<QTabBar*>(QStringLiteral("tbsPreferences"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Playback"));

    // The menu's choice shows on the page, and the page's reaches the menu and every cell.
    window->findChild<QAction*>(QStringLiteral("mnuSPGSpeed8"))->trigger();
    dialog->Update();
    EXPECT_EQ(speed->currentText(), "1/8");
    EXPECT_FALSE(Box("chkPlayOnSelect")->isChecked());
    speed->setCurrentText("1/20");
    Box("chkPlayOnSelect")->setChecked(true);
    dialog->cmdApply_Click();
    EXPECT_TRUE(window->findChild<QAction*>(QStringLiteral("mnuSPGSpeed20"))->isChecked());
    EXPECT_TRUE(window->findChild<QAction*>(QStringLiteral("mnuSPGPlayOnSelect"))->isChecked());
    for (int i = 0; i < window->LoadedCellCount(); ++i)
        EXPECT_EQ(window->Cell(i).Sonolux1()->property("PlaybackSpeedDivisor").toInt(), 20) << i;

    Restart();
    QSettings stored(SettingsPath(), QSettings::IniFormat);
    EXPECT_EQ(stored.value("Playback/SpeedDivisor").toString(), "20");
    EXPECT_EQ(stored.value("Playback/PlayOnSelect").toString(), "True");
    EXPECT_EQ(window->GetPlaybackOptions(), (PlaybackOptions{20, true}));
}
