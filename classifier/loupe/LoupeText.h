#pragma once

#include <QString>
#include <cstdint>

#include "sorting/StatusText.h"

// What the loupe says of the recording it shows, worked out without a widget.
namespace LoupeText {

// "No recording selected".
QString NoRecording();
// "The spectrogram control cannot be created."
QString NoControl();

// "bird.wav — 8.00 s, 48 kHz": the recording's name and whole length. When the
// picture holds less than the file, "(the first 87.38 s shown)" follows; a
// file the control refused is "bird.wav — not a readable wave file", with
// the control's `loadError` in brackets when it gave one.
QString Caption(const QString& path, const StatusText::RecordingInfo& info,
                const QString& loadError);

// A sample rate in kHz as few digits as it needs: "48 kHz", "22.05 kHz".
QString Kilohertz(std::uint32_t sampleRate);

}  // namespace LoupeText
