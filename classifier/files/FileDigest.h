#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// What a file holds, in a form that tells two files apart: its size and the
// SHA-256 of its bytes. The file is read in blocks of 64 KiB, so memory stays
// the same for any size; time grows with the file.
struct FileDigest {
    qint64 size = 0;    // bytes
    QByteArray sha256;  // 64 lower-case hexadecimal digits

    // The digest of the regular file at `path` (a link is followed). Throws
    // CorvaneError with the system's description when it cannot be read.
    static FileDigest Of(const QString& path);
};
