#include "control/CSonoluxCtrl.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <optional>

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
    InvalidateControl();
}

void CSonoluxCtrl::LoadWaveFile(const QString& path) {
    // A picture still being drawn is for samples this load may replace.
    ++m_pictureGeneration;
    const PendingLoad pending{nullptr, path, m_loadOptions};
    // A name that names no file exactly is a file that cannot be read: refused
    // at once, as an empty name is emptied at once; neither touches a file.
    const std::optional<QByteArray> localPath = sonolux::ExactFileNameBytes(path);
    if (!localPath || path.isEmpty()) {
        sonolux::SharedLoad load;
        if (localPath) {
            load = sonolux::LoadSharedWaveFile(std::string(), m_loadOptions);
            DropPendingLoads();
        } else {
            load.refusal = sonolux::LoadRefusal{sonolux::LoadFailure::NameNotUsable};
            // The samples kept are those of the newest earlier write that loaded.
            FinishPendingLoad();
        }
        TakeInLoad(pending, load);
        return;
    }
    const sonolux::LoadOptions options = m_loadOptions;
    auto job = std::make_shared<sonolux::LoadJob>(
        ++m_loadGeneration, [file = localPath->toStdString(), options] {
            return sonolux::LoadSharedWaveFile(file, options, &sonolux::SharedPictureCache());
        });
    m_pendingLoads.push_back(PendingLoad{job, path, options});
    sonolux::LoadOnWorker(std::move(job), m_mailbox);
    // The spectrogram shown is no longer the one of Filename.
    if (isVisible()) SetPicturePending(true);
    update();
}

void CSonoluxCtrl::FinishPendingLoad() {
    if (m_pendingLoads.empty()) return;
    std::vector<PendingLoad> loads;
    loads.swap(m_pendingLoads);
    const PendingLoad& newest = loads.back();
    const sonolux::SharedLoad& result = newest.job->Finish();
    if (result.result == sonolux::LoadResult::Replaced) {
        for (std::size_t i = 0; i + 1 < loads.size(); ++i) loads[i].job->Cancel();
    } else {
        // A refusal leaves the samples of the write before it, as that write's
        // load would have left them had it been taken in first.
        for (std::size_t i = loads.size() - 1; i-- > 0;) {
            const sonolux::SharedLoad& earlier = loads[i].job->Finish();
            if (earlier.result != sonolux::LoadResult::Replaced) continue;
            TakeInLoad(loads[i], earlier);
            for (std::size_t j = 0; j < i; ++j) loads[j].job->Cancel();
            break;
        }
    }
    TakeInLoad(newest, result);
}

void CSonoluxCtrl::TakeInLoad(const PendingLoad& load, const sonolux::SharedLoad& result) {
    const bool replaced = result.result == sonolux::LoadResult::Replaced;
    if (replaced) {
        m_samples = result.samples;
        m_samplesFile = result.identity;
        m_samplesFileSettled = result.settled;
        m_samplesOptions = load.options;
        if (result.readFromFile) ++m_fileReads;
        MarkImageDirty();
    } else {
        // The previous picture stays, and is shown again.
        if (!m_imageDirty) SetPicturePending(false);
        update();
    }
    // Nothing would start the picture of a hidden control.
    if (m_imageDirty && !isVisible()) SetPicturePending(false);
    SetLoadState(replaced && !load.path.isEmpty(), result.info,
                 QString::fromStdString(sonolux::LoadRefusalText(result.refusal)));
}

void CSonoluxCtrl::DropPendingLoads() {
    for (const PendingLoad& load : m_pendingLoads) load.job->Cancel();
    m_pendingLoads.clear();
}

void CSonoluxCtrl::OnLoadReady(const sonolux::LoadReadyEvent& ready) {
    // Only the newest write's load is taken in; an older one is stale, and a
    // getter may have taken this one in already.
    if (m_pendingLoads.empty() || m_pendingLoads.back().job->generation != ready.generation) return;
    FinishPendingLoad();
}

const CSonoluxCtrl& CSonoluxCtrl::Settled() const {
    // Reading what a load found takes its result in, and so changes the state
    // behind the read, not what the read answers.
    if (!m_pendingLoads.empty()) const_cast<CSonoluxCtrl*>(this)->FinishPendingLoad();
    return *this;
}

void CSonoluxCtrl::ReloadWaveFile() {
    // Without a name there are no samples to take differently.
    if (!m_filename.isEmpty()) LoadWaveFile(m_filename);
}

void CSonoluxCtrl::SetLoadState(bool loaded, const sonolux::WaveFileInfo& info,
                                const QString& error) {
    if (loaded == m_loaded && info == m_fileInfo && error == m_loadError) return;
    m_loaded = loaded;
    m_fileInfo = info;
    m_loadError = error;
    emit LoadStateChanged();
}

sonolux::PictureRecipe CSonoluxCtrl::CurrentRecipe() const {
    sonolux::PictureRecipe recipe;
    recipe.parameters = m_parameters;
    recipe.options.everySample = m_everySample;
    recipe.options.autoContrast = m_autoContrast;
    recipe.sizePx = GetControlSize();
    return recipe;
}

bool CSonoluxCtrl::TakeCachedPicture(const sonolux::PictureRecipe& recipe) {
    // Samples of no file (an empty Filename) have no identity and are drawn each time.
    if (!m_samplesFile) return false;
    sonolux::SharedPicture found =
        sonolux::SharedPictureCache().FindPicture(*m_samplesFile, m_samplesOptions, recipe);
    if (!found) return false;
    m_image = std::move(found);
    m_imageRecipe = recipe;
    m_imageDirty = false;
    SetPicturePending(false);
    return true;
}

void CSonoluxCtrl::TakePicture(const sonolux::SharedPicture& picture,
                               const sonolux::PictureRecipe& recipe) {
    m_image = picture;
    m_imageRecipe = recipe;
    m_imageDirty = false;
    ++m_imageBuildCount;
    if (m_samplesFile && m_samplesFileSettled)
        sonolux::SharedPictureCache().KeepPicture(*m_samplesFile, m_samplesOptions, recipe,
                                                  m_image);
    SetPicturePending(false);
}

void CSonoluxCtrl::BuildImage() {
    const sonolux::PictureRecipe recipe = CurrentRecipe();
    if (TakeCachedPicture(recipe)) return;
    auto built = std::make_shared<sonolux::SpectrogramImage>();
    built->Build(*m_samples, recipe.parameters, recipe.sizePx, recipe.options);
    TakePicture(built, recipe);
}

void CSonoluxCtrl::StartPicture() {
    const sonolux::PictureRecipe recipe = CurrentRecipe();
    if (TakeCachedPicture(recipe)) return;
    if (m_startedGeneration != m_pictureGeneration) {
        m_startedGeneration = m_pictureGeneration;
        sonolux::DrawPictureOnWorker(m_pictureGeneration, m_samples, recipe, m_mailbox);
    }
    SetPicturePending(true);
}

void CSonoluxCtrl::OnPictureReady(const sonolux::PictureReadyEvent& ready) {
    // (A write of Filename moves the generation on as well.)
    // Drawn for a state the control has left since (or already drawn at once for a
    // metafile): dropped; the paint of the newer state has asked for its own.
    if (ready.generation != m_pictureGeneration || !m_imageDirty) return;
    TakePicture(ready.picture, ready.recipe);
    update();
}

void CSonoluxCtrl::SetPicturePending(bool pending) {
    if (pending == m_picturePending) return;
    m_picturePending = pending;
    emit PictureStateChanged();
}

void CSonoluxCtrl::hideEvent(QHideEvent* event) {
    // A hidden control is not painted, so nothing would start a newer picture.
    if (m_startedGeneration != m_pictureGeneration || !m_pendingLoads.empty())
        SetPicturePending(false);
    COleControl::hideEvent(event);
}

void CSonoluxCtrl::OnDraw(QPainter& painter, const QRect& bounds, const QRect&) {
    painter.save();
    painter.fillRect(bounds, Qt::white);
    // While Filename is being loaded, the picture shown would be of another file.
    const bool loading = !m_pendingLoads.empty();
    if (loading) SetPicturePending(true);
    // A picture another control (or this one, before) drew is taken at once.
    if (m_imageDirty && !loading) StartPicture();
    if (m_imageDirty || loading) {
        DrawCalculatingText(painter, bounds);
    } else {
        PaintImage(painter, bounds);
    }
    painter.restore();
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

void CSonoluxCtrl::DrawCalculatingText(QPainter& painter, const QRect& bounds) {
    const QString text = QStringLiteral("Calculating...");
    const int x = (bounds.left() + bounds.right() + 1) / 2;
    const int y = (bounds.top() + bounds.bottom() + 1) / 2;
    const int width = painter.fontMetrics().horizontalAdvance(text);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(x - width / 2, y), text);
}

void CSonoluxCtrl::PaintImage(QPainter& painter, const QRect& bounds) {
    m_image->Paint(painter, bounds);
}

void CSonoluxCtrl::OnLButtonDown(const QPoint& point) {
    if (m_playOnClick != 0) Play();
    COleControl::OnLButtonDown(point);
}
