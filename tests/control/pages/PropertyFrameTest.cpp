#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

#include "control/CSonoluxCtrl.h"
#include "framework/COlePropertyFrame.h"
#include "pages/CSPGParams.h"
#include "pages/CSonoluxPropPage.h"
#include "tests/control/mocks/FakeSoundPlayer.h"
#include "tests/control/mocks/RecordingPageMessageBox.h"

namespace {

struct PropertiesVerb : ::testing::Test {
    // Opens the frame the way a host's Properties verb does.
    COlePropertyFrame* Open() {
        EXPECT_TRUE(control.DoVerb(COleControl::Verb::Properties));
        auto* frame = control.findChild<COlePropertyFrame*>();
        EXPECT_NE(frame, nullptr);
        return frame;
    }
    CSPGParams* Parameters(COlePropertyFrame* frame) {
        return qobject_cast<CSPGParams*>(frame->Pages().value(1));
    }
    RecordingPageMessageBox messages;
    FakeSoundPlayer player;
    CSonoluxCtrl control{player};
};

}  // namespace

TEST_F(PropertiesVerb, OpensTheFrameWithoutBlockingAndWithThePagesInOrder) {
    COlePropertyFrame* frame = Open();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    ASSERT_EQ(frame->Pages().size(), 2);
    EXPECT_NE(qobject_cast<CSonoluxPropPage*>(frame->Pages().at(0)), nullptr);
    EXPECT_NE(Parameters(frame), nullptr);
    auto* tabs = frame->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabText(0), "General");
    EXPECT_EQ(tabs->tabText(1), "Spectrogram Parameters");
    EXPECT_EQ(frame->windowTitle(), "Sonolux Control Properties");
    EXPECT_FALSE(frame->ApplyButton()->isEnabled());  // nothing changed yet
}

TEST_F(PropertiesVerb, ApplyWritesAndKeepsTheFrameOpenCancelWritesNothing) {
    COlePropertyFrame* frame = Open();
    ASSERT_NE(frame, nullptr);
    Parameters(frame)->HopSizeEdit()->setText("200");
    ASSERT_TRUE(frame->ApplyButton()->isEnabled());
    frame->ApplyButton()->click();
    EXPECT_EQ(control.GetHopSize(), 200);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_FALSE(frame->ApplyButton()->isEnabled());

    Parameters(frame)->HopSizeEdit()->setText("300");
    frame->CancelButton()->click();
    EXPECT_EQ(control.GetHopSize(), 200);
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(PropertiesVerb, OkStaysOpenOnTheRefusingPageAndClosesOnceAccepted) {
    COlePropertyFrame* frame = Open();
    ASSERT_NE(frame, nullptr);
    auto* tabs = frame->findChild<QTabWidget*>();
    tabs->setCurrentIndex(0);
    frame->Pages().at(0)->findChild<QLineEdit*>()->setText("/data/path.bin");
    Parameters(frame)->PowerMinEdit()->setText("500");
    frame->OkButton()->click();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(messages.texts, QStringList{"Minimum power must be less than maximum power."});
    EXPECT_FLOAT_EQ(control.GetPowerMin(), 20.0f);
    // Pages apply in order: the general page before the refusing one.
    EXPECT_EQ(control.GetAudioSamplesDataPath(), "/data/path.bin");

    Parameters(frame)->PowerMinEdit()->setText("50");
    frame->OkButton()->click();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_FLOAT_EQ(control.GetPowerMin(), 50.0f);
}

TEST_F(PropertiesVerb, ContextMenuOffersTheVerbAndHostsReachItByIdentifier) {
    class Probe : public CSonoluxCtrl {
    public:
        using CSonoluxCtrl::CreateContextMenu;
        using CSonoluxCtrl::CSonoluxCtrl;
    };
    Probe probe{player};
    QMenu* contextMenu = probe.CreateContextMenu();
    ASSERT_EQ(contextMenu->actions().size(), 1);
    EXPECT_EQ(contextMenu->actions().at(0)->text(), "&Properties...");
    contextMenu->actions().at(0)->trigger();
    EXPECT_NE(probe.findChild<COlePropertyFrame*>(), nullptr);

    bool opened = false;
    ASSERT_TRUE(QMetaObject::invokeMethod(&control, "InvokeVerb", Q_RETURN_ARG(bool, opened),
                                          Q_ARG(int, -7)));
    EXPECT_TRUE(opened);
    EXPECT_NE(control.findChild<COlePropertyFrame*>(), nullptr);
}
