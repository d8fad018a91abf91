#pragma once

#include <dirent.h>
#include <unistd.h>
#include <memory>

// Owns one open file descriptor and closes it when it goes out of scope. -1
// stands for none.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { Reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }

    // Closes the descriptor held, if any, and holds `fd` from now on.
    void Reset(int fd = -1) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = fd;
    }

    // Closes now, for a caller that must know whether the close failed (on some
    // file systems the last write errors show only there): close(2)'s result,
    // 0 when nothing was open.
    int Close() {
        if (m_fd < 0) return 0;
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

private:
    int m_fd = -1;
};

// A folder opened for listing, closed when the listing ends, however it ends.
struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};
using FolderListing = std::unique_ptr<DIR, FolderCloser>;
