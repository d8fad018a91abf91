#include "sorting/BatchSource.h"

#include <QFileInfo>

#include "core/MessageBox.h"
#include "files/FileSystem.h"

QString BatchSource::NextBatchFolder(const QString& dialogPath) {
    return FileSystem::GetParentFolderName(dialogPath);
}

WaveBatch::WaveNames BatchSource::WaveNamesOf(const RecordingOptions& options) {
    return options.AnyCaseWave ? WaveBatch::WaveNames::AnyCase
                               : WaveBatch::WaveNames::LowerCaseOnly;
}

void BatchSource::Fill(const QString& folder, IBatchCells& cells, WaveBatch::WaveNames names) {
    if (folder.isEmpty()) return;
    const WaveBatch::Batch batch = WaveBatch::FirstWaveFiles(folder, cells.BatchCapacity(), names);
    cells.ShowBatch(batch.paths);
    m_count.Listed(folder, batch.total);
    cells.BatchShown();
    if (batch.unreadableNames > 0)
        m_messages.Warn(SkippedNamesMessage(folder, batch.unreadableNames));
}

std::optional<BatchSource::Start> BatchSource::FromCommandLine(const QString& path,
                                                               WaveBatch::WaveNames names) {
    const QFileInfo target(path);
    if (!target.exists()) {
        m_messages.Warn(QStringLiteral("\"%1\" does not exist.").arg(path));
        return std::nullopt;
    }
    if (!target.isDir()) {
        const QString file = FileSystem::GetAbsolutePathName(path);
        return Start{file, FileSystem::GetParentFolderName(file)};
    }
    const QString folder = FileSystem::GetAbsolutePathName(path);
    const QStringList first = WaveBatch::FirstWaveFiles(folder, 1, names).paths;
    return Start{
        first.isEmpty() ? FileSystem::BuildPath(folder, QStringLiteral("any.wav")) : first.front(),
        folder};
}

QString BatchSource::SkippedNamesMessage(const QString& folder, int count) {
    if (count == 1) {
        return QStringLiteral(
                   "1 wave file in \"%1\" was skipped: its name is not valid UTF-8 text, so "
                   "Corvane cannot show or move it safely. Rename it to sort it.")
            .arg(folder);
    }
    return QStringLiteral(
               "%1 wave files in \"%2\" were skipped: their names are not valid UTF-8 text, so "
               "Corvane cannot show or move them safely. Rename them to sort them.")
        .arg(count)
        .arg(folder);
}
