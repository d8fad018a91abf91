#include "sorting/MovedRecordings.h"

#include <QDir>

#include "files/FileSystem.h"

QString MovedRecordings::FolderOf(const QString& path) {
    return QDir::cleanPath(FileSystem::GetParentFolderName(path));
}

void MovedRecordings::Moved(const QString& from, const QString& to) {
    // A recording already moved in this run goes on from where it was put;
    // any other one joins the recordings this run has moved.
    if (m_paths.remove(from)) {
        auto count = m_perFolder.find(FolderOf(from));
        if (count != m_perFolder.end() && --count.value() == 0) m_perFolder.erase(count);
    }
    m_paths.insert(to);
    ++m_perFolder[FolderOf(to)];
}

int MovedRecordings::In(const QString& folder) const {
    return m_perFolder.value(QDir::cleanPath(folder));
}
