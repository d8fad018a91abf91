#include "windows/ClassifiedGrid.h"

#include "sorting/StatusText.h"
#include "windows/CellGrid.h"
#include "windows/StatusPresenter.h"

int ClassifiedGrid::VisibleCellCount() const {
    return m_cells.VisibleCellCount();
}

int ClassifiedGrid::CellCount() const {
    return m_cells.LoadedCellCount();
}

QString ClassifiedGrid::CellFilename(int index) const {
    return m_cells.Cell(index).Filename();
}

bool ClassifiedGrid::IsSorted(int index) const {
    return m_cells.Cell(index).WasMoved();
}

void ClassifiedGrid::FollowMove(int index, const QString& path) {
    m_cells.Cell(index).FollowMove(path);
}

void ClassifiedGrid::RecordingMoved(const QString& from, const QString& to) {
    m_batch.Moved(from, to);
    if (m_moveListener) m_moveListener(from, to);
}

void ClassifiedGrid::MoveFailed(const QString& path, const QString& target) {
    m_status.ShowMoveFailed(path, target);
}

void ClassifiedGrid::MoveWarned(const QString& warning) {
    m_status.ShowWarning(warning);
}

void ClassifiedGrid::EverythingSorted() {
    m_status.ShowMessage(StatusText::EverythingSorted());
}

int ClassifiedGrid::SelectedIndex() const {
    const SonoluxBord* selected = m_cells.SelectedCell();
    return selected ? selected->Index() : -1;
}

void ClassifiedGrid::SelectCell(int index) {
    m_cells.Cell(index).GiveFocus();
}

void ClassifiedGrid::ShowBatch(const QStringList& paths) {
    const StatusPresenter::Hold hold(m_status);
    m_cells.ShowRecordings(paths);
}

void ClassifiedGrid::BatchShown() {
    m_status.Refresh();
}
