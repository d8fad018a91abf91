#include "windows/CellGrid.h"

#include <QScopeGuard>

#include "core/CorvaneError.h"
#include "core/MessageBox.h"
#include "host/ControlModule.h"

CellGrid::CellGrid(ControlModule& controls, IMessageBox& messages, const ScreenDpi& dpi,
                   QWidget* clientArea, QObject* keyPreview)
    : m_controls(controls),
      m_messages(messages),
      m_dpi(dpi),
      m_clientArea(clientArea),
      m_keyPreview(keyPreview) {}

void CellGrid::CreateCell() {
    QWidget* control = m_controls.CreateControl(nullptr);
    if (!control)
        throw CorvaneError(CorvaneErrorNumber::ControlNotCreated,
                           QStringLiteral("The spectrogram control cannot be created."));
    const int index = LoadedCellCount();
    auto* cell = new SonoluxBord(control, index, m_dpi, m_clientArea);
    cell->setObjectName(QStringLiteral("ctlSonoluxBord%1").arg(index));
    control->installEventFilter(m_keyPreview);
    connect(cell, &SonoluxBord::LoadStateChanged, this, &CellGrid::CellLoadStateChanged);
    connect(cell, &SonoluxBord::PlayStateChanged, this, &CellGrid::CellPlayStateChanged);
    connect(cell, &SonoluxBord::PictureStateChanged, this, &CellGrid::OnCellPictureStateChanged);
    m_pending.push_back(false);
    if (index > 0) {
        // Every cell shows recordings with the same parameter set.
        std::int32_t fft, frame, hop, window;
        float powerMax, powerMin;
        ctlSonoluxBord.front()->GetSPGParams(fft, frame, hop, window, powerMax, powerMin);
        cell->UpdateSPGParams(fft, frame, hop, window, powerMax, powerMin);
    }
    // A cell made after the options were set reads its recordings as the others do.
    cell->SetFrameLimit(m_recordings.FrameLimit());
    cell->SetFloatSamples(m_recordings.FloatSamples);
    cell->SetEverySample(m_recordings.EverySample);
    cell->SetAutoContrast(m_recordings.AutoContrast);
    cell->SetPlaybackSpeedDivisor(m_speedDivisor);
    ctlSonoluxBord.push_back(cell);
}

void CellGrid::OnCellPictureStateChanged(int index) {
    const bool pending = ctlSonoluxBord[static_cast<std::size_t>(index)]->IsPicturePending();
    if (m_pending[static_cast<std::size_t>(index)] == pending) return;
    m_pending[static_cast<std::size_t>(index)] = pending;
    m_picturesPending += pending ? 1 : -1;
    emit PicturesPendingChanged(m_picturesPending);
}

void CellGrid::StopKeyPreview() {
    for (SonoluxBord* cell : ctlSonoluxBord) {
        disconnect(cell, nullptr, this, nullptr);
        cell->Sonolux1()->removeEventFilter(m_keyPreview);
    }
}

SonoluxBord* CellGrid::SelectedCell() const {
    const QWidget* focused = m_clientArea->window()->focusWidget();
    auto* cell = focused ? qobject_cast<SonoluxBord*>(focused->parentWidget()) : nullptr;
    return cell && cell->isVisible() ? cell : nullptr;
}

void CellGrid::SetClientSize(double width, double height) {
    m_clientWidth = width;
    m_clientHeight = height;
}

bool CellGrid::SetCellSize(std::int32_t width, std::int32_t height) {
    if (width == m_cellWidth && height == m_cellHeight) return false;
    m_cellWidth = width;
    m_cellHeight = height;
    return true;
}

bool CellGrid::CreateCellsUpTo(int count) {
    try {
        while (LoadedCellCount() < count) CreateCell();
    } catch (const CorvaneError& error) {
        // Inside a resize: report it once, and let the grid grow no further.
        m_cellLimit = LoadedCellCount();
        m_messages.Warn(error.Description());
        return false;
    }
    return true;
}

void CellGrid::ComputeLayout() {
    m_grid =
        GridLayout::Compute(m_clientWidth, m_clientHeight, m_cellWidth, m_cellHeight, m_cellLimit);
}

void CellGrid::Arrange(bool play) {
    ComputeLayout();
    if (!CreateCellsUpTo(m_grid.CellCount())) ComputeLayout();
    int i = 0;
    for (; i < m_grid.CellCount(); ++i) {
        SonoluxBord& cell = Cell(i);
        cell.SetPlay(play);
        cell.SetWidth(m_cellWidth);
        cell.SetHeight(m_cellHeight);
        cell.SetTop(m_grid.CellTop(i));
        cell.SetLeft(m_grid.CellLeft(i));
        cell.setVisible(true);
    }
    // Cell 0 stays where it was when no cell fits: the window never shows nothing.
    for (; i < LoadedCellCount(); ++i) {
        if (i != 0) Cell(i).setVisible(false);
    }
}

void CellGrid::Clear() {
    for (SonoluxBord* cell : ctlSonoluxBord) cell->SetFilename(QString());
}

void CellGrid::SetPlay(bool play) {
    for (SonoluxBord* cell : ctlSonoluxBord) cell->SetPlay(play);
}

void CellGrid::SetRecordingOptions(const RecordingOptions& options) {
    m_recordings = options;
    // A control reloads its recording only when a value really changes.
    for (SonoluxBord* cell : ctlSonoluxBord) {
        cell->SetFrameLimit(options.FrameLimit());
        cell->SetFloatSamples(options.FloatSamples);
        cell->SetEverySample(options.EverySample);
        cell->SetAutoContrast(options.AutoContrast);
    }
    emit ParametersChanged();
}

void CellGrid::SetPlaybackSpeed(std::int16_t divisor) {
    m_speedDivisor = divisor;
    for (SonoluxBord* cell : ctlSonoluxBord) cell->SetPlaybackSpeedDivisor(divisor);
}

void CellGrid::StopPlaying() {
    for (SonoluxBord* cell : ctlSonoluxBord) {
        if (cell->IsPlaying()) cell->Stop();
    }
}

void CellGrid::ShowRecordings(const QStringList& paths) {
    for (int n = 0; n < paths.size(); ++n) Cell(n).SetFilename(paths[n]);
}

void CellGrid::SetSPGParams(const SpectrogramParameterSet& params) {
    const auto changed = qScopeGuard([this] { emit ParametersChanged(); });
    for (SonoluxBord* cell : ctlSonoluxBord) {
        cell->UpdateSPGParams(params.FFTSizeChoice, params.FrameLengthChoice, params.HopSize,
                              params.WindowFunctionChoice, params.PowerMax, params.PowerMin);
    }
}

SpectrogramParameterSet CellGrid::SPGParams() const {
    const SonoluxBord* source = SelectedCell();
    if (!source) source = ctlSonoluxBord.front();
    SpectrogramParameterSet params;
    source->GetSPGParams(params.FFTSizeChoice, params.FrameLengthChoice, params.HopSize,
                         params.WindowFunctionChoice, params.PowerMax, params.PowerMin);
    return params;
}
