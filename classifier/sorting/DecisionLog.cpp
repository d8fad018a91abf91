#include "sorting/DecisionLog.h"

#include <QDateTime>
#include <QStringList>

#include "core/CorvaneError.h"
#include "files/AppendOnlyFile.h"
#include "files/CsvText.h"
#include "files/FileDigest.h"
#include "files/FileSystem.h"

const QByteArray DecisionLog::Header =
    CsvText::Line({"time", "action", "recording", "from", "to", "keystroke", "size", "sha256"});

void DecisionLog::SetPath(const QString& path) {
    if (path == m_path) return;
    m_path = path;
    m_failing = false;
}

void DecisionLog::Moved(const QString& from, const QString& to, const QString& keyText) {
    Append(QStringLiteral("move"), from, to, keyText);
}

void DecisionLog::Undone(const QString& from, const QString& to, const QString& keyText) {
    Append(QStringLiteral("undo"), from, to, keyText);
}

QByteArray DecisionLog::Line(const QString& time, const QString& action, const QString& from,
                             const QString& to, const QString& keyText) {
    QString size;
    QString sha256;
    try {
        const FileDigest digest = FileDigest::Of(to);
        size = QString::number(digest.size);
        sha256 = QString::fromLatin1(digest.sha256);
    } catch (const CorvaneError&) {
        // The move happened all the same; the line says so without the digest.
    }
    return CsvText::Line({time, action, FileSystem::GetFileName(to),
                          FileSystem::GetParentFolderName(from),
                          FileSystem::GetParentFolderName(to), keyText, size, sha256});
}

void DecisionLog::Append(const QString& action, const QString& from, const QString& to,
                         const QString& keyText) {
    if (m_path.isEmpty()) return;
    const QString time = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    const QString error =
        AppendOnlyFile::AppendLine(m_path, Header, Line(time, action, from, to, keyText));
    if (error.isEmpty()) {
        m_failing = false;
        return;
    }
    if (m_failing) return;
    m_failing = true;
    m_reportFailure(QStringLiteral("The decision log could not be written: %1").arg(error));
}
