#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "sonolux/ComponentRegistry.h"

namespace sonolux {

// The registry file's text: "[section]" lines followed by "key=value" lines;
// blank lines and lines starting with ';' are ignored. Backslashes and line
// breaks inside values are escaped, so any value survives a round trip.
QByteArray FormatRegistryText(const std::vector<ComponentRegistry::Section>& sections);
// Nothing when the text is no registry text (a stray line, a value outside a
// section, a section named twice); `error` then says where.
std::optional<std::vector<ComponentRegistry::Section>> ParseRegistryText(const QByteArray& text,
                                                                         QString& error);

// Writes `contents` to `path` whole or not at all (temporary file, checked
// writes, fsync, rename, directory sync). False with `error` on failure.
bool WriteFileSafely(const QString& path, const QByteArray& contents, QString& error);

}  // namespace sonolux
