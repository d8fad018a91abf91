#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "CAudioSamplesDataPath.h"
#include "COleControl.h"
#include "CWaveDropTarget.h"
#include "SpectrogramImage.h"
#include "SpectrogramParameters.h"

class ISoundPlayer;

// The Sonolux control: loads a wave file, paints its spectrogram scaled to the
// control and plays the file. Hosts reach it only through the properties and
// methods below, by name or by dispatch identifier. GUI thread only.
class SONOLUX_EXPORT CSonoluxCtrl : public COleControl {
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
    // Stores the name and loads the file; a file that cannot be loaded leaves
    // the previous samples and picture.
    void SetFilename(const QString& filename);

    Q_INVOKABLE void Play();
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
    bool IsImageDirty() const { return m_imageDirty; }
    const std::vector<std::int16_t>& Samples() const { return m_samples; }
    const sonolux::SpectrogramImage& Image() const { return m_image; }
    int ImageBuildCount() const { return m_imageBuildCount; }
    const CAudioSamplesDataPath& DataPath() const { return m_dataPath; }

protected:
    void DoPropExchange(CPropExchange& exchange) override;
    void OnResetState() override;
    void OnDraw(QPainter& painter, const QRect& bounds, const QRect& invalid) override;
    void OnDrawMetafile(QPainter& painter, const QRect& bounds) override;
    void OnLButtonDown(const QPoint& point) override;
    bool event(QEvent* event) override;

private:
    void OnSpectrogramParameterChanged();
    void OnFlagPropertyChanged() { SetModifiedFlag(true); }
    void MarkImageDirty();
    void LoadWaveFile(const QString& path);
    void BuildImage();
    void DrawCalculatingText(QPainter& painter, const QRect& bounds);
    void PaintImage(QPainter& painter, const QRect& bounds);

    sonolux::SpectrogramParameters m_parameters;
    short m_oleDropMode = 1;
    short m_playOnClick = 0;
    CAudioSamplesDataPath m_dataPath;
    CWaveDropTarget m_dropTarget;
    sonolux::SpectrogramImage m_image;
    bool m_imageDirty = true;
    bool m_buildPosted = false;
    int m_imageBuildCount = 0;
    std::vector<std::int16_t> m_samples;
    QString m_filename;
    ISoundPlayer& m_player;
};
