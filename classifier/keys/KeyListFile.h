#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

class ClassifierKeyMap;

// The key list file: one binding a line, three quoted fields (the keystroke in
// words, "All" or "Selection", the target folder), field 2 at column 25 and
// field 3 at column 40, lines ending in CR LF, text in UTF-8.
namespace KeyListFile {

// Larger files are no key lists (a few hundred bytes a binding).
constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

// False for bytes that are plainly not text (they hold a NUL byte).
bool LooksLikeText(const QByteArray& contents);

// One record as read: the three fields, quotes removed.
struct Record {
    QString description;
    QString scope;
    QString directory;
};

// The file's contents for every binding of `map`, in binding order; no bytes
// for an empty map. A binding whose folder the file cannot hold is left out
// and named in `leftOut` as "<keystroke>: <folder>", a long folder by its
// beginning (MessageText::Abbreviated).
QByteArray Format(const ClassifierKeyMap& map, QStringList* leftOut = nullptr);

// False for a folder with a double quote or a line break in it: the fields
// have no escape, so the file would be read back as another folder.
bool CanHoldDirectory(const QString& directory);

// The one message about the bindings Format left out, naming the first 20.
QString LeftOutMessage(const QStringList& leftOut);

// One line of the file, without its line end. A field that already reaches the
// next column is followed by a single blank, so the line stays readable.
QString FormatLine(const QString& keyText, bool classifyAll, const QString& directory);

// The text of a file: UTF-8 when it is valid UTF-8, otherwise Windows-1252, as
// files written on Windows are.
QString DecodeText(const QByteArray& bytes);

// The records of a file's text. LF, CR LF and a lone CR each end a line;
// blank lines are skipped; blanks and tabs before a field are skipped, and
// after an unquoted one dropped.
std::vector<Record> ReadRecords(const QString& text);

// True for the scope word that means all visible spectrograms: "all" in any
// letter case, blanks around it allowed.
bool IsClassifyAll(const QString& scope);

}  // namespace KeyListFile
