#include "FileMover.h"

#include <fcntl.h>
#include <limits.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>
#include <vector>

#include "CorvaneError.h"
#include "FileSystem.h"

namespace {

[[noreturn]] void Fail(int error) {
    throw CorvaneError(error, QString::fromLocal8Bit(std::strerror(error)));
}

int RealRenameNoReplace(const char* from, const char* to) {
    return static_cast<int>(
        ::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE));
}

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

QByteArray FolderOf(const QByteArray& path) {
    const int slash = path.lastIndexOf('/');
    if (slash < 0) return QByteArrayLiteral(".");
    if (slash == 0) return QByteArrayLiteral("/");
    return path.left(slash);
}

// Writes all of `size` bytes, or fails with the error of the write that fell short.
void WriteAll(const FileMoveSystemCalls& calls, int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = calls.write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        if (written == 0) Fail(ENOSPC);
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void CopyContents(const FileMoveSystemCalls& calls, int from, int to) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        if (got == 0) return;
        WriteAll(calls, to, buffer.data(), static_cast<std::size_t>(got));
    }
}

void SyncFolder(const FileMoveSystemCalls& calls, const QByteArray& folder) {
    FileDescriptor directory(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() < 0) Fail(errno);
    if (calls.fsync(directory.get()) != 0 && errno != EINVAL) Fail(errno);
}

// Keeping the source's mode and times is worth trying, but a file system that
// cannot store them (FAT, some network and FUSE file systems) is no reason to
// refuse the move.
void KeepIfPossible(int result) {
    if (result == 0 || errno == EPERM || errno == ENOTSUP || errno == EOPNOTSUPP) return;
    Fail(errno);
}

int RealOpenUnnamed(const char* folder) {
    // Naming an unnamed file needs /proc; without it, a named temporary serves.
    if (::access("/proc/self/fd", X_OK) != 0) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return ::open(folder, O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
}

// The copy of a file being moved across file systems, in the target folder:
// an unnamed file where the file system offers one, otherwise a hidden
// temporary name. Until Publish gives it its final name, destroying it leaves
// nothing behind.
class TemporaryCopy {
public:
    TemporaryCopy(const FileMoveSystemCalls& calls, const QByteArray& folder) : m_calls(calls) {
        m_fd = calls.openUnnamed(folder.constData());
        if (m_fd >= 0) return;
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) Fail(errno);
        m_name = folder + "/.corvane-move-XXXXXX";
        m_fd = ::mkostemp(m_name.data(), O_CLOEXEC);
        if (m_fd < 0) {
            m_name.clear();
            Fail(errno);
        }
    }
    ~TemporaryCopy() {
        if (m_fd >= 0) ::close(m_fd);
        if (!m_name.isEmpty()) m_calls.unlink(m_name.constData());
    }
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;

    int fd() const { return m_fd; }

    // Gives the copy its final name without replacing a file of that name.
    void Publish(const QByteArray& target) {
        if (m_name.isEmpty()) {
            const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, target.constData(),
                         AT_SYMLINK_FOLLOW) != 0)
                Fail(errno);
        } else if (m_calls.renameNoReplace(m_name.constData(), target.constData()) == 0) {
            m_name.clear();
        } else if (m_calls.link(m_name.constData(), target.constData()) != 0) {
            Fail(errno);
        }
        const int closed = ::close(m_fd);
        m_fd = -1;
        if (closed != 0) {
            const int error = errno;
            m_calls.unlink(target.constData());
            Fail(error);
        }
    }

private:
    const FileMoveSystemCalls& m_calls;
    int m_fd = -1;
    QByteArray m_name;  // empty for an unnamed file, and once renamed into place
};

}  // namespace

const FileMoveSystemCalls& FileMoveSystemCalls::Real() {
    static const FileMoveSystemCalls calls{RealRenameNoReplace, ::link, ::write, ::fsync, ::unlink,
                                           RealOpenUnnamed};
    return calls;
}

QString FileMover::MoveFile(const QString& source, const QString& destination) {
    QString targetPath = destination;
    if (destination.endsWith(QLatin1Char('/'))) {
        targetPath = FileSystem::BuildPath(destination, FileSystem::GetFileName(source));
    }
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(targetPath);
    if (m_calls.renameNoReplace(from.constData(), to.constData()) == 0) return targetPath;
    const int error = errno;
    if (error == EXDEV) {
        MoveAcrossFileSystems(from, to);
    } else if (error == EINVAL || error == ENOSYS) {
        // The file system cannot rename without replacing: a hard link can.
        RenameByLink(from, to);
    } else {
        Fail(error);
    }
    return targetPath;
}

void FileMover::RenameByLink(const QByteArray& source, const QByteArray& target) {
    if (m_calls.link(source.constData(), target.constData()) != 0) {
        if (errno == EXDEV) return MoveAcrossFileSystems(source, target);
        Fail(errno);
    }
    RemoveSource(source, target);
}

void FileMover::RemoveSource(const QByteArray& source, const QByteArray& target) {
    if (m_calls.unlink(source.constData()) == 0) return;
    const int error = errno;
    m_calls.unlink(target.constData());
    Fail(error);
}

void FileMover::MoveAcrossFileSystems(const QByteArray& source, const QByteArray& target) {
    struct stat status {};
    if (::lstat(source.constData(), &status) != 0) Fail(errno);
    // The name must be free before anything is written.
    struct stat existing {};
    if (::lstat(target.constData(), &existing) == 0) Fail(EEXIST);
    if (S_ISLNK(status.st_mode)) return LinkAcross(source, target);
    if (!S_ISREG(status.st_mode)) Fail(EINVAL);
    CopyAcross(source, target);
}

void FileMover::LinkAcross(const QByteArray& source, const QByteArray& target) {
    // A link moves as a link, pointing where it pointed, as a rename would keep it.
    QByteArray pointee(PATH_MAX, '\0');
    const ssize_t length = ::readlink(source.constData(), pointee.data(), pointee.size());
    if (length < 0) Fail(errno);
    if (length >= pointee.size()) Fail(ENAMETOOLONG);
    pointee.truncate(length);
    if (::symlink(pointee.constData(), target.constData()) != 0) Fail(errno);
    try {
        SyncFolder(m_calls, FolderOf(target));
    } catch (const CorvaneError&) {
        m_calls.unlink(target.constData());
        throw;
    }
    RemoveSource(source, target);
}

void FileMover::CopyAcross(const QByteArray& source, const QByteArray& target) {
    FileDescriptor input(::open(source.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (input.get() < 0) Fail(errno);
    struct stat status {};
    if (::fstat(input.get(), &status) != 0) Fail(errno);

    const QByteArray folder = FolderOf(target);
    TemporaryCopy copy(m_calls, folder);
    CopyContents(m_calls, input.get(), copy.fd());
    KeepIfPossible(::fchmod(copy.fd(), status.st_mode & 07777));
    const struct timespec times[2] = {status.st_atim, status.st_mtim};
    KeepIfPossible(::futimens(copy.fd(), times));
    if (m_calls.fsync(copy.fd()) != 0) Fail(errno);
    copy.Publish(target);
    try {
        SyncFolder(m_calls, folder);
    } catch (const CorvaneError&) {
        // Not known to be on disk: the move did not happen.
        m_calls.unlink(target.constData());
        throw;
    }
    RemoveSource(source, target);
}
