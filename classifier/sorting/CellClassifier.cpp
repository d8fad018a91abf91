#include "sorting/CellClassifier.h"

#include "core/CorvaneError.h"
#include "core/MessageBox.h"
#include "files/FileMover.h"
#include "files/FileSystem.h"
#include "sorting/DecisionLog.h"

bool CellClassifier::ClassifyCell(int index, const QString& target,
                                  ClassificationHistory::Step& step) {
    const QString path = m_cells.CellFilename(index);
    if (!FileSystem::FileExists(path)) return true;
    MoveResult moved;
    try {
        moved = m_mover.MoveFile(path, target);
    } catch (const CorvaneError& error) {
        m_messages.Warn(error.Description());
        m_cells.MoveFailed(path, target);
        return false;
    }
    m_cells.FollowMove(index, moved.path);
    const QString from = FileSystem::GetAbsolutePathName(path);
    step.moves.push_back({from, moved.path});
    if (m_log) m_log->Moved(from, moved.path, step.keyText);
    m_moved.Moved(from, FileSystem::GetAbsolutePathName(moved.path));
    m_cells.RecordingMoved(path, moved.path);
    if (!moved.warning.isEmpty()) m_cells.MoveWarned(moved.warning);
    return true;
}

void CellClassifier::ClassifyAllVisible(const QString& target, const QString& keyText) {
    ClassificationHistory::Step step;
    step.selectedIndex = m_cells.SelectedIndex();
    step.target = target;
    step.keyText = keyText;
    for (int i = 0; i < m_cells.VisibleCellCount(); ++i) {
        if (!ClassifyCell(i, target, step)) break;
    }
    m_history.Push(std::move(step));
}

void CellClassifier::ClassifyEach(const std::vector<CellTarget>& targets, const QString& keyText) {
    ClassificationHistory::Step step;
    step.selectedIndex = m_cells.SelectedIndex();
    step.keyText = keyText;
    for (const CellTarget& cell : targets) {
        if (!ClassifyCell(cell.index, cell.target, step)) break;
    }
    m_history.Push(std::move(step));
}

void CellClassifier::ClassifySelection(const QString& target, Advance advance,
                                       const QString& keyText) {
    const int selected = m_cells.SelectedIndex();
    if (selected < 0) return;
    ClassificationHistory::Step step;
    step.selectedIndex = selected;
    step.target = target;
    step.keyText = keyText;
    ClassifyCell(selected, target, step);
    m_history.Push(std::move(step));
    if (advance == Advance::NextCell) {
        int next = selected + 1;
        if (next >= m_cells.VisibleCellCount()) next = 0;
        m_cells.SelectCell(next);
    } else if (advance == Advance::NextUnsorted) {
        const int next = NextUnsortedCell(selected);
        if (next < 0) {
            m_cells.EverythingSorted();
        } else if (next != selected) {
            m_cells.SelectCell(next);
        }
    }
}

int CellClassifier::NextUnsortedCell(int selected) const {
    const int visible = m_cells.VisibleCellCount();
    for (int step = 1; step <= visible; ++step) {
        const int index = (selected + step) % visible;
        if (!m_cells.CellFilename(index).isEmpty() && !m_cells.IsSorted(index)) return index;
    }
    return -1;
}

void CellClassifier::RepointCells(const QString& from, const QString& to) {
    for (int i = 0; i < m_cells.CellCount(); ++i) {
        if (m_cells.CellFilename(i) == from) m_cells.FollowMove(i, to);
    }
}

void CellClassifier::Undo() {
    if (m_history.IsEmpty()) return;
    const ClassificationHistory::Step step = m_history.Last();
    std::vector<ClassificationHistory::Move> stillThere;
    for (auto move = step.moves.rbegin(); move != step.moves.rend(); ++move) {
        QString warning;
        try {
            // Back under its old name: the move refuses to replace a file that took it.
            warning = m_mover.MoveFile(move->to, move->from).warning;
        } catch (const CorvaneError& error) {
            m_messages.Warn(error.Description());
            m_cells.MoveFailed(move->to, FileSystem::GetParentFolderName(move->from) + "/");
            stillThere.insert(stillThere.begin(), *move);
            continue;
        }
        RepointCells(move->to, move->from);
        if (m_log) m_log->Undone(move->to, move->from, step.keyText);
        m_moved.Moved(FileSystem::GetAbsolutePathName(move->to), move->from);
        m_cells.RecordingMoved(move->to, move->from);
        if (!warning.isEmpty()) m_cells.MoveWarned(warning);
    }
    m_history.KeepOnlyInLast(std::move(stillThere));
    if (step.selectedIndex >= 0 && step.selectedIndex < m_cells.VisibleCellCount()) {
        m_cells.SelectCell(step.selectedIndex);
    }
}

QString CellClassifier::UndoCaption() const {
    if (m_history.IsEmpty()) return QStringLiteral("&Undo Classify");
    const auto& moves = m_history.Last().moves;
    QString what = moves.size() == 1 ? FileSystem::GetFileName(moves.front().to)
                                     : QStringLiteral("%1 recordings").arg(moves.size());
    what.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&Undo Classify %1").arg(what);
}
