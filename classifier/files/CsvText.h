#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Comma-separated text as RFC 4180 writes it, in UTF-8: a field that holds a
// comma, a double quote, a carriage return or a line feed is put in double
// quotes, with each quote inside doubled; every line ends with CR LF.
namespace CsvText {

QByteArray Field(const QString& text);
// The fields joined by commas, with the line end.
QByteArray Line(const QStringList& fields);

}  // namespace CsvText
