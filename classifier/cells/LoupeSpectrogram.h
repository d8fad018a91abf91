#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "core/SpectrogramParameterSet.h"
#include "sorting/StatusText.h"

class QWidget;

// The loupe's spectrogram control: a whole recording (as many frames as the
// control takes), every sample of it in the picture, and a grey scale that
// spans the recording's own levels. Like a cell, it reaches the control only
// through its properties, by name, and writes a value only when it changes, as
// every write makes the control read or compute the recording again.
class LoupeSpectrogram {
public:
    // The most sample frames a control loads: 87 s at 48 kHz.
    static constexpr std::int32_t FrameLimit = 4194304;

    // Sets the control up for the loupe; the control's owner keeps it.
    explicit LoupeSpectrogram(QWidget* control);

    QWidget* Control() const { return m_control; }
    QString Filename() const;
    // Shows the recording at `path`; the empty text shows none.
    void Show(const QString& path);
    // Sets FFTSizeChoice, FrameLengthChoice, HopSize, WindowFunctionChoice,
    // PowerMax and PowerMin, in this order. Throws CorvaneError (Overflow)
    // when a choice does not fit 16 bits.
    void SetSPGParams(const SpectrogramParameterSet& params);
    void SetFloatSamples(bool floatSamples);

    // What the control read of the recording; all empty or zero from a
    // control that does not tell.
    StatusText::RecordingInfo RecordingInfo() const;
    // Why the control refused the recording, when it says.
    QString LoadError() const;

private:
    void SetShortProperty(const char* name, std::int32_t value);

    QWidget* m_control;
    std::optional<SpectrogramParameterSet> m_params;
    std::optional<bool> m_floatSamples;
};
