#include "keys/ui/KeyListCommands.h"

#include "files/FileSystem.h"
#include "files/SafeFileWriter.h"
#include "host/CommonDialog.h"
#include "host/FileChoices.h"
#include "keys/ClassifyKeySetter.h"
#include "keys/ImportMessageBox.h"
#include "keys/KeyListFile.h"
#include "keys/KeyListImport.h"

namespace KeyListCommands {
namespace {

// Prepares the dialog as both commands do and shows it; false when the user
// refused.
bool AskForKeyList(CommonDialog& dialog, bool save) {
    dialog.CancelError = true;
    dialog.Flags = CommonDialog::HideReadOnly | CommonDialog::PathMustExist;
    if (save) dialog.Flags |= CommonDialog::OverwritePrompt;
    dialog.DefaultExt = QStringLiteral(".txt");
    dialog.FileName = QStringLiteral("keylist.txt");
    return FileChoices::Chosen(dialog, save);
}

}  // namespace

void Export(CommonDialog& dialog, const ClassifierKeyMap& map, SafeFileWriter& writer,
            IMessageBox& messages) {
    if (!AskForKeyList(dialog, true)) return;
    QStringList leftOut;
    const QByteArray contents = KeyListFile::Format(map, &leftOut);
    const QString error = writer.WriteFile(dialog.FileName, contents);
    if (!error.isEmpty()) {
        messages.Warn(error);
    } else if (!leftOut.isEmpty()) {
        messages.Warn(KeyListFile::LeftOutMessage(leftOut));
    }
}

void Import(CommonDialog& dialog, IClassifierKeys& keys, IMessageBox& messages) {
    if (!AskForKeyList(dialog, false)) return;
    // The file is read before the map is emptied: a file that cannot be read
    // must not cost the user the bindings they have.
    QByteArray contents;
    const QString error =
        FileSystem::ReadWholeFile(dialog.FileName, contents, KeyListFile::MaxFileSize);
    if (!error.isEmpty()) {
        messages.Warn(error);
        return;
    }
    if (!KeyListFile::LooksLikeText(contents)) {
        // A recording chosen by mistake would give a message for every "line".
        messages.Warn(QStringLiteral("\"%1\" is not a key list file.").arg(dialog.FileName));
        return;
    }
    keys.EraseClassifyKeys();
    ImportMessageBox importMessages(messages);
    KeyListImport::BindLines(contents, keys, importMessages);
    importMessages.ShowSummary();
}

}  // namespace KeyListCommands
