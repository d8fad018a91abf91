#pragma once

#include <QString>

#include "core/CorvaneError.h"

class IFileDialogAsker;

// The user closed the file dialog without a choice. Callers catch this, and
// only this, as the user's refusal: any other error still reaches the user.
class DialogCancelled : public CorvaneError {
public:
    DialogCancelled();
};

// The main window's one file dialog, shared by every file choice of the
// program. Its properties keep their values from one use to the next; its
// FileName after the last use is the folder that Next Batch refills from.
class CommonDialog {
public:
    // Flags bits.
    static constexpr int OverwritePrompt = 2;
    static constexpr int HideReadOnly = 4;
    static constexpr int PathMustExist = 2048;
    static constexpr int FileMustExist = 4096;

    explicit CommonDialog(IFileDialogAsker& asker) : m_asker(asker) {}

    QString FileName;
    QString Filter;      // description|pattern pairs: "Wave files|*.wav"
    QString DefaultExt;  // ".wav"
    int Flags = 0;
    bool CancelError = false;

    // Ask for a file to open or a name to save under. On confirmation FileName
    // holds the chosen file's full path; a cancel leaves FileName as it was and,
    // with CancelError, throws DialogCancelled.
    void ShowOpen() { Show(false); }
    void ShowSave() { Show(true); }

    // "Wave files|*.wav|All files|*.*" as Qt writes it: "Wave files (*.wav);;All files (*.*)".
    static QString QtFilter(const QString& filter);

private:
    void Show(bool save);

    IFileDialogAsker& m_asker;
};
