#include "suggest/ExampleFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "files/WaveBatch.h"

QStringList ExampleFiles::MostRecent(const QString& folder, int limit) {
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Time);
    QStringList paths;
    for (const QFileInfo& entry : entries) {
        if (paths.size() >= limit) break;
        const QByteArray name = QFile::encodeName(entry.fileName());
        if (!WaveBatch::IsWaveName(name.constData(), static_cast<std::size_t>(name.size()),
                                   WaveBatch::WaveNames::LowerCaseOnly) ||
            !WaveBatch::NameIsText(name.constData(), static_cast<std::size_t>(name.size())))
            continue;
        paths.append(entry.filePath());
    }
    return paths;
}
