#pragma once

#include "files/WaveBatch.h"

class ClassifierKeyMap;
class CommonDialog;
class IMessageBox;
class SafeFileWriter;
class StatusPresenter;

// File > "Export Labels...": asks for a file through the shared dialog and
// writes the labels of every wave file under the folders that `map` binds
// (LabelExport), whole or not at all. Progress and the outcome go to the
// status bar; a failure to write goes to a message box.
namespace LabelCommands {

void Export(CommonDialog& dialog, const ClassifierKeyMap& map, WaveBatch::WaveNames names,
            SafeFileWriter& writer, IMessageBox& messages, StatusPresenter& status);

}  // namespace LabelCommands
