#include "SoundPlayer.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

// QSoundEffect reads wave files itself and plays them through the audio
// device, so playing needs no media framework plug-ins. It loads in the
// background and starts as soon as the file is read.
class QtSoundPlayer::Output {
public:
    void Play(const QString& fileName) {
        m_effect.stop();
        m_effect.setSource(QUrl::fromLocalFile(fileName));
        m_effect.play();
    }

private:
    QSoundEffect m_effect;
};

QtSoundPlayer::QtSoundPlayer() = default;
QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::Play(const QString& fileName) {
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile()) return;
    if (QMediaDevices::audioOutputs().isEmpty()) return;
    if (!m_output) m_output = std::make_unique<Output>();
    m_output->Play(fileName);
}

ISoundPlayer& ModuleSoundPlayer() {
    static QtSoundPlayer player;
    return player;
}
