#pragma once

#include <optional>

#include <QString>

#include "windows/FallingCount.h"

class BatchSource;
class CellGrid;
class CommonDialog;
class MainStatusBar;
class QEvent;
class QObject;
class SonoluxBord;

// What the main window's status bar shows, and when: the selected recording
// and the folder Next Batch reads, brought up to date after whatever may have
// changed them; the pointer's time and frequency; what just happened.
class StatusPresenter {
public:
    // Inside a keystroke or a batch, many cells change at once: while a Hold
    // lives they do not refresh the bar; whoever holds refreshes once, after.
    class Hold {
    public:
        explicit Hold(StatusPresenter& presenter);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        StatusPresenter& m_presenter;
        bool m_wasHeld;
    };

    // All four must outlive the presenter.
    StatusPresenter(MainStatusBar& bar, const CellGrid& cells, const CommonDialog& dialog,
                    BatchSource& batch);

    // The recording and Next Batch parts, as things are now.
    void Refresh();
    // As Refresh, unless a Hold lives.
    void RefreshUnlessHeld();
    // Cell `index` loaded or refused a file: it matters when it is the selected one.
    void CellLoadStateChanged(int index);
    // A mouse move over a cell's spectrogram, or the pointer leaving it.
    void ShowPointerReadout(QObject* watched, QEvent* event);
    void ShowPlayState(const SonoluxBord& cell);
    // `count` cells wait for their spectrograms. While a Hold lives, the last
    // count is shown when it ends; a falling count at most once a display frame
    // (FallingCount).
    void ShowPicturesPending(int count);
    // Stays until the next keystroke: the user must see which recording stayed.
    void ShowMoveFailed(const QString& path, const QString& target);
    // Fades after a few seconds.
    void ShowMessage(const QString& text);
    // As ShowMessage, painted at once: for a long command that keeps the
    // event loop waiting meanwhile.
    void ShowProgress(const QString& text);
    // Stays until the next keystroke.
    void ShowWarning(const QString& text);
    void ClearMessage();

private:
    MainStatusBar& m_bar;
    const CellGrid& m_cells;
    const CommonDialog& m_dialog;
    BatchSource& m_batch;
    bool m_held = false;
    // A count of cells waiting for their spectrograms that came while held.
    std::optional<int> m_heldPicturesPending;
    QString m_playText;  // the last message about a sound
    FallingCount m_picturesPending;
};
