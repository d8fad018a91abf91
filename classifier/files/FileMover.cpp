#include "files/FileMover.h"

#include <fcntl.h>
#include <limits.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <dirent.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

#include "core/CorvaneError.h"
#include "files/FileDescriptor.h"
#include "files/FileSystem.h"
#include "files/FileWrites.h"
#include "files/SourceLock.h"
#include "files/StaleTemporaries.h"

namespace {

[[noreturn]] void Fail(int error) {
    throw CorvaneError::FromSystem(error);
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

QString VanishedWarning(const QByteArray& source, const QByteArray& target) {
    return QStringLiteral(
               "\"%1\" was copied to \"%2\", but the original vanished during the "
               "copy (another program moved or deleted it); the recording may also "
               "exist elsewhere.")
        .arg(QFile::decodeName(source), QFile::decodeName(target));
}

// A NUL would end the name early, and the system would see another file.
[[noreturn]] void FailNul(QString path) {
    path.replace(QChar(0), QChar(0x2400));  // the symbol for NUL, so the message shows where
    throw CorvaneError(EILSEQ, QStringLiteral("The name \"%1\" holds a NUL character, which no "
                                              "file name can hold; it was not moved.")
                                   .arg(path));
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool SameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// What a writer changes: the length and the modification time.
bool ContentsChanged(const struct stat& before, const struct stat& now) {
    return before.st_size != now.st_size || !SameTime(before.st_mtim, now.st_mtim);
}

// True when the first `size` bytes of `a` and `b` are the same.
bool SameContents(int a, int b, off_t size) {
    std::vector<char> left(1 << 16);
    std::vector<char> right(left.size());
    for (off_t offset = 0; offset < size;) {
        const auto wanted = static_cast<std::size_t>(
            std::min<off_t>(size - offset, static_cast<off_t>(left.size())));
        const ssize_t got = ::pread(a, left.data(), wanted, offset);
        if (got <= 0 || ::pread(b, right.data(), static_cast<std::size_t>(got), offset) != got ||
            std::memcmp(left.data(), right.data(), static_cast<std::size_t>(got)) != 0)
            return false;
        offset += got;
    }
    return true;
}

int RealRenameNoReplace(const char* from, const char* to) {
    return static_cast<int>(
        ::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE));
}

// The folder to open for the entry `path` names: "." for a bare name.
QByteArray FolderOf(const QByteArray& path) {
    const QByteArray folder = FileSystem::GetParentFolderBytes(path);
    return folder.isEmpty() ? QByteArrayLiteral(".") : folder;
}

// True when another entry of the folder reads as the same text as `name`:
// names that are not UTF-8 all read with U+FFFD where their odd bytes are.
bool NameIsAmbiguous(const QByteArray& path) {
    const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
    const QString text = QFile::decodeName(name);
    FolderListing listing(::opendir(FolderOf(path).constData()));
    if (!listing) return false;
    while (const dirent* entry = ::readdir(listing.get())) {
        if (name != entry->d_name && QFile::decodeName(entry->d_name) == text) return true;
    }
    return false;
}

// The bytes of `path`, when they name exactly the file the text means.
QByteArray ExactName(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.contains('\0')) FailNul(path);
    if (QFile::decodeName(bytes) != path) FailName(path);
    if (path.contains(QChar::ReplacementCharacter) && NameIsAmbiguous(bytes)) FailName(path);
    return bytes;
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
        const int error =
            FileWrites::WriteAll(to, buffer.data(), static_cast<std::size_t>(got), calls.write);
        if (error != 0) Fail(error);
        copied += got;
    }
}

void SyncFolder(const FileMoveSystemCalls& calls, const QByteArray& folder) {
    const int error = FileWrites::SyncFolder(folder, calls.fsync);
    if (error != 0) Fail(error);
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
    // Readable too, so that the copy can be compared with its source.
    return ::open(folder, O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
}

std::time_t RealNow() {
    return std::time(nullptr);
}

// The copy of a file being moved across file systems, in the target folder:
// an unnamed file where the file system offers one, otherwise a hidden
// temporary name. Until Publish gives it its final name, destroying it leaves
// nothing behind.
class TemporaryCopy {
public:
    explicit TemporaryCopy(const FileMoveSystemCalls& calls) : m_calls(calls) {}
    ~TemporaryCopy() {
        m_fd.Reset();
        if (!m_name.isEmpty()) m_calls.unlink(m_name.constData());
    }
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;

    // False when the file system has no unnamed files: OpenNamed then.
    bool OpenUnnamed(const QByteArray& folder) {
        m_fd.Reset(m_calls.openUnnamed(folder.constData()));
        if (m_fd.IsOpen()) return true;
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) Fail(errno);
        return false;
    }
    void OpenNamed(const QByteArray& folder) {
        m_fd.Reset(StaleTemporaries::Create(folder, StaleTemporaries::MoveCopyStem, 0600, m_name));
        if (!m_fd.IsOpen()) Fail(errno);
    }

    int fd() const { return m_fd.get(); }

    // Gives the copy its final name without replacing a file of that name.
    void Publish(const QByteArray& target) {
        if (m_name.isEmpty()) {
            const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd.get());
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, target.constData(),
                         AT_SYMLINK_FOLLOW) != 0)
                Fail(errno);
        } else if (m_calls.renameNoReplace(m_name.constData(), target.constData()) == 0) {
            m_name.clear();
        } else if (m_calls.link(m_name.constData(), target.constData()) != 0) {
            Fail(errno);
        }
        if (m_fd.Close() != 0) {
            const int error = errno;
            m_calls.unlink(target.constData());
            Fail(error);
        }
    }

private:
    const FileMoveSystemCalls& m_calls;
    FileDescriptor m_fd;
    QByteArray m_name;  // empty for an unnamed file, and once renamed into place
};

// Bytes a file of the folder may still take; as much as asked where the file
// system does not tell.
off_t FreeSpace(const QByteArray& folder, off_t wanted) {
    struct statvfs space {};
    if (::statvfs(folder.constData(), &space) != 0 || space.f_frsize == 0) return wanted;
    const unsigned long long blocks = space.f_bavail;
    if (blocks > static_cast<unsigned long long>(wanted) / space.f_frsize + 1) return wanted;
    return static_cast<off_t>(blocks * space.f_frsize);
}

// The source's status changed since the copy began, but not its length or
// modification time: a rename, a new link, new permissions, or an edit whose
// writer put the modification time back. Only the last changes the
// recording, and only the bytes tell them apart: true when the source still
// holds what `target` holds, and nothing changed it while they were compared.
bool StillAsCopied(int input, const QByteArray& target, const struct stat& now) {
    if (input < 0) return false;
    const FileDescriptor copy(::open(target.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat after {};
    return copy.get() >= 0 && SameContents(input, copy.get(), now.st_size) &&
           ::fstat(input, &after) == 0 && !ContentsChanged(now, after) &&
           SameTime(now.st_ctim, after.st_ctim);
}

}  // namespace

const FileMoveSystemCalls& FileMoveSystemCalls::Real() {
    static const FileMoveSystemCalls calls{RealRenameNoReplace, ::link, ::write, ::fsync, ::unlink,
                                           RealOpenUnnamed,     RealNow};
    return calls;
}

MoveResult FileMover::MoveFile(const QString& source, const QString& destination) {
    QString targetPath = destination;
    if (destination.endsWith(QLatin1Char('/'))) {
        targetPath = FileSystem::BuildPath(destination, FileSystem::GetFileName(source));
    }
    const QByteArray from = ExactName(source);
    const QByteArray to = ExactName(targetPath);
    const SourceLock lock(from);
    if (m_calls.renameNoReplace(from.constData(), to.constData()) == 0) return {targetPath, {}};
    const int error = errno;
    QString warning;
    if (error == EXDEV) {
        warning = MoveAcrossFileSystems(from, to);
    } else if (error == EINVAL || error == ENOSYS) {
        // The file system cannot rename without replacing: a hard link can.
        RenameByLink(from, to);
    } else {
        Fail(error);
    }
    return {targetPath, warning};
}

void FileMover::ClearLeftovers(const QByteArray& folder, off_t size) {
    // A killed move leaves its copy at most once per folder and run; a folder
    // that fills up may hold copies that another process left since.
    const bool first = m_clearedFolders.insert(folder.toStdString()).second;
    if (first || FreeSpace(folder, size) < size) {
        StaleTemporaries::Remove(folder, StaleTemporaries::MoveCopyStem, m_calls.now());
    }
}

void FileMover::RenameByLink(const QByteArray& source, const QByteArray& target) {
    if (m_calls.link(source.constData(), target.constData()) != 0) {
        if (errno == EXDEV) {
            MoveAcrossFileSystems(source, target);
            return;
        }
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

QString FileMover::RemoveCopiedSource(const QByteArray& source, const struct stat& copied,
                                      const QByteArray& target, int input) {
    struct stat now {};
    if (::lstat(source.constData(), &now) != 0) {
        // Gone already, moved or deleted by a program that takes no lock: the
        // copy may be the last one, so it stays, but the user should know.
        if (errno == ENOENT) return VanishedWarning(source, target);
        const int error = errno;
        m_calls.unlink(target.constData());
        Fail(error);
    }
    if (!SameFile(copied, now) || ContentsChanged(copied, now) ||
        (!SameTime(copied.st_ctim, now.st_ctim) && !StillAsCopied(input, target, now))) {
        m_calls.unlink(target.constData());
        FailChanged(source);
    }
    RemoveSource(source, target);
    return {};
}

void FileMover::RemoveSource(const QByteArray& source, const QByteArray& target) {
    if (m_calls.unlink(source.constData()) == 0) return;
    const int error = errno;
    m_calls.unlink(target.constData());
    Fail(error);
}

QString FileMover::MoveAcrossFileSystems(const QByteArray& source, const QByteArray& target) {
    struct stat status {};
    if (::lstat(source.constData(), &status) != 0) Fail(errno);
    // The name must be free before anything is written.
    struct stat existing {};
    if (::lstat(target.constData(), &existing) == 0) Fail(EEXIST);
    if (S_ISLNK(status.st_mode)) return LinkAcross(source, status, target);
    if (!S_ISREG(status.st_mode)) Fail(EINVAL);
    return CopyAcross(source, target);
}

QString FileMover::LinkAcross(const QByteArray& source, const struct stat& status,
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
    return RemoveCopiedSource(source, status, target, -1);
}

QString FileMover::CopyAcross(const QByteArray& source, const QByteArray& target) {
    FileDescriptor input(
        ::open(source.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (input.get() < 0) Fail(errno);
    struct stat status {};
    if (::fstat(input.get(), &status) != 0) Fail(errno);
    if (!S_ISREG(status.st_mode)) Fail(EINVAL);

    const QByteArray folder = FolderOf(target);
    TemporaryCopy copy(m_calls);
    if (!copy.OpenUnnamed(folder)) {
        ClearLeftovers(folder, status.st_size);
        copy.OpenNamed(folder);
    }
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
    return RemoveCopiedSource(source, status, target, input.get());
}
