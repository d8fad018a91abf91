#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <cstdint>

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
// file"; nothing for an empty cell.
QString Recording(const QString& path, const RecordingInfo& info);

// Time and frequency under the pointer at `position` in a spectrogram of
// `size` pixels that shows `loadedFrames` frames at `sampleRate`:
// "0.42 s, 3.1 kHz". The picture spans the frames loaded from left to right
// and 0 Hz to half the sample rate from bottom to top. Nothing when there is
// no recording to read from.
QString Pointer(QPoint position, QSize size, std::uint32_t sampleRate, std::int64_t loadedFrames);

// A folder as the user knows it: the home folder as "~".
QString Folder(const QString& folder);

// What the status bar says of Next Batch, which reads the folder of
// `dialogPath` (the file dialog's path): that folder and, when it is
// `batchFolder`, the current batch's folder, the `left` wave files it holds.
// A folder other than the batch's comes with a warning saying why.
struct NextBatchLine {
    QString text;
    QString warning;  // empty without one
};
NextBatchLine NextBatch(const QString& dialogPath, const QString& batchFolder, int left);

// "x.wav was not moved to /a/b/".
QString MoveFailed(const QString& path, const QString& target);

// "Playing x.wav" ("Playing x.wav at 1/10" when it plays at a tenth of its
// speed); "Could not play x.wav: <reason>"; nothing once it ended.
QString Play(const QString& path, bool playing, const QString& error, int speedDivisor = 1);

}  // namespace StatusText
