#include "SoundPlayer.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

class QtSoundPlayer::Output {
public:
    Output() { m_player.setAudioOutput(&m_audio); }
    void Play(const QString& fileName) {
        m_player.stop();
        m_player.setSource(QUrl::fromLocalFile(fileName));
        m_player.play();
    }

private:
    QAudioOutput m_audio;
    QMediaPlayer m_player;
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
