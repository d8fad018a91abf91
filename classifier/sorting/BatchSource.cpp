#include "sorting/BatchSource.h"

#include <QFileInfo>
#include <chrono>

#include "core/MessageBox.h"
#include "files/FileSystem.h"

namespace {

std::int64_t SteadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

BatchSource::BatchSource(IMessageBox& messages, SortingProgress::Clock now)
    : m_messages(messages), m_progress(now ? std::move(now) : &SteadyMilliseconds) {}

void BatchSource::Moved(const QString& from, const QString& to) {
    const int change = m_count.Moved(from, to);
    if (change < 0) m_progress.MovedOut();
    if (change > 0) m_progress.MovedBack();
    m_otherCount.Moved(from, to);
}

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
    const QString previous = m_count.Folder();
    m_count.Listed(folder, batch.total);
    if (m_count.Folder() != previous) m_progress.Restart();
    cells.BatchShown();
    if (batch.unreadableNames > 0)
        m_messages.Warn(SkippedNamesMessage(folder, batch.unreadableNames));
}

namespace {

int WaveFileCount(const QString& folder, WaveBatch::WaveNames names) {
    return WaveBatch::FirstWaveFiles(folder, 1, names).total;
}

}  // namespace

void BatchSource::CountFolder(const QString& folder, WaveBatch::WaveNames names) {
    if (folder.isEmpty()) return;
    const QString absolute = FileSystem::GetAbsolutePathName(folder);
    if (absolute == m_count.Folder() || absolute == m_otherCount.Folder()) return;
    m_otherCount.Listed(absolute, WaveFileCount(absolute, names));
}

void BatchSource::Recount(WaveBatch::WaveNames names) {
    for (NextBatchCount* count : {&m_count, &m_otherCount}) {
        if (!count->Folder().isEmpty())
            count->Listed(count->Folder(), WaveFileCount(count->Folder(), names));
    }
}

std::optional<int> BatchSource::Left(const QString& folder) const {
    if (folder.isEmpty()) return std::nullopt;
    const QString absolute = FileSystem::GetAbsolutePathName(folder);
    if (absolute == m_count.Folder()) return m_count.Left();
    if (absolute == m_otherCount.Folder()) return m_otherCount.Left();
    return std::nullopt;
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
