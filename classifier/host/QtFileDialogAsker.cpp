#include "host/QtFileDialogAsker.h"

#include <QFileDialog>
#include <QFileInfo>

std::optional<QString> QtFileDialogAsker::Ask(const FileDialogRequest& request) {
    QFileDialog dialog(m_owner);
    const bool open = request.mode == FileDialogRequest::Mode::Open;
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open && request.fileMustExist ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
    if (!request.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.filter.isEmpty()) dialog.setNameFilter(request.filter);
    if (!request.defaultExt.isEmpty()) dialog.setDefaultSuffix(request.defaultExt);
    if (!request.fileName.isEmpty()) {
        const QFileInfo proposed(request.fileName);
        if (proposed.isAbsolute() || request.fileName.contains(QLatin1Char('/'))) {
            dialog.setDirectory(proposed.absolutePath());
        }
        dialog.selectFile(proposed.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().front();
    if (request.pathMustExist && !QFileInfo(chosen).absoluteDir().exists()) return std::nullopt;
    return chosen;
}
