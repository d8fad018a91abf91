#include "KeyListFile.h"

#include <QStringDecoder>
#include <QStringList>

#include "ClassifierKeyMap.h"
#include "MessageText.h"
#include "mdlKeycodes.h"

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

// Reads one field starting at `pos`, leaving `pos` after the comma that ends it
// (or at the line's end).
QString ReadField(const QString& line, qsizetype& pos) {
    while (pos < line.size() && IsPadding(line[pos])) ++pos;
    QString field;
    if (pos < line.size() && line[pos] == QLatin1Char('"')) {
        const qsizetype close = line.indexOf(QLatin1Char('"'), pos + 1);
        const qsizetype end = close < 0 ? line.size() : close;
        field = line.mid(pos + 1, end - pos - 1);
        // Whatever follows the closing quote up to the comma is not part of the field.
        const qsizetype comma = close < 0 ? -1 : line.indexOf(QLatin1Char(','), close + 1);
        pos = comma < 0 ? line.size() : comma;
    } else {
        // Blanks after an unquoted field are not part of it: a folder typed as
        // `/data/birds/ ,` must not gain a trailing blank.
        const qsizetype comma = line.indexOf(QLatin1Char(','), pos);
        const qsizetype end = comma < 0 ? line.size() : comma;
        field = line.mid(pos, end - pos);
        while (!field.isEmpty() && IsPadding(field.back())) field.chop(1);
        pos = end;
    }
    if (pos < line.size() && line[pos] == QLatin1Char(',')) ++pos;
    return field;
}

// LF, CR LF and a lone CR (as old Mac editors write) each end a line.
qsizetype LineEnd(const QString& text, qsizetype start) {
    qsizetype end = start;
    while (end < text.size() && text[end] != QLatin1Char('\n') && text[end] != QLatin1Char('\r'))
        ++end;
    return end;
}

qsizetype NextLineStart(const QString& text, qsizetype lineEnd) {
    if (lineEnd >= text.size()) return text.size();
    const bool crLf = text[lineEnd] == QLatin1Char('\r') && lineEnd + 1 < text.size() &&
                      text[lineEnd + 1] == QLatin1Char('\n');
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

QString DecodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    QString windows;
    windows.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        windows += code >= 0x80 && code < 0xA0 ? QChar(Windows1252High[code - 0x80]) : QChar(code);
    }
    return windows;
}

std::vector<Record> ReadRecords(const QString& text) {
    std::vector<Record> records;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = LineEnd(text, start);
        const QString line = text.mid(start, end - start);
        start = NextLineStart(text, end);
        if (line.trimmed().isEmpty()) continue;
        qsizetype pos = 0;
        Record record;
        record.description = ReadField(line, pos);
        record.scope = ReadField(line, pos);
        record.directory = ReadField(line, pos);
        records.push_back(record);
    }
    return records;
}

bool LooksLikeText(const QByteArray& contents) {
    return !contents.contains('\0');
}

bool IsClassifyAll(const QString& scope) {
    return scope.trimmed().toLower() == QLatin1String("all");
}

}  // namespace KeyListFile
