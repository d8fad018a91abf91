#pragma once

#include <sys/stat.h>
#include <sys/types.h>
#include <QString>
#include <cstddef>
#include <ctime>
#include <string>
#include <unordered_set>

// Where a move put a recording, and what the user should know of it.
struct MoveResult {
    QString path;
    // Empty for a plain move; otherwise a sentence for the user about a move
    // that completed but may not be what it seems.
    QString warning;
};

// Moves recordings. A move never replaces an existing file and never loses
// the source: it either completes or leaves everything as it was.
class IFileMover {
public:
    virtual ~IFileMover() = default;
    // Moves `source` into the directory `destination` under its own name when
    // `destination` ends in "/", otherwise to the path `destination`, and
    // returns the path the file has now. A symbolic link is moved as the link
    // itself. Throws CorvaneError carrying errno and the system's description
    // of the error ("File exists", "No space left on device", ...).
    virtual MoveResult MoveFile(const QString& source, const QString& destination) = 0;
};

// The system calls a move makes, so that tests can make one of them fail.
struct FileMoveSystemCalls {
    int (*renameNoReplace)(const char* from, const char* to);
    int (*link)(const char* from, const char* to);
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    int (*fsync)(int fd);  // the copy's data, and then the target folder
    int (*unlink)(const char* path);
    // An unnamed file for writing in `folder` (O_TMPFILE), or -1 with errno.
    int (*openUnnamed)(const char* folder);
    // The time against which a killed move's leftover copies are judged stale.
    std::time_t (*now)();

    static const FileMoveSystemCalls& Real();
};

// While a move runs, the source is locked (an open file description lock), so
// that two Corvane processes never move one recording at once: the second
// fails and leaves the file alone. Within one file system the file is renamed
// without replacing (renameat2 with RENAME_NOREPLACE, or link and unlink where
// the file system lacks that flag). Across file systems it is copied into an
// unnamed file in the target folder (a hidden temporary name where the file
// system has no unnamed files), every write checked, synced, given the
// source's permission bits and times where the file system keeps them,
// published under its name without replacing, the folder synced, and only then
// is the source removed, if its name still holds the file that was copied,
// unchanged; a file that another program changed or put in its place meanwhile
// fails the move. A source that another program removed meanwhile leaves the
// copy, with a warning. Any failure on the way removes the copy again. Names
// are taken only when their text names exactly one file.
class FileMover : public IFileMover {
public:
    explicit FileMover(const FileMoveSystemCalls& calls = FileMoveSystemCalls::Real())
        : m_calls(calls) {}
    MoveResult MoveFile(const QString& source, const QString& destination) override;

private:
    QString MoveAcrossFileSystems(const QByteArray& source, const QByteArray& target);
    QString CopyAcross(const QByteArray& source, const QByteArray& target);
    QString LinkAcross(const QByteArray& source, const struct stat& status,
                       const QByteArray& target);
    void RenameByLink(const QByteArray& source, const QByteArray& target);
    // Removes the source once the target is complete; if that fails, the
    // target goes again so that the move did not happen.
    void RemoveSource(const QByteArray& source, const QByteArray& target);
    // Removes the source of a finished copy, unless the source's name no
    // longer holds the file that was copied, as it was (`copied`, read
    // through `input`, or -1 for a link): then the copy goes and the move
    // fails. A source that is gone leaves the copy and returns the warning
    // about it.
    QString RemoveCopiedSource(const QByteArray& source, const struct stat& copied,
                               const QByteArray& target, int input);
    // Before a copy under a hidden temporary name: clears `folder` of the
    // copies that killed moves left there, at the first copy into it in this
    // run and whenever its free space is short of `size` bytes.
    void ClearLeftovers(const QByteArray& folder, off_t size);

    const FileMoveSystemCalls& m_calls;
    std::unordered_set<std::string> m_clearedFolders;
};
