#include "sorting/StatusText.h"

#include <QDir>
#include <algorithm>

#include "files/FileSystem.h"

namespace StatusText {

QString Recording(const QString& path, const RecordingInfo& info) {
    if (path.isEmpty()) return {};
    const QString name = FileSystem::GetFileName(path);
    if (!info.loaded || info.sampleRate == 0)
        return QStringLiteral("%1: not a readable wave file").arg(name);
    const double seconds = static_cast<double>(info.totalFrames) / info.sampleRate;
    return QStringLiteral("%1: %2 s, %3 Hz, %4, %5 bits")
        .arg(name, QString::number(seconds, 'f', 2), QString::number(info.sampleRate),
             info.channels == 1 ? QStringLiteral("1 channel")
                                : QStringLiteral("%1 channels").arg(info.channels),
             QString::number(info.bitsPerSample));
}

QString Pointer(QPoint position, QSize size, std::uint32_t sampleRate, std::int64_t loadedFrames) {
    if (sampleRate == 0 || loadedFrames <= 0 || size.width() <= 0 || size.height() <= 0) return {};
    // The middle of the pixel under the pointer.
    const double across = std::clamp((position.x() + 0.5) / size.width(), 0.0, 1.0);
    const double up = std::clamp(1.0 - (position.y() + 0.5) / size.height(), 0.0, 1.0);
    const double seconds = across * static_cast<double>(loadedFrames) / sampleRate;
    const double kiloHertz = up * sampleRate / 2.0 / 1000.0;
    return QStringLiteral("%1 s, %2 kHz")
        .arg(QString::number(seconds, 'f', 2), QString::number(kiloHertz, 'f', 1));
}

QString Folder(const QString& folder) {
    static const QString home = QDir::homePath();
    if (folder == home) return QStringLiteral("~");
    if (home != QLatin1String("/") && folder.startsWith(home + QLatin1Char('/')))
        return QLatin1Char('~') + folder.mid(home.size());
    return folder;
}

NextBatchLine NextBatch(const QString& dialogPath, const QString& batchFolder, int left) {
    if (dialogPath.isEmpty()) return {};
    const QString folder = FileSystem::GetParentFolderName(dialogPath);
    if (folder.isEmpty()) {
        return {QStringLiteral("Next Batch: no folder"),
                QStringLiteral("A cancelled file dialog left no folder: Next Batch will leave "
                               "the grid empty.")};
    }
    if (folder == batchFolder || FileSystem::GetAbsolutePathName(folder) == batchFolder)
        return {QStringLiteral("Next Batch: %1 - %2 left").arg(Folder(folder)).arg(left), {}};
    const QString text = QStringLiteral("Next Batch: %1").arg(Folder(folder));
    if (batchFolder.isEmpty()) return {text, {}};
    return {text, QStringLiteral("A file dialog changed the folder: this batch came from %1, but "
                                 "Next Batch will read %2.")
                      .arg(Folder(batchFolder), Folder(folder))};
}

QString MoveFailed(const QString& path, const QString& target) {
    return QStringLiteral("%1 was not moved to %2").arg(FileSystem::GetFileName(path), target);
}

QString Play(const QString& path, bool playing, const QString& error, int speedDivisor) {
    const QString name = FileSystem::GetFileName(path);
    if (playing && speedDivisor > 1)
        return QStringLiteral("Playing %1 at 1/%2").arg(name).arg(speedDivisor);
    if (playing) return QStringLiteral("Playing %1").arg(name);
    if (!error.isEmpty()) return QStringLiteral("Could not play %1: %2").arg(name, error);
    return {};
}

}  // namespace StatusText
