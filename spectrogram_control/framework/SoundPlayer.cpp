#include "framework/SoundPlayer.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMediaDevices>
#include <QObject>
#include <QPointer>
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

// Every player's output lives under one object owned by the application
// object, and is torn down before the application object is gone: when the
// application's loop has ended and, for a host that never runs it, from the
// application object's destructor (a post routine runs there while the
// application is still whole). A QSoundEffect destroyed any later, by the exit
// handlers, posts an event to an application that no longer exists.
//
// Defined before the remover below, so that it is still there when that runs.
QPointer<QObject> g_outputOwner;

void EndSoundOutputs() {
    delete g_outputOwner.data();
}

// A module that is unloaded while the application lives takes its outputs
// with it, and must not leave Qt a post routine to call into its unmapped code.
struct PostRoutineRemover {
    ~PostRoutineRemover() {
        qRemovePostRoutine(EndSoundOutputs);
        EndSoundOutputs();
    }
} g_postRoutineRemover;

// The owner of new outputs; null when there is no application to outlive.
QObject* OutputOwnerForNewOutput() {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) return nullptr;
    if (!g_outputOwner) {
        g_outputOwner = new QObject(application);
        QObject::connect(application, &QCoreApplication::aboutToQuit, g_outputOwner,
                         &EndSoundOutputs);
        // Once, however often the outputs were ended and opened again.
        qRemovePostRoutine(EndSoundOutputs);
        qAddPostRoutine(EndSoundOutputs);
    }
    return g_outputOwner;
}

}  // namespace

// QSoundEffect reads wave files itself and plays them through the audio
// device, so playing needs no media framework plug-ins. It loads in the
// background and starts as soon as the file is read; its playing flag and its
// status tell when the sound starts, ends or cannot be decoded.
class QtSoundPlayer::Output : public QObject {
public:
    explicit Output(QObject* owner) : QObject(owner) {
        QObject::connect(&m_effect, &QSoundEffect::playingChanged, &m_effect,
                         [this] { OnPlayingChanged(); });
        QObject::connect(&m_effect, &QSoundEffect::statusChanged, &m_effect,
                         [this] { OnStatusChanged(); });
    }

    // A sound still playing stops with its output; its listener hears so.
    ~Output() override {
        m_effect.disconnect();
        m_effect.stop();
        ISoundPlayerListener* listener = std::exchange(m_listener, nullptr);
        if (!listener) return;
        if (m_started) {
            listener->OnPlayEnded();
        } else {
            listener->OnPlayFailed(PlayFailure::NoSoundOutput());
        }
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

QtSoundPlayer::~QtSoundPlayer() {
    delete m_output.data();
}

void QtSoundPlayer::Play(const QString& fileName, ISoundPlayerListener* listener) {
    // A request that cannot play leaves a sound that is playing alone.
    const QString failure = WhyNotPlayable(fileName);
    if (!failure.isEmpty()) {
        if (listener) listener->OnPlayFailed(failure);
        return;
    }
    if (!m_output) {
        QObject* owner = OutputOwnerForNewOutput();
        if (!owner) {
            if (listener) listener->OnPlayFailed(PlayFailure::NoSoundOutput());
            return;
        }
        m_output = new Output(owner);
    }
    m_output->Play(fileName, listener);
}

void QtSoundPlayer::Forget(ISoundPlayerListener* listener) {
    if (m_output) m_output->Forget(listener);
}

ISoundPlayer& ModuleSoundPlayer() {
    static QtSoundPlayer player;
    return player;
}
