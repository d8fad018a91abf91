#include "FileMover.h"

#include <fcntl.h>
#include <limits.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <dirent.h>

#include <QFile>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "CorvaneError.h"
#include "FileSystem.h"
#include "StaleTemporaries.h"

namespace {

[[noreturn]] void Fail(int error) {
    throw CorvaneError(error, QString::fromLocal8Bit(std::strerror(error)));
}

[[noreturn]] void FailChanged(const QByteArray& source) {
    throw CorvaneError(EBUSY, QStringLiteral("\"%1\" changed while it was being copied (another "
                                             "program is writing or replacing it); it was not "
                                             "moved.")
                                  .arg(QFile::decodeName(source)));
}

[[noreturn]] void FailName(const QString& path) {
    throw CorvaneError(EILSEQ, QStringLiteral("The name \"%1\" is not valid UTF-8 text, so "
                                              "Corvane cannot be sure which file it names; it "
                                              "was not moved.")
                                   .arg(path));
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// What a writer changes: the length and the modification time.
bool ContentsChanged(const struct stat& before, const struct stat& now) {
    return before.st_size != now.st_size || before.st_mtim.tv_sec != now.st_mtim.tv_sec ||
           before.st_mtim.tv_nsec != now.st_mtim.tv_nsec;
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

struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};

// True when another entry of the folder reads as the same text as `name`:
// names that are not UTF-8 all read with U+FFFD where their odd bytes are.
bool NameIsAmbiguous(const QByteArray& path) {
    const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
    const QString text = QFile::decodeName(name);
    std::unique_ptr<DIR, FolderCloser> listing(::opendir(FolderOf(path).constData()));
    if (!listing) return false;
    while (const dirent* entry = ::readdir(listing.get())) {
        if (name != entry->d_name && QFile::decodeName(entry->d_name) == text) return true;
    }
    return false;
}

// The bytes of `path`, when they name exactly the file the text means.
QByteArray ExactName(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    if (QFile::decodeName(bytes) != path) FailName(path);
    if (path.contains(QChar::ReplacementCharacter) && NameIsAmbiguous(bytes)) FailName(path);
    return bytes;
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

// Copies everything `from` holds and returns the number of bytes copied.
off_t CopyContents(const FileMoveSystemCalls& calls, int from, int to) {
    std::vector<char> buffer(1 << 16);
    off_t copied = 0;
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        if (got == 0) return copied;
        WriteAll(calls, to, buffer.data(), static_cast<std::size_t>(got));
        copied += got;
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
        StaleTemporaries::MarkInUse(m_fd);
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
    const QByteArray from = ExactName(source);
    const QByteArray to = ExactName(targetPath);
    RemoveStaleCopies(FolderOf(to));
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

void FileMover::RemoveStaleCopies(const QByteArray& folder) {
    // Once per folder and run: a killed move leaves its copy there at most once.
    if (!m_cleanedFolders.insert(folder.toStdString()).second) return;
    StaleTemporaries::Remove(folder, StaleTemporaries::IsMoveCopyName);
}

void FileMover::RenameByLink(const QByteArray& source, const QByteArray& target) {
    if (m_calls.link(source.constData(), target.constData()) != 0) {
        if (errno == EXDEV) return MoveAcrossFileSystems(source, target);
        Fail(errno);
    }
    struct stat linked {};
    struct stat named {};
    // Another program may have put a new file under the source's name since
    // the link: the recording is at its target now, the new file stays.
    if (::lstat(target.constData(), &linked) == 0 && ::lstat(source.constData(), &named) == 0 &&
        !SameFile(linked, named))
        return;
    RemoveSource(source, target);
}

void FileMover::RemoveCopiedSource(const QByteArray& source, const struct stat& copied,
                                   const QByteArray& target) {
    struct stat now {};
    if (::lstat(source.constData(), &now) != 0) {
        // Gone already: the copy is complete and now the only one, so it stays.
        if (errno == ENOENT) return;
        const int error = errno;
        m_calls.unlink(target.constData());
        Fail(error);
    }
    if (!SameFile(copied, now) || ContentsChanged(copied, now)) {
        m_calls.unlink(target.constData());
        FailChanged(source);
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
    if (S_ISLNK(status.st_mode)) return LinkAcross(source, status, target);
    if (!S_ISREG(status.st_mode)) Fail(EINVAL);
    CopyAcross(source, target);
}

void FileMover::LinkAcross(const QByteArray& source, const struct stat& status,
                           const QByteArray& target) {
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
    RemoveCopiedSource(source, status, target);
}

void FileMover::CopyAcross(const QByteArray& source, const QByteArray& target) {
    FileDescriptor input(
        ::open(source.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (input.get() < 0) Fail(errno);
    struct stat status {};
    if (::fstat(input.get(), &status) != 0) Fail(errno);
    if (!S_ISREG(status.st_mode)) Fail(EINVAL);

    const QByteArray folder = FolderOf(target);
    TemporaryCopy copy(m_calls, folder);
    const off_t copied = CopyContents(m_calls, input.get(), copy.fd());
    // A recorder still writing, or a file cut short meanwhile: the copy would
    // not be the recording the user saw.
    struct stat after {};
    if (::fstat(input.get(), &after) != 0) Fail(errno);
    if (copied != status.st_size || ContentsChanged(status, after)) FailChanged(source);
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
    RemoveCopiedSource(source, status, target);
}
