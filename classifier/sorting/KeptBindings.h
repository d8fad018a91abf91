#pragma once

#include <QString>

class ClassifierKeyMap;
class IClassifierKeys;
class IMessageBox;
class SafeFileWriter;

// The key map a run keeps for the next when "Keep key bindings between runs"
// is on: a key list file named "bindings.txt" in the settings folder, written
// whole or not at all at exit and bound line by line at start.
namespace KeptBindings {

// The file in `settingsFolder`.
QString PathIn(const QString& settingsFolder);

// Binds every line of the file at `path` through `keys`. Silent when there is
// no such file, or when every line binds; a line that binds nothing, or a file
// that cannot be read, is told in `messages` as an import tells it.
void Load(const QString& path, IClassifierKeys& keys, IMessageBox& messages);

// Writes every binding of `map` to `path`; an empty map writes an empty file,
// so that erased bindings stay erased. A failure, or a binding the file cannot
// hold, is told in `messages`.
void Save(const QString& path, const ClassifierKeyMap& map, SafeFileWriter& writer,
          IMessageBox& messages);

}  // namespace KeptBindings
