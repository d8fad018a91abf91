#include "windows/LabelCommands.h"

#include "core/MessageBox.h"
#include "files/LabelExport.h"
#include "files/SafeFileWriter.h"
#include "host/CommonDialog.h"
#include "host/FileChoices.h"
#include "keys/ClassifierKeyMap.h"
#include "windows/StatusPresenter.h"

namespace LabelCommands {
namespace {

QStringList BoundFolders(const ClassifierKeyMap& map) {
    QStringList folders;
    for (const QString& key : map.Keys()) folders.append(map.Dir(key));
    return folders;
}

QString Outcome(const LabelExport::Result& result, const QString& path) {
    QString text = QStringLiteral("Exported the labels of %1 recordings to %2")
                       .arg(result.recordings)
                       .arg(path);
    if (result.leftOut > 0) {
        text += QStringLiteral(" (%1 names or folders left out: not text, unreadable or too deep)")
                    .arg(result.leftOut);
    }
    return text;
}

}  // namespace

void Export(CommonDialog& dialog, const ClassifierKeyMap& map, WaveBatch::WaveNames names,
            SafeFileWriter& writer, IMessageBox& messages, StatusPresenter& status) {
    if (map.IsEmpty()) {
        messages.Warn(
            QStringLiteral("No keystroke directory is set, so there are no labels to export."));
        return;
    }
    if (!FileChoices::AskForLabelsFile(dialog)) return;
    const LabelExport::Result result =
        LabelExport::Collect(BoundFolders(map), names, [&status](int recordings) {
            status.ShowProgress(QStringLiteral("Exporting labels: %1 recordings").arg(recordings));
        });
    const QString error = writer.WriteFile(dialog.FileName, result.csv);
    if (!error.isEmpty()) {
        status.ClearMessage();
        messages.Warn(error);
        return;
    }
    status.ShowMessage(Outcome(result, dialog.FileName));
}

}  // namespace LabelCommands
