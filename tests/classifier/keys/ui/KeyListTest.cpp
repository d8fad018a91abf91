#include <gtest/gtest.h>

#include <QAction>
#include <QFile>

#include "tests/classifier/mocks/MainWindowFixture.h"
#include "tests/support/TempFolder.h"

namespace {

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A file writer whose writes fail as on a full disk.
class FullDiskWriter : public SafeFileWriter {
protected:
    ssize_t WriteSome(int, const char*, std::size_t) override {
        errno = ENOSPC;
        return -1;
    }
};

struct KeyList : MainWindowFixture {
    void Export(const QString& path) {
        fileDialog.answers.push_back(path);
        window->findChild<QAction*>("mnuFileKeyListExport")->trigger();
    }
    void Import(const QString& path) {
        fileDialog.answers.push_back(path);
        window->findChild<QAction*>("mnuFileKeyListImport")->trigger();
    }
    QString Write(const std::string& name, const QByteArray& contents) {
        return QString::fromStdString(folder.WriteText(name, contents.toStdString()));
    }
    TempFolder folder;
};

}  // namespace

TEST_F(KeyList, ExportWritesOneAlignedLinePerBindingInOrder) {
    window->SetClassifyKey(0x41, 2, false, "/data/x/");
    window->SetClassifyKey(0x70, 0, true, "/data/f1/");
    const QString path = QString::fromStdString(folder.Path("keys.txt"));
    Export(path);
    EXPECT_EQ(Bytes(path),
              QByteArray("\"CTRL+A key\",           \"Selection\",   \"/data/x/\"\r\n"
                         "\"F1 key\",               \"All\",         \"/data/f1/\"\r\n"));
    ASSERT_EQ(fileDialog.requests.size(), 1u);
    EXPECT_EQ(fileDialog.requests[0].mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(fileDialog.requests[0].fileName, "keylist.txt");
    EXPECT_TRUE(fileDialog.requests[0].confirmOverwrite);
    EXPECT_EQ(window->Dialog().FileName, path);
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(KeyList, EmptyMapExportsAnEmptyFile) {
    const QString path = Write("keys.txt", "old contents");
    Export(path);
    EXPECT_EQ(Bytes(path), QByteArray());
}

TEST_F(KeyList, CancelledDialogWritesNothing) {
    fileDialog.answers.push_back(std::nullopt);
    window->findChild<QAction*>("mnuFileKeyListExport")->trigger();
    fileDialog.answers.push_back(std::nullopt);
    window->SetClassifyKey(0x41, 2, false, "/a/");
    window->findChild<QAction*>("mnuFileKeyListImport")->trigger();
    EXPECT_EQ(window->KeyMap().Keys(), QStringList({"41,2"}));
    EXPECT_EQ(window->Dialog().FileName, "keylist.txt");
}

TEST_F(KeyList, FailedExportIsReportedAndTheOldFileStays) {
    const QString path = Write("keys.txt", "the old list\r\n");
    FullDiskWriter full;
    window.reset();
    window = std::make_unique<frmMain>(MainWindowServices{
        messages, fileDialog, fileMover, full, settings, LoadedControlModule(), ScreenDpi{96, 96}});
    window->SetClassifyKey(0x41, 2, false, "/a/");
    Export(path);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], "No space left on device");
    EXPECT_EQ(Bytes(path), "the old list\r\n");

    messages.texts.clear();
    Export(QString::fromStdString(folder.Path("no/such/folder/keys.txt")));
    ASSERT_EQ(messages.texts.size(), 1);
}

TEST_F(KeyList, ImportReplacesEveryEarlierBinding) {
    window->SetClassifyKey(0x70, 0, false, "/old/");
    Import(Write("keys.txt",
                 "\"Open paren\",\"All\",\"/birds/\"\r\n"
                 "\"CTRL+B key\",  ALL ,/frogs/\r\n"
                 "\"F2 key\",\"Selection\",\"/bats/\"\r\n"));
    EXPECT_EQ(window->KeyMap().Keys(), QStringList({"39,1", "42,2", "71,0"}));
    EXPECT_EQ(window->KeyMap().Dir("39,1"), "/birds/");
    EXPECT_EQ(window->KeyMap().AllFlag("39,1"), "True");
    EXPECT_EQ(window->KeyMap().AllFlag("42,2"), "True");
    EXPECT_EQ(window->KeyMap().Dir("42,2"), "/frogs/");
    EXPECT_EQ(window->KeyMap().AllFlag("71,0"), "False");
    EXPECT_FALSE(window->KeyMap().Find("70,0").has_value());
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(KeyList, RepeatedKeystrokeAndBadDescriptionsAreReportedLineByLine) {
    Import(Write("keys.txt",
                 "\"Ctrl+A\",\"Selection\",\"/first/\"\n"
                 "\"Foo\",\"All\",\"/x/\"\n"
                 "\"control + a\",\"All\",\"/second/\"\n"
                 "\"Ctrl + Alt + Foo\",\"All\",\"/y/\"\n"));
    ASSERT_EQ(messages.texts.size(), 3) << messages.texts.join(" | ").toStdString();
    EXPECT_EQ(messages.texts[0], "Invalid key description: \"Foo\"");
    EXPECT_EQ(messages.texts[1], "Keystroke CTRL+A key is already being used for /first/");
    EXPECT_EQ(messages.texts[2], "Invalid key description: \"Foo\"");
    EXPECT_EQ(window->KeyMap().Keys(), QStringList({"41,2"}));
    EXPECT_EQ(window->KeyMap().Dir("41,2"), "/first/");
}

TEST_F(KeyList, ExportThenImportReproducesTheMapAndReportsKeysWithoutNames) {
    window->SetClassifyKey(0x70, 0, true, "/f1/");
    window->SetClassifyKey(0x41, 2, false, "/a, with comma/");
    window->SetClassifyKey(0x83, 2, false, "/f20/");  // F20 has no name of its own
    window->SetClassifyKey(0x6D, 1, true, "/minus/");
    const QString path = QString::fromStdString(folder.Path("keys.txt"));
    Export(path);
    window->SetClassifyKey(0x42, 0, false, "/b/");
    Import(path);
    EXPECT_EQ(window->KeyMap().Keys(), QStringList({"70,0", "41,2", "6D,1"}));
    EXPECT_EQ(window->KeyMap().Dir("41,2"), "/a, with comma/");
    EXPECT_EQ(window->KeyMap().AllFlag("6D,1"), "True");
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], "Invalid key description: \"0x83\"");
}

TEST_F(KeyList, WindowsWrittenFileImportsAndItsWindowsFoldersAreRefused) {
    // CR LF lines and the en dash of the keypad minus as the Windows-1252 byte 0x96.
    Import(Write("keys.txt", QByteArray("\"MINUS SIGN (\x96) key (keypad)\",\"All\",\"/birds/\"\r\n"
                                        "\"SHIFT+F3 key\",     \"Selection\",   \"/x/\"\r\n"
                                        "\"F4 key\",     \"Selection\",   \"D:\\birds\\\"\r\n")));
    EXPECT_EQ(
        messages.texts,
        QStringList({"\"D:\\birds\\\" is not a folder path; the keystroke F4 key was not bound."}));
    EXPECT_EQ(window->KeyMap().Keys(), QStringList({"6D,0", "72,1"}));
    EXPECT_EQ(window->KeyMap().Dir("6D,0"), "/birds/");
}

TEST_F(KeyList, LineWhoseFieldsDoNotCloseCleanlyIsNamedAndNotBound) {
    // Each bad line once bound a shorter or another folder without a word.
    Import(Write("keys.txt",
                 "\"F1 key\",\"All\",\"/tmp/a\"b/\"\r\n"
                 "\"F2 key\"x,\"All\",\"/two/\"\r\n"
                 "\"F3 key\" ,\"All\" \t,\"/three/\"\t \r\n"
                 "\r\n"
                 "\"F4 key\",\"Selection\",\"/four/\r\n"
                 "F5 key,All,/data/a,b/\r\n"
                 "\"Foo\",\"All\",\"/x/\"\r\n"));
    EXPECT_EQ(messages.texts,
              QStringList({"Line 1 was not bound, because a field has text after its closing "
                           "quote:\n\"F1 key\",\"All\",\"/tmp/a\"b/\"",
                           "Line 2 was not bound, because a field has text after its closing "
                           "quote:\n\"F2 key\"x,\"All\",\"/two/\"",
                           "Line 5 was not bound, because a field has no closing quote:\n"
                           "\"F4 key\",\"Selection\",\"/four/",
                           "Line 6 was not bound, because it has more than three fields:\n"
                           "F5 key,All,/data/a,b/",
                           "Invalid key description: \"Foo\""}))
        << messages.texts.join(" | ").toStdString();
    EXPECT_EQ(window->KeyMap().Keys(), QStringList({"72,0"}));
    EXPECT_EQ(window->KeyMap().Dir("72,0"), "/three/");
    EXPECT_EQ(window->KeyMap().AllFlag("72,0"), "True");
}

TEST_F(KeyList, EachLineIsReadInItsOwnEncoding) {
    // One line from a Windows editor (0xE9 is an e acute there) must not turn
    // the UTF-8 of every other line into another folder.
    Import(Write("keys.txt", QByteArray("\"F1 key\",\"All\",\"/data/caf\xE9/\"\r\n") +
                                 QByteArray("\"F2 key\",\"All\",\"/data/caf\xC3\xA9/\"\r\n")));
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();
    EXPECT_EQ(window->KeyMap().Dir("70,0"), QString::fromUtf8("/data/caf\u00e9/"));
    EXPECT_EQ(window->KeyMap().Dir("71,0"), QString::fromUtf8("/data/caf\u00e9/"));
}

TEST_F(KeyList, AfterTwentyMessagesTheRestOfTheImportIsCountedInOne) {
    QByteArray contents = "\"Ctrl+A\",\"All\",\"/a/\"\r\n";
    const QByteArray problems[] = {"\"Foo\",\"All\",\"/x/\"\r\n",
                                   "\"control+a\",\"All\",\"/y/\"\r\n",
                                   "\"Ctrl+B\",\"All\",\"D:\\birds\\\"\r\n"};
    for (int i = 0; i < 100000; ++i) contents += problems[i % 3];
    contents += "\"F1\",\"Selection\",\"/f1\"\r\n";
    Import(Write("keys.txt", contents));
    ASSERT_EQ(messages.texts.size(), 21);
    EXPECT_EQ(messages.texts[0], "Invalid key description: \"Foo\"");
    EXPECT_EQ(messages.texts[1], "Keystroke CTRL+A key is already being used for /a/");
    EXPECT_EQ(messages.texts[2],
              "\"D:\\birds\\\" is not a folder path; the keystroke CTRL+B key was not bound.");
    EXPECT_EQ(messages.texts[19], messages.texts[1]);
    EXPECT_EQ(messages.texts[20], "... and 99,980 more lines were not bound");
    EXPECT_EQ(window->KeyMap().Keys(), QStringList({"41,2", "70,0"}));
    EXPECT_EQ(window->KeyMap().Dir("70,0"), "/f1/");

    // The next import starts counting afresh.
    Import(Write("again.txt", "\"Foo\",\"All\",\"/x/\"\r\n"));
    ASSERT_EQ(messages.texts.size(), 22);
    EXPECT_EQ(messages.texts[21], "Invalid key description: \"Foo\"");
}

TEST_F(KeyList, ExportLeavesOutFoldersWithAQuoteAndSaysSoOnce) {
    window->SetClassifyKey(0x41, 2, false, "/data/x/");
    window->SetClassifyKey(0x70, 0, true, "/data/\"best\" birds/");
    window->SetClassifyKey(0x71, 0, true, "/data/say \"hi\"/");
    const QString path = QString::fromStdString(folder.Path("keys.txt"));
    Export(path);
    EXPECT_EQ(Bytes(path), "\"CTRL+A key\",           \"Selection\",   \"/data/x/\"\r\n");
    EXPECT_EQ(messages.texts,
              QStringList({"These bindings were not exported, because a key list file cannot "
                           "hold a double quote or a line break in a folder name:\n"
                           "F1 key: /data/\"best\" birds/\nF2 key: /data/say \"hi\"/"}));
    messages.texts.clear();
    Import(path);
    EXPECT_EQ(window->KeyMap().Keys(), QStringList({"41,2"}));
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(KeyList, UnreadableFileIsReportedAndKeepsTheMap) {
    window->SetClassifyKey(0x41, 2, false, "/a/");
    Import(QString::fromStdString(folder.Path("missing.txt")));
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], "No such file or directory");
    EXPECT_EQ(window->KeyMap().Keys(), QStringList({"41,2"}));

    Import(QString::fromStdString(folder.MakeFolder("a-folder.txt")));
    EXPECT_EQ(messages.texts.size(), 2);
    EXPECT_EQ(messages.texts[1], "Is a directory");
    EXPECT_EQ(window->KeyMap().Keys(), QStringList({"41,2"}));
}

TEST_F(KeyList, ARecordingChosenByMistakeIsRefusedWithOneMessage) {
    window->SetClassifyKey(0x41, 2, false, "/a/");
    Import(
        QString::fromStdString(folder.WriteWave("bird.wav", std::vector<std::int16_t>(5000, 0))));
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].endsWith("bird.wav\" is not a key list file."));
    EXPECT_EQ(window->KeyMap().Keys(), QStringList({"41,2"}));
}
