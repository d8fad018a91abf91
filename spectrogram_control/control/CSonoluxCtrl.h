#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "control/CAudioSamplesDataPath.h"
#include "control/CWaveDropTarget.h"
#include "control/FramePacer.h"
#include "control/PictureWorkers.h"
#include "engine/FileIdentity.h"
#include "engine/PictureCache.h"
#include "engine/SpectrogramImage.h"
#include "engine/SpectrogramParameters.h"
#include "engine/WaveLoader.h"
#include "framework/COleControl.h"
#include "framework/SoundPlayer.h"

// The Sonolux control: loads a wave file, paints its spectrogram scaled to the
// control and plays the file. Hosts reach it only through the properties and
// methods below, by name or by dispatch identifier. GUI thread only; files are
// loaded and pictures drawn on worker threads (PictureWorkers) and taken in on
// this one. Every property that tells what a load found first finishes the
// load still under way, so it reads right after a write what the load found.
//
// After the ten properties every host relies on come read-only properties that
// tell the host what became of the last load and the last play, each announced
// by a signal when it changes, and two that widen what a load takes.
class CSonoluxCtrl : public COleControl, private ISoundPlayerListener, private FrameClient {
    Q_OBJECT
    Q_PROPERTY(short FrameLengthChoice READ GetFrameLengthChoice WRITE SetFrameLengthChoice)
    Q_PROPERTY(short FFTSizeChoice READ GetFFTSizeChoice WRITE SetFFTSizeChoice)
    Q_PROPERTY(
        short WindowFunctionChoice READ GetWindowFunctionChoice WRITE SetWindowFunctionChoice)
    Q_PROPERTY(int HopSize READ GetHopSize WRITE SetHopSize)
    Q_PROPERTY(float PowerMin READ GetPowerMin WRITE SetPowerMin)
    Q_PROPERTY(float PowerMax READ GetPowerMax WRITE SetPowerMax)
    Q_PROPERTY(short OLEDropMode READ GetOLEDropMode WRITE SetOLEDropMode)
    Q_PROPERTY(short PlayOnClick READ GetPlayOnClick WRITE SetPlayOnClick)
    Q_PROPERTY(
        QString AudioSamplesDataPath READ GetAudioSamplesDataPath WRITE SetAudioSamplesDataPath)
    Q_PROPERTY(QString Filename READ GetFilename WRITE SetFilename)
    // What the last load found (see the getters below).
    Q_PROPERTY(bool Loaded READ GetLoaded NOTIFY LoadStateChanged)
    Q_PROPERTY(uint SampleRate READ GetSampleRate NOTIFY LoadStateChanged)
    Q_PROPERTY(int Channels READ GetChannels NOTIFY LoadStateChanged)
    Q_PROPERTY(int BitsPerSample READ GetBitsPerSample NOTIFY LoadStateChanged)
    Q_PROPERTY(uint TotalFrames READ GetTotalFrames NOTIFY LoadStateChanged)
    Q_PROPERTY(int LoadedFrames READ GetLoadedFrames NOTIFY LoadStateChanged)
    // What became of the last play.
    Q_PROPERTY(bool Playing READ GetPlaying NOTIFY PlayStateChanged)
    Q_PROPERTY(QString PlayError READ GetPlayError NOTIFY PlayStateChanged)
    // What a load takes.
    Q_PROPERTY(int FrameLimit READ GetFrameLimit WRITE SetFrameLimit)
    Q_PROPERTY(bool FloatSamples READ GetFloatSamples WRITE SetFloatSamples)
    // How the picture is drawn, beyond the six parameters.
    Q_PROPERTY(bool EverySample READ GetEverySample WRITE SetEverySample)
    Q_PROPERTY(bool AutoContrast READ GetAutoContrast WRITE SetAutoContrast)
    // Why the last load refused its file.
    Q_PROPERTY(QString LoadError READ GetLoadError NOTIFY LoadStateChanged)
    // Where the sound is, and how slowly it plays.
    Q_PROPERTY(float PlayPosition READ GetPlayPosition NOTIFY PlayPositionChanged)
    Q_PROPERTY(
        short PlaybackSpeedDivisor READ GetPlaybackSpeedDivisor WRITE SetPlaybackSpeedDivisor)
    // How many times this control has read samples from a file.
    Q_PROPERTY(int FileReads READ GetFileReads)
    // Whether the picture asked for is still being drawn off the window thread.
    Q_PROPERTY(bool PicturePending READ GetPicturePending NOTIFY PictureStateChanged)
    // Whether the last write of Filename is still being loaded off the window thread.
    Q_PROPERTY(bool LoadPending READ GetLoadPending)

public:
    // `player` plays the file on Play; it must outlive the control.
    explicit CSonoluxCtrl(ISoundPlayer& player, QWidget* parent = nullptr);
    ~CSonoluxCtrl() override;

    // The current version of the persisted state: major 1, minor 0.
    static constexpr std::uint32_t StateVersion = 0x00010000;

    short GetFrameLengthChoice() const { return m_parameters.frameLengthChoice; }
    void SetFrameLengthChoice(short value);
    short GetFFTSizeChoice() const { return m_parameters.fftSizeChoice; }
    void SetFFTSizeChoice(short value);
    short GetWindowFunctionChoice() const { return m_parameters.windowFunctionChoice; }
    void SetWindowFunctionChoice(short value);
    int GetHopSize() const { return m_parameters.hopSize; }
    void SetHopSize(int value);
    float GetPowerMin() const { return m_parameters.powerMin; }
    void SetPowerMin(float value);
    float GetPowerMax() const { return m_parameters.powerMax; }
    void SetPowerMax(float value);
    short GetOLEDropMode() const { return m_oleDropMode; }
    void SetOLEDropMode(short value);
    short GetPlayOnClick() const { return m_playOnClick; }
    void SetPlayOnClick(short value);
    QString GetAudioSamplesDataPath() const { return m_dataPath.GetPath(); }
    void SetAudioSamplesDataPath(const QString& path);
    QString GetFilename() const { return m_filename; }
    // Stores the name and has a worker load the file; a file that cannot be
    // loaded leaves the previous samples and picture. So does a name that names no file
    // exactly: one holding a NUL character, or one whose text does not turn
    // into file system bytes and back unchanged.
    void SetFilename(const QString& filename);
    // The recording shown now lives at `newPath`: its host has just moved it.
    // Filename reads `newPath` afterwards. When the file there still holds what
    // was loaded (see sonolux::SameContentsAfterMove) nothing is read or drawn
    // again and the load state stays as it is; otherwise, and when the control
    // shows no loaded file, this is a write of Filename.
    Q_INVOKABLE void FollowFile(const QString& newPath);

    // What the last write of Filename (or drop, or change of FrameLimit or
    // FloatSamples) found. After a load that read a file: Loaded is true and the
    // others describe it: frames per second as its header states them, channels,
    // bits of one stored sample, the whole frames it holds (a file cut short
    // counts those that are there) and the frames taken into the picture. A
    // refused file and an empty Filename read false and all zeros, although a
    // refused file leaves the previous picture and samples in place.
    // LoadStateChanged is emitted whenever one of them changes: when the load's
    // result is taken in, which is when a worker's result arrives or when one of
    // these (or anything else that depends on the samples) is read first.
    bool GetLoaded() const { return Settled().m_loaded; }
    uint GetSampleRate() const { return Settled().m_fileInfo.sampleRate; }
    int GetChannels() const { return Settled().m_fileInfo.channels; }
    int GetBitsPerSample() const { return Settled().m_fileInfo.bitsPerSample; }
    uint GetTotalFrames() const { return Settled().m_fileInfo.totalFrames; }
    int GetLoadedFrames() const { return static_cast<int>(Settled().m_fileInfo.loadedFrames); }
    // True from a write of Filename (or a drop, or a change of FrameLimit or
    // FloatSamples) until its load is taken in; reading it finishes nothing.
    bool GetLoadPending() const { return !m_pendingLoads.empty(); }

    // Playing is true from the moment the sound of Play is heard until it ends,
    // Stop ends it, or another Play (of any control of the module) replaces
    // it. PlayError says why the last Play failed ("no file", "file not
    // found", "not a regular file", "no sound output", "format not playable",
    // "name not usable" for a Filename that names no file exactly); Play
    // empties it. A Play that fails at once leaves a sound that is still
    // playing alone, so Playing can be true while PlayError tells of the
    // latest request.
    // PlayStateChanged is emitted whenever one of the two changes.
    bool GetPlaying() const { return m_playing; }
    QString GetPlayError() const { return m_playError; }

    // At most this many frames are loaded from the start of the file: 1 to
    // 4194304, 48000 in a new control. Any other value raises the invalid
    // property value error (ControlError::InvalidPropertyValue) and keeps the
    // old one. A change reloads the current file.
    int GetFrameLimit() const { return static_cast<int>(m_loadOptions.frameLimit); }
    void SetFrameLimit(int value);
    // Whether IEEE float wave files (32 and 64 bits) are read; false in a new
    // control, which refuses them. A change reloads the current file.
    bool GetFloatSamples() const { return m_loadOptions.floatSamples; }
    void SetFloatSamples(bool value);

    // Every sample of the loaded part shows in the picture: one column per device
    // pixel, each the loudest of the frames that cover any of its samples. False in
    // a new control. Not saved with the control's state.
    bool GetEverySample() const { return m_everySample; }
    void SetEverySample(bool value);
    // The grey scale spans this recording's own levels instead of PowerMin to
    // PowerMax. False in a new control. Not saved with the control's state.
    bool GetAutoContrast() const { return m_autoContrast; }
    void SetAutoContrast(bool value);
    // A few words on why the last load refused its file ("file not found", "not a
    // wave file", "cut short", "32-bit float", ...; see sonolux::LoadRefusalText);
    // empty after a load that read one and for an empty Filename.
    QString GetLoadError() const { return Settled().m_loadError; }

    // Seconds into the recording of what is heard now, whatever the speed;
    // 0 when nothing of this control's plays. PlayPositionChanged is emitted
    // when it changes: at least 30 times a second while the sound plays.
    float GetPlayPosition() const { return m_playPosition; }
    // Play plays the recording at 1/divisor of its speed (time expansion: a
    // 40 kHz call sounds at 4 kHz at a divisor of 10): 1 to 20, 1 in a new
    // control. Any other value raises the invalid property value error and
    // keeps the old one. Not saved with the control's state.
    short GetPlaybackSpeedDivisor() const { return m_speedDivisor; }
    void SetPlaybackSpeedDivisor(short value);

    // Loads of this control that read samples from a file; samples found in the
    // module's cache and a followed move read none.
    // A load made stale by a newer write before its result was taken in counts
    // only when its samples are the ones kept (the newer file was refused).
    int GetFileReads() const { return Settled().m_fileReads; }
    // True from a write that starts a load of a shown control, or from a paint
    // that found no picture for the control's current state and so had a worker
    // start drawing it, until that picture (or one drawn at once for a
    // metafile) is taken in, or the load is refused and the previous picture
    // stays; false again when the control is hidden meanwhile.
    // PictureStateChanged is emitted whenever it changes.
    bool GetPicturePending() const { return m_picturePending; }

    Q_INVOKABLE void Play();
    // Ends this control's sound if it is still playing.
    Q_INVOKABLE void Stop();
    Q_INVOKABLE void AboutBox();
    Q_INVOKABLE void DoClick() {}

    // OLEMISC_RECOMPOSEONRESIZE | CANTLINKINSIDE | INSIDEOUT | ACTIVATEWHENVISIBLE
    // | SETCLIENTSITEFIRST | IGNOREACTIVATEWHENVISIBLE, as registered.
    static constexpr std::uint32_t MiscStatus = 0xA0191;

    std::uint32_t GetControlFlags() const override;
    int GetActivationPolicy() const override;
    QList<QUuid> GetPropertyPageIds() const override;
    QString GetUserTypeName() const override { return QStringLiteral("Sonolux Control"); }
    std::uint32_t GetMiscStatus() const override { return MiscStatus; }
    COleDropTarget* GetWindowlessDropTarget() override { return &m_dropTarget; }
    const DispatchTable& GetDispatchTable() const override;

    // What tests and tools may look at.
    bool IsImageDirty() const { return Settled().m_imageDirty; }
    const std::vector<std::int16_t>& Samples() const { return *Settled().m_samples; }
    const sonolux::SpectrogramImage& Image() const { return *Settled().m_image; }
    int ImageBuildCount() const { return m_imageBuildCount; }
    const CAudioSamplesDataPath& DataPath() const { return m_dataPath; }

signals:
    void LoadStateChanged();
    void PlayStateChanged();
    void PlayPositionChanged();
    void PictureStateChanged();

protected:
    void DoPropExchange(CPropExchange& exchange) override;
    void OnResetState() override;
    void OnDraw(QPainter& painter, const QRect& bounds, const QRect& invalid) override;
    void OnDrawMetafile(QPainter& painter, const QRect& bounds) override;
    void OnLButtonDown(const QPoint& point) override;
    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Sets one value of the parameter set; the image is computed again.
    template <typename Value>
    void SetParameter(Value sonolux::SpectrogramParameters::*member, Value value) {
        m_parameters.*member = value;
        OnSpectrogramParameterChanged();
    }
    void OnSpectrogramParameterChanged();
    void OnFlagPropertyChanged() { SetModifiedFlag(true); }
    void MarkImageDirty();
    // A load asked for and not yet taken in: the job and what it was asked for.
    struct PendingLoad {
        std::shared_ptr<sonolux::LoadJob> job;
        QString path;
        sonolux::LoadOptions options;
    };
    void LoadWaveFile(const QString& path);
    void ReloadWaveFile();
    // Takes in the result of the newest write's load, finishing it first.
    void FinishPendingLoad();
    void TakeInLoad(const PendingLoad& load, const sonolux::SharedLoad& result);
    void DropPendingLoads();
    void OnLoadReady(const sonolux::LoadReadyEvent& ready);
    // Repaints at once, or at the display's next frame while taking in what a
    // worker sent (FramePacer).
    void Repaint();
    void RepaintAtNextFrame();
    void OnFrame() override;
    // This control with every pending load taken in: what its getters read.
    const CSonoluxCtrl& Settled() const;
    void SetLoadState(bool loaded, const sonolux::WaveFileInfo& info, const QString& error);
    void SetPlayState(bool playing, const QString& error);
    void OnPlayStarted() override;
    void OnPlayEnded() override;
    void OnPlayFailed(const QString& reason) override;
    void OnPlayPosition(double seconds) override;
    void SetPlayPosition(float seconds);
    void BuildImage();
    sonolux::PictureRecipe CurrentRecipe() const;
    bool TakeCachedPicture(const sonolux::PictureRecipe& recipe);
    // `drawn`: a new picture, counted and kept in the cache; otherwise one the cache had.
    void TakePicture(const sonolux::SharedPicture& picture, const sonolux::PictureRecipe& recipe,
                     bool drawn);
    void StartPicture();
    void OnPictureReady(const sonolux::PictureReadyEvent& ready);
    void SetPicturePending(bool pending);
    void PaintCalculating(QPainter& painter, const QRect& bounds);
    void PaintImage(QPainter& painter, const QRect& bounds);

    sonolux::SpectrogramParameters m_parameters;
    short m_oleDropMode = 1;
    short m_playOnClick = 0;
    CAudioSamplesDataPath m_dataPath;
    CWaveDropTarget m_dropTarget;
    // Shared with the module's cache (and other controls showing the same file).
    sonolux::SharedPicture m_image;
    bool m_imageDirty = true;
    // Counts the states a picture is drawn for: a picture drawn for an older one
    // arrives stale and is dropped.
    std::uint64_t m_pictureGeneration = 1;
    std::uint64_t m_startedGeneration = 0;  // of the picture last given to a worker
    bool m_picturePending = false;
    bool m_takingArrival = false;  // in OnLoadReady: repaints wait for the next frame
    bool m_repaintDue = false;     // at the next frame, unless wholly painted before
    bool m_awaitingFrame = false;  // in the frame pacer's list
    std::shared_ptr<sonolux::PictureMailbox> m_mailbox;
    int m_imageBuildCount = 0;
    sonolux::SharedSamples m_samples;
    // The file the samples were read from, and what that load took: with them
    // the samples and pictures are found in the cache.
    std::optional<sonolux::FileIdentity> m_samplesFile;
    bool m_samplesFileSettled = false;  // only then is what is made of it kept in the cache
    // What the picture shown was drawn for, since its last build.
    std::optional<sonolux::PictureRecipe> m_imageRecipe;
    sonolux::LoadOptions m_samplesOptions;
    // Loads not yet taken in, in the order of their writes: the last is the
    // newest; the earlier ones are kept only in case it refuses its file, when
    // the samples are those of the newest earlier one that did not.
    std::vector<PendingLoad> m_pendingLoads;
    std::uint64_t m_loadGeneration = 0;
    int m_fileReads = 0;
    QString m_filename;
    sonolux::LoadOptions m_loadOptions;
    bool m_loaded = false;
    sonolux::WaveFileInfo m_fileInfo;
    QString m_loadError;
    bool m_everySample = false;
    bool m_autoContrast = false;
    bool m_playing = false;
    QString m_playError;
    float m_playPosition = 0.0f;
    short m_speedDivisor = 1;
    ISoundPlayer& m_player;
};
