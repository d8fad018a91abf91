#pragma once

#include <QWidget>
#include <cstdint>

#include "loupe/LoupeAxes.h"

// The loupe's picture: a spectrogram control filling the view less the room of
// its axes, a time axis in seconds below it and a frequency axis in kHz to its
// left, and the time and frequency under the pointer.
class LoupeView : public QWidget {
    Q_OBJECT
public:
    explicit LoupeView(QWidget* parent = nullptr);

    // Takes `control` as the picture; it becomes a child of the view.
    void SetControl(QWidget* control);
    // What the axes span: `frames` at `sampleRate` (Hz); 0 for no recording,
    // which shows no picture and no ticks.
    void SetRecording(std::uint32_t sampleRate, std::int64_t frames);
    // A thin line over the picture at `seconds` into the recording, where the
    // sound being heard is; none for a negative time or one past the picture.
    void SetPlayhead(double seconds);
    // The playhead's x in the view's pixels; -1 while there is none.
    int PlayheadX() const;
    // The control's rectangle, in the view's pixels.
    QRect PictureRect() const;
    LoupeAxes Axes() const { return LoupeAxes(PictureRect(), m_sampleRate, m_frames); }

signals:
    // The time and frequency under the pointer; empty once it left the picture.
    void PointerMoved(const QString& readout);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceControl();
    void PlacePlayhead();
    void DrawTimeAxis(QPainter& painter, const LoupeAxes& axes) const;
    void DrawFrequencyAxis(QPainter& painter, const LoupeAxes& axes) const;

    QWidget* m_control = nullptr;
    std::uint32_t m_sampleRate = 0;
    std::int64_t m_frames = 0;
    double m_playheadSeconds = -1.0;
    // A widget of its own, so that it lies over the control's picture.
    QWidget* m_playhead = nullptr;
};
