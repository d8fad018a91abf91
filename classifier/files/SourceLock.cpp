#include "files/SourceLock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <QFile>
#include <cerrno>

#include "core/CorvaneError.h"

namespace {

[[noreturn]] void FailBusy(const QByteArray& source) {
    throw CorvaneError(EAGAIN, QStringLiteral("\"%1\" is being moved by another program; it was "
                                              "left where it is.")
                                   .arg(QFile::decodeName(source)));
}

}  // namespace

SourceLock::SourceLock(const QByteArray& source) {
    struct stat status {};
    if (::lstat(source.constData(), &status) != 0 || !S_ISREG(status.st_mode)) return;
    constexpr int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    short type = F_WRLCK;
    m_fd.Reset(::open(source.constData(), O_RDWR | flags));
    if (!m_fd.IsOpen()) {
        type = F_RDLCK;
        m_fd.Reset(::open(source.constData(), O_RDONLY | flags));
    }
    if (!m_fd.IsOpen()) return;  // the move itself will report what is wrong
    struct flock whole {};
    whole.l_type = type;
    whole.l_whence = SEEK_SET;
    if (::fcntl(m_fd.get(), F_OFD_SETLK, &whole) != 0 && (errno == EAGAIN || errno == EACCES))
        FailBusy(source);
}
