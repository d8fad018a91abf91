#include "keys/TargetFolder.h"

#include <QFile>
#include <climits>

#include "keys/MessageText.h"

namespace TargetFolder {
namespace {
constexpr QChar kSeparator = u'/';
}  // namespace

std::optional<QString> AsFolderPath(const QString& text) {
    if (!text.startsWith(kSeparator)) return std::nullopt;
    const QString folder = text.endsWith(kSeparator) ? text : text + kSeparator;
    // The system takes no longer path; nothing could ever be moved there.
    if (QFile::encodeName(folder).size() >= PATH_MAX) return std::nullopt;
    return folder;
}

QString RefusalMessage(const QString& text, const QString& keyText) {
    return QStringLiteral("\"%1\" is not a folder path; the keystroke %2 was not bound.")
        .arg(MessageText::Abbreviated(text), keyText);
}

}  // namespace TargetFolder
