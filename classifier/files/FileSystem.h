#pragma once

#include <QByteArray>
#include <QString>

// Path helpers of the program. The path separator is "/"; a directory text
// that ends with "/" names the directory itself.
namespace FileSystem {

// The folder part of `path` ("/a/b" for "/a/b/c.wav"), empty when there is none.
QString GetParentFolderName(const QString& path);
// GetParentFolderName of a path in the system's bytes, which need not be text.
QByteArray GetParentFolderBytes(const QByteArray& path);
// The last component of `path` ("c.wav" for "/a/b/c.wav").
QString GetFileName(const QString& path);
// The full, clean form of `path`, relative paths taken from the current folder.
QString GetAbsolutePathName(const QString& path);
// `path` and `name` joined with exactly one separator between them.
QString BuildPath(const QString& path, const QString& name);
// True when `path` names an existing regular file (or a link to one); false
// for the empty text, folders and everything else.
bool FileExists(const QString& path);
// Reads the whole file at `path` into `contents`. Returns the system's
// description of the error ("No such file or directory"; "File too large" for
// a file of more than `maxSize` bytes), or the empty text.
QString ReadWholeFile(const QString& path, QByteArray& contents, qint64 maxSize);

}  // namespace FileSystem
