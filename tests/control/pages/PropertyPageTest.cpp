#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

#include "control/CSonoluxCtrl.h"
#include "pages/CSPGParams.h"
#include "pages/CSonoluxPropPage.h"
#include "tests/control/mocks/FakeSoundPlayer.h"
#include "tests/control/mocks/FinishPictures.h"
#include "tests/control/mocks/RecordingPageMessageBox.h"
#include "tests/support/TempFolder.h"

namespace {

const QString FrameMessage = "Frame length must not be larger than FFTsize.";
const QString PowerMessage = "Minimum power must be less than maximum power.";

struct ParametersPage : ::testing::Test {
    ParametersPage() {
        control.resize(150, 100);
        page.SetObjects({&control});
        page.show();
    }
    // Enters the six values as a user would, by list text and typed text.
    void Enter(const QString& frame, const QString& fft, const QString& hop, const QString& min,
               const QString& max, const QString& window = "Hamming") {
        page.FrameLengthList()->setCurrentText(frame);
        page.FFTSizeList()->setCurrentText(fft);
        page.HopSizeEdit()->setText(hop);
        page.PowerMinEdit()->setText(min);
        page.PowerMaxEdit()->setText(max);
        page.WindowFunctionList()->setCurrentText(window);
    }
    RecordingPageMessageBox messages;
    FakeSoundPlayer player;
    CSonoluxCtrl control{player};
    CSPGParams page;
};

}  // namespace

TEST_F(ParametersPage, FillsItsFieldsAndListsFromTheControl) {
    EXPECT_EQ(page.FrameLengthList()->currentText(), "128");
    EXPECT_EQ(page.FFTSizeList()->currentText(), "256");
    EXPECT_EQ(page.WindowFunctionList()->currentText(), "Hamming");
    EXPECT_EQ(page.HopSizeEdit()->text(), "64");
    EXPECT_EQ(page.PowerMinEdit()->text(), "20");
    EXPECT_EQ(page.PowerMaxEdit()->text(), "120");
    EXPECT_EQ(page.FrameLengthList()->count(), 9);
    EXPECT_EQ(page.FFTSizeList()->itemText(8), "8192");
    EXPECT_EQ(page.WindowFunctionList()->itemText(4), "Bartlett");
    EXPECT_FALSE(page.IsModified());  // filling is no change by the user
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(ParametersPage, FrameLengthMayEqualButNotExceedTheFFTSize) {
    Enter("256", "256", "64", "20", "120");
    EXPECT_TRUE(page.Apply());
    EXPECT_EQ(control.GetFrameLengthChoice(), 3);
    EXPECT_EQ(control.GetFFTSizeChoice(), 3);

    Enter("512", "256", "100", "20", "120");
    EXPECT_FALSE(page.Apply());
    EXPECT_EQ(messages.texts, QStringList{FrameMessage});
    EXPECT_EQ(page.focusWidget(), page.FrameLengthList());
    // Nothing is written, not even the valid hop size, and the entries stay.
    EXPECT_EQ(control.GetFrameLengthChoice(), 3);
    EXPECT_EQ(control.GetHopSize(), 64);
    EXPECT_EQ(page.HopSizeEdit()->text(), "100");
}

TEST_F(ParametersPage, MinimumPowerMustBeBelowMaximumPower) {
    Enter("128", "256", "64", "120", "120");
    EXPECT_FALSE(page.Apply());
    EXPECT_EQ(messages.texts, QStringList{PowerMessage});
    EXPECT_EQ(page.focusWidget(), page.PowerMaxEdit());
    EXPECT_FLOAT_EQ(control.GetPowerMin(), 20.0f);

    Enter("128", "256", "64", "nan", "120");  // not comparable
    EXPECT_FALSE(page.Apply());
    EXPECT_EQ(messages.texts.size(), 2);
    EXPECT_EQ(messages.texts.last(), PowerMessage);

    Enter("128", "256", "64", "119.5", "120");
    EXPECT_TRUE(page.Apply());
    EXPECT_FLOAT_EQ(control.GetPowerMin(), 119.5f);
    EXPECT_FLOAT_EQ(control.GetPowerMax(), 120.0f);
}

TEST_F(ParametersPage, FrameCheckComesFirstAndShowsOnlyOneMessage) {
    Enter("512", "256", "64", "130", "120");
    EXPECT_FALSE(page.Apply());
    EXPECT_EQ(messages.texts, QStringList{FrameMessage});
}

TEST_F(ParametersPage, HopSizeMustBeAPositiveInteger) {
    Enter("128", "256", "0", "20", "120");
    EXPECT_FALSE(page.Apply());
    EXPECT_EQ(messages.texts, QStringList{"Please enter an integer between 1 and 2147483647."});
    EXPECT_EQ(page.focusWidget(), page.HopSizeEdit());
    EXPECT_EQ(control.GetHopSize(), 64);

    for (const QString text : {"12x", "", "2147483648", "1,000"}) {
        page.HopSizeEdit()->setText(text);
        EXPECT_FALSE(page.Apply()) << text.toStdString();
    }
    EXPECT_EQ(messages.texts.last(), "Please enter an integer.");
    page.PowerMaxEdit()->setText("1,000");  // refused as the program refuses it
    page.HopSizeEdit()->setText("1");
    EXPECT_FALSE(page.Apply());
    EXPECT_EQ(messages.texts.last(), "Please enter a number.");
    page.PowerMaxEdit()->setText("loud");
    EXPECT_FALSE(page.Apply());
    EXPECT_EQ(page.focusWidget(), page.PowerMaxEdit());

    page.PowerMaxEdit()->setText("120");
    EXPECT_TRUE(page.Apply());
    EXPECT_EQ(control.GetHopSize(), 1);
}

TEST_F(ParametersPage, WindowListPositionIsTheWindowIndex) {
    Enter("128", "256", "64", "20", "120", "Rectangular");
    ASSERT_TRUE(page.Apply());
    EXPECT_EQ(control.GetWindowFunctionChoice(), 2);
    page.WindowFunctionList()->setCurrentText("Bartlett");
    ASSERT_TRUE(page.Apply());
    EXPECT_EQ(control.GetWindowFunctionChoice(), 4);
}

TEST_F(ParametersPage, ControlBreakingTheFrameCheckShowsTheMessageWhenFilled) {
    CSonoluxCtrl broken{player};
    broken.SetFrameLengthChoice(5);
    broken.SetPowerMin(200);  // breaks the power check too; only the first message shows
    CSPGParams other;
    other.SetObjects({&broken});
    EXPECT_EQ(messages.texts, QStringList{FrameMessage});
    EXPECT_EQ(other.FrameLengthList()->currentText(), "1024");
}

TEST_F(ParametersPage, StoredChoiceOutsideTheListShowsTheNearestAndBlamesNoOtherField) {
    control.SetFFTSizeChoice(12);
    control.SetWindowFunctionChoice(-3);
    page.SetObjects({&control});
    EXPECT_EQ(page.FFTSizeList()->currentText(), "8192");
    EXPECT_EQ(page.WindowFunctionList()->currentText(), "Hamming");
    EXPECT_TRUE(messages.texts.isEmpty());  // frame length 128 is no larger than 8192

    page.HopSizeEdit()->setText("32");
    ASSERT_TRUE(page.Apply());
    EXPECT_EQ(control.GetHopSize(), 32);
    EXPECT_EQ(control.GetFFTSizeChoice(), 12);  // untouched, not rewritten

    control.SetFFTSizeChoice(-1);  // shown as "32": the frame length of 128 is larger
    page.SetObjects({&control});
    EXPECT_EQ(page.FFTSizeList()->currentText(), "32");
    EXPECT_EQ(messages.texts, QStringList{FrameMessage});
}

TEST_F(ParametersPage, ApplyingRepaintsTheControlWithTheNewParameters) {
    control.show();
    control.grab();
    ASSERT_FALSE(PictureStillPending(control));
    ASSERT_FALSE(control.IsImageDirty());
    const int builds = control.ImageBuildCount();

    page.HopSizeEdit()->setText("32");
    ASSERT_TRUE(page.Apply());
    EXPECT_TRUE(control.IsImageDirty());
    control.grab();
    EXPECT_FALSE(PictureStillPending(control));
    EXPECT_EQ(control.ImageBuildCount(), builds + 1);
    EXPECT_EQ(control.GetHopSize(), 32);
}

TEST_F(ParametersPage, ServesSeveralControlsWritingOnlyWhatTheUserChanged) {
    CSonoluxCtrl second{player};
    second.SetHopSize(128);
    second.SetPowerMax(100);
    page.SetObjects({&control, &second});
    EXPECT_EQ(page.HopSizeEdit()->text(), "64");  // shown from the first control

    page.PowerMaxEdit()->setText("90");
    ASSERT_TRUE(page.Apply());
    EXPECT_FLOAT_EQ(control.GetPowerMax(), 90.0f);
    EXPECT_FLOAT_EQ(second.GetPowerMax(), 90.0f);
    EXPECT_EQ(control.GetHopSize(), 64);
    EXPECT_EQ(second.GetHopSize(), 128);  // untouched field, not overwritten
    EXPECT_FALSE(page.IsModified());
}

TEST_F(ParametersPage, UntouchedFieldsKeepOddValuesExactly) {
    control.SetPowerMin(0.1f);
    control.SetPowerMax(123456.7f);
    page.SetObjects({&control});
    page.HopSizeEdit()->setText("70");
    ASSERT_TRUE(page.Apply());
    EXPECT_EQ(control.GetPowerMin(), 0.1f);
    EXPECT_EQ(control.GetPowerMax(), 123456.7f);
    EXPECT_EQ(page.PowerMinEdit()->text(), "0.1");
}

TEST(PropertyPages, EveryCaptionAndListItemFitsAtTheDefaultFont) {
    CSonoluxPropPage general;
    CSPGParams parameters;
    for (const COlePropertyPage* page :
         {static_cast<COlePropertyPage*>(&general), static_cast<COlePropertyPage*>(&parameters)}) {
        const QRect area(QPoint(0, 0), page->sizeHint());
        const QList<QWidget*> fields = page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (const QWidget* field : fields) {
            const auto* label = qobject_cast<const QLabel*>(field);
            const std::string name = (label ? label->text() : field->objectName()).toStdString();
            if (label || qobject_cast<const QComboBox*>(field)) {
                EXPECT_GE(field->width(), field->sizeHint().width()) << name;
            }
            EXPECT_TRUE(area.contains(field->geometry())) << name;
            for (const QWidget* other : fields) {
                EXPECT_TRUE(other == field || !field->geometry().intersects(other->geometry()))
                    << name << " overlaps " << other->objectName().toStdString();
            }
        }
    }
}

TEST(GeneralPage, ShowsAndWritesTheDataPath) {
    RecordingPageMessageBox messages;
    FakeSoundPlayer player;
    CSonoluxCtrl control{player};
    TempFolder folder;
    const QString first = QString::fromStdString(folder.WriteText("a.bin", "12345"));
    control.SetAudioSamplesDataPath(first);

    CSonoluxPropPage page;
    EXPECT_EQ(page.Caption(), "General");
    page.SetObjects({&control});
    EXPECT_EQ(page.DataPathEdit()->text(), first);

    const QString second = QString::fromStdString(folder.WriteText("b.bin", "678"));
    page.DataPathEdit()->setText(second);
    ASSERT_TRUE(page.Apply());
    EXPECT_EQ(control.GetAudioSamplesDataPath(), second);
    EXPECT_TRUE(messages.texts.isEmpty());
}
