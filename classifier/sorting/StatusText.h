#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

#include "keys/KeyStroke.h"

// What the main window's status bar says, worked out without a widget.
namespace StatusText {

// What the control read of a recording.
struct RecordingInfo {
    bool loaded = false;
    std::uint32_t sampleRate = 0;  // frames per second
    int channels = 0;
    int bitsPerSample = 0;
    std::int64_t totalFrames = 0;   // in the file
    std::int64_t loadedFrames = 0;  // in the picture
};

// "x.wav: 5.00 s, 48000 Hz, 2 channels, 24 bits"; "x.wav: not a readable wave
// file"; nothing for an empty cell. A picture of less than the whole
// recording says so: "x.wav: 8.00 s, 48000 Hz, 1 channel, 16 bits; the picture
// shows the first 1.00 s of 8.00 s".
QString Recording(const QString& path, const RecordingInfo& info);

// Whether the picture of a readable recording shows less than all of it.
bool IsPartial(const RecordingInfo& info);
// The cell's mark for such a picture, seconds shown of seconds in the file:
// "1.0 / 8.0 s"; nothing for a whole or unreadable recording.
QString PartialLengthMark(const RecordingInfo& info);

// Time and frequency under the pointer at `position` in a spectrogram of
// `size` pixels that shows `loadedFrames` frames at `sampleRate`:
// "0.42 s, 3.1 kHz". The picture spans the frames loaded from left to right
// and 0 Hz to half the sample rate from bottom to top. Nothing when there is
// no recording to read from.
QString Pointer(QPoint position, QSize size, std::uint32_t sampleRate, std::int64_t loadedFrames);

// A folder as the user knows it: the home folder as "~".
QString Folder(const QString& folder);

// What the status bar says of Next Batch, which reads the folder of
// `dialogPath` (the file dialog's path): that folder and, when it is known,
// the `left` wave files it holds. A folder other than `batchFolder`, the
// current batch's, comes with a warning saying why.
struct NextBatchLine {
    QString text;
    QString warning;  // empty without one
};
NextBatchLine NextBatch(const QString& dialogPath, const QString& batchFolder,
                        std::optional<int> left);

// "x.wav was not moved to /a/b/".
QString MoveFailed(const QString& path, const QString& target);

// "Playing x.wav" ("Playing x.wav at 1/10" when it plays at a tenth of its
// speed); "Could not play x.wav: <reason>"; nothing once it ended.
QString Play(const QString& path, bool playing, const QString& error, int speedDivisor = 1);

// "A key is not bound: Spectrogram > Set keystroke directory" for a key that
// types something (a letter, a digit, a sign, the space bar, a keypad key, a
// letter of another layout), alone or with Shift; nothing for every other
// keystroke: navigation, editing, function and modifier keys, and anything
// held with Ctrl or Alt, which the user meant for something else.
QString NotBound(const KeyStroke& keyStroke);

// What Tab after Classify says when it skips sorted cells and none is left.
QString EverythingSorted();

// "3 still being drawn" while `count` cells wait for their spectrograms; nothing at 0.
QString StillBeingDrawn(int count);

}  // namespace StatusText
