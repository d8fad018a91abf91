#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>

#include "loupe/LoupeAxis.h"

// The loupe's two axes over the picture of a recording, in the loupe's pixels.
// Time runs in seconds from 0 at the picture's left edge to the frames it
// holds at its right edge. Frequency runs in kHz from 0 at the bottom edge to
// half the sample rate at the top edge: the spectrogram's row k is the band
// from bin k's frequency (k x rate / N) up to bin k + 1's, stretched over the
// picture's height, so each bin's frequency lies on its row's lower edge and
// the highest bin's band ends at the top edge.
class LoupeAxes {
public:
    // `picture` is the spectrogram's rectangle; `frames` at `sampleRate` (Hz)
    // are what it shows. Without either, both axes are empty.
    LoupeAxes(const QRect& picture, std::uint32_t sampleRate, std::int64_t frames);

    const LoupeAxis& Time() const { return m_time; }
    const LoupeAxis& Frequency() const { return m_frequency; }
    // "0.420 s, 3.1 kHz" at the middle of the pixel at `position`; nothing off
    // the picture or without a recording.
    QString Readout(QPoint position) const;

private:
    QRect m_picture;
    LoupeAxis m_time;
    LoupeAxis m_frequency;
};
