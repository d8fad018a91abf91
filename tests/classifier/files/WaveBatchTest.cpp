#include <gtest/gtest.h>
#include <unistd.h>

#include "files/WaveBatch.h"
#include "tests/support/TempFolder.h"

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
    EXPECT_EQ(WaveBatch::FirstWaveFiles(root, 25).paths,
              QStringList({root + "/a.wav", root + "/c.wav"}));
}

TEST(WaveBatch, TakesWavNamesInAnyLetterCaseOnlyWhenAsked) {
    TempFolder folder;
    for (const char* name : {"a.wav", "a.WAV", "b.Wav", "c.wAV", "d.wave", "e.WA", "f.wav.txt"})
        folder.WriteWave(name);
    folder.MakeFolder("g.WAV");
    // A Latin-1 name: counted, never shown. The folder cannot remove what it
    // cannot name, so the test does.
    const std::string latin1 = folder.WriteWave("caf\xe9.WAV");
    const QString root = QString::fromStdString(folder.Path());
    using WaveBatch::WaveNames;

    const WaveBatch::Batch lower = WaveBatch::FirstWaveFiles(root, 25, WaveNames::LowerCaseOnly);
    EXPECT_EQ(Names(lower.paths), QStringList({"a.wav"}));
    EXPECT_EQ(lower.unreadableNames, 0);

    // Both spellings of one name, the upper-case one first.
    const WaveBatch::Batch any = WaveBatch::FirstWaveFiles(root, 25, WaveNames::AnyCase);
    EXPECT_EQ(any.paths,
              QStringList({root + "/a.WAV", root + "/a.wav", root + "/b.Wav", root + "/c.wAV"}));
    EXPECT_EQ(any.unreadableNames, 1);
    EXPECT_EQ(Names(WaveBatch::FirstWaveFiles(root, 1, WaveNames::AnyCase).paths),
              QStringList({"a.WAV"}));
    ::unlink(latin1.c_str());
}

TEST(WaveBatch, TakesTheFirstNamesIgnoringCaseWithExactTieBreak) {
    TempFolder folder;
    for (const char* name :
         {"delta.wav", "Alpha.wav", "charlie.wav", "bravo.wav", "alpha.wav", "Echo.wav"}) {
        folder.WriteWave(name);
    }
    const QString root = QString::fromStdString(folder.Path());
    EXPECT_EQ(Names(WaveBatch::FirstWaveFiles(root, 4).paths),
              QStringList({"Alpha.wav", "alpha.wav", "bravo.wav", "charlie.wav"}));
    EXPECT_EQ(Names(WaveBatch::FirstWaveFiles(root, 100).paths).size(), 6);
    EXPECT_TRUE(WaveBatch::FirstWaveFiles(root, 0).paths.isEmpty());
}

TEST(WaveBatch, ThirtyFilesFillTwentyFiveThenTheRest) {
    TempFolder folder;
    for (int i = 0; i < 30; ++i)
        folder.WriteWave(QStringLiteral("r%1.wav").arg(i, 2, 10, QLatin1Char('0')).toStdString());
    const QString root = QString::fromStdString(folder.Path());
    const QStringList first = WaveBatch::FirstWaveFiles(root, 25).paths;
    ASSERT_EQ(first.size(), 25);
    EXPECT_EQ(Names(first).front(), "r00.wav");
    EXPECT_EQ(Names(first).back(), "r24.wav");
}

TEST(WaveBatch, MissingFolderGivesNothing) {
    EXPECT_TRUE(WaveBatch::FirstWaveFiles("/no/such/folder", 25).paths.isEmpty());
}

// A Latin-1 "café.wav" reads as "caf\uFFFD.wav"; a file really named so may
// sit beside it. Only names whose text leads back to them take a cell.
TEST(WaveBatch, SkipsAndCountsNamesThatAreNotUtf8) {
    TempFolder folder;
    folder.WriteWave("caf\xe9.wav");
    folder.WriteWave("caf\xef\xbf\xbd.wav");
    folder.WriteWave(
        "n\xe4"
        "chtlich.wav");
    folder.WriteWave("\xc3\xa9t\xc3\xa9.wav");  // "été" in UTF-8
    folder.WriteText("\xff.txt", "not a recording");
    const QString root = QString::fromStdString(folder.Path());
    const WaveBatch::Batch batch = WaveBatch::FirstWaveFiles(root, 25);
    EXPECT_EQ(Names(batch.paths),
              QStringList({QStringLiteral("caf\uFFFD.wav"), QStringLiteral("\u00E9t\u00E9.wav")}));
    EXPECT_EQ(batch.unreadableNames, 2);
}
