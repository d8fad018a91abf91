// A folder's examples: its most recently modified wave files, as many as asked.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>

#include "suggest/ExampleFiles.h"
#include "tests/support/TempFolder.h"

namespace {

TEST(ExampleFiles, TheMostRecentlyModifiedWaveFilesFirstUpToTheLimit) {
    TempFolder folder;
    const QDateTime noon = QDateTime::fromSecsSinceEpoch(1800000000);
    const auto write = [&](const std::string& name, int minutes) {
        QFile file(QString::fromStdString(folder.WriteText(name, "x")));
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(
            file.setFileTime(noon.addSecs(60 * minutes), QFileDevice::FileModificationTime));
        return file.fileName();
    };
    const QString oldest = write("a.wav", 0);
    const QString newest = write("b.wav", 30);
    const QString middle = write("c.wav", 10);
    write("d.txt", 60);  // no wave file
    write("e.WAV", 50);  // nor is this, for a batch
    folder.MakeFolder("f.wav");

    EXPECT_EQ(ExampleFiles::MostRecent(QString::fromStdString(folder.Path())),
              (QStringList{newest, middle, oldest}));
    EXPECT_EQ(ExampleFiles::MostRecent(QString::fromStdString(folder.Path()), 2),
              (QStringList{newest, middle}));
    EXPECT_TRUE(ExampleFiles::MostRecent(QString::fromStdString(folder.Path("missing"))).isEmpty());
}

}  // namespace
