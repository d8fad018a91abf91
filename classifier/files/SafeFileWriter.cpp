#include "files/SafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>

#include "files/StaleTemporaries.h"

namespace {

QString ErrorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The file that a write to `path` should replace: the target of a symbolic
// link, the path itself otherwise.
QString ResolvedPath(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink() && info.exists()) return info.canonicalFilePath();
    return info.absoluteFilePath();
}

// Gives the new file `fd` the permission bits of the file it replaces.
int KeepPermissions(int fd, const std::string& replaced) {
    struct stat old {};
    if (::stat(replaced.c_str(), &old) != 0) return 0;  // nothing to replace
    return ::fchmod(fd, old.st_mode & 07777);
}

}  // namespace

ssize_t SafeFileWriter::WriteSome(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}

int SafeFileWriter::SyncFile(int fd) {
    return ::fsync(fd);
}

std::time_t SafeFileWriter::Now() const {
    return std::time(nullptr);
}

QString SafeFileWriter::WriteAllAndSync(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    auto left = static_cast<std::size_t>(bytes.size());
    while (left > 0) {
        const ssize_t written = WriteSome(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return ErrorText(errno);
        }
        // A write that makes no progress would loop forever; the disk is full.
        if (written == 0) return ErrorText(ENOSPC);
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (SyncFile(fd) != 0) return ErrorText(errno);
    return {};
}

QString SafeFileWriter::SyncFolder(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return ErrorText(errno);
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot sync a folder; their entries are as durable as
    // they get.
    if (result != 0 && error != EINVAL && error != EROFS) return ErrorText(error);
    return {};
}

QString SafeFileWriter::WriteFile(const QString& path, const QByteArray& bytes) {
    const QString target = ResolvedPath(path);
    const QFileInfo targetInfo(target);
    const std::string targetName = QFile::encodeName(target).toStdString();
    const std::string folder = QFile::encodeName(targetInfo.absolutePath()).toStdString();
    const std::string fileName = QFile::encodeName(targetInfo.fileName()).toStdString();
    const std::string stem = StaleTemporaries::SafeWriteStem(fileName);
    StaleTemporaries::Remove(QByteArray::fromStdString(folder), stem, Now());
    QByteArray temporary;
    // Read and write for everyone, less the user's creation mask, as a new file gets.
    const int fd =
        StaleTemporaries::Create(QByteArray::fromStdString(folder), stem, 0666, temporary);
    if (fd < 0) return ErrorText(errno);
    const std::string temporaryName = temporary.toStdString();

    QString error;
    if (KeepPermissions(fd, targetName) != 0) error = ErrorText(errno);
    if (error.isEmpty()) error = WriteAllAndSync(fd, bytes);
    if (::close(fd) != 0 && error.isEmpty()) error = ErrorText(errno);
    if (error.isEmpty() && ::rename(temporaryName.c_str(), targetName.c_str()) != 0)
        error = ErrorText(errno);
    if (!error.isEmpty()) {
        ::unlink(temporaryName.c_str());
        return error;
    }
    return SyncFolder(targetInfo.absolutePath());
}
