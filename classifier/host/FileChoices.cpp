#include "host/FileChoices.h"

#include "host/CommonDialog.h"

namespace FileChoices {

bool AskForWaveFile(CommonDialog& dialog) {
    dialog.CancelError = true;
    dialog.Flags = CommonDialog::FileMustExist | CommonDialog::HideReadOnly;
    dialog.Filter = QStringLiteral("Wave files|*.wav");
    try {
        dialog.ShowOpen();
    } catch (const DialogCancelled&) {
        return false;
    }
    return true;
}

bool AskForKeystrokeFolder(CommonDialog& dialog) {
    dialog.FileName = QStringLiteral("any.wav");
    dialog.CancelError = true;
    dialog.Flags = CommonDialog::HideReadOnly;
    dialog.DefaultExt = QStringLiteral(".wav");
    try {
        dialog.ShowSave();
    } catch (const DialogCancelled&) {
        return false;
    }
    return true;
}

}  // namespace FileChoices
