#include "sorting/DecisionLog.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <cerrno>

#include "files/AppendOnlyFile.h"
#include "files/FileMover.h"
#include "files/FileSystem.h"
#include "sorting/CellClassifier.h"
#include "tests/classifier/mocks/FakeClassifiedCells.h"
#include "tests/classifier/mocks/FakeServices.h"
#include "tests/support/CsvRecords.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempFolder.h"

namespace {

// Every rename crosses file systems: the mover copies and removes the source.
int CrossDeviceRename(const char*, const char*) {
    errno = EXDEV;
    return -1;
}

const FileMoveSystemCalls& CrossingCalls() {
    static const FileMoveSystemCalls calls = [] {
        FileMoveSystemCalls crossing = FileMoveSystemCalls::Real();
        crossing.renameNoReplace = CrossDeviceRename;
        return crossing;
    }();
    return calls;
}

QString Sha256Of(const QString& path) {
    return QString::fromLatin1(
        QCryptographicHash::hash(FileBytes(path), QCryptographicHash::Sha256).toHex());
}

}  // namespace

// Moves by two keystrokes, one of them across file systems, and their undo:
// one whole CSV line each, after one header, with the right names, folders,
// keystrokes and digests; a log that cannot be written is reported once and
// never stops a move.
TEST(DecisionLog, RecordsEveryMoveAndUndoAsOneCsvLine) {
    TempFolder batch, sorted, logs;
    const QString batchFolder = Q(batch.Path());
    const QString birds = Q(sorted.MakeFolder("birds"));
    const QString frogs = Q(sorted.MakeFolder("frogs"));
    const QString odd = QStringLiteral("odd, \"name\"\nx.wav");
    FakeCells cells;
    cells.files = {Q(batch.WriteWave("a.wav", {1, 2, 3})),
                   Q(batch.WriteWave(odd.toStdString(), {4, 5})), Q(batch.WriteWave("c.wav", {6}))};
    cells.visible = 3;
    cells.selected = 0;
    // Moves never change a recording: its size and digest stay those it had here.
    QHash<QString, QStringList> contents;
    for (const QString& path : cells.files)
        contents[FileSystem::GetFileName(path)] = {QString::number(QFile(path).size()),
                                                   Sha256Of(path)};
    QStringList reports;
    DecisionLog log([&reports](const QString& text) { reports.append(text); });
    const QString logPath = Q(logs.Path("decisions.csv"));
    log.SetPath(logPath);
    FileMover mover;
    FileMover crossing(CrossingCalls());
    FakeMessageBox messages;
    CellClassifier classifier(cells, mover, messages, &log);
    CellClassifier across(cells, crossing, messages, &log);

    classifier.ClassifySelection(birds + "/", CellClassifier::Advance::Stay, "CTRL+A key");
    across.ClassifyAllVisible(frogs + "/", "F1 key");
    ASSERT_TRUE(QFile::exists(frogs + "/" + odd));
    across.Undo();
    ASSERT_TRUE(messages.texts.isEmpty());

    const QByteArray text = FileBytes(logPath);
    EXPECT_TRUE(text.startsWith("time,action,recording,from,to,keystroke,size,sha256\r\n"));
    EXPECT_TRUE(text.contains(",\"odd, \"\"name\"\"\nx.wav\","));
    const auto records = CsvRecords(text);
    ASSERT_TRUE(records.has_value());
    ASSERT_EQ(records->size(), 8u);  // the header, four moves, three undos
    const struct {
        const char* action;
        QString name, from, to;
        const char* key;
    } expected[] = {{"move", "a.wav", batchFolder, birds, "CTRL+A key"},
                    {"move", "a.wav", birds, frogs, "F1 key"},
                    {"move", odd, batchFolder, frogs, "F1 key"},
                    {"move", "c.wav", batchFolder, frogs, "F1 key"},
                    {"undo", "c.wav", frogs, batchFolder, "F1 key"},
                    {"undo", odd, frogs, batchFolder, "F1 key"},
                    {"undo", "a.wav", frogs, birds, "F1 key"}};
    const QRegularExpression utc(QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z$)"));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const QStringList& fields = (*records)[i + 1];
        ASSERT_EQ(fields.size(), 8) << i;
        EXPECT_TRUE(utc.match(fields[0]).hasMatch()) << fields[0].toStdString();
        EXPECT_EQ(fields.mid(1, 5),
                  (QStringList{expected[i].action, expected[i].name, expected[i].from,
                               expected[i].to, expected[i].key}))
            << i;
        EXPECT_EQ(fields.mid(6), contents.value(expected[i].name)) << i;
    }
    EXPECT_TRUE(reports.isEmpty());

    // A log that cannot be written: the moves go on, the failure shows once.
    log.SetPath(Q(logs.Path("gone/decisions.csv")));
    classifier.ClassifySelection(frogs + "/", CellClassifier::Advance::Stay, "CTRL+A key");
    classifier.Undo();
    EXPECT_EQ(cells.files[0], birds + "/a.wav");
    EXPECT_EQ(reports, QStringList{"The decision log could not be written: No such file or "
                                   "directory"});
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(FileBytes(logPath), text);

    // A line cut short inside a quoted field (a kill in mid-write) is closed
    // before the next one, which starts a record of its own.
    const std::string torn = logs.WriteText(
        "torn.csv", (DecisionLog::Header + "2026-12-07T18:04:05.000Z,move,\"odd, ").toStdString());
    log.SetPath(Q(torn));
    classifier.ClassifySelection(frogs + "/", CellClassifier::Advance::Stay, "CTRL+A key");
    const auto mended = CsvRecords(FileBytes(Q(torn)));
    ASSERT_TRUE(mended.has_value());
    ASSERT_EQ(mended->size(), 3u);
    EXPECT_EQ(mended->back().mid(1),
              QStringList({"move", "a.wav", birds, frogs, "CTRL+A key"}) + contents["a.wav"]);
    EXPECT_EQ(reports.size(), 1);
}

// A writer killed at any moment leaves a log of whole lines only: every line
// is written in one call.
TEST(DecisionLog, AKilledWriterLeavesOnlyWholeLines) {
    TempFolder logs;
    const QString logPath = Q(logs.Path("decisions.csv"));
    const QByteArray line = DecisionLog::Line("2026-12-07T18:04:05.000Z", "move", "/in/a, \"b\"",
                                              "/out/c\nd.wav", "CTRL+A key");
    const pid_t writer = ::fork();
    ASSERT_NE(writer, -1);
    if (writer == 0) {
        for (;;) {
            if (!AppendOnlyFile::AppendLine(logPath, DecisionLog::Header, line).isEmpty())
                ::_exit(1);
        }
    }
    // Until the writer has written some hundred lines, looking rather than sleeping.
    const QByteArray path = QFile::encodeName(logPath);
    struct stat status {};
    int exitStatus = 0;
    while (::stat(path.constData(), &status) != 0 || status.st_size < 100 * line.size()) {
        if (::waitpid(writer, &exitStatus, WNOHANG) == writer) FAIL() << "the writer stopped";
    }
    ASSERT_EQ(::kill(writer, SIGKILL), 0);
    ASSERT_EQ(::waitpid(writer, &exitStatus, 0), writer);
    ASSERT_TRUE(WIFSIGNALED(exitStatus));

    const QByteArray text = FileBytes(logPath);
    ASSERT_TRUE(text.startsWith(DecisionLog::Header));
    EXPECT_TRUE(text.endsWith("\r\n"));
    const auto records = CsvRecords(text);
    ASSERT_TRUE(records.has_value());
    ASSERT_GE(records->size(), 101u);
    const auto expected = CsvRecords(line);
    for (std::size_t i = 1; i < records->size(); ++i) ASSERT_EQ((*records)[i], expected->front());
}
