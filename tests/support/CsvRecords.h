#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Reads CSV text as RFC 4180 defines it, strictly: every record ends with
// CR LF, a quoted field ends at a quote not doubled and is followed by a comma
// or the line end. Nothing when the text breaks a rule, so that a test sees a
// torn or badly quoted line as a failure rather than as odd fields.
inline std::optional<std::vector<QStringList>> CsvRecords(const QByteArray& text) {
    std::vector<QStringList> records;
    QStringList fields;
    QByteArray field;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        if (text[i] == '"') {
            for (++i;; ++i) {
                if (i >= n) return std::nullopt;  // a quote never closed
                if (text[i] != '"') {
                    field += text[i];
                } else if (i + 1 < n && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
        } else {
            while (i < n && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                if (text[i] == '"') return std::nullopt;
                field += text[i++];
            }
        }
        fields.append(QString::fromUtf8(field));
        field.clear();
        if (i < n && text[i] == ',') {
            ++i;
            continue;
        }
        if (i + 1 >= n || text[i] != '\r' || text[i + 1] != '\n') return std::nullopt;
        i += 2;
        records.push_back(fields);
        fields.clear();
    }
    return records;
}
