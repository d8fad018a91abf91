#pragma once

#include <QByteArray>
#include <QByteArrayView>
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

// Why a line binds nothing, whatever its words say: reading it on would bind a
// folder other than the one written, or one cut short.
enum class LineFault {
    None,
    TextAfterClosingQuote,  // `"/tmp/a"b/"`: a quote inside a quoted field
    NoClosingQuote,         // the line ends inside a quoted field
    MoreThanThreeFields,    // `F5 key,All,/data/a,b/`: an unquoted folder with a comma
};

// One record as read: the three fields, quotes removed, or its fault.
struct Record {
    QString description;
    QString scope;
    QString directory;
    qsizetype line = 0;  // where it stands in the file, counted from 1
    LineFault fault = LineFault::None;
    QString text;  // the whole line, kept only when it has a fault
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

// One line's bytes as text: UTF-8 when they are valid UTF-8, otherwise
// Windows-1252, as files written on Windows are. Each line is decoded on its
// own, so one line from a Windows editor leaves the UTF-8 of the others intact.
QString DecodeLine(QByteArrayView bytes);

// The records of a file's bytes, one for every line that is not blank. LF,
// CR LF and a lone CR each end a line; a UTF-8 byte order mark at the start is
// dropped. Blanks and tabs around a field are not part of it. A record with a
// fault has empty fields.
std::vector<Record> ReadRecords(QByteArrayView contents);

// The message for a record with a fault, naming its line by number and text:
// Line 5 was not bound, because a field has no closing quote:
// "F4 key","Selection","/four/
QString FaultMessage(const Record& record);

// True for the scope word that means all visible spectrograms: "all" in any
// letter case, blanks around it allowed.
bool IsClassifyAll(const QString& scope);

}  // namespace KeyListFile
