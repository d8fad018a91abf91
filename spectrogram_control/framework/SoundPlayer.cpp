#include "SoundPlayer.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QObject>
#include <QSoundEffect>
#include <QUrl>
#include <utility>

namespace {

// Why `fileName` cannot be played at all; empty when it may be.
QString WhyNotPlayable(const QString& fileName) {
    if (fileName.isEmpty()) return PlayFailure::NoFile();
    const QFileInfo file(fileName);
    if (!file.exists()) return PlayFailure::FileNotFound();
    if (!file.isFile()) return PlayFailure::NotARegularFile();
    if (QMediaDevices::audioOutputs().isEmpty()) return PlayFailure::NoSoundOutput();
    return {};
}

}  // namespace

// QSoundEffect reads wave files itself and plays them through the audio
// device, so playing needs no media framework plug-ins. It loads in the
// background and starts as soon as the file is read; its playing flag and its
// status tell when the sound starts, ends or cannot be decoded.
class QtSoundPlayer::Output {
public:
    Output() {
        QObject::connect(&m_effect, &QSoundEffect::playingChanged, &m_effect,
                         [this] { OnPlayingChanged(); });
        QObject::connect(&m_effect, &QSoundEffect::statusChanged, &m_effect,
                         [this] { OnStatusChanged(); });
    }

    void Play(const QString& fileName, ISoundPlayerListener* listener) {
        // Detached first, so that the stop below reports nothing to anyone.
        ISoundPlayerListener* replaced = std::exchange(m_listener, nullptr);
        m_started = false;
        m_effect.stop();
        if (replaced) replaced->OnPlayEnded();
        m_listener = listener;
        m_effect.setSource(QUrl::fromLocalFile(fileName));
        m_effect.play();
        // The same file again after it failed: no status change will come.
        if (m_effect.status() == QSoundEffect::Error) Fail();
    }

    void Forget(ISoundPlayerListener* listener) {
        if (m_listener == listener) m_listener = nullptr;
    }

private:
    void OnPlayingChanged() {
        if (m_effect.isPlaying()) {
            if (!std::exchange(m_started, true) && m_listener) m_listener->OnPlayStarted();
            return;
        }
        if (!std::exchange(m_started, false)) return;
        if (ISoundPlayerListener* listener = std::exchange(m_listener, nullptr)) {
            listener->OnPlayEnded();
        }
    }

    void OnStatusChanged() {
        if (m_effect.status() == QSoundEffect::Error) Fail();
    }

    void Fail() {
        m_started = false;
        if (ISoundPlayerListener* listener = std::exchange(m_listener, nullptr)) {
            listener->OnPlayFailed(PlayFailure::FormatNotPlayable());
        }
    }

    QSoundEffect m_effect;
    ISoundPlayerListener* m_listener = nullptr;  // of the current sound, not owned
    bool m_started = false;                      // the current sound has been heard
};

QtSoundPlayer::QtSoundPlayer() = default;
QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::Play(const QString& fileName, ISoundPlayerListener* listener) {
    // A request that cannot play leaves a sound that is playing alone.
    const QString failure = WhyNotPlayable(fileName);
    if (!failure.isEmpty()) {
        if (listener) listener->OnPlayFailed(failure);
        return;
    }
    if (!m_output) m_output = std::make_unique<Output>();
    m_output->Play(fileName, listener);
}

void QtSoundPlayer::Forget(ISoundPlayerListener* listener) {
    if (m_output) m_output->Forget(listener);
}

ISoundPlayer& ModuleSoundPlayer() {
    static QtSoundPlayer player;
    return player;
}
