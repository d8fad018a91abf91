#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/FileIdentity.h"

namespace sonolux {

// A regular file opened read-only through its descriptor. A named pipe, a device,
// a socket or a folder is refused before anything could block on it: the name is
// checked first, then opened without blocking and checked again on the descriptor,
// so a name swapped for something else in between is refused too. The size is
// taken once, at open, and no read goes past it: a file that grows while it is
// read cannot make a read endless. The descriptor is closed with the object.
// Not shared between threads.
class RegularFile {
public:
    // Why Open() found no regular file to read.
    enum class OpenFailure {
        None,
        NameNotUsable,    // the path holds a NUL byte
        NotFound,         // nothing by that name (or a folder on the way is missing)
        NotARegularFile,  // a folder, a named pipe, a device, a socket
        CannotBeOpened,   // no permission, or another error of the system
    };

    RegularFile() = default;
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    // Opens `path` (a file system path in the local 8-bit encoding; symbolic links
    // are followed). Returns false, with nothing open, unless it names a regular file;
    // a path holding a NUL byte names none.
    bool Open(const std::string& path);
    void Close();
    // Why the last Open() failed; None after one that succeeded.
    OpenFailure LastOpenFailure() const { return m_openFailure; }

    // Bytes the file held when it was opened.
    std::uint64_t Size() const { return m_size; }
    // The identity of the open file itself, whatever its name names by now;
    // nothing when no file is open.
    std::optional<FileIdentity> Identity() const { return IdentityOfDescriptor(m_descriptor); }
    bool OnLocalFileSystem() const { return IsOnLocalFileSystem(m_descriptor); }

    // Reads up to `size` bytes at `offset` into `buffer` (at least `size` bytes),
    // never past Size(). Returns the bytes read: fewer only at Size(), when the
    // file has shrunk since it was opened, or on a read error.
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const;
    // ReadAt() that succeeds only when all `size` bytes were read.
    bool ReadExactAt(std::uint64_t offset, void* buffer, std::size_t size) const;

private:
    int m_descriptor = -1;
    std::uint64_t m_size = 0;
    OpenFailure m_openFailure = OpenFailure::None;
};

// True when `path` names something that exists but is not a regular file
// (following symbolic links), such as a named pipe, a device or a folder. A path
// holding a NUL byte names nothing.
bool NamesNonRegularFile(const std::string& path);

}  // namespace sonolux
