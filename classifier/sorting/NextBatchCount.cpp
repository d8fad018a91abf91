#include "sorting/NextBatchCount.h"

#include <algorithm>

#include "files/FileSystem.h"

void NextBatchCount::Listed(const QString& folder, int total) {
    m_folder = FileSystem::GetAbsolutePathName(folder);
    m_left = total;
}

int NextBatchCount::Moved(const QString& from, const QString& to) {
    if (m_folder.isEmpty()) return 0;
    // The cells' paths are absolute already; only others need resolving.
    const auto inFolder = [this](const QString& path) {
        const QString absolute =
            path.startsWith(QLatin1Char('/')) ? path : FileSystem::GetAbsolutePathName(path);
        return FileSystem::GetParentFolderName(absolute) == m_folder;
    };
    const int change = (inFolder(to) ? 1 : 0) - (inFolder(from) ? 1 : 0);
    m_left = std::max(0, m_left + change);
    return change;
}
