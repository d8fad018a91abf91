#include "control/ExactFileName.h"

#include <QFile>
#include <algorithm>

namespace sonolux {

std::optional<QByteArray> ExactFileNameBytes(const QString& name) {
    // Most names are plain ASCII, which encodes to itself in UTF-8 and in every
    // code page Qt takes file names in: no round trip needed (it was most of a
    // cell's name handling in a batch from the cache).
    const char16_t* units = reinterpret_cast<const char16_t*>(name.utf16());
    const bool plainAscii = std::all_of(units, units + name.size(),
                                        [](char16_t unit) { return unit != 0 && unit < 0x80; });
    if (plainAscii) return name.toLatin1();
    if (name.contains(QChar(u'\0'))) return std::nullopt;
    QByteArray bytes = QFile::encodeName(name);
    if (QFile::decodeName(bytes) != name) return std::nullopt;
    return bytes;
}

std::optional<QString> ExactFileNameText(const QByteArray& bytes) {
    if (bytes.contains('\0')) return std::nullopt;
    QString name = QFile::decodeName(bytes);
    if (QFile::encodeName(name) != bytes) return std::nullopt;
    return name;
}

}  // namespace sonolux
