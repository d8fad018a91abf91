#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// The decision log: one CSV line for every move a classifying keystroke made
// and for every move that Undo Classify took back, appended to a file the user
// chose as each move happens. Off while it has no file. A line that cannot be
// written never stops a move: the failure goes to `reportFailure`, once until
// a line is written again (or the file changes), so that a full disk does not
// bury every other message under the same one.
//
// Columns: time (UTC, ISO 8601 with milliseconds), action ("move" or "undo"),
// the recording's file name, the folder it left, the folder it went to, the
// keystroke as the key tables name it ("CTRL+A key"; for an undo, the
// keystroke whose move it took back), and the recording's size in bytes and
// SHA-256, read from the file at its new place. Size and SHA-256 stay empty
// when the moved file cannot be read there.
class DecisionLog {
public:
    // The file's first line, as it is written when the file is new or empty.
    static const QByteArray Header;

    explicit DecisionLog(std::function<void(const QString&)> reportFailure)
        : m_reportFailure(std::move(reportFailure)) {}

    // The log file's path; empty turns the log off.
    void SetPath(const QString& path);
    const QString& Path() const { return m_path; }

    // The recording moved from the full path `from` to the full path `to`.
    void Moved(const QString& from, const QString& to, const QString& keyText);
    void Undone(const QString& from, const QString& to, const QString& keyText);

    // One line of the log, with its line end; `time` is UTC. Reads the size
    // and SHA-256 of the file at `to`.
    static QByteArray Line(const QString& time, const QString& action, const QString& from,
                           const QString& to, const QString& keyText);

private:
    void Append(const QString& action, const QString& from, const QString& to,
                const QString& keyText);

    std::function<void(const QString&)> m_reportFailure;
    QString m_path;
    bool m_failing = false;
};
