#include "sorting/NextBatchCount.h"

#include "files/FileSystem.h"

void NextBatchCount::Listed(const QString& folder, int total) {
    m_folder = FileSystem::GetAbsolutePathName(folder);
    m_left = total;
}

void NextBatchCount::Moved(const QString& from, const QString& to) {
    if (m_folder.isEmpty()) return;
    // The cells' paths are absolute already; only others need resolving.
    const auto inFolder = [this](const QString& path) {
        const QString absolute =
            path.startsWith(QLatin1Char('/')) ? path : FileSystem::GetAbsolutePathName(path);
        return FileSystem::GetParentFolderName(absolute) == m_folder;
    };
    if (inFolder(from)) --m_left;
    if (inFolder(to)) ++m_left;
    if (m_left < 0) m_left = 0;
}
