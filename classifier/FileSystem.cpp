#include "FileSystem.h"

#include <QDir>
#include <QFileInfo>

namespace FileSystem {
namespace {

// `path` without separators at its end, except for the root itself.
QString WithoutTrailingSeparators(const QString& path) {
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/'))) trimmed.chop(1);
    return trimmed;
}

}  // namespace

QString GetParentFolderName(const QString& path) {
    const QString trimmed = WithoutTrailingSeparators(path);
    const qsizetype slash = trimmed.lastIndexOf(QLatin1Char('/'));
    if (slash < 0 || trimmed == QLatin1String("/")) return {};
    if (slash == 0) return QStringLiteral("/");
    return WithoutTrailingSeparators(trimmed.left(slash));
}

QString GetFileName(const QString& path) {
    const QString trimmed = WithoutTrailingSeparators(path);
    if (trimmed == QLatin1String("/")) return {};
    return trimmed.mid(trimmed.lastIndexOf(QLatin1Char('/')) + 1);
}

QString GetAbsolutePathName(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString BuildPath(const QString& path, const QString& name) {
    if (path.isEmpty()) return name;
    QString joined = path;
    if (!joined.endsWith(QLatin1Char('/'))) joined += QLatin1Char('/');
    qsizetype start = 0;
    while (start < name.size() && name.at(start) == QLatin1Char('/')) ++start;
    return joined + name.mid(start);
}

bool FileExists(const QString& path) {
    if (path.isEmpty()) return false;
    return QFileInfo(path).isFile();
}

}  // namespace FileSystem
