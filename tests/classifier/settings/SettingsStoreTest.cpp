#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "settings/QtSettingsStore.h"
#include "settings/SettingsFileFormat.h"
#include "tests/support/FailingFileWriter.h"
#include "tests/support/FileContents.h"
#include "tests/support/SmallDisk.h"

namespace {

const QString Section = QStringLiteral("Cell Size");
const QString Key = QStringLiteral("Cell Width");

// A settings file that holds "Cell Size"/"Cell Width" = `width`.
void WriteSettingsFile(const QString& path, const QString& width) {
    QtSettingsStore store(path);
    store.SaveSetting(Section, Key, width);
    ASSERT_EQ(store.Commit(), QString());
}

// Puts the failing writer in place for the lifetime of the object.
class WriterOverride {
public:
    explicit WriterOverride(SafeFileWriter& writer) { SettingsFileFormat::SetWriter(&writer); }
    ~WriterOverride() { SettingsFileFormat::SetWriter(nullptr); }
};

}  // namespace

TEST(QtSettingsStore, GivesTheDefaultForWhatItDoesNotHold) {
    QTemporaryDir folder;
    QtSettingsStore store(folder.filePath(QStringLiteral("Corvane.conf")));
    EXPECT_EQ(store.GetSetting(Section, Key, QStringLiteral("1500")), QStringLiteral("1500"));
    store.SaveSetting(Section, Key, QStringLiteral("2000"));
    EXPECT_EQ(store.GetSetting(Section, Key, QStringLiteral("1500")), QStringLiteral("2000"));
    EXPECT_EQ(store.GetSetting(QStringLiteral("Other"), Key, QStringLiteral("x")),
              QStringLiteral("x"));
}

TEST(QtSettingsStore, CommitsToAnIniFileThatQtReadsAndANewStoreReadsBack) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Corvane.conf"));
    {
        QtSettingsStore store(path);
        store.SaveSetting(Section, Key, QStringLiteral("1750"));
        store.SaveSetting(QStringLiteral("Menu Defaults"), QStringLiteral("Play"),
                          QStringLiteral("True"));
        EXPECT_EQ(store.Commit(), QString());
    }
    EXPECT_TRUE(FileBytes(path).contains("[Cell%20Size]\nCell%20Width=1750\n"));
    QSettings qt(path, QSettings::IniFormat);
    EXPECT_EQ(qt.value(QStringLiteral("Menu Defaults/Play")).toString(), QStringLiteral("True"));
    QtSettingsStore again(path);
    EXPECT_EQ(again.GetSetting(Section, Key, QString()), QStringLiteral("1750"));
}

TEST(QtSettingsStore, TheUsersStoreLivesInTheConfigurationFolder) {
    // Test mode (set by the test main) points the folder away from the user's own.
    QtSettingsStore store;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    EXPECT_TRUE(folder.contains(QStringLiteral("qttest")));
    EXPECT_EQ(QDir(folder).relativeFilePath(store.FilePath()), QStringLiteral("Corvane.conf"));
}

TEST(QtSettingsStore, AFailedWriteReportsTheErrorAndLeavesTheOldFile) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Corvane.conf"));
    WriteSettingsFile(path, QStringLiteral("1500"));
    const QByteArray before = FileBytes(path);
    {
        FailingFileWriter fullDisk(10);
        WriterOverride override(fullDisk);
        QtSettingsStore store(path);
        store.SaveSetting(Section, Key, QStringLiteral("3000"));
        EXPECT_EQ(store.Commit(), QStringLiteral("No space left on device"));
        EXPECT_EQ(FileBytes(path), before);
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Corvane.conf")});
}

TEST(QtSettingsStore, OnARealFullDiskLeavesTheOldFile) {
    SmallDisk disk;
    if (!disk.IsAvailable()) GTEST_SKIP() << disk.SkipReason();
    const QString path = disk.Path(QStringLiteral("Corvane.conf"));
    WriteSettingsFile(path, QStringLiteral("1500"));
    const QByteArray before = FileBytes(path);
    const QString longText(20000, QLatin1Char('9'));

    // Not a page left: nothing can even begin.
    disk.Fill(0);
    {
        QtSettingsStore store(path);
        store.SaveSetting(Section, Key, longText);
        EXPECT_NE(store.Commit(), QString());
    }
    EXPECT_EQ(FileBytes(path), before);

    // One page left, taken by QSettings' lock file: the save begins and the
    // disk is full before its first byte. The text fits in Qt's write buffer,
    // whose failing last flush Qt 6.4's own INI writer ignores.
    disk.Empty();
    disk.Fill(1);
    {
        QtSettingsStore store(path);
        store.SaveSetting(Section, Key, QString(2000, QLatin1Char('7')));
        EXPECT_EQ(store.Commit(), QStringLiteral("No space left on device"));
    }
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(disk.Names(), QStringList{QStringLiteral("Corvane.conf")});

    disk.Empty();
    QtSettingsStore store(path);
    store.SaveSetting(Section, Key, QStringLiteral("2500"));
    EXPECT_EQ(store.Commit(), QString());
    EXPECT_TRUE(FileBytes(path).contains("Cell%20Width=2500"));
}
