#include "windows/frmLoupe.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

#include "cells/LoupeSpectrogram.h"
#include "cells/SonoluxBord.h"
#include "core/CorvaneError.h"
#include "host/ControlModule.h"
#include "loupe/LoupeText.h"
#include "windows/CellGrid.h"
#include "windows/LoupeView.h"

namespace {

// Pixels: a picture wide enough to tell the parts of a call apart when
// nothing was stored.
constexpr int DefaultWidth = 900;
constexpr int DefaultHeight = 420;
// Pixels: a stored size below this would leave no picture between the axes.
constexpr int SmallestWidth = 240;
constexpr int SmallestHeight = 180;

}  // namespace

frmLoupe::frmLoupe(ControlModule& controls, const CellGrid& cells, QWidget* parent)
    : ToolWindow(QSize(SmallestWidth, SmallestHeight), parent),
      m_controls(controls),
      m_cells(cells) {
    createUi();
    connectUi();
}

frmLoupe::~frmLoupe() {
    // Closing moves the focus: no refresh of this half-destroyed window may run then.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(&m_cells, nullptr, this, nullptr);
    if (m_playingCell) disconnect(m_playingCell, nullptr, picLoupe, nullptr);
}

void frmLoupe::createUi() {
    setObjectName(QStringLiteral("frmLoupe"));
    setWindowTitle(QStringLiteral("Loupe"));
    lblCaption = new QLabel(LoupeText::NoRecording(), this);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    picLoupe = new LoupeView(this);
    picLoupe->setObjectName(QStringLiteral("picLoupe"));
    lblPointer = new QLabel(this);
    lblPointer->setObjectName(QStringLiteral("lblPointer"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblCaption);
    layout->addWidget(picLoupe, 1);
    layout->addWidget(lblPointer);
    resize(DefaultWidth, DefaultHeight);
}

void frmLoupe::connectUi() {
    // The selection is the focus of the grid's window, wherever it goes.
    connect(qApp, &QApplication::focusChanged, this, &frmLoupe::Refresh);
    // A file dropped onto a cell, or a batch, changes what the selected cell shows.
    connect(&m_cells, &CellGrid::CellLoadStateChanged, this, &frmLoupe::Refresh);
    connect(&m_cells, &CellGrid::ParametersChanged, this, &frmLoupe::Refresh);
    connect(picLoupe, &LoupeView::PointerMoved, lblPointer, &QLabel::setText);
}

QWidget* frmLoupe::Control() const {
    return m_spectrogram ? m_spectrogram->Control() : nullptr;
}

QString frmLoupe::Caption() const {
    return lblCaption->text();
}

QString frmLoupe::PointerReadout() const {
    return lblPointer->text();
}

bool frmLoupe::MakeControl() {
    if (m_spectrogram) return true;
    if (m_controlRefused) return false;
    QWidget* control = m_controls.CreateControl(nullptr);
    if (!control) {
        m_controlRefused = true;
        lblCaption->setText(LoupeText::NoControl());
        return false;
    }
    m_spectrogram = std::make_unique<LoupeSpectrogram>(control);
    picLoupe->SetControl(control);
    return true;
}

void frmLoupe::Refresh() {
    if (!isVisible() || !MakeControl()) return;
    try {
        m_spectrogram->SetSPGParams(m_cells.SPGParams());
    } catch (const CorvaneError&) {
        // A choice the cells hold cannot be wider than 16 bits: they refused it too.
    }
    m_spectrogram->SetFloatSamples(m_cells.Recordings().FloatSamples);
    const SonoluxBord* selected = m_cells.SelectedCell();
    m_spectrogram->Show(selected ? selected->Filename() : QString());
    ShowRecording();
    FollowPlayOf(selected);
}

void frmLoupe::FollowPlayOf(const SonoluxBord* cell) {
    if (cell == m_playingCell) return;
    if (m_playingCell) disconnect(m_playingCell, &SonoluxBord::PlayheadMoved, picLoupe, nullptr);
    m_playingCell = cell;
    picLoupe->SetPlayhead(cell && cell->IsPlaying() ? cell->PlayPosition() : -1.0);
    if (cell) connect(cell, &SonoluxBord::PlayheadMoved, picLoupe, &LoupeView::SetPlayhead);
}

void frmLoupe::ShowRecording() {
    const QString path = m_spectrogram->Filename();
    const StatusText::RecordingInfo info = m_spectrogram->RecordingInfo();
    lblCaption->setText(LoupeText::Caption(path, info, m_spectrogram->LoadError()));
    const bool shown = !path.isEmpty() && info.loaded;
    picLoupe->SetRecording(shown ? info.sampleRate : 0, shown ? info.loadedFrames : 0);
    if (!shown) lblPointer->clear();
}
