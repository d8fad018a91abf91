#pragma once

#include <QPointer>
#include <QString>
#include <memory>

#include "windows/ToolWindow.h"

class CellGrid;
class ControlModule;
class LoupeSpectrogram;
class LoupeView;
class QLabel;
class SonoluxBord;

// The modeless "Loupe" window: the selected recording shown large, the whole
// of it with every sample and its own contrast, under a time axis and beside a
// frequency axis, with the recording's name and length and the time and
// frequency under the pointer. It follows the selection, the moves of the
// selected recording and the parameter set. Its spectrogram control is the
// module's, made on the first showing, so a loupe never opened costs nothing.
class frmLoupe : public ToolWindow {
    Q_OBJECT
public:
    // `controls` and `cells` must outlive the window. With a `parent` the
    // window stays in front of it and dies with it.
    frmLoupe(ControlModule& controls, const CellGrid& cells, QWidget* parent = nullptr);
    ~frmLoupe() override;

    // Shows the selected cell's recording with the grid's parameter set, when shown.
    void Refresh() override;

    // The loupe's spectrogram control: null until first shown, or when the
    // module could not make one.
    QWidget* Control() const;
    LoupeView& View() const { return *picLoupe; }
    // The recording's name and length, or why there is none.
    QString Caption() const;
    // The time and frequency under the pointer.
    QString PointerReadout() const;

private:
    void createUi();
    void connectUi();
    // False, after saying so, when the module makes no control.
    bool MakeControl();
    void ShowRecording();
    // The playhead follows the sound of the selected cell only.
    void FollowPlayOf(const SonoluxBord* cell);

    ControlModule& m_controls;
    const CellGrid& m_cells;
    std::unique_ptr<LoupeSpectrogram> m_spectrogram;
    bool m_controlRefused = false;
    QLabel* lblCaption = nullptr;
    LoupeView* picLoupe = nullptr;
    QLabel* lblPointer = nullptr;
    // Cells may go with a smaller grid while the loupe stays.
    QPointer<const SonoluxBord> m_playingCell;
};
