#pragma once

#include <QString>
#include <QVariant>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "cells/ControlProperties.h"
#include "core/ScreenDpi.h"
#include "sorting/StatusText.h"

class CellMarks;

// One cell of the main window's grid: a spectrogram control inset by four
// pixels, with a red four-pixel frame drawn while the cell is the selected one,
// that is while its control is its window's focus widget (a menu or another
// window taking the keyboard for a while does not change the selection).
// Geometry is set in twips. The cell keeps no recording or parameters of its
// own: it passes them to its control and reads them back from there.
class SonoluxBord : public QWidget {
    Q_OBJECT
public:
    // Takes `control` (a spectrogram control) as its only focusable part.
    SonoluxBord(QWidget* control, int index, const ScreenDpi& dpi, QWidget* parent = nullptr);

    int Index() const { return m_index; }

    // Twips.
    std::int32_t Left() const { return m_left; }
    std::int32_t Top() const { return m_top; }
    std::int32_t Width() const { return m_width; }
    std::int32_t Height() const { return m_height; }
    void SetLeft(std::int32_t twips);
    void SetTop(std::int32_t twips);
    void SetWidth(std::int32_t twips);
    void SetHeight(std::int32_t twips);

    QString Filename() const;
    // Shows the recording at `aFilename` as a newly loaded one.
    void SetFilename(const QString& aFilename);
    // Goes on showing the recording from `path`, where a move has put it; the
    // cell marks the folder it lives in when that is not where it was loaded.
    void FollowMove(const QString& path);
    // True when a move has put the recording into another folder than the one
    // it was loaded from.
    bool WasMoved() const;
    // The folders' suggestion for the recording shown (CellMarks::SetSuggestion);
    // a new recording, or a move, takes it away.
    void SetSuggestion(const QString& text);
    // The marks drawn over the spectrogram.
    const CellMarks& Marks() const { return *m_marks; }
    // Whether the control read the recording it was last given (true for an
    // empty cell).
    bool IsLoaded() const;
    // What the control read of its recording, and its playing, as it tells
    // its host; all empty or zero from a control that does not tell.
    StatusText::RecordingInfo RecordingInfo() const;
    bool IsPlaying() const;
    // Whether the control waits for its spectrogram, drawn off the window
    // thread (false from a control that does not tell).
    bool IsPicturePending() const;
    QString PlayError() const;
    void SetPlay(bool aPlay);
    // Plays the recording, or ends its sound, through the control.
    void Play();
    void Stop();
    // Seconds into the recording of what is heard now (0 when it does not play).
    double PlayPosition() const;
    // The control plays at 1/`divisor` of a recording's speed (1 to 20), and
    // tells it back (1 from a control that does not know it).
    void SetPlaybackSpeedDivisor(std::int16_t divisor);
    std::int16_t PlaybackSpeedDivisor() const;
    // How much of a recording the control loads: at most `frames` sample
    // frames from its start (1 to 4194304), and whether IEEE float wave files
    // are read rather than refused. A change reloads the recording shown.
    void SetFrameLimit(std::int32_t frames);
    void SetFloatSamples(bool floatSamples);
    // How the control draws its picture: from every sample rather than the
    // frames its geometry picks, and over the recording's own power range
    // rather than the fixed one. A change redraws the picture.
    void SetEverySample(bool everySample);
    void SetAutoContrast(bool autoContrast);

    // Sets the control's parameters in this order: FFTSizeChoice,
    // FrameLengthChoice, HopSize, WindowFunctionChoice, PowerMax, PowerMin.
    // Throws CorvaneError (Overflow) when a choice does not fit 16 bits.
    void UpdateSPGParams(std::int32_t FFTSizeChoice, std::int32_t FrameLengthChoice,
                         std::int32_t HopSize, std::int32_t WindowFunctionChoice, float PowerMax,
                         float PowerMin);
    void GetSPGParams(std::int32_t& FFTSizeChoice, std::int32_t& FrameLengthChoice,
                      std::int32_t& HopSize, std::int32_t& WindowFunctionChoice, float& PowerMax,
                      float& PowerMin) const;

    void GiveFocus();
    // Whether the cell is the selected one and so shows its frame.
    bool IsFrameShown() const;
    QWidget* Sonolux1() const { return m_control; }
    std::int16_t BorderTwipsX() const { return m_borderTwipsX; }
    std::int16_t BorderTwipsY() const { return m_borderTwipsY; }
    // Twips of the control's rectangle inside the cell.
    std::int32_t SonoluxLeft() const { return ControlOffset; }
    std::int32_t SonoluxTop() const { return ControlOffset; }
    float SonoluxWidth() const { return m_controlWidth; }
    float SonoluxHeight() const { return m_controlHeight; }

    // `lngPixels` in twips along x (`lngDirection` 0) or y (any other value).
    std::int32_t ConvertPixelsToTwips(std::int32_t lngPixels, std::int32_t lngDirection) const;

signals:
    // The control loaded (or refused) a file, or started or stopped playing.
    void LoadStateChanged(int index);
    void PlayStateChanged(int index);
    // The control started or stopped waiting for a spectrogram being drawn.
    void PictureStateChanged(int index);
    // Where the sound being heard is, in seconds into the recording; negative
    // once it no longer plays.
    void PlayheadMoved(double seconds);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private slots:
    void OnControlLoadStateChanged();
    void OnControlPlayStateChanged();
    void OnControlPlayPositionChanged();
    void OnControlPictureStateChanged();

private:
    static constexpr std::int32_t ControlOffset = 60;  // twips from the cell's top left
    static constexpr int FramePixels = 4;

    void FillBorderWhereThatLooksTheSame();
    void PlaceCell();
    void SizeConstituents();
    void PlaceControl();
    void RefreshToolTip();
    void OnFocusChanged(bool gained);
    // Repaints the frame if the selection no longer matches what was painted.
    void RefreshFrame();
    void SetShortProperty(const char* name, std::int32_t value);
    void RefreshMarks(const QString& path);
    void RefreshMovedMark(const QString& path);
    // "shown / total s" for a recording loaded only in part, else empty.
    QString PartialLengthMark() const;
    void RefreshMarksUnlessLoading(const QString& path);
    // Whether the control still loads its recording off the window thread.
    bool IsLoadPending() const;
    // The playhead follows the sound heard, and goes when it ends.
    void RefreshPlayhead();
    void PassFilename(const QString& path);
    bool IsLoaded(const QString& path) const;
    void ConnectControlSignals();

    QWidget* m_control;
    int m_index;
    ScreenDpi m_dpi;
    std::int16_t m_borderTwipsX;
    std::int16_t m_borderTwipsY;
    std::int32_t m_left = 0;
    std::int32_t m_top = 0;
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    float m_controlWidth = 0;
    float m_controlHeight = 0;
    bool m_framePainted = false;
    CellMarks* m_marks;
    QString m_loadedPath;  // where the recording was when the cell was given it
    bool m_settingFilename = false;
    ControlProperties m_properties;
    // The control's FollowFile method (-1 when it has none), found on first use.
    std::optional<int> m_followFile;
};
