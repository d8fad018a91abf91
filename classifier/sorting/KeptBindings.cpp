#include "sorting/KeptBindings.h"

#include <QFileInfo>

#include "core/MessageBox.h"
#include "files/FileSystem.h"
#include "files/SafeFileWriter.h"
#include "keys/ImportMessageBox.h"
#include "keys/KeyListFile.h"
#include "keys/KeyListImport.h"

namespace KeptBindings {

QString PathIn(const QString& settingsFolder) {
    return FileSystem::BuildPath(settingsFolder, QStringLiteral("bindings.txt"));
}

void Load(const QString& path, IClassifierKeys& keys, IMessageBox& messages) {
    // The first run with the option on has nothing to read yet.
    if (!QFileInfo::exists(path)) return;
    QByteArray contents;
    const QString error = FileSystem::ReadWholeFile(path, contents, KeyListFile::MaxFileSize);
    if (!error.isEmpty()) {
        messages.Warn(QStringLiteral("The key bindings of the last run cannot be read from "
                                     "\"%1\": %2")
                          .arg(path, error));
        return;
    }
    if (!KeyListFile::LooksLikeText(contents)) {
        messages.Warn(QStringLiteral("\"%1\" is not a key list file.").arg(path));
        return;
    }
    ImportMessageBox importMessages(messages);
    KeyListImport::BindLines(contents, keys, importMessages);
    importMessages.ShowSummary();
}

void Save(const QString& path, const ClassifierKeyMap& map, SafeFileWriter& writer,
          IMessageBox& messages) {
    QStringList leftOut;
    const QByteArray contents = KeyListFile::Format(map, &leftOut);
    const QString error = writer.WriteFile(path, contents);
    if (!error.isEmpty()) {
        messages.Warn(error);
    } else if (!leftOut.isEmpty()) {
        messages.Warn(KeyListFile::LeftOutMessage(leftOut));
    }
}

}  // namespace KeptBindings
