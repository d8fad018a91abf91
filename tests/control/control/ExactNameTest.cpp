#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "control/CSonoluxCtrl.h"
#include "tests/control/mocks/ControlShowingRecording.h"
#include "tests/control/mocks/FakeSoundPlayer.h"
#include "tests/support/TempFolder.h"

namespace {

// A control showing a recording, beside files that a name that is not exact
// would reach instead of its own.
struct ExactName : ControlShowingRecording {
    ExactName() : ControlShowingRecording("shown.wav") {}
};

// Cut at its NUL, the first name is other.wav; the lone surrogate of the
// second turns into the bytes of U+FFFD, which name the twin.
TEST_F(ExactName, FilenameThatNamesNoFileExactlyLoadsAndPlaysNothing) {
    ASSERT_TRUE(control.GetLoaded());
    ASSERT_FALSE(control.IsImageDirty());
    const QString other = QString::fromStdString(folder.WriteWave("other.wav", {1, 2, 3}));
    folder.WriteWave("caf\xEF\xBF\xBD.wav", {4, 5, 6, 7});
    const QString withNul = other + QChar(u'\0') + QStringLiteral(".wav");
    const QString loneSurrogate =
        QString::fromStdString(folder.Path("caf")) + QChar(0xD800) + QStringLiteral(".wav");

    for (const QString& name : {withNul, loneSurrogate}) {
        control.SetFilename(name);
        EXPECT_EQ(control.GetFilename(), name);
        EXPECT_EQ(control.Samples(), (std::vector<std::int16_t>{100, -200}));
        EXPECT_FALSE(control.IsImageDirty());
        EXPECT_FALSE(control.GetLoaded());
        EXPECT_EQ(control.GetTotalFrames(), 0u);
        // A reload for a new frame limit reads nothing either.
        control.SetFrameLimit(control.GetFrameLimit() + 1);
        EXPECT_EQ(control.Samples(), (std::vector<std::int16_t>{100, -200}));

        control.Play();
        EXPECT_EQ(control.GetPlayError(), QStringLiteral("name not usable"));
    }
    EXPECT_TRUE(player.played.isEmpty());
}

}  // namespace
