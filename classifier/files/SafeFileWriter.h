#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <ctime>

// Writes files whole or not at all. Every write is checked for its full
// length and the data is synced before the file takes the place of an old
// one, so a full disk or a crash leaves the old file or the new one, never a
// truncated one. Failures are reported with the platform's description of the
// error ("No space left on device"); an empty text means success.
class SafeFileWriter {
public:
    virtual ~SafeFileWriter() = default;

    // Replaces the file at `path` (or creates it) with `bytes`: writes a
    // temporary file in the same folder, syncs it, renames it over `path` and
    // syncs the folder. On failure the old file is untouched and the temporary
    // file is gone. Temporaries of `path` that a killed writer left behind are
    // removed first. A symbolic link at `path` to an existing file keeps pointing
    // at the new file; a broken link is replaced by the new file.
    QString WriteFile(const QString& path, const QByteArray& bytes);

    // Writes all of `bytes` to the open file descriptor `fd` at its current
    // position and syncs the file to disk. Does not take ownership of `fd`.
    QString WriteAllAndSync(int fd, const QByteArray& bytes);

    // Makes the entries of `folder` (a new or renamed file) durable.
    static QString SyncFolder(const QString& folder);

protected:
    // The two calls through which all data reaches the disk; tests replace
    // them to make a write fail. They behave like write(2) and fsync(2).
    virtual ssize_t WriteSome(int fd, const char* data, std::size_t size);
    virtual int SyncFile(int fd);
    // The time against which a killed writer's temporaries are judged stale.
    virtual std::time_t Now() const;
};
