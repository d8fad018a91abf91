#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTest>

#include "tests/classifier/mocks/FakeMainWindowValues.h"
#include "tests/classifier/mocks/FakeServices.h"
#include "tests/classifier/mocks/MainWindowFixture.h"
#include "windows/frmOptions.h"

namespace {

// 1920 x 1080 pixels at 96 dpi: 28800 x 16200 twips.
const QSize Desktop(1920, 1080);

class OptionsDialogTest : public ::testing::Test {
protected:
    OptionsDialogTest() {
        dialog.Update();
        dialog.ShowModeless();
    }

    template <typename Widget>
    Widget* Child(const char* name) {
        auto* widget = dialog.findChild<Widget*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void SetText(const char* name, const QString& text) { Child<QLineEdit>(name)->setText(text); }
    QString Text(const char* name) { return Child<QLineEdit>(name)->text(); }
    void Select(const char* list, const QString& item) {
        QComboBox* combo = Child<QComboBox>(list);
        const int position = combo->findText(item);
        ASSERT_GE(position, 0) << item.toStdString();
        combo->setCurrentIndex(position);
    }
    QString Items(const char* list) {
        QComboBox* combo = Child<QComboBox>(list);
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        return items.join(',');
    }
    void Press(const char* button) { Child<QPushButton>(button)->click(); }
    // A key as the user presses it: to the focused control, which the dialog previews.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
        QTest::keyClick(target, key, modifiers);
    }
    int SelectedTab() { return Child<QTabBar>("tbsOptions")->currentIndex(); }
    // Pixels at 96 dpi: 210 twips is 14 pixels, -20000 twips is -1333.
    bool PageShown(const char* page) {
        QWidget* panel = Child<QWidget>(page);
        return panel->x() == 14 && panel->isEnabled();
    }
    bool PageHidden(const char* page) {
        QWidget* panel = Child<QWidget>(page);
        return panel->x() == -1333 && !panel->isEnabled();
    }

    FakeMainWindowValues values;
    FakeMessageBox messages;
    frmOptions dialog{values, messages, ScreenDpi{96.0, 96.0}, Desktop};
};

}  // namespace

TEST_F(OptionsDialogTest, UpdateShowsTheMainWindowsValues) {
    EXPECT_EQ(Child<QComboBox>("cboFFTSize")->currentText(), QStringLiteral("128"));
    EXPECT_EQ(Child<QComboBox>("cboFrameLength")->currentText(), QStringLiteral("64"));
    EXPECT_EQ(Child<QComboBox>("cboWindowFunction")->currentText(), QStringLiteral("Hamming"));
    EXPECT_EQ(Text("txtHopSize"), QStringLiteral("64"));
    EXPECT_EQ(Text("txtPowerMax"), QStringLiteral("120"));
    EXPECT_EQ(Text("txtPowerMin"), QStringLiteral("20"));
    EXPECT_EQ(Text("txtCellWidth"), QStringLiteral("1500"));
    EXPECT_EQ(Text("txtCellHeight"), QStringLiteral("1000"));

    values.params = {0, 8, 7, 3, 95.25f, -10.5f};
    values.width = 2000;
    dialog.Update();
    EXPECT_EQ(Child<QComboBox>("cboFFTSize")->currentText(), QStringLiteral("32"));
    EXPECT_EQ(Child<QComboBox>("cboFrameLength")->currentText(), QStringLiteral("8192"));
    EXPECT_EQ(Child<QComboBox>("cboWindowFunction")->currentText(), QStringLiteral("Blackman"));
    EXPECT_EQ(Text("txtPowerMax"), QStringLiteral("95.25"));
    EXPECT_EQ(Text("txtPowerMin"), QStringLiteral("-10.5"));
    EXPECT_EQ(Text("txtCellWidth"), QStringLiteral("2000"));
}

TEST_F(OptionsDialogTest, HasTheDescribedWindowControlsAndLists) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options"));
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.size(), QSize(410, 325));  // 6150 x 4875 twips
    EXPECT_EQ(Child<QLineEdit>("txtCellWidth")->geometry(), QRect(88, 32, 65, 19));
    EXPECT_EQ(Child<QGroupBox>("fraSample1")->title(),
              QStringLiteral("Spectrogram Size (in Twips)"));
    EXPECT_EQ(Child<QGroupBox>("fraSample2")->title(), QStringLiteral("Spectrogram Parameters"));
    QTabBar* tabs = Child<QTabBar>("tbsOptions");
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Size"));
    EXPECT_EQ(tabs->tabData(0).toString(), QStringLiteral("grpSize"));
    EXPECT_EQ(tabs->tabToolTip(0), QStringLiteral("Spectrogram viewer size"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Parameters"));
    EXPECT_EQ(tabs->tabData(1).toString(), QStringLiteral("grpParams"));
    EXPECT_EQ(tabs->tabToolTip(1), QStringLiteral("Spectrogram parameters"));

    EXPECT_FALSE(Child<QComboBox>("cboFFTSize")->isEditable());
    EXPECT_EQ(Items("cboFFTSize"), QStringLiteral("8192,4096,2048,1024,512,256,128,64,32"));
    EXPECT_EQ(Items("cboFrameLength"), Items("cboFFTSize"));
    EXPECT_EQ(Items("cboWindowFunction"),
              QStringLiteral("Hamming,Hanning,Rectangular,Blackman,Bartlett"));
}

TEST_F(OptionsDialogTest, CaptionsAreWholeAndInsideTheirFrames) {
    for (const QGroupBox* frame : dialog.findChildren<QGroupBox*>()) {
        for (const QLabel* label : frame->findChildren<QLabel*>()) {
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
            EXPECT_GE(label->x(), frame->contentsRect().left()) << label->text().toStdString();
        }
    }
}

TEST(OptionsDialogLayout, ScalesItsTwipsWithTheScreensResolution) {
    FakeMainWindowValues values;
    FakeMessageBox messages;
    frmOptions dialog(values, messages, ScreenDpi{144.0, 120.0}, Desktop);
    EXPECT_EQ(dialog.size(), QSize(615, 406));  // 6150 x 4875 twips: 615 x 406.25 pixels
    auto* width = dialog.findChild<QLineEdit*>(QStringLiteral("txtCellWidth"));
    EXPECT_EQ(width->geometry(), QRect(132, 40, 98, 24));
}

TEST_F(OptionsDialogTest, ApplyPassesTheEditedValuesWithTheListMapping) {
    SetText("txtCellWidth", QStringLiteral("1500.5"));
    SetText("txtCellHeight", QStringLiteral("1501.5"));
    Select("cboFFTSize", QStringLiteral("32"));
    Select("cboFrameLength", QStringLiteral("8192"));
    Select("cboWindowFunction", QStringLiteral("Rectangular"));
    SetText("txtHopSize", QStringLiteral(" 0 "));
    SetText("txtPowerMin", QStringLiteral("120"));
    SetText("txtPowerMax", QStringLiteral("20"));
    Press("cmdApply");

    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('|').toStdString();
    ASSERT_EQ(values.cellSizeCalls.size(), 1u);
    EXPECT_EQ(values.cellSizeCalls[0].width, 1500);
    EXPECT_EQ(values.cellSizeCalls[0].height, 1502);
    EXPECT_FALSE(values.cellSizeCalls[0].force);
    ASSERT_EQ(values.spgCalls.size(), 1u);
    EXPECT_EQ(values.spgCalls[0], (SpectrogramParameterSet{0, 8, 0, 2, 20.0f, 120.0f}));
    EXPECT_TRUE(dialog.isVisible());

    Select("cboWindowFunction", QStringLiteral("Bartlett"));
    Select("cboFFTSize", QStringLiteral("8192"));
    Select("cboFrameLength", QStringLiteral("32"));
    Press("cmdApply");
    ASSERT_EQ(values.spgCalls.size(), 2u);
    EXPECT_EQ(values.spgCalls[1].WindowFunctionChoice, 4);
    EXPECT_EQ(values.spgCalls[1].FFTSizeChoice, 8);
    EXPECT_EQ(values.spgCalls[1].FrameLengthChoice, 0);
    EXPECT_EQ(values.cellSizeCalls.size(), 2u);  // the same size again, passed on again
}

TEST_F(OptionsDialogTest, AWidthThatIsNoNumberAppliesNothing) {
    SetText("txtCellWidth", QStringLiteral("abc"));
    Press("cmdApply");
    EXPECT_EQ(messages.texts, QStringList{QStringLiteral("Type mismatch")});
    EXPECT_TRUE(values.cellSizeCalls.empty());
    EXPECT_TRUE(values.spgCalls.empty());
}

TEST_F(OptionsDialogTest, AnEmptyHopSizeKeepsTheAppliedCellSizeButNotTheParameters) {
    SetText("txtCellWidth", QStringLiteral("1800"));
    SetText("txtHopSize", QString());
    Press("cmdApply");
    EXPECT_EQ(messages.texts, QStringList{QStringLiteral("Type mismatch")});
    ASSERT_EQ(values.cellSizeCalls.size(), 1u);
    EXPECT_EQ(values.cellSizeCalls[0].width, 1800);
    EXPECT_TRUE(values.spgCalls.empty());
}

TEST_F(OptionsDialogTest, NumbersOutOfRangeReportAnOverflow) {
    SetText("txtPowerMax", QStringLiteral("1e39"));
    Press("cmdApply");
    SetText("txtPowerMax", QStringLiteral("120"));
    SetText("txtCellHeight", QStringLiteral("99999999999"));
    Press("cmdApply");
    EXPECT_EQ(messages.texts,
              (QStringList{QStringLiteral("Overflow"), QStringLiteral("Overflow")}));
    EXPECT_EQ(values.cellSizeCalls.size(), 1u);  // only the first Apply got that far
    EXPECT_TRUE(values.spgCalls.empty());
}

TEST_F(OptionsDialogTest, ARefusalOfTheCellsIsReportedWithItsOwnDescription) {
    values.refuseSPGParams = CorvaneError(380, QStringLiteral("Invalid property value"));
    SetText("txtCellWidth", QStringLiteral("1800"));
    Press("cmdApply");
    EXPECT_EQ(messages.texts, QStringList{QStringLiteral("Invalid property value")});
    EXPECT_EQ(values.width, 1800);
    EXPECT_EQ(values.spgCalls.size(), 1u);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(OptionsDialogTest, RefusesCellSizesTheGridCannotLayOut) {
    for (const char* size : {"0", "-1500"}) {
        SetText("txtCellWidth", QString::fromLatin1(size));
        Press("cmdApply");
    }
    SetText("txtCellWidth", QStringLiteral("1500"));
    SetText("txtCellHeight", QStringLiteral("0.4"));  // rounds to 0
    Press("cmdApply");
    ASSERT_EQ(messages.texts.size(), 3);
    for (const QString& text : messages.texts)
        EXPECT_EQ(text, QStringLiteral("The cell width and height must be at least 1 twip."));

    // 288 x 162 cells of 100 x 100 twips would cover the desktop: too many.
    messages.texts.clear();
    SetText("txtCellWidth", QStringLiteral("100"));
    SetText("txtCellHeight", QStringLiteral("100"));
    Press("cmdApply");
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith(QStringLiteral("Cells of 100 x 100 twips")));
    EXPECT_TRUE(values.cellSizeCalls.empty());
    EXPECT_TRUE(values.spgCalls.empty());

    // 192 x 108 = 20736 cells of 150 x 150 twips fit the grid.
    SetText("txtCellWidth", QStringLiteral("150"));
    SetText("txtCellHeight", QStringLiteral("150"));
    Press("cmdApply");
    EXPECT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(values.cellSizeCalls.size(), 1u);
}

TEST_F(OptionsDialogTest, OkAppliesAndClosesEvenAfterAMessage) {
    SetText("txtCellHeight", QStringLiteral("high"));
    Press("cmdOK");
    EXPECT_EQ(messages.texts, QStringList{QStringLiteral("Type mismatch")});
    EXPECT_TRUE(values.cellSizeCalls.empty());
    EXPECT_TRUE(values.spgCalls.empty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.IsLoaded());

    dialog.Update();
    dialog.ShowModeless();
    SetText("txtHopSize", QStringLiteral("128"));
    Press("cmdOK");
    ASSERT_EQ(values.spgCalls.size(), 1u);
    EXPECT_EQ(values.spgCalls[0].HopSize, 128);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(OptionsDialogTest, CancelEscAndCloseApplyNothing) {
    SetText("txtHopSize", QStringLiteral("128"));
    Press("cmdCancel");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.IsLoaded());

    dialog.Update();
    dialog.ShowModeless();
    SetText("txtHopSize", QStringLiteral("128"));
    Key(Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());

    dialog.Update();
    dialog.ShowModeless();
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_TRUE(values.cellSizeCalls.empty());
    EXPECT_TRUE(values.spgCalls.empty());
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(OptionsDialogTest, EnterPressesNoButton) {
    Child<QLineEdit>("txtCellWidth")->setFocus();
    Key(Qt::Key_Return);
    Key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(values.cellSizeCalls.empty());
}

TEST_F(OptionsDialogTest, CtrlTabCyclesThroughTheTabsWhereverTheFocusIs) {
    EXPECT_EQ(SelectedTab(), 0);
    EXPECT_TRUE(PageShown("picOptions0"));
    EXPECT_TRUE(PageHidden("picOptions1"));

    Child<QLineEdit>("txtCellWidth")->setFocus();
    Key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(SelectedTab(), 1);
    EXPECT_TRUE(PageHidden("picOptions0"));
    EXPECT_TRUE(PageShown("picOptions1"));
    // The text box went with its page; the keyboard still reaches a control.
    ASSERT_NE(dialog.focusWidget(), nullptr);
    EXPECT_TRUE(dialog.focusWidget()->isEnabled());

    Child<QComboBox>("cboFFTSize")->setFocus();
    Key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(SelectedTab(), 0);
    EXPECT_TRUE(PageShown("picOptions0"));
    EXPECT_TRUE(PageHidden("picOptions1"));

    Key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_Tab, Qt::ControlModifier | Qt::AltModifier);
    Key(Qt::Key_Tab);
    EXPECT_EQ(SelectedTab(), 0);
}

TEST_F(OptionsDialogTest, ReopeningReplacesUnappliedEdits) {
    Key(Qt::Key_Tab, Qt::ControlModifier);
    SetText("txtCellWidth", QStringLiteral("2000"));
    Select("cboWindowFunction", QStringLiteral("Bartlett"));
    // The Options command while the dialog is open.
    dialog.Update();
    dialog.ShowModeless();
    EXPECT_EQ(Text("txtCellWidth"), QStringLiteral("1500"));
    EXPECT_EQ(Child<QComboBox>("cboWindowFunction")->currentText(), QStringLiteral("Hamming"));
    EXPECT_EQ(SelectedTab(), 1);  // the selected tab stays

    // After a Cancel the dialog loads afresh, on the "Size" tab.
    Press("cmdCancel");
    dialog.Update();
    EXPECT_EQ(SelectedTab(), 0);
    EXPECT_TRUE(PageShown("picOptions0"));
    EXPECT_EQ(Child<QComboBox>("cboFFTSize")->count(), 9);
}

TEST_F(OptionsDialogTest, AChoiceOutsideTheListsIsKeptAsItIs) {
    values.params.FFTSizeChoice = 12;
    values.params.WindowFunctionChoice = -1;
    dialog.Update();
    EXPECT_EQ(Child<QComboBox>("cboFFTSize")->currentIndex(), -1);
    EXPECT_EQ(Child<QComboBox>("cboWindowFunction")->currentIndex(), -1);
    Press("cmdApply");
    ASSERT_EQ(values.spgCalls.size(), 1u);
    EXPECT_EQ(values.spgCalls[0].FFTSizeChoice, 12);
    EXPECT_EQ(values.spgCalls[0].WindowFunctionChoice, -1);
    EXPECT_EQ(values.spgCalls[0].FrameLengthChoice, 1);
}

using OptionsInTheWindow = MainWindowFixture;

TEST_F(OptionsInTheWindow, ARefusalReachesTheWindowsMessageBoxAndAppliesNothing) {
    frmOptions& options = window->OptionsDialog();
    options.Update();
    options.findChild<QLineEdit*>(QStringLiteral("txtCellWidth"))->setText(QStringLiteral("wide"));
    options.findChild<QLineEdit*>(QStringLiteral("txtHopSize"))->setText(QStringLiteral("128"));
    options.findChild<QPushButton*>(QStringLiteral("cmdApply"))->click();
    EXPECT_EQ(messages.texts, QStringList{QStringLiteral("Type mismatch")});
    EXPECT_EQ(messages.owners, std::vector<QWidget*>{&options});
    std::int32_t width = 0, height = 0;
    window->GetCellSize(width, height);
    EXPECT_EQ(width, 1500);
    EXPECT_EQ(window->SPGParams(), FirstRunSPGParams);
    window.reset();
}
