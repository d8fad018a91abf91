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
}

StatusPresenter::StatusPresenter(MainStatusBar& bar, const CellGrid& cells,
                                 const CommonDialog& dialog, const BatchSource& batch)
    : m_bar(bar), m_cells(cells), m_dialog(dialog), m_batch(batch) {}

void StatusPresenter::Refresh() {
    const SonoluxBord* selected = m_cells.SelectedCell();
    m_bar.ShowRecording(selected
                            ? StatusText::Recording(selected->Filename(), selected->RecordingInfo())
                            : QString());
    const NextBatchCount& count = m_batch.Count();
    const StatusText::NextBatchLine line =
        StatusText::NextBatch(m_dialog.FileName, count.Folder(), count.Left());
    m_bar.ShowNextBatch(line.text, line.warning);
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

void StatusPresenter::ShowPlayState(const SonoluxBord& cell) {
    const QString text = StatusText::Play(cell.Filename(), cell.IsPlaying(), cell.PlayError(),
                                          cell.PlaybackSpeedDivisor());
    if (text.isEmpty()) {
        m_bar.clearMessage();
    } else {
        m_bar.showMessage(text);
    }
}

void StatusPresenter::ShowMoveFailed(const QString& path, const QString& target) {
    m_bar.showMessage(StatusText::MoveFailed(path, target));
}

void StatusPresenter::ShowMessage(const QString& text) {
    m_bar.showMessage(text);
}

void StatusPresenter::ClearMessage() {
    m_bar.clearMessage();
}
