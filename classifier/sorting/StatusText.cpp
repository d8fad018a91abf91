#include "sorting/StatusText.h"

#include <QDir>
#include <algorithm>

#include "files/FileSystem.h"
#include "keys/mdlKeycodes.h"

namespace StatusText {

namespace {

struct ShownOfTotal {
    QString shown;
    QString total;
};

// Seconds shown and seconds in the file, with at least `decimals` places and
// more where that is what tells them apart: 48000 of 48001 frames must not
// read as a whole recording.
ShownOfTotal Seconds(const RecordingInfo& info, int decimals) {
    const double rate = info.sampleRate;
    const double shown = static_cast<double>(info.loadedFrames) / rate;
    const double total = static_cast<double>(info.totalFrames) / rate;
    ShownOfTotal texts;
    for (int places = decimals; places <= 6; ++places) {
        texts = {QString::number(shown, 'f', places), QString::number(total, 'f', places)};
        if (texts.shown != texts.total) break;
    }
    return texts;
}

}  // namespace

QString Recording(const QString& path, const RecordingInfo& info) {
    if (path.isEmpty()) return {};
    const QString name = FileSystem::GetFileName(path);
    if (!info.loaded || info.sampleRate == 0)
        return QStringLiteral("%1: not a readable wave file").arg(name);
    const double seconds = static_cast<double>(info.totalFrames) / info.sampleRate;
    QString text =
        QStringLiteral("%1: %2 s, %3 Hz, %4, %5 bits")
            .arg(name, QString::number(seconds, 'f', 2), QString::number(info.sampleRate),
                 info.channels == 1 ? QStringLiteral("1 channel")
                                    : QStringLiteral("%1 channels").arg(info.channels),
                 QString::number(info.bitsPerSample));
    if (IsPartial(info)) {
        const ShownOfTotal partial = Seconds(info, 2);
        text += QStringLiteral("; the picture shows the first %1 s of %2 s")
                    .arg(partial.shown, partial.total);
    }
    return text;
}

bool IsPartial(const RecordingInfo& info) {
    return info.loaded && info.sampleRate > 0 && info.loadedFrames >= 0 &&
           info.loadedFrames < info.totalFrames;
}

QString PartialLengthMark(const RecordingInfo& info) {
    if (!IsPartial(info)) return {};
    const ShownOfTotal partial = Seconds(info, 1);
    return QStringLiteral("%1 / %2 s").arg(partial.shown, partial.total);
}

QString Pointer(QPoint position, QSize size, std::uint32_t sampleRate, std::int64_t loadedFrames) {
    if (sampleRate == 0 || loadedFrames <= 0 || size.width() <= 0 || size.height() <= 0) return {};
    // The middle of the pixel under the pointer.
    const double across = std::clamp((position.x() + 0.5) / size.width(), 0.0, 1.0);
    const double up = std::clamp(1.0 - (position.y() + 0.5) / size.height(), 0.0, 1.0);
    const double seconds = across * static_cast<double>(loadedFrames) / sampleRate;
    const double kiloHertz = up * sampleRate / 2.0 / 1000.0;
    return QStringLiteral("%1 s, %2 kHz")
        .arg(QString::number(seconds, 'f', 2), QString::number(kiloHertz, 'f', 1));
}

QString Folder(const QString& folder) {
    static const QString home = QDir::homePath();
    if (folder == home) return QStringLiteral("~");
    if (home != QLatin1String("/") && folder.startsWith(home + QLatin1Char('/')))
        return QLatin1Char('~') + folder.mid(home.size());
    return folder;
}

NextBatchLine NextBatch(const QString& dialogPath, const QString& batchFolder,
                        std::optional<int> left) {
    if (dialogPath.isEmpty()) return {};
    const QString folder = FileSystem::GetParentFolderName(dialogPath);
    if (folder.isEmpty()) {
        return {QStringLiteral("Next Batch: no folder"),
                QStringLiteral("A cancelled file dialog left no folder: Next Batch will leave "
                               "the grid empty.")};
    }
    QString text = QStringLiteral("Next Batch: %1").arg(Folder(folder));
    if (left) text += QStringLiteral(" - %1 left").arg(*left);
    if (batchFolder.isEmpty() || folder == batchFolder ||
        FileSystem::GetAbsolutePathName(folder) == batchFolder)
        return {text, {}};
    return {text, QStringLiteral("A file dialog changed the folder: this batch came from %1, but "
                                 "Next Batch will read %2.")
                      .arg(Folder(batchFolder), Folder(folder))};
}

QString MoveFailed(const QString& path, const QString& target) {
    return QStringLiteral("%1 was not moved to %2").arg(FileSystem::GetFileName(path), target);
}

QString Play(const QString& path, bool playing, const QString& error, int speedDivisor) {
    const QString name = FileSystem::GetFileName(path);
    if (playing && speedDivisor > 1)
        return QStringLiteral("Playing %1 at 1/%2").arg(name).arg(speedDivisor);
    if (playing) return QStringLiteral("Playing %1").arg(name);
    if (!error.isEmpty()) return QStringLiteral("Could not play %1: %2").arg(name, error);
    return {};
}

namespace {

bool TypesSomething(std::int16_t keyCode) {
    const int code = static_cast<std::uint16_t>(keyCode);
    return code == 0x20                                       // space bar
           || (code >= 0x30 && code <= 0x39)                  // digits
           || (code >= 0x41 && code <= 0x5A)                  // letters
           || (code >= 0x60 && code <= 0x6F && code != 0x6C)  // keypad, but its Enter
           || (code >= 0xBA && code <= 0xC0)                  // ; = , - . / `
           || (code >= 0xDB && code <= 0xDE)                  // [ \ ] '
           || (code >= 0x180 && code <= 0x40FF);              // other layouts' characters
}

}  // namespace

QString NotBound(const KeyStroke& keyStroke) {
    if ((keyStroke.Shift & ~ShiftBit::Shift) != 0 || !TypesSomething(keyStroke.KeyCode)) return {};
    return QStringLiteral("%1 is not bound: Spectrogram > Set keystroke directory")
        .arg(mdlKeycodes::KeyText(keyStroke.KeyCode, keyStroke.Shift));
}

QString EverythingSorted() {
    return QStringLiteral("Every recording on screen is sorted: Next Batch (Ctrl+B)");
}

QString StillBeingDrawn(int count) {
    return count > 0 ? QStringLiteral("%1 still being drawn").arg(count) : QString();
}

}  // namespace StatusText
