#pragma once

#include <QString>
#include <optional>

// The target folder of a binding as a move needs it: an absolute path that
// ends in "/", so that a recording goes into the folder under its own name.
namespace TargetFolder {

// `text` with a final "/" added when it has none; nothing when `text` is no
// absolute path (it does not begin with "/"): a Windows folder such as
// "D:\birds\" from an old key list, or a relative path, would otherwise rename
// recordings inside whatever the working directory happens to be. Nothing too
// for a path longer than the system takes (PATH_MAX bytes with its final NUL).
std::optional<QString> AsFolderPath(const QString& text);

// The message refusing `text` as the folder of the keystroke `keyText`:
// "D:\birds\" is not a folder path; the keystroke CTRL+A key was not bound.
QString RefusalMessage(const QString& text, const QString& keyText);

}  // namespace TargetFolder
