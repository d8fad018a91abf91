#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// The text of a settings file in the INI form that QSettings::IniFormat reads
// and writes: "[Section]" lines followed by "Key=Value" lines, UTF-8, with
// section and key names percent-escaped the way Qt escapes them ("Cell%20Size").
// Keys are "Section/Key"; a key without a section lives in "[General]". Values
// are texts.
namespace IniText {

using Map = QMap<QString, QString>;

QByteArray Serialize(const Map& values);

// Reads what it can: lines that are no section header and no "Key=Value" are
// skipped, so a damaged file yields the keys that survived in it.
Map Parse(const QByteArray& text);

}  // namespace IniText
