#pragma once

#include <QHash>
#include <QSet>
#include <QString>

// Where each recording that this run moved lives now, and so how many of them
// a folder holds: a recording moved on to another folder, or moved back by an
// undo, no longer counts where it was. Memory only; moves made by other
// programs are not seen.
class MovedRecordings {
public:
    // The recording at `from` is now at `to`. Both are absolute paths.
    void Moved(const QString& from, const QString& to);
    // How many of this run's moved recordings `folder` holds; the folder as
    // bound, with or without its final "/".
    int In(const QString& folder) const;

private:
    static QString FolderOf(const QString& path);

    QSet<QString> m_paths;            // where each moved recording is now
    QHash<QString, int> m_perFolder;  // folder -> how many of them it holds
};
