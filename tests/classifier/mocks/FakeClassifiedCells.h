#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "files/FileSystem.h"
#include "sorting/CellClassifier.h"
#include "sorting/NextBatchCount.h"

// A grid of cells without widgets: the first `visible` cells are the ones on
// screen. Moves reach the batch count as they reach it in the window.
class FakeCells : public IClassifiedCells {
public:
    int VisibleCellCount() const override { return visible; }
    int CellCount() const override { return static_cast<int>(files.size()); }
    QString CellFilename(int index) const override { return files.at(index); }
    bool IsSorted(int index) const override {
        return FileSystem::GetParentFolderName(files.at(index)) != nextBatch.Folder();
    }
    void FollowMove(int index, const QString& path) override { files[index] = path; }
    int SelectedIndex() const override { return selected; }
    void SelectCell(int index) override { selected = index; }
    void RecordingMoved(const QString& from, const QString& to) override {
        nextBatch.Moved(from, to);
    }
    void MoveFailed(const QString& path, const QString&) override { failed.append(path); }
    void MoveWarned(const QString& warning) override { warnings.append(warning); }
    void EverythingSorted() override { ++everythingSorted; }

    std::vector<QString> files;
    int visible = 0;
    int selected = -1;
    QStringList failed;
    QStringList warnings;
    int everythingSorted = 0;
    NextBatchCount nextBatch;
};
