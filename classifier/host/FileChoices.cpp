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

bool AskForLabelsFile(CommonDialog& dialog) {
    const QString filter = dialog.Filter;
    const QString defaultExt = dialog.DefaultExt;
    dialog.FileName = QStringLiteral("labels.csv");
    dialog.CancelError = true;
    dialog.Flags =
        CommonDialog::HideReadOnly | CommonDialog::PathMustExist | CommonDialog::OverwritePrompt;
    dialog.Filter = QStringLiteral("CSV files|*.csv");
    dialog.DefaultExt = QStringLiteral(".csv");
    bool chosen = false;
    try {
        chosen = Chosen(dialog, true);
    } catch (...) {
        dialog.Filter = filter;
        dialog.DefaultExt = defaultExt;
        throw;
    }
    dialog.Filter = filter;
    dialog.DefaultExt = defaultExt;
    return chosen;
}

}  // namespace FileChoices
