#pragma once

#include <QString>
#include <vector>

#include "sorting/ClassificationHistory.h"
#include "sorting/MovedRecordings.h"

class DecisionLog;
class IFileMover;
class IMessageBox;

// The grid's cells as classification sees them, numbered from 0, the visible
// ones first; and what classification tells the window of its moves.
class IClassifiedCells {
public:
    virtual ~IClassifiedCells() = default;
    virtual int VisibleCellCount() const = 0;
    // Every cell the window has made, the hidden ones included.
    virtual int CellCount() const = 0;
    virtual QString CellFilename(int index) const = 0;
    // True when cell `index`'s recording has been moved out of the folder its
    // batch came from.
    virtual bool IsSorted(int index) const = 0;
    // Cell `index`'s recording now lives at `path`: moved there, or moved back.
    virtual void FollowMove(int index, const QString& path) = 0;
    // The selected cell, or -1 when no visible cell is selected.
    virtual int SelectedIndex() const = 0;
    virtual void SelectCell(int index) = 0;
    // Every move made, taken back included, and every move that failed (after
    // its message box): `target` is the folder it was to go into.
    virtual void RecordingMoved(const QString& from, const QString& to) = 0;
    virtual void MoveFailed(const QString& path, const QString& target) = 0;
    // A move that was made and recorded, but that the user should look at.
    virtual void MoveWarned(const QString& warning) = 0;
    // Tab after Classify, skipping sorted cells, found none left to go to.
    virtual void EverythingSorted() = 0;
};

// Moves the recordings of the cells into a keystroke's target folder, and
// takes classifications back one keystroke at a time. A cell goes on showing
// its recording from where the move put it. Failures are reported in a
// message box with the system's description of the error; a move that
// completed with a warning counts as made and its warning goes to the cells'
// window, without a message box. Every move made and taken back goes to the
// decision log, when there is one.
class CellClassifier {
public:
    // `log`, when given, must outlive the classifier.
    CellClassifier(IClassifiedCells& cells, IFileMover& mover, IMessageBox& messages,
                   DecisionLog* log = nullptr)
        : m_cells(cells), m_mover(mover), m_messages(messages), m_log(log) {}

    // Moves the recording of every visible cell, in cell order, and stops at
    // the first move that fails. `keyText` names the keystroke ("CTRL+A key")
    // for the decision log.
    void ClassifyAllVisible(const QString& target, const QString& keyText = {});
    // A cell and the folder its recording is to go into.
    struct CellTarget {
        int index;
        QString target;
    };
    // Moves the recording of each cell into its own folder, in the order given,
    // as one step that one Undo takes back; stops at the first move that fails.
    void ClassifyEach(const std::vector<CellTarget>& targets, const QString& keyText = {});
    // How the selection moves on after a keystroke for the selection.
    enum class Advance {
        Stay,
        NextCell,      // the next cell (the first after the last), moved or not
        NextUnsorted,  // the next visible cell with a recording not sorted yet
    };
    // Moves the selected cell's recording, then advances the selection. With
    // NextUnsorted and no such cell but the selected one, the selection stays;
    // with none at all, the cells hear EverythingSorted too.
    void ClassifySelection(const QString& target, Advance advance, const QString& keyText = {});

    // Moves the recordings of the last classifying keystroke back where they
    // were; those that cannot go back stay in the history.
    void Undo();
    bool CanUndo() const { return !m_history.IsEmpty(); }
    // "&Undo Classify", followed by the file's name or the number of files.
    QString UndoCaption() const;
    // How many of the recordings this run moved `target` holds now: one moved
    // on to another folder, or taken back, counts no more.
    int MovedInto(const QString& target) const { return m_moved.In(target); }

private:
    // Moves cell `index`'s recording and records the move in `step`; false
    // after a reported failure.
    bool ClassifyCell(int index, const QString& target, ClassificationHistory::Step& step);
    void RepointCells(const QString& from, const QString& to);
    // The next cell after `selected`, round the grid, whose recording is not
    // sorted; `selected` itself when it is the only one; -1 when none is.
    int NextUnsortedCell(int selected) const;

    IClassifiedCells& m_cells;
    IFileMover& m_mover;
    IMessageBox& m_messages;
    DecisionLog* m_log;
    ClassificationHistory m_history;
    MovedRecordings m_moved;
};
