#pragma once

#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <string>

// A small tmpfs of its own, for tests that need a disk that is really full.
// It is mounted in a private mount namespace of the test's thread, so nothing
// outside the test sees it and nothing of it outlives the test process.
// Mounting needs root; without it the disk is not available and SkipReason
// says why.
class SmallDisk {
public:
    explicit SmallDisk(std::size_t bytes = 64 * 1024);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool IsAvailable() const { return m_mounted; }
    const std::string& SkipReason() const { return m_skipReason; }

    // Full path of `name` on the disk.
    QString Path(const QString& name) const;
    // Fills every free page with filler files, then frees `pagesLeft` of them.
    void Fill(int pagesLeft = 0);
    // Removes the filler files.
    void Empty();
    // The names in the disk's root folder, filler files excepted, sorted.
    QStringList Names() const;

private:
    QTemporaryDir m_mountPoint;
    bool m_mounted = false;
    std::string m_skipReason;
    int m_fillers = 0;
};
