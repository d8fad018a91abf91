#include "files/FileSystem.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "core/CorvaneError.h"
#include "files/FileDescriptor.h"

namespace FileSystem {
namespace {

// `path` without separators at its end, except for the root itself. For a
// path as text (QString) and as the system's bytes (QByteArray).
template <typename Path>
Path WithoutTrailingSeparators(const Path& path) {
    Path trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith('/')) trimmed.chop(1);
    return trimmed;
}

template <typename Path>
Path ParentFolder(const Path& path) {
    const Path trimmed = WithoutTrailingSeparators(path);
    const qsizetype slash = trimmed.lastIndexOf('/');
    if (slash < 0 || trimmed == "/") return {};
    if (slash == 0) return trimmed.left(1);
    return WithoutTrailingSeparators(trimmed.left(slash));
}

}  // namespace

QString GetParentFolderName(const QString& path) {
    return ParentFolder(path);
}

QByteArray GetParentFolderBytes(const QByteArray& path) {
    return ParentFolder(path);
}

QString GetFileName(const QString& path) {
    const QString trimmed = WithoutTrailingSeparators(path);
    if (trimmed == "/") return {};
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

QString ReadWholeFile(const QString& path, QByteArray& contents, qint64 maxSize) {
    const FileDescriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (!fd.IsOpen()) return SystemErrorText(errno);
    QByteArray read;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return SystemErrorText(errno);
        if (got == 0) break;
        read.append(buffer, got);
        if (read.size() > maxSize) return SystemErrorText(EFBIG);
    }
    contents = read;
    return {};
}

}  // namespace FileSystem
