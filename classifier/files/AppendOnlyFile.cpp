#include "files/AppendOnlyFile.h"

#include <fcntl.h>
#include <sched.h>
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

// How far back the start of a line cut short is looked for: longer than any
// line of three full paths.
constexpr off_t TailWindow = 64 * 1024;

// A file that two Corvanes find empty at once would get the header twice: the
// one that locks it first writes it, the other finds it written. A lock that
// another program keeps is given up on rather than waited for, so the window
// never hangs on it.
void LockWhileEmpty(int fd) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) return;
        ::sched_yield();
    }
}

// What must come before a new line so that it starts a record of its own:
// nothing after a whole line (ending in CR LF); after a line that was cut
// short (a full disk, or a kill during a write that the system split at a page
// boundary) a line end, and first a closing quote when the cut fell inside a
// quoted field, so that the one torn line does not swallow the lines after it.
QByteArray Mend(int fd, off_t size) {
    char last[2] = {};
    const off_t lastSize = size >= 2 ? 2 : 1;
    // A file that cannot be read (write permission only) is taken as it is.
    if (!FileWrites::ReadAllAt(fd, size - lastSize, last, static_cast<std::size_t>(lastSize)))
        return {};
    if (lastSize == 2 && last[0] == '\r' && last[1] == '\n') return {};
    const off_t start = size > TailWindow ? size - TailWindow : 0;
    QByteArray tail(static_cast<qsizetype>(size - start), Qt::Uninitialized);
    if (!FileWrites::ReadAllAt(fd, start, tail.data(), static_cast<std::size_t>(tail.size())))
        return QByteArrayLiteral("\r\n");
    const qsizetype lineEnd = tail.lastIndexOf("\r\n");
    const qsizetype quotes = tail.mid(lineEnd < 0 ? 0 : lineEnd + 2).count('"');
    return quotes % 2 == 1 ? QByteArrayLiteral("\"\r\n") : QByteArrayLiteral("\r\n");
}

}  // namespace

QString AppendLine(const QString& path, const QByteArray& header, const QByteArray& line) {
    // Read and write for everyone, less the user's creation mask, as a new file gets; a
    // fifo without a reader fails rather than hang the window.
    // Opened for reading too, to see how the last line ended.
    const QByteArray name = QFile::encodeName(path);
    const int flags = O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    FileDescriptor fd(::open(name.constData(), O_RDWR | flags, 0666));
    if (!fd.IsOpen() && errno == EACCES) fd.Reset(::open(name.constData(), O_WRONLY | flags, 0666));
    if (!fd.IsOpen()) return SystemErrorText(errno);
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) return SystemErrorText(errno);
    if (!S_ISREG(status.st_mode)) return SystemErrorText(EINVAL);
    if (status.st_size == 0) {
        LockWhileEmpty(fd.get());
        if (::fstat(fd.get(), &status) != 0) return SystemErrorText(errno);
    }
    const QByteArray bytes =
        status.st_size == 0 ? header + line : Mend(fd.get(), status.st_size) + line;
    const int error = FileWrites::WriteAll(fd.get(), bytes.constData(),
                                           static_cast<std::size_t>(bytes.size()), ::write);
    return error == 0 ? QString() : SystemErrorText(error);
}

}  // namespace AppendOnlyFile
