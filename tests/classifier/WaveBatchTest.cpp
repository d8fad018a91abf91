#include <gtest/gtest.h>

#include "TempFolder.h"
#include "WaveBatch.h"

namespace {

QStringList Names(const QStringList& paths) {
    QStringList names;
    for (const QString& path : paths) names.append(path.section('/', -1));
    return names;
}

}  // namespace

TEST(WaveBatch, TakesOnlyLowerCaseWavFiles) {
    TempFolder folder;
    folder.WriteWave("a.wav");
    folder.WriteWave("B.WAV");
    folder.WriteText("notes.txt", "x");
    folder.WriteWave("c.wav");
    folder.WriteWave("d.Wav");
    folder.MakeFolder("e.wav");  // a folder is no recording
    const QString root = QString::fromStdString(folder.Path());
    bool listed = false;
    const QStringList batch = WaveBatch::FirstWaveFiles(root, 25, &listed);
    EXPECT_TRUE(listed);
    EXPECT_EQ(batch, QStringList({root + "/a.wav", root + "/c.wav"}));
}

TEST(WaveBatch, TakesTheFirstNamesIgnoringCaseWithExactTieBreak) {
    TempFolder folder;
    for (const char* name :
         {"delta.wav", "Alpha.wav", "charlie.wav", "bravo.wav", "alpha.wav", "Echo.wav"}) {
        folder.WriteWave(name);
    }
    const QString root = QString::fromStdString(folder.Path());
    EXPECT_EQ(Names(WaveBatch::FirstWaveFiles(root, 4)),
              QStringList({"Alpha.wav", "alpha.wav", "bravo.wav", "charlie.wav"}));
    EXPECT_EQ(Names(WaveBatch::FirstWaveFiles(root, 100)).size(), 6);
    EXPECT_TRUE(WaveBatch::FirstWaveFiles(root, 0).isEmpty());
}

TEST(WaveBatch, ThirtyFilesFillTwentyFiveThenTheRest) {
    TempFolder folder;
    for (int i = 0; i < 30; ++i)
        folder.WriteWave(QStringLiteral("r%1.wav").arg(i, 2, 10, QLatin1Char('0')).toStdString());
    const QString root = QString::fromStdString(folder.Path());
    const QStringList first = WaveBatch::FirstWaveFiles(root, 25);
    ASSERT_EQ(first.size(), 25);
    EXPECT_EQ(Names(first).front(), "r00.wav");
    EXPECT_EQ(Names(first).back(), "r24.wav");
}

TEST(WaveBatch, MissingFolderIsReportedAndGivesNothing) {
    bool listed = true;
    EXPECT_TRUE(WaveBatch::FirstWaveFiles("/no/such/folder", 25, &listed).isEmpty());
    EXPECT_FALSE(listed);
}
