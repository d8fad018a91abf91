#include "windows/StatusPresenter.h"

#include <QEvent>
#include <QMouseEvent>

#include "host/CommonDialog.h"
#include "sorting/BatchSource.h"
#include "sorting/StatusText.h"
#include "windows/CellGrid.h"
#include "windows/MainStatusBar.h"

StatusPresenter::Hold::Hold(StatusPresenter& presenter)
    : m_presenter(presenter), m_wasHeld(presenter.m_held) {
    presenter.m_held = true;
}

StatusPresenter::Hold::~Hold() {
    m_presenter.m_held = m_wasHeld;
    if (m_wasHeld || !m_presenter.m_heldPicturesPending) return;
    const int count = *m_presenter.m_heldPicturesPending;
    m_presenter.m_heldPicturesPending.reset();
    // What the batch ends with is shown at once, however recently the count fell.
    m_presenter.m_picturesPending.Show(count);
}

StatusPresenter::StatusPresenter(MainStatusBar& bar, const CellGrid& cells,
                                 const CommonDialog& dialog, BatchSource& batch)
    : m_bar(bar),
      m_cells(cells),
      m_dialog(dialog),
      m_batch(batch),
      m_picturesPending(
          [this](int count) { m_bar.ShowDrawing(StatusText::StillBeingDrawn(count)); }) {}

void StatusPresenter::Refresh() {
    const SonoluxBord* selected = m_cells.SelectedCell();
    m_bar.ShowRecording(selected
                            ? StatusText::Recording(selected->Filename(), selected->RecordingInfo())
                            : QString());
    // A file dialog may have pointed Next Batch at a folder not counted yet.
    const QString folder = BatchSource::NextBatchFolder(m_dialog.FileName);
    m_batch.CountFolder(folder, BatchSource::WaveNamesOf(m_cells.Recordings()));
    const StatusText::NextBatchLine line =
        StatusText::NextBatch(m_dialog.FileName, m_batch.Count().Folder(), m_batch.Left(folder));
    m_bar.ShowNextBatch(line.text, line.warning);
    m_bar.ShowProgress(m_batch.Progress().Text(m_batch.Count().Left()));
}

void StatusPresenter::RefreshUnlessHeld() {
    if (!m_held) Refresh();
}

void StatusPresenter::CellLoadStateChanged(int index) {
    if (m_held) return;
    const SonoluxBord* selected = m_cells.SelectedCell();
    if (selected && selected->Index() == index) Refresh();
}

void StatusPresenter::ShowPointerReadout(QObject* watched, QEvent* event) {
    auto* control = qobject_cast<QWidget*>(watched);
    auto* cell = control ? qobject_cast<SonoluxBord*>(control->parentWidget()) : nullptr;
    if (!cell || event->type() == QEvent::Leave || cell->Filename().isEmpty() ||
        !cell->IsLoaded()) {
        m_bar.ShowPointer(QString());
        return;
    }
    const StatusText::RecordingInfo info = cell->RecordingInfo();
    m_bar.ShowPointer(StatusText::Pointer(static_cast<QMouseEvent*>(event)->position().toPoint(),
                                          control->size(), info.sampleRate, info.loadedFrames));
}

void StatusPresenter::ShowPicturesPending(int count) {
    // A batch changes the count once for each of its cells.
    if (m_held) {
        m_heldPicturesPending = count;
        return;
    }
    m_picturesPending.Set(count);
}

void StatusPresenter::ShowPlayState(const SonoluxBord& cell) {
    const QString text = StatusText::Play(cell.Filename(), cell.IsPlaying(), cell.PlayError(),
                                          cell.PlaybackSpeedDivisor());
    if (text.isEmpty()) {
        // The end of a sound takes only its own message away.
        if (m_bar.MessageText() == m_playText) m_bar.ClearFadingMessage();
        return;
    }
    m_playText = text;
    m_bar.ShowMessage(text);
}

void StatusPresenter::ShowMoveFailed(const QString& path, const QString& target) {
    ShowWarning(StatusText::MoveFailed(path, target));
}

void StatusPresenter::ShowMessage(const QString& text) {
    m_bar.ShowMessage(text);
}

void StatusPresenter::ShowWarning(const QString& text) {
    m_bar.ShowMessage(text, MainStatusBar::Lasting::UntilKeystroke);
}

void StatusPresenter::ShowProgress(const QString& text) {
    m_bar.ShowMessage(text);
    m_bar.repaint();
}

void StatusPresenter::ClearMessage() {
    m_bar.ClearMessage();
}
