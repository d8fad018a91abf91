#include "files/LabelExport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <string>

#include "tests/support/CsvRecords.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempFolder.h"

namespace {

QString Size(const std::string& path) {
    return QString::number(QFile(Q(path)).size());
}

// Bytes of a 16-bit stereo wave file at 8000 Hz whose data chunk claims far
// more than the 40 bytes that follow it, as a recorder stopped short leaves it.
std::string CutShortWave() {
    std::string bytes("RIFF\xff\xff\xff\xffWAVE", 12);
    bytes += std::string("fmt \x10\0\0\0\x01\0\x02\0\x40\x1f\0\0\0\x7d\0\0\x04\0\x10\0", 24);
    bytes += std::string("data\xf0\xff\xff\xff", 8);
    return bytes + std::string(40, '\0');
}

}  // namespace

// A tree with a nested folder, a bound folder inside another, links to
// outside the tree, a text file, a name that is not UTF-8, a bad and a
// cut-short header: every wave file is listed once under its own folder's
// label, links are left alone, and the durations come from what the files
// really hold.
TEST(LabelExport, ListsEveryWaveFileUnderItsBoundFolderAndNeverFollowsLinks) {
    TempFolder tree, outside;
    const std::string birds = tree.MakeFolder("birds");
    const std::string owls = tree.MakeFolder("birds/owls");
    tree.MakeFolder("birds/night");
    const std::string a = tree.WriteWave("birds/a,1.wav", std::vector<std::int16_t>(4800));
    const std::string b = tree.WriteWave("birds/night/b.wav", std::vector<std::int16_t>(24000));
    const std::string o = tree.WriteWave("birds/owls/o.wav", std::vector<std::int16_t>(12000));
    const std::string bad =
        tree.WriteText("birds/bad.wav", std::string("RIFF\0\0\0\0WAVEdata\4\0\0\0abcd", 24));
    const std::string cut = tree.WriteText("birds/cut.wav", CutShortWave());
    tree.WriteText("birds/notes.txt", "not a recording");
    tree.WriteWave("birds/night/caf\xe9.wav");  // Latin-1: not text, left out and counted
    outside.WriteWave("c.wav");
    ASSERT_EQ(::symlink(outside.Path("c.wav").c_str(), tree.Path("birds/out.wav").c_str()), 0);
    ASSERT_EQ(::symlink(outside.Path().c_str(), tree.Path("birds/outside").c_str()), 0);
    ASSERT_EQ(::symlink(a.c_str(), tree.Path("birds/again.wav").c_str()), 0);

    const LabelExport::Result result = LabelExport::Collect(
        {Q(owls) + "/", Q(birds) + "/", Q(birds)}, WaveBatch::WaveNames::LowerCaseOnly);

    const QString B = Q(birds), O = Q(owls);
    const std::vector<QStringList> expected = {
        {"label", "path", "size", "duration", "sample_rate", "folder"},
        {"birds", "a,1.wav", Size(a), "0.100000", "48000", B},
        {"birds", "bad.wav", Size(bad), "", "", B},
        {"birds", "cut.wav", Size(cut), "0.001250", "8000", B},
        {"birds", "night/b.wav", Size(b), "0.500000", "48000", B},
        {"owls", "o.wav", Size(o), "0.250000", "48000", O}};
    EXPECT_EQ(CsvRecords(result.csv), expected);
    EXPECT_EQ(result.recordings, 5);
    EXPECT_EQ(result.leftOut, 1);
    EXPECT_TRUE(result.csv.contains("\"a,1.wav\""));
}
