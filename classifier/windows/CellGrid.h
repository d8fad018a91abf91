#pragma once

#include <QObject>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "cells/SonoluxBord.h"
#include "core/GridLayout.h"
#include "core/MainWindowValues.h"
#include "core/SpectrogramParameterSet.h"

class ControlModule;
class IMessageBox;

// The main window's cells (`ctlSonoluxBord`) and their layout in its client
// area. Cells are made as the grid grows and kept, hidden or not, until the
// window goes; every cell gets the parameter set, the play flag and the
// recording options the others have. Geometry is in twips.
class CellGrid : public QObject {
    Q_OBJECT
public:
    // Cells are children of `clientArea`; `keyPreview` sees every key pressed
    // on a cell before the cell does. Both must outlive the grid's cells.
    CellGrid(ControlModule& controls, IMessageBox& messages, const ScreenDpi& dpi,
             QWidget* clientArea, QObject* keyPreview);

    // Makes the next cell; throws CorvaneError when its control cannot be made.
    void CreateCell();
    // Stops the key preview of every cell, for a window that is going.
    void StopKeyPreview();

    int LoadedCellCount() const { return static_cast<int>(ctlSonoluxBord.size()); }
    const GridLayout& Layout() const { return m_grid; }
    int VisibleCellCount() const { return m_grid.CellCount(); }
    SonoluxBord& Cell(int index) const {
        return *ctlSonoluxBord.at(static_cast<std::size_t>(index));
    }
    // The visible cell whose spectrogram has (or last had) the window's focus, or null.
    SonoluxBord* SelectedCell() const;

    // Twips, not necessarily whole.
    void SetClientSize(double width, double height);
    // False, and nothing changed, when the size is the current one.
    bool SetCellSize(std::int32_t width, std::int32_t height);
    std::int32_t CellWidth() const { return m_cellWidth; }
    std::int32_t CellHeight() const { return m_cellHeight; }
    // Lays the grid out anew, making the cells it lacks; `play` goes to every
    // cell it shows.
    void Arrange(bool play);

    // Every cell, hidden ones included, in index order.
    void Clear();
    void SetPlay(bool play);
    void SetRecordingOptions(const RecordingOptions& options);
    const RecordingOptions& Recordings() const { return m_recordings; }
    // Every cell, hidden ones included, and every cell made later, plays at
    // 1/`divisor` of a recording's speed.
    void SetPlaybackSpeed(std::int16_t divisor);
    std::int16_t PlaybackSpeed() const { return m_speedDivisor; }
    // Ends the sound of every cell that plays.
    void StopPlaying();
    // Every cell, hidden ones included, in index order; a cell that refuses a
    // value ends it there (CorvaneError).
    void SetSPGParams(const SpectrogramParameterSet& params);
    // Of the selected cell, or of cell 0 while none is selected.
    SpectrogramParameterSet SPGParams() const;

    // How many cells wait for a spectrogram being drawn.
    int PicturesPending() const { return m_picturesPending; }

    // Cell n shows `paths[n]`.
    void ShowRecordings(const QStringList& paths);

signals:
    void CellLoadStateChanged(int index);
    void CellPlayStateChanged(int index);
    // How many cells wait for a spectrogram being drawn changed.
    void PicturesPendingChanged(int count);
    // The parameter set or the recording options were given to the cells (also
    // when a cell refused the set part way).
    void ParametersChanged();

private:
    // Makes cells until there are `count`; false, after reporting why once,
    // when a control cannot be created.
    bool CreateCellsUpTo(int count);
    void OnCellPictureStateChanged(int index);
    void ComputeLayout();

    ControlModule& m_controls;
    IMessageBox& m_messages;
    ScreenDpi m_dpi;
    QWidget* m_clientArea;
    QObject* m_keyPreview;
    std::vector<SonoluxBord*> ctlSonoluxBord;
    // Counted as each cell tells, not by asking them all on every change.
    std::vector<bool> m_pending;
    int m_picturesPending = 0;
    GridLayout m_grid;
    // The most cells the grid may have: fewer once a control could not be made.
    int m_cellLimit = GridLayout::MaxCells;
    std::int32_t m_cellWidth = 0;
    std::int32_t m_cellHeight = 0;
    double m_clientWidth = 0;
    double m_clientHeight = 0;
    RecordingOptions m_recordings;
    std::int16_t m_speedDivisor = 1;
};
