#pragma once

#include <functional>

#include "sorting/BatchSource.h"
#include "sorting/CellClassifier.h"

class CellGrid;
class StatusPresenter;

// The grid's cells as classification and batch loading see them: moves and
// batches go to the cells, and what they change goes to the batch count and
// the status bar.
class ClassifiedGrid : public IClassifiedCells, public IBatchCells {
public:
    // All three must outlive this view.
    ClassifiedGrid(CellGrid& cells, BatchSource& batch, StatusPresenter& status)
        : m_cells(cells), m_batch(batch), m_status(status) {}

    int VisibleCellCount() const override;
    int CellCount() const override;
    QString CellFilename(int index) const override;
    bool IsSorted(int index) const override;
    void FollowMove(int index, const QString& path) override;
    void RecordingMoved(const QString& from, const QString& to) override;
    void MoveFailed(const QString& path, const QString& target) override;
    void MoveWarned(const QString& warning) override;
    void EverythingSorted() override;
    int SelectedIndex() const override;
    void SelectCell(int index) override;

    // Hears where every recording went, moved or taken back.
    void SetMoveListener(std::function<void(const QString& from, const QString& to)> listener) {
        m_moveListener = std::move(listener);
    }

    int BatchCapacity() const override { return VisibleCellCount(); }
    void ShowBatch(const QStringList& paths) override;
    void BatchShown() override;

private:
    CellGrid& m_cells;
    BatchSource& m_batch;
    StatusPresenter& m_status;
    std::function<void(const QString& from, const QString& to)> m_moveListener;
};
