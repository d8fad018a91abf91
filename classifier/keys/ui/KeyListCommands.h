#pragma once

class ClassifierKeyMap;
class CommonDialog;
class IClassifierKeys;
class IMessageBox;
class SafeFileWriter;

// The File menu's key list commands. Both ask for the file with the main
// window's file dialog and end silently when the user cancels it; failures
// are reported in `messages`.
namespace KeyListCommands {

// Writes every binding of `map` to the chosen key list file, whole or not at all.
void Export(CommonDialog& dialog, const ClassifierKeyMap& map, SafeFileWriter& writer,
            IMessageBox& messages);

// Replaces the bindings of `keys` by those of the chosen key list file. A file
// that cannot be read, or is no text, leaves the bindings as they are.
void Import(CommonDialog& dialog, IClassifierKeys& keys, IMessageBox& messages);

}  // namespace KeyListCommands
