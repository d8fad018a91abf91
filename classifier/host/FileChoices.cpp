#include "host/FileChoices.h"

#include "host/CommonDialog.h"

namespace FileChoices {

bool Chosen(CommonDialog& dialog, bool save) {
    try {
        if (save) {
            dialog.ShowSave();
        } else {
            dialog.ShowOpen();
        }
    } catch (const DialogCancelled&) {
        return false;
    }
    return true;
}

bool AskForWaveFile(CommonDialog& dialog) {
    dialog.CancelError = true;
    dialog.Flags = CommonDialog::FileMustExist | CommonDialog::HideReadOnly;
    dialog.Filter = QStringLiteral("Wave files|*.wav");
    return Chosen(dialog);
}

bool AskForKeystrokeFolder(CommonDialog& dialog) {
    dialog.FileName = QStringLiteral("any.wav");
    dialog.CancelError = true;
    dialog.Flags = CommonDialog::HideReadOnly;
    dialog.DefaultExt = QStringLiteral(".wav");
    return Chosen(dialog, true);
}

}  // namespace FileChoices
