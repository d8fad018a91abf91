#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <cstddef>
#include <functional>

// The two steps every writer of the program takes to get its data onto the
// disk: writing all of it, and syncing the folder that names the file. The
// system calls come in, so that tests can make one of them fail. Beside them,
// the reading counterpart of the first, for readers of a file's parts.
namespace FileWrites {

// Behaves like write(2) and fsync(2).
using WriteCall = std::function<ssize_t(int fd, const char* data, std::size_t size)>;
using SyncCall = std::function<int(int fd)>;

// Writes all `size` bytes at `data` to `fd` at its current position, going on
// after short and interrupted writes. Returns 0, or the errno of the write that
// failed: ENOSPC for one that wrote nothing, which would otherwise loop forever.
int WriteAll(int fd, const char* data, std::size_t size, const WriteCall& write);

// Reads exactly `size` bytes at `offset` of `fd`, going on after short and
// interrupted reads. False at the end of the file or on an error.
bool ReadAllAt(int fd, off_t offset, char* buffer, std::size_t size);

// Makes the entries of `folder` (a new or renamed file) durable through `sync`.
// Returns 0 or the errno of the failure. A folder that cannot be synced at all
// (EINVAL, EROFS: fsync(2) says the descriptor does not support it) counts as
// synced: its entries are as durable as that file system makes them.
int SyncFolder(const QByteArray& folder, const SyncCall& sync);

}  // namespace FileWrites
