#pragma once

#include <QString>
#include <optional>

// What the shared file dialog asks the user, in the dialog's own terms.
struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString fileName;    // proposed name or path; its folder is where the dialog starts
    QString filter;      // Qt form: "Wave files (*.wav)"
    QString defaultExt;  // without the dot, appended to a name typed without extension
    bool fileMustExist = false;
    bool pathMustExist = false;
    bool confirmOverwrite = false;
};

// The part of the shared file dialog that asks the user. Tests replace it.
class IFileDialogAsker {
public:
    virtual ~IFileDialogAsker() = default;
    // The chosen file's full path, or nothing when the user cancels.
    virtual std::optional<QString> Ask(const FileDialogRequest& request) = 0;
};
