#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A file name on Linux is a string of bytes; the control holds it as text.
// Only a name whose text and bytes turn into each other unchanged names one
// file exactly: any other would open a file of another name, or, cut at a NUL
// byte, the file named by the part before it.
namespace sonolux {

// The bytes of `name` in the file system's encoding, when they read back as
// `name` and hold no NUL byte; none otherwise. The empty name gives empty bytes.
std::optional<QByteArray> ExactFileNameBytes(const QString& name);

// The text of the file name `bytes`, when it turns back into exactly those
// bytes and they hold no NUL byte; none otherwise (for example for a name in
// Latin-1, whose text would name its U+FFFD twin).
std::optional<QString> ExactFileNameText(const QByteArray& bytes);

}  // namespace sonolux
