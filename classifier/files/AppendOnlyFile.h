#pragma once

#include <QByteArray>
#include <QString>

// Adds lines to the end of a text file that other runs, and other programs,
// may append to too. Each line goes to the file in one write(2) on a
// descriptor opened for appending, without a buffer of the program's own: a
// process killed between two lines leaves only whole lines, and the line is
// in the file as soon as the call returns. A write that the system cuts short
// (a full disk, a signal) is continued for the rest. The file is opened and
// closed at every call, so it may be moved away or removed between lines.
namespace AppendOnlyFile {

// Appends `line` (ending in its line end) to the file at `path`, creating the
// file when it does not exist. A file that is new or empty gets `header`
// first, in the same write; a file whose last line was left without its line
// end (by a full disk, an editor, or a kill in the middle of a write, which
// Linux may cut short at a page boundary) gets a CR LF first, after a closing
// quote when the cut fell inside a quoted field, so that `line` starts a
// record of its own and the torn one swallows nothing after it. Returns the system's description of
// the error, or the empty text.
QString AppendLine(const QString& path, const QByteArray& header, const QByteArray& line);

}  // namespace AppendOnlyFile
