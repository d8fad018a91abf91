#include "files/FileDigest.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFile>
#include <cerrno>

#include "core/CorvaneError.h"
#include "files/FileDescriptor.h"

FileDigest FileDigest::Of(const QString& path) {
    // Not blocking: a fifo put in the recording's place must not hang the window.
    const FileDescriptor fd(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd.IsOpen()) throw CorvaneError::FromSystem(errno);
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) throw CorvaneError::FromSystem(errno);
    if (!S_ISREG(status.st_mode)) throw CorvaneError::FromSystem(EINVAL);

    QCryptographicHash hash(QCryptographicHash::Sha256);
    static constexpr std::size_t BlockSize = 1 << 16;
    QByteArray block(BlockSize, Qt::Uninitialized);
    FileDigest digest;
    for (;;) {
        const ssize_t got = ::read(fd.get(), block.data(), BlockSize);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw CorvaneError::FromSystem(errno);
        if (got == 0) break;
        hash.addData(QByteArrayView(block.constData(), got));
        digest.size += got;
    }
    digest.sha256 = hash.result().toHex();
    return digest;
}
