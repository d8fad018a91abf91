#include "loupe/LoupeText.h"

#include "files/FileSystem.h"

namespace LoupeText {

QString NoRecording() {
    return QStringLiteral("No recording selected");
}

QString NoControl() {
    return QStringLiteral("The spectrogram control cannot be created.");
}

QString Kilohertz(std::uint32_t sampleRate) {
    return QStringLiteral("%1 kHz").arg(QString::number(sampleRate / 1000.0, 'g', 10));
}

QString Caption(const QString& path, const StatusText::RecordingInfo& info,
                const QString& loadError) {
    if (path.isEmpty()) return NoRecording();
    const QString name = FileSystem::GetFileName(path);
    if (!info.loaded || info.sampleRate == 0) {
        const QString refused = QStringLiteral("%1 — not a readable wave file").arg(name);
        return loadError.isEmpty() ? refused : QStringLiteral("%1 (%2)").arg(refused, loadError);
    }
    const auto seconds = [&info](std::int64_t frames) {
        return QString::number(static_cast<double>(frames) / info.sampleRate, 'f', 2);
    };
    QString caption = QStringLiteral("%1 — %2 s, %3")
                          .arg(name, seconds(info.totalFrames), Kilohertz(info.sampleRate));
    if (info.loadedFrames < info.totalFrames)
        caption += QStringLiteral(" (the first %1 s shown)").arg(seconds(info.loadedFrames));
    return caption;
}

}  // namespace LoupeText
