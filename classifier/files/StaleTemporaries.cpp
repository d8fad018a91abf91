#include "files/StaleTemporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <memory>

#include "files/FileDescriptor.h"

namespace StaleTemporaries {
namespace {

constexpr std::size_t RandomDigits = 16;
constexpr std::size_t CheckDigits = 8;
constexpr std::size_t MarkerLength = RandomDigits + 1 + CheckDigits;

// A temporary touched more recently than this may belong to a writer that has
// created it but not yet locked it, or that writes over a network file system
// whose locks other machines do not see. A live writer touches its temporary
// with every write, so a few seconds are plenty.
constexpr std::time_t QuietSeconds = 10;

// FNV-1a, keyed: the check value ties the random digits to their stem and to
// this program.
std::uint32_t CheckValue(std::string_view stem, std::string_view random) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    const auto mix = [&hash](std::string_view text) {
        for (const char c : text) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 0x100000001b3ULL;
        }
    };
    mix("Corvane temporary\n");
    mix(stem);
    mix("\n");
    mix(random);
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

std::string Hex(std::uint64_t value, std::size_t digits) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text(digits, '0');
    for (std::size_t i = digits; i-- > 0; value >>= 4) text[i] = Digits[value & 0xF];
    return text;
}

bool IsLowerHex(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when another process holds a lock of either kind on the open file.
bool IsLocked(int fd) {
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_GETLK, &probe) != 0 || probe.l_type != F_UNLCK) return true;
    // Held until the descriptor closes, after the removal.
    return ::flock(fd, LOCK_EX | LOCK_NB) != 0;
}

bool IsDead(int fd, const struct stat& status, std::time_t now) {
    const std::time_t touched = std::max(status.st_mtime, status.st_ctime);
    return S_ISREG(status.st_mode) && status.st_uid == ::geteuid() && status.st_nlink == 1 &&
           touched + QuietSeconds < now && !IsLocked(fd);
}

bool RemoveIfDead(int folder, const char* name, std::time_t now) {
    const FileDescriptor fd(::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.IsOpen()) return false;
    struct stat status {};
    struct stat named {};
    // The name must still be the file that was found dead.
    return ::fstat(fd.get(), &status) == 0 && IsDead(fd.get(), status, now) &&
           ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(status, named) &&
           ::unlinkat(folder, name, 0) == 0;
}

void MarkInUse(int fd) {
    // Without locks (some network file systems) a temporary is only protected
    // by being touched recently; that is no reason to refuse the write.
    ::flock(fd, LOCK_EX | LOCK_NB);
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    ::fcntl(fd, F_OFD_SETLK, &whole);
}

}  // namespace

std::string TemporaryName(std::string_view stem, std::uint64_t random) {
    const std::string digits = Hex(random, RandomDigits);
    return std::string(stem) + digits + "-" + Hex(CheckValue(stem, digits), CheckDigits);
}

bool IsTemporaryName(std::string_view name, std::string_view stem) {
    if (name.size() != stem.size() + MarkerLength || name.substr(0, stem.size()) != stem)
        return false;
    const std::string_view random = name.substr(stem.size(), RandomDigits);
    const std::string_view check = name.substr(stem.size() + RandomDigits + 1);
    return name[stem.size() + RandomDigits] == '-' && IsLowerHex(random) && IsLowerHex(check) &&
           check == Hex(CheckValue(stem, random), CheckDigits);
}

std::string SafeWriteStem(std::string_view fileName) {
    return "." + std::string(fileName) + ".corvane-";
}

int Create(const QByteArray& folder, std::string_view stem, unsigned mode, QByteArray& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = TemporaryName(stem, QRandomGenerator::global()->generate64());
        path = folder + "/" + QByteArray::fromStdString(name);
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            MarkInUse(fd);
            return fd;
        }
        if (errno != EEXIST) break;
    }
    const int error = errno;
    path.clear();
    errno = error;
    return -1;
}

int Remove(const QByteArray& folder, std::string_view stem, std::time_t now) {
    FolderListing listing(::opendir(folder.constData()));
    if (!listing) return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(listing.get())) {
        if (!IsTemporaryName(entry->d_name, stem)) continue;
        if (RemoveIfDead(::dirfd(listing.get()), entry->d_name, now)) ++removed;
    }
    return removed;
}

}  // namespace StaleTemporaries
