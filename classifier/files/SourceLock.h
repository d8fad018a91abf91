#pragma once

#include <QByteArray>

#include "files/FileDescriptor.h"

// Keeps other Corvane processes from moving the source while this move runs.
// The lock is an open file description lock on the whole file: a write lock
// where the file can be opened for writing, otherwise a read lock, which at
// least stops a program that holds or waits for a write lock (a recorder
// still writing). Nothing is locked for a symbolic link, which cannot be
// opened without following it, nor for anything but a regular file; a file
// system without locks moves without them.
class SourceLock {
public:
    // Throws CorvaneError (EAGAIN) when another process holds a lock on `source`.
    explicit SourceLock(const QByteArray& source);

private:
    FileDescriptor m_fd;
};
