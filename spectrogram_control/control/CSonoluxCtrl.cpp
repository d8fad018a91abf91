#include "control/CSonoluxCtrl.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <optional>

#include "control/CalculatingFace.h"
#include "control/ExactFileName.h"
#include "control/SonoluxAboutDialog.h"
#include "control/SonoluxTypeLibrary.h"
#include "engine/RegularFile.h"
#include "engine/TimeExpansion.h"
#include "engine/WaveLoader.h"
#include "framework/SoundPlayer.h"

CSonoluxCtrl::CSonoluxCtrl(ISoundPlayer& player, QWidget* parent)
    : COleControl(parent),
      m_dataPath(this),
      m_dropTarget([this](const QString& name) { SetFilename(name); }),
      m_image(std::make_shared<const sonolux::SpectrogramImage>()),
      m_mailbox(std::make_shared<sonolux::PictureMailbox>(this)),
      m_samples(std::make_shared<const std::vector<std::int16_t>>()),
      m_player(player) {
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
}

CSonoluxCtrl::~CSonoluxCtrl() {
    m_mailbox->Close();
    DropPendingLoads();
    if (m_awaitingFrame) FramePacer::Shared().Cancel(*this);
    m_player.Forget(this);
}

void CSonoluxCtrl::SetFrameLengthChoice(short value) {
    SetParameter(&sonolux::SpectrogramParameters::frameLengthChoice,
                 static_cast<std::int16_t>(value));
}

void CSonoluxCtrl::SetFFTSizeChoice(short value) {
    SetParameter(&sonolux::SpectrogramParameters::fftSizeChoice, static_cast<std::int16_t>(value));
}

void CSonoluxCtrl::SetWindowFunctionChoice(short value) {
    SetParameter(&sonolux::SpectrogramParameters::windowFunctionChoice,
                 static_cast<std::int16_t>(value));
}

void CSonoluxCtrl::SetHopSize(int value) {
    SetParameter(&sonolux::SpectrogramParameters::hopSize, static_cast<std::int32_t>(value));
}

void CSonoluxCtrl::SetPowerMin(float value) {
    SetParameter(&sonolux::SpectrogramParameters::powerMin, value);
}

void CSonoluxCtrl::SetPowerMax(float value) {
    SetParameter(&sonolux::SpectrogramParameters::powerMax, value);
}

void CSonoluxCtrl::SetOLEDropMode(short value) {
    m_oleDropMode = value;
    OnFlagPropertyChanged();
}

void CSonoluxCtrl::SetPlayOnClick(short value) {
    m_playOnClick = value;
    OnFlagPropertyChanged();
}

void CSonoluxCtrl::SetAudioSamplesDataPath(const QString& path) {
    m_dataPath.Load(path);
    SetModifiedFlag(true);
}

void CSonoluxCtrl::SetFilename(const QString& filename) {
    m_filename = filename;
    LoadWaveFile(m_filename);
    SetModifiedFlag(true);
}

void CSonoluxCtrl::FollowFile(const QString& newPath) {
    // A load no worker has started has read nothing yet: it reads the file where
    // the host has just put it, never the name it moved it away from.
    if (!m_pendingLoads.empty() && m_pendingLoads.back().job->Cancel()) {
        m_pendingLoads.pop_back();
        SetFilename(newPath);
        return;
    }
    // One that has started read the file before the move (or found it gone, and
    // then the file is loaded from its new place below).
    FinishPendingLoad();
    // Only a loaded file can be followed; the identity is the one of the file
    // the samples came from, taken from the descriptor that read them.
    const std::optional<QByteArray> localPath = sonolux::ExactFileNameBytes(newPath);
    const std::optional<sonolux::FileIdentity> moved =
        localPath && m_loaded && m_samplesFile ? sonolux::IdentityOfName(localPath->toStdString())
                                               : std::nullopt;
    if (!moved || !sonolux::SameContentsAfterMove(*m_samplesFile, *moved)) {
        SetFilename(newPath);
        return;
    }
    m_filename = newPath;
    // A rename moves the change time, so the cache knows the file by its new
    // identity from now on; what this control holds is found there under it.
    m_samplesFile = moved;
    // Right after a move the new name's change time is usually the clock's
    // current tick, and then nothing is kept under it (see IsSettled).
    m_samplesFileSettled = sonolux::IsSettled(*moved);
    if (m_samplesFileSettled) {
        sonolux::PictureCache& cache = sonolux::SharedPictureCache();
        cache.KeepSamples(*m_samplesFile, m_samplesOptions, m_samples);
        if (!m_imageDirty && m_imageRecipe)
            cache.KeepPicture(*m_samplesFile, m_samplesOptions, *m_imageRecipe, m_image);
    }
    SetModifiedFlag(true);
}

void CSonoluxCtrl::SetFrameLimit(int value) {
    if (value < 1 || static_cast<std::uint32_t>(value) > sonolux::LargestFrameLimit) {
        ReportPropertyError(ControlError::InvalidPropertyValue,
                            QStringLiteral("Invalid property value"));
        return;
    }
    if (static_cast<std::uint32_t>(value) == m_loadOptions.frameLimit) return;
    m_loadOptions.frameLimit = static_cast<std::uint32_t>(value);
    ReloadWaveFile();
    SetModifiedFlag(true);
}

void CSonoluxCtrl::SetFloatSamples(bool value) {
    if (value == m_loadOptions.floatSamples) return;
    m_loadOptions.floatSamples = value;
    ReloadWaveFile();
    SetModifiedFlag(true);
}

void CSonoluxCtrl::SetEverySample(bool value) {
    if (value == m_everySample) return;
    m_everySample = value;
    MarkImageDirty();
}

void CSonoluxCtrl::SetAutoContrast(bool value) {
    if (value == m_autoContrast) return;
    m_autoContrast = value;
    MarkImageDirty();
}

void CSonoluxCtrl::Play() {
    // Handed to the player, a name that names no file exactly would play
    // another file.
    const std::optional<QByteArray> localName = sonolux::ExactFileNameBytes(m_filename);
    if (!localName) {
        OnPlayFailed(PlayFailure::NameNotUsable());
        return;
    }
    // A named pipe or a device would keep the player waiting or playing without end.
    // A missing file is still handed over: the player decides what that plays.
    if (sonolux::NamesNonRegularFile(localName->toStdString())) {
        OnPlayFailed(PlayFailure::NotARegularFile());
        return;
    }
    SetPlayState(m_playing, QString());
    m_player.Play(m_filename, m_speedDivisor, this);
}

void CSonoluxCtrl::Stop() {
    m_player.Stop(this);
}

void CSonoluxCtrl::SetPlaybackSpeedDivisor(short value) {
    if (value < 1 || value > sonolux::LargestSpeedDivisor) {
        ReportPropertyError(ControlError::InvalidPropertyValue,
                            QStringLiteral("Invalid property value"));
        return;
    }
    m_speedDivisor = value;
}

// Only the player's start and end reports move Playing: a request that fails
// before it replaced anything leaves an earlier sound of this control playing.
void CSonoluxCtrl::OnPlayStarted() {
    SetPlayState(true, m_playError);
}

void CSonoluxCtrl::OnPlayEnded() {
    SetPlayPosition(0.0f);
    SetPlayState(false, m_playError);
}

void CSonoluxCtrl::OnPlayPosition(double seconds) {
    SetPlayPosition(static_cast<float>(seconds));
}

void CSonoluxCtrl::SetPlayPosition(float seconds) {
    if (seconds == m_playPosition) return;
    m_playPosition = seconds;
    emit PlayPositionChanged();
}

void CSonoluxCtrl::OnPlayFailed(const QString& reason) {
    SetPlayState(m_playing, reason);
}

void CSonoluxCtrl::SetPlayState(bool playing, const QString& error) {
    if (playing == m_playing && error == m_playError) return;
    m_playing = playing;
    m_playError = error;
    emit PlayStateChanged();
}

void CSonoluxCtrl::AboutBox() {
    SonoluxAboutDialog dialog(this);
    dialog.exec();
}

std::uint32_t CSonoluxCtrl::GetControlFlags() const {
    return COleControl::GetControlFlags() | ControlFlagPointerInactive |
           ControlFlagWindowlessActivate;
}

int CSonoluxCtrl::GetActivationPolicy() const {
    constexpr int PointerInactiveActivateOnDrag = 4;
    return PointerInactiveActivateOnDrag;
}

const DispatchTable& CSonoluxCtrl::GetDispatchTable() const {
    return SonoluxDispatchTable();
}

QList<QUuid> CSonoluxCtrl::GetPropertyPageIds() const {
    return {sonolux::CLSID_SonoluxPropPage, sonolux::CLSID_SPGParams};
}

void CSonoluxCtrl::DoPropExchange(CPropExchange& exchange) {
    std::uint32_t version = StateVersion;
    exchange.ExchangeVersion(version);
    // Every version so far shares one layout, so older states read as they
    // are; a newer major version may not, and is refused rather than misread.
    if (exchange.IsLoading() && (version >> 16) > (StateVersion >> 16)) {
        exchange.SetInvalid();
        return;
    }
    COleControl::DoPropExchange(exchange);
    QString path = m_dataPath.GetPath();
    exchange.ExchangeString(path);
    if (!exchange.IsLoading() || !exchange.IsValid()) return;
    m_dataPath.Load(path);
    // An older state is written back in the current version on the next save.
    if (version != StateVersion) SetModifiedFlag(true);
}

void CSonoluxCtrl::OnResetState() {
    COleControl::OnResetState();
    // Loading no path abandons a running read as well.
    m_dataPath.Load(QString());
}

void CSonoluxCtrl::OnSpectrogramParameterChanged() {
    MarkImageDirty();
    SetModifiedFlag(true);
}

void CSonoluxCtrl::MarkImageDirty() {
    m_imageDirty = true;
    ++m_pictureGeneration;
    // A pending picture stays pending: the repaint asked for here starts the new one.
    Repaint();
}

void CSonoluxCtrl::OnDraw(QPainter& painter, const QRect& bounds, const QRect& /*invalid*/) {
    // This paint shows whatever a repaint at the next frame would have shown.
    if (IsDrawingWhole()) m_repaintDue = false;
    // While Filename is being loaded, the picture shown would be of another file.
    const bool loading = !m_pendingLoads.empty();
    if (loading) SetPicturePending(true);
    // A picture another control (or this one, before) drew is taken at once.
    if (m_imageDirty && !loading) StartPicture();
    if (m_imageDirty || loading) {
        PaintCalculating(painter, bounds);
        return;
    }
    // A picture that covers the control with opaque pixels needs no white under it.
    if (!m_image->Covers(painter)) painter.fillRect(bounds, Qt::white);
    PaintImage(painter, bounds);
}

void CSonoluxCtrl::OnDrawMetafile(QPainter& painter, const QRect& bounds) {
    painter.save();
    FinishPendingLoad();
    if (m_imageDirty) BuildImage();
    PaintImage(painter, bounds);
    painter.restore();
}

bool CSonoluxCtrl::event(QEvent* event) {
    if (event->type() == sonolux::LoadReadyEvent::EventType()) {
        OnLoadReady(static_cast<const sonolux::LoadReadyEvent&>(*event));
        return true;
    }
    if (event->type() != sonolux::PictureReadyEvent::EventType()) return COleControl::event(event);
    OnPictureReady(static_cast<const sonolux::PictureReadyEvent&>(*event));
    return true;
}

void CSonoluxCtrl::PaintCalculating(QPainter& painter, const QRect& bounds) {
    // Painting happens on the window thread only: one face serves every control.
    static CalculatingFace* const face = new CalculatingFace;
    face->Paint(painter, bounds);
}

void CSonoluxCtrl::PaintImage(QPainter& painter, const QRect& bounds) {
    m_image->Paint(painter, bounds);
}

void CSonoluxCtrl::OnLButtonDown(const QPoint& point) {
    if (m_playOnClick != 0) Play();
    COleControl::OnLButtonDown(point);
}
