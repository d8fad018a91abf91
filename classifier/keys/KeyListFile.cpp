#include "keys/KeyListFile.h"

#include <QStringList>

#include "keys/ClassifierKeyMap.h"
#include "keys/MessageText.h"
#include "keys/mdlKeycodes.h"

namespace KeyListFile {
namespace {

constexpr int Field2Column = 25;
constexpr int Field3Column = 40;

// Pads `line` with blanks so that the next field begins at `column` (counted
// from 1); a line that already reaches past it gets one blank.
void PadTo(QString& line, int column) {
    if (line.size() >= column) {
        line += QLatin1Char(' ');
    } else {
        line += QString(column - 1 - line.size(), QLatin1Char(' '));
    }
}

// Windows-1252 where it differs from Latin-1: bytes 0x80 to 0x9F.
constexpr char16_t Windows1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

// A tab before or after a field is padding like a blank: editors put them in
// to line the columns up.
bool IsPadding(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool IsBlankOrTab(const QString& line, qsizetype pos) {
    return pos < line.size() && IsPadding(line[pos]);
}

// Reads the field that starts at `pos` into `field`, leaving `pos` at the comma
// that ends it or at the line's end.
LineFault ReadField(const QString& line, qsizetype& pos, QString& field) {
    while (IsBlankOrTab(line, pos)) ++pos;
    if (pos < line.size() && line[pos] == QLatin1Char('"')) {
        const qsizetype close = line.indexOf(QLatin1Char('"'), pos + 1);
        if (close < 0) return LineFault::NoClosingQuote;
        field = line.mid(pos + 1, close - pos - 1);
        pos = close + 1;
        while (IsBlankOrTab(line, pos)) ++pos;
        // A quote inside a field has no escape: dropping what follows it would
        // bind the folder cut short at that quote.
        const bool ended = pos == line.size() || line[pos] == QLatin1Char(',');
        return ended ? LineFault::None : LineFault::TextAfterClosingQuote;
    }
    // Blanks after an unquoted field are not part of it: a folder typed as
    // `/data/birds/ ,` must not gain a trailing blank.
    const qsizetype comma = line.indexOf(QLatin1Char(','), pos);
    const qsizetype end = comma < 0 ? line.size() : comma;
    field = line.mid(pos, end - pos);
    while (!field.isEmpty() && IsPadding(field.back())) field.chop(1);
    pos = end;
    return LineFault::None;
}

// The three fields of a line that is not blank, or the line's fault.
Record ReadLine(const QString& line, qsizetype number) {
    Record record;
    record.line = number;
    QString* const fields[] = {&record.description, &record.scope, &record.directory};
    qsizetype pos = 0;
    for (int i = 0; i < 3 && record.fault == LineFault::None; ++i) {
        if (i > 0 && pos < line.size()) ++pos;  // the comma that ended the field before
        record.fault = ReadField(line, pos, *fields[i]);
    }
    // A fourth field is most likely the rest of an unquoted folder with a comma.
    if (record.fault == LineFault::None && pos < line.size()) {
        record.fault = LineFault::MoreThanThreeFields;
    }
    if (record.fault == LineFault::None) return record;
    Record faulty;
    faulty.line = number;
    faulty.fault = record.fault;
    faulty.text = line;
    return faulty;
}

// LF, CR LF and a lone CR (as old Mac editors write) each end a line. Neither
// byte occurs inside a UTF-8 sequence or stands for a Windows-1252 letter, so
// lines are found before they are decoded.
qsizetype LineEnd(QByteArrayView bytes, qsizetype start) {
    qsizetype end = start;
    while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') ++end;
    return end;
}

qsizetype NextLineStart(QByteArrayView bytes, qsizetype lineEnd) {
    if (lineEnd >= bytes.size()) return bytes.size();
    const bool crLf =
        bytes[lineEnd] == '\r' && lineEnd + 1 < bytes.size() && bytes[lineEnd + 1] == '\n';
    return lineEnd + (crLf ? 2 : 1);
}

// Bindings named in the message about left-out bindings; the rest are counted.
constexpr int NamedLeftOut = 20;

}  // namespace

bool CanHoldDirectory(const QString& directory) {
    return !directory.contains(QLatin1Char('"')) && !directory.contains(QLatin1Char('\r')) &&
           !directory.contains(QLatin1Char('\n'));
}

QString LeftOutMessage(const QStringList& leftOut) {
    QString message = leftOut.size() == 1 ? QStringLiteral("This binding was not exported")
                                          : QStringLiteral("These bindings were not exported");
    message += QStringLiteral(
        ", because a key list file cannot hold a double quote or a line break in a folder name:");
    for (const QString& binding : leftOut.mid(0, NamedLeftOut)) message += u'\n' + binding;
    if (leftOut.size() > NamedLeftOut) {
        message += QStringLiteral("\n... and %1 more")
                       .arg(MessageText::Count(leftOut.size() - NamedLeftOut));
    }
    return message;
}

QString FormatLine(const QString& keyText, bool classifyAll, const QString& directory) {
    QString line = QLatin1Char('"') + keyText + QStringLiteral("\",");
    PadTo(line, Field2Column);
    line += classifyAll ? QStringLiteral("\"All\",") : QStringLiteral("\"Selection\",");
    PadTo(line, Field3Column);
    line += QLatin1Char('"') + directory + QLatin1Char('"');
    return line;
}

QByteArray Format(const ClassifierKeyMap& map, QStringList* leftOut) {
    QByteArray contents;
    for (const QString& bindingKey : map.Keys()) {
        const std::optional<KeyStroke> keyStroke = mdlKeycodes::ParseBindingKey(bindingKey);
        if (!keyStroke) continue;
        const bool classifyAll = map.AllFlag(bindingKey) == QLatin1String("True");
        const QString keyText = mdlKeycodes::KeyText(keyStroke->KeyCode, keyStroke->Shift);
        const QString directory = map.Dir(bindingKey);
        if (!CanHoldDirectory(directory)) {
            if (leftOut) {
                leftOut->append(keyText + QStringLiteral(": ") +
                                MessageText::Abbreviated(directory));
            }
            continue;
        }
        contents += FormatLine(keyText, classifyAll, directory).toUtf8();
        contents += "\r\n";
    }
    return contents;
}

QString DecodeLine(QByteArrayView bytes) {
    if (bytes.isValidUtf8()) return QString::fromUtf8(bytes);
    QString windows;
    windows.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        windows += code >= 0x80 && code < 0xA0 ? QChar(Windows1252High[code - 0x80]) : QChar(code);
    }
    return windows;
}

std::vector<Record> ReadRecords(QByteArrayView contents) {
    // Editors on Windows begin a UTF-8 file with a byte order mark.
    if (contents.startsWith("\xEF\xBB\xBF")) contents = contents.sliced(3);
    std::vector<Record> records;
    qsizetype start = 0;
    qsizetype number = 0;
    while (start < contents.size()) {
        const qsizetype end = LineEnd(contents, start);
        const QString line = DecodeLine(contents.sliced(start, end - start));
        start = NextLineStart(contents, end);
        ++number;
        if (!line.trimmed().isEmpty()) records.push_back(ReadLine(line, number));
    }
    return records;
}

QString FaultMessage(const Record& record) {
    QString reason;
    switch (record.fault) {
        case LineFault::None:
            return {};
        case LineFault::TextAfterClosingQuote:
            reason = QStringLiteral("a field has text after its closing quote");
            break;
        case LineFault::NoClosingQuote:
            reason = QStringLiteral("a field has no closing quote");
            break;
        case LineFault::MoreThanThreeFields:
            reason = QStringLiteral("it has more than three fields");
            break;
    }
    return QStringLiteral("Line %1 was not bound, because %2:\n%3")
        .arg(QString::number(record.line), reason, MessageText::Abbreviated(record.text));
}

bool LooksLikeText(const QByteArray& contents) {
    return !contents.contains('\0');
}

bool IsClassifyAll(const QString& scope) {
    return scope.trimmed().toLower() == QLatin1String("all");
}

}  // namespace KeyListFile
