#include "files/CsvText.h"

namespace CsvText {

QByteArray Field(const QString& text) {
    // A QString always encodes to valid UTF-8: an unpaired surrogate becomes a replacement mark.
    const QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\r') &&
        !bytes.contains('\n'))
        return bytes;
    QByteArray quoted;
    quoted.reserve(bytes.size() + 2);
    quoted += '"';
    for (const char c : bytes) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

QByteArray Line(const QStringList& fields) {
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        line += Field(fields[i]);
    }
    line += "\r\n";
    return line;
}

}  // namespace CsvText
