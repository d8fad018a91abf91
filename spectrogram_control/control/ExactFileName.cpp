#include "control/ExactFileName.h"

#include <QFile>

namespace sonolux {

std::optional<QByteArray> ExactFileNameBytes(const QString& name) {
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
