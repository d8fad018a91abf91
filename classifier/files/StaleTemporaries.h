#pragma once

#include <QByteArray>
#include <functional>
#include <string_view>

// Temporary files that a killed Corvane leaves behind: partial copies of a
// move across file systems, partial settings and key list files. A process
// marks each temporary it is writing as in use (a lock the system releases
// when the process ends, however it ends), so another Corvane can tell a
// temporary nobody owns any more from one that is being written.
namespace StaleTemporaries {

// Marks the temporary open at `fd` as in use for as long as `fd` stays open.
void MarkInUse(int fd);

// Removes from `folder` the files whose names `isOurs` accepts, when they are
// regular files of this user, untouched for a minute and not in use. Anything
// that cannot be checked is left alone.
void Remove(const QByteArray& folder, const std::function<bool(std::string_view)>& isOurs);

// The name patterns of the temporaries, shared by their writers and by Remove.
// A move's copy: ".corvane-move-" and six letters or digits.
bool IsMoveCopyName(std::string_view name);
// A safe write's file: "." + the file's name + "." + 12 or 13 lower-case
// letters or digits.
bool IsSafeWriteName(std::string_view name, std::string_view fileName);

}  // namespace StaleTemporaries
