#pragma once

#include <QString>

// How many wave files the folder of the current batch still holds: counted
// when the batch was listed, then kept up to date by the moves the program
// makes itself, so that no keystroke lists a folder again.
class NextBatchCount {
public:
    // A batch was just listed from `folder`, which held `total` wave files.
    void Listed(const QString& folder, int total);
    // A recording moved from `from` to `to` (both full paths). Gives -1 when
    // it left the folder, 1 when it came back to it, 0 otherwise.
    int Moved(const QString& from, const QString& to);

    // The folder the current batch came from; empty before the first batch.
    const QString& Folder() const { return m_folder; }
    int Left() const { return m_left; }

private:
    QString m_folder;
    int m_left = 0;
};
