#include "host/CommonDialog.h"

#include <QStringList>

#include "core/FileDialogAsker.h"
#include "files/FileSystem.h"

DialogCancelled::DialogCancelled()
    : CorvaneError(CorvaneErrorNumber::DialogCancelled, QStringLiteral("Cancel was selected.")) {}

QString CommonDialog::QtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(QStringLiteral("%1 (%2)").arg(parts[i], patterns));
    }
    return filters.join(QStringLiteral(";;"));
}

void CommonDialog::Show(bool save) {
    FileDialogRequest request;
    request.mode = save ? FileDialogRequest::Mode::Save : FileDialogRequest::Mode::Open;
    request.fileName = FileName;
    request.filter = QtFilter(Filter);
    request.defaultExt = DefaultExt.startsWith(QLatin1Char('.')) ? DefaultExt.mid(1) : DefaultExt;
    request.fileMustExist = (Flags & FileMustExist) != 0;
    request.pathMustExist = (Flags & (PathMustExist | FileMustExist)) != 0;
    request.confirmOverwrite = (Flags & OverwritePrompt) != 0;

    const std::optional<QString> chosen = m_asker.Ask(request);
    if (!chosen) {
        if (CancelError) throw DialogCancelled();
        return;
    }
    FileName = FileSystem::GetAbsolutePathName(*chosen);
}
