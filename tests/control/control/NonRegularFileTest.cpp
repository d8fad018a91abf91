#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <fstream>

#include "control/CSonoluxCtrl.h"
#include "tests/control/mocks/ControlShowingRecording.h"
#include "tests/control/mocks/FakeSoundPlayer.h"
#include "tests/support/TempFolder.h"

namespace {

// A control showing a real recording, and a named pipe beside it that no one
// writes to: opening the pipe the ordinary way would wait for ever.
struct NonRegularFile : ControlShowingRecording {
    NonRegularFile() : ControlShowingRecording("tone.wav") {
        pipe = folder.Path("pipe.wav");
        if (::mkfifo(pipe.c_str(), 0600) != 0) pipe.clear();
    }
    static void DeliverPostedEvents() {
        for (int i = 0; i < 10; ++i) QCoreApplication::sendPostedEvents();
    }

    std::string pipe;
};

TEST_F(NonRegularFile, PipeAsFilenameKeepsSamplesAndPictureAndPlaysNothing) {
    ASSERT_FALSE(pipe.empty());
    ASSERT_FALSE(control.IsImageDirty());
    const QString name = QString::fromStdString(pipe);
    control.SetFilename(name);
    EXPECT_EQ(control.GetFilename(), name);
    EXPECT_EQ(control.Samples(), (std::vector<std::int16_t>{100, -200}));
    EXPECT_FALSE(control.IsImageDirty());
    control.Play();
    control.SetFilename(QString::fromStdString(folder.Path()));  // a folder is no file either
    control.Play();
    EXPECT_TRUE(player.played.isEmpty());
}

TEST_F(NonRegularFile, DataPathReadsOnlyRegularFilesAndOnlyWhatTheyHeldAtTheStart) {
    ASSERT_FALSE(pipe.empty());
    for (const QString& path : {QString::fromStdString(pipe), QStringLiteral("/dev/zero")}) {
        control.SetAudioSamplesDataPath(path);
        DeliverPostedEvents();
        EXPECT_EQ(control.GetAudioSamplesDataPath(), path);
        EXPECT_EQ(control.DataPath().PiecesSeen(), 0) << path.toStdString();
    }
    // A file that grows while it is read is read up to the size it had when the
    // read started: 100 KiB in two pieces, not the 200 KiB it ends with.
    const std::string growing = folder.WriteText("growing.bin", std::string(100 * 1024, 'x'));
    control.SetAudioSamplesDataPath(QString::fromStdString(growing));
    std::ofstream(growing, std::ios::binary | std::ios::app) << std::string(100 * 1024, 'y');
    DeliverPostedEvents();
    EXPECT_EQ(control.DataPath().PiecesSeen(), 2);
}

}  // namespace
