#pragma once

#include <cerrno>
#include <cstddef>

#include "files/SafeFileWriter.h"

// A SafeFileWriter whose disk fills up: it writes `bytesBeforeFailure` bytes,
// then every write fails with "No space left on device". With `failSync` the
// writes succeed and syncing the file fails with an input/output error.
class FailingFileWriter : public SafeFileWriter {
public:
    explicit FailingFileWriter(std::size_t bytesBeforeFailure, bool failSync = false)
        : m_left(bytesBeforeFailure), m_failSync(failSync) {}

    int writes = 0;

protected:
    ssize_t WriteSome(int fd, const char* data, std::size_t size) override {
        ++writes;
        if (m_failSync) return SafeFileWriter::WriteSome(fd, data, size);
        if (m_left == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t now = size < m_left ? size : m_left;
        m_left -= now;
        return SafeFileWriter::WriteSome(fd, data, now);
    }
    int SyncFile(int fd) override {
        if (!m_failSync) return SafeFileWriter::SyncFile(fd);
        errno = EIO;
        return -1;
    }

private:
    std::size_t m_left;
    bool m_failSync;
};
