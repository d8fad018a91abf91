#include "files/AppendOnlyFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "core/CorvaneError.h"
#include "files/FileDescriptor.h"
#include "files/FileWrites.h"

namespace AppendOnlyFile {
namespace {

// Whether the file's last byte ends a line; true for an empty file.
bool EndsWithLineEnd(int fd, off_t size) {
    if (size == 0) return true;
    char last = 0;
    return ::pread(fd, &last, 1, size - 1) != 1 || last == '\n';
}

}  // namespace

QString AppendLine(const QString& path, const QByteArray& header, const QByteArray& line) {
    // Read and write for everyone, less the user's creation mask, as a new file gets; a
    // fifo without a reader fails rather than hang the window.
    const FileDescriptor fd(
        ::open(QFile::encodeName(path).constData(),
               O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666));
    if (!fd.IsOpen()) return SystemErrorText(errno);
    // Two Corvanes that find the file empty at once would both write the
    // header. A file system without locks still gets the line.
    while (::flock(fd.get(), LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) return SystemErrorText(errno);
    if (!S_ISREG(status.st_mode)) return SystemErrorText(EINVAL);
    QByteArray bytes;
    if (status.st_size == 0) {
        bytes = header + line;
    } else if (!EndsWithLineEnd(fd.get(), status.st_size)) {
        bytes = "\r\n" + line;
    } else {
        bytes = line;
    }
    const int error = FileWrites::WriteAll(fd.get(), bytes.constData(),
                                           static_cast<std::size_t>(bytes.size()), ::write);
    return error == 0 ? QString() : SystemErrorText(error);
}

}  // namespace AppendOnlyFile
