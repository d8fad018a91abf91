#include "files/SafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <ctime>
#include <string>

#include "core/CorvaneError.h"
#include "files/FileDescriptor.h"
#include "files/FileWrites.h"
#include "files/StaleTemporaries.h"

namespace {

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
    const int error = FileWrites::WriteAll(
        fd, bytes.constData(), static_cast<std::size_t>(bytes.size()),
        [this](int to, const char* data, std::size_t size) { return WriteSome(to, data, size); });
    if (error != 0) return SystemErrorText(error);
    if (SyncFile(fd) != 0) return SystemErrorText(errno);
    return {};
}

QString SafeFileWriter::SyncFolder(const QString& folder) {
    const int error = FileWrites::SyncFolder(QFile::encodeName(folder), ::fsync);
    return error == 0 ? QString() : SystemErrorText(error);
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
    FileDescriptor fd(
        StaleTemporaries::Create(QByteArray::fromStdString(folder), stem, 0666, temporary));
    if (!fd.IsOpen()) return SystemErrorText(errno);
    const std::string temporaryName = temporary.toStdString();

    QString error;
    if (KeepPermissions(fd.get(), targetName) != 0) error = SystemErrorText(errno);
    if (error.isEmpty()) error = WriteAllAndSync(fd.get(), bytes);
    if (fd.Close() != 0 && error.isEmpty()) error = SystemErrorText(errno);
    if (error.isEmpty() && ::rename(temporaryName.c_str(), targetName.c_str()) != 0)
        error = SystemErrorText(errno);
    if (!error.isEmpty()) {
        ::unlink(temporaryName.c_str());
        return error;
    }
    return SyncFolder(targetInfo.absolutePath());
}
