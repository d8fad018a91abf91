#pragma once

#include <sys/stat.h>
#include <sys/types.h>
#include <QString>
#include <cstddef>
#include <string>
#include <unordered_set>

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
    virtual QString MoveFile(const QString& source, const QString& destination) = 0;
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

    static const FileMoveSystemCalls& Real();
};

// Within one file system the file is renamed without replacing (renameat2
// with RENAME_NOREPLACE, or link and unlink where the file system lacks that
// flag). Across file systems it is copied into an unnamed file in the target
// folder (a hidden temporary name where the file system has no unnamed files),
// every write checked, synced, given the source's permission bits and times
// where the file system keeps them, published under its name without
// replacing, the folder synced, and only then is the source removed, if its
// name still holds the file that was copied, unchanged; a file that another
// program changed or put in its place meanwhile fails the move. Any failure on
// the way removes the copy again. Names are taken only when their text names
// exactly one file.
class FileMover : public IFileMover {
public:
    explicit FileMover(const FileMoveSystemCalls& calls = FileMoveSystemCalls::Real())
        : m_calls(calls) {}
    QString MoveFile(const QString& source, const QString& destination) override;

private:
    void MoveAcrossFileSystems(const QByteArray& source, const QByteArray& target);
    void CopyAcross(const QByteArray& source, const QByteArray& target);
    void LinkAcross(const QByteArray& source, const struct stat& status, const QByteArray& target);
    void RenameByLink(const QByteArray& source, const QByteArray& target);
    // Removes the source once the target is complete; if that fails, the
    // target goes again so that the move did not happen.
    void RemoveSource(const QByteArray& source, const QByteArray& target);
    // Removes the source of a finished copy, unless the source's name no
    // longer holds the file that was copied, as it was (`copied`): then the
    // copy goes and the move fails. A source that is gone leaves the copy.
    void RemoveCopiedSource(const QByteArray& source, const struct stat& copied,
                            const QByteArray& target);
    // Clears the target folder of copies that a killed move left behind.
    void RemoveStaleCopies(const QByteArray& folder);

    const FileMoveSystemCalls& m_calls;
    std::unordered_set<std::string> m_cleanedFolders;
};
