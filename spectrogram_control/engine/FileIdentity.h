#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sonolux {

// What tells one file's contents from another's without reading them: where it
// lives (device and inode), its size, its modification and change times (a
// write moves both), and its birth time where the file system keeps one (an
// inode number freed and given to a new file within one clock tick would
// otherwise look the same).
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::uint32_t modifiedNanoseconds = 0;
    std::int64_t changedSeconds = 0;
    std::uint32_t changedNanoseconds = 0;
    std::int64_t bornSeconds = 0;  // 0 and 0 where the file system keeps no birth time
    std::uint32_t bornNanoseconds = 0;

    bool operator==(const FileIdentity& other) const;
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};

// The identity of the file open on `descriptor`; nothing when the system cannot
// tell it.
std::optional<FileIdentity> IdentityOfDescriptor(int descriptor);
// The identity of the file `path` names (symbolic links followed); nothing when
// there is none or `path` holds a NUL byte.
std::optional<FileIdentity> IdentityOfName(const std::string& path);

// Whether the file open on `descriptor` lives on a file system whose stat
// answers what its disk holds now. Not so for network file systems and those
// served by a user process (FUSE): their clients answer from attributes kept
// for seconds, which may still describe a file another machine has rewritten.
bool IsOnLocalFileSystem(int descriptor);

// Whether `moved`, found where a move has just put the file `loaded` described,
// still holds the same contents. A rename keeps the inode but always moves the
// change time, so the change time cannot count. A copy to another file system
// (which keeps the modification time) has a new inode on another device: the
// same size and modification time are taken as the same contents there. On the
// same device another inode is another file.
bool SameContentsAfterMove(const FileIdentity& loaded, const FileIdentity& moved);

// Whether no later change of the file can keep `identity`: its change time lies
// before the system clock's current tick (file times are taken from that coarse
// clock, so a write within the tick of the last change would show the same
// times). Ask right after taking the identity; what is read of a file whose
// identity is not settled yet is not worth keeping under it.
bool IsSettled(const FileIdentity& identity);

// A hash of every field, for the picture cache.
std::size_t HashOf(const FileIdentity& identity);

}  // namespace sonolux
