#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "files/SafeFileWriter.h"
#include "tests/support/FailingFileWriter.h"
#include "tests/support/FileContents.h"
#include "tests/support/SmallDisk.h"

namespace {

void WriteContents(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList Names(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

mode_t Permissions(const QString& path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

// Larger than one page and than any buffer on the way, so that a full disk
// shows in the middle of the writes.
QByteArray LargeContents() {
    return QByteArray(256 * 1024, 'n');
}

}  // namespace

TEST(SafeFileWriter, CreatesAndReplacesFilesKeepingTheirPermissions) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("keylist.txt"));
    SafeFileWriter writer;
    EXPECT_EQ(writer.WriteFile(path, "first"), QString());
    EXPECT_EQ(FileBytes(path), "first");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(Permissions(path), 0666 & ~mask);

    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    EXPECT_EQ(writer.WriteFile(path, LargeContents()), QString());
    EXPECT_EQ(FileBytes(path), LargeContents());
    EXPECT_EQ(Permissions(path), 0640u);
    EXPECT_EQ(Names(folder.path()), QStringList{QStringLiteral("keylist.txt")});
}

TEST(SafeFileWriter, WritesThroughASymbolicLinkAndKeepsTheLink) {
    QTemporaryDir folder;
    const QString target = folder.filePath(QStringLiteral("real.txt"));
    const QString link = folder.filePath(QStringLiteral("link.txt"));
    WriteContents(target, "old");
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_EQ(SafeFileWriter().WriteFile(link, "new"), QString());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(FileBytes(target), "new");
}

TEST(SafeFileWriter, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("keylist.txt"));
    WriteContents(path, "old contents");

    FailingFileWriter fullDisk(100 * 1024);
    EXPECT_EQ(fullDisk.WriteFile(path, LargeContents()), QStringLiteral("No space left on device"));
    EXPECT_GT(fullDisk.writes, 1);  // the first, partial write was not taken for the whole
    EXPECT_EQ(FileBytes(path), "old contents");
    EXPECT_EQ(Names(folder.path()), QStringList{QStringLiteral("keylist.txt")});

    FailingFileWriter failingSync(0, true);
    EXPECT_EQ(failingSync.WriteFile(path, "new"), QStringLiteral("Input/output error"));
    EXPECT_EQ(FileBytes(path), "old contents");
    EXPECT_EQ(Names(folder.path()), QStringList{QStringLiteral("keylist.txt")});
}

TEST(SafeFileWriter, ReportsAMissingFolderInThePlatformsWords) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("missing/keylist.txt"));
    EXPECT_EQ(SafeFileWriter().WriteFile(path, "x"), QStringLiteral("No such file or directory"));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(SafeFileWriter, OnARealFullDiskLeavesTheOldFile) {
    SmallDisk disk;
    if (!disk.IsAvailable()) GTEST_SKIP() << disk.SkipReason();
    const QString path = disk.Path(QStringLiteral("keylist.txt"));
    WriteContents(path, "old contents");
    // One free page: the temporary file gets its first page, then the disk is full.
    disk.Fill(1);
    EXPECT_EQ(SafeFileWriter().WriteFile(path, LargeContents()),
              QStringLiteral("No space left on device"));
    EXPECT_EQ(FileBytes(path), "old contents");
    EXPECT_EQ(disk.Names(), QStringList{QStringLiteral("keylist.txt")});

    disk.Empty();
    EXPECT_EQ(SafeFileWriter().WriteFile(path, "new contents"), QString());
    EXPECT_EQ(FileBytes(path), "new contents");
}
