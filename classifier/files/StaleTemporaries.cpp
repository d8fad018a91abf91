#include "StaleTemporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <ctime>
#include <memory>
#include <string>

namespace StaleTemporaries {
namespace {

// A temporary younger than this may belong to a writer that has created it
// but not yet locked it, or to an older Corvane that never locks.
constexpr std::time_t QuietSeconds = 60;

struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};

bool AllOf(std::string_view text, int (*test)(int)) {
    for (char c : text) {
        if (!test(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

int IsLowerAlnum(int c) {
    return std::isdigit(c) || (c >= 'a' && c <= 'z');
}

int IsAsciiAlnum(int c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void RemoveIfStale(int folder, const char* name) {
    const int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    struct stat status {};
    const bool stale =
        ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
        status.st_mtime + QuietSeconds < std::time(nullptr) && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    struct stat named {};
    // The name must still be the file that was found free.
    if (stale && ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        SameFile(status, named)) {
        ::unlinkat(folder, name, 0);
    }
    ::close(fd);
}

}  // namespace

void MarkInUse(int fd) {
    // Without locks (some network file systems) a temporary is only protected
    // by its age; that is no reason to refuse the write.
    ::flock(fd, LOCK_EX | LOCK_NB);
}

void Remove(const QByteArray& folder, const std::function<bool(std::string_view)>& isOurs) {
    std::unique_ptr<DIR, FolderCloser> listing(::opendir(folder.constData()));
    if (!listing) return;
    while (const dirent* entry = ::readdir(listing.get())) {
        if (entry->d_name[0] != '.' || !isOurs(entry->d_name)) continue;
        RemoveIfStale(::dirfd(listing.get()), entry->d_name);
    }
}

bool IsMoveCopyName(std::string_view name) {
    constexpr std::string_view prefix = ".corvane-move-";
    return name.size() == prefix.size() + 6 && name.substr(0, prefix.size()) == prefix &&
           AllOf(name.substr(prefix.size()), IsAsciiAlnum);
}

bool IsSafeWriteName(std::string_view name, std::string_view fileName) {
    const std::size_t head = 1 + fileName.size() + 1;
    if (name.size() < head + 12 || name.size() > head + 13) return false;
    return name[0] == '.' && name.substr(1, fileName.size()) == fileName && name[head - 1] == '.' &&
           AllOf(name.substr(head), IsLowerAlnum);
}

}  // namespace StaleTemporaries
