#include "engine/FileIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <cstring>
#include <ctime>
#include <functional>
#include <tuple>

namespace sonolux {
namespace {

std::tuple<std::uint64_t, std::uint64_t, std::uint64_t, std::int64_t, std::uint32_t, std::int64_t,
           std::uint32_t, std::int64_t, std::uint32_t>
Fields(const FileIdentity& i) {
    return {i.device,
            i.inode,
            i.size,
            i.modifiedSeconds,
            i.modifiedNanoseconds,
            i.changedSeconds,
            i.changedNanoseconds,
            i.bornSeconds,
            i.bornNanoseconds};
}

std::optional<FileIdentity> IdentityAt(int directory, const char* path, int flags) {
    struct statx found {};
    if (::statx(directory, path, flags, STATX_BASIC_STATS | STATX_BTIME, &found) != 0) return {};
    if ((found.stx_mask & (STATX_INO | STATX_SIZE | STATX_MTIME | STATX_CTIME)) !=
        (STATX_INO | STATX_SIZE | STATX_MTIME | STATX_CTIME))
        return {};
    FileIdentity identity;
    identity.device = (std::uint64_t{found.stx_dev_major} << 32) | found.stx_dev_minor;
    identity.inode = found.stx_ino;
    identity.size = found.stx_size;
    identity.modifiedSeconds = found.stx_mtime.tv_sec;
    identity.modifiedNanoseconds = found.stx_mtime.tv_nsec;
    identity.changedSeconds = found.stx_ctime.tv_sec;
    identity.changedNanoseconds = found.stx_ctime.tv_nsec;
    if (found.stx_mask & STATX_BTIME) {
        identity.bornSeconds = found.stx_btime.tv_sec;
        identity.bornNanoseconds = found.stx_btime.tv_nsec;
    }
    return identity;
}

}  // namespace

bool FileIdentity::operator==(const FileIdentity& other) const {
    return Fields(*this) == Fields(other);
}

std::optional<FileIdentity> IdentityOfDescriptor(int descriptor) {
    if (descriptor < 0) return {};
    return IdentityAt(descriptor, "", AT_EMPTY_PATH);
}

std::optional<FileIdentity> IdentityOfName(const std::string& path) {
    if (path.empty() || std::memchr(path.data(), '\0', path.size()) != nullptr) return {};
    return IdentityAt(AT_FDCWD, path.c_str(), 0);
}

bool IsOnLocalFileSystem(int descriptor) {
    struct statfs found {};
    if (descriptor < 0 || ::fstatfs(descriptor, &found) != 0) return false;
    // Network file systems and those served by a user process: their clients
    // may answer a stat from attributes cached for seconds.
    switch (static_cast<std::uint64_t>(found.f_type)) {
        case 0x6969:      // NFS
        case 0x517B:      // SMB
        case 0xFF534D42:  // CIFS
        case 0xFE534D42:  // SMB2
        case 0x65735546:  // FUSE (sshfs, rclone, ...)
        case 0x73757245:  // Coda
        case 0x5346414F:  // AFS
        case 0x6B414653:  // kAFS
        case 0x00C36400:  // Ceph
        case 0x01021997:  // 9P
        case 0x47504653:  // GPFS
        case 0x0BD00BD0:  // Lustre
            return false;
        default:
            return true;
    }
}

bool SameContentsAfterMove(const FileIdentity& loaded, const FileIdentity& moved) {
    if (loaded.size != moved.size || loaded.modifiedSeconds != moved.modifiedSeconds ||
        loaded.modifiedNanoseconds != moved.modifiedNanoseconds)
        return false;
    if (loaded.device == moved.device) return loaded.inode == moved.inode;
    return true;
}

bool IsSettled(const FileIdentity& identity) {
    struct timespec now {};
    if (::clock_gettime(CLOCK_REALTIME_COARSE, &now) != 0) return false;
    return identity.changedSeconds < now.tv_sec ||
           (identity.changedSeconds == now.tv_sec &&
            identity.changedNanoseconds < static_cast<std::uint32_t>(now.tv_nsec));
}

std::size_t HashOf(const FileIdentity& identity) {
    std::size_t hash = 0;
    const auto mix = [&hash](std::uint64_t value) {
        hash ^=
            std::hash<std::uint64_t>{}(value) + 0x9e3779b97f4a7c15ull + (hash << 6) + (hash >> 2);
    };
    mix(identity.device);
    mix(identity.inode);
    mix(identity.size);
    mix(static_cast<std::uint64_t>(identity.modifiedSeconds));
    mix(identity.modifiedNanoseconds);
    mix(static_cast<std::uint64_t>(identity.changedSeconds));
    mix(identity.changedNanoseconds);
    mix(static_cast<std::uint64_t>(identity.bornSeconds));
    mix(identity.bornNanoseconds);
    return hash;
}

}  // namespace sonolux
