#include "files/FileWrites.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

#include "files/FileDescriptor.h"

namespace FileWrites {

int WriteAll(int fd, const char* data, std::size_t size, const WriteCall& write) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (written == 0) return ENOSPC;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

bool ReadAllAt(int fd, off_t offset, char* buffer, std::size_t size) {
    while (size > 0) {
        const ssize_t got = ::pread(fd, buffer, size, offset);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        buffer += got;
        offset += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

int SyncFolder(const QByteArray& folder, const SyncCall& sync) {
    const FileDescriptor directory(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directory.IsOpen()) return errno;
    if (sync(directory.get()) != 0 && errno != EINVAL && errno != EROFS) return errno;
    return 0;
}

}  // namespace FileWrites
