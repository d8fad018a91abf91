#pragma once

#include <QPointer>
#include <QString>

// Hears what becomes of a sound it asked a player for. GUI thread only.
class ISoundPlayerListener {
public:
    // The sound is now audible.
    virtual void OnPlayStarted() = 0;
    // The sound played to its end, stopped because a newer request replaced it,
    // or stopped because the application is ending.
    virtual void OnPlayEnded() = 0;
    // The sound will not play; `reason` says why in a few words for the user.
    virtual void OnPlayFailed(const QString& reason) = 0;
    // While the sound plays, at least 30 times a second: the seconds into the
    // recording of what is heard now, whatever the speed.
    virtual void OnPlayPosition(double seconds) = 0;

protected:
    ~ISoundPlayerListener() = default;
};

// Why a sound did not play, in the words the control passes on to its host.
namespace PlayFailure {
inline QString NoFile() {
    return QStringLiteral("no file");
}
inline QString FileNotFound() {
    return QStringLiteral("file not found");
}
inline QString NotARegularFile() {
    return QStringLiteral("not a regular file");
}
inline QString NoSoundOutput() {
    return QStringLiteral("no sound output");
}
inline QString FormatNotPlayable() {
    return QStringLiteral("format not playable");
}
inline QString NameNotUsable() {
    return QStringLiteral("name not usable");
}
}  // namespace PlayFailure

// Plays a wave file in the background. Play returns at once; a new request
// replaces a sound that is still playing; an empty or unplayable name plays
// nothing. GUI thread only.
//
// `speedDivisor` (1 to 20) slows the recording down by that factor: its samples
// are played at 1/speedDivisor of its rate, so every frequency in it sounds that
// many times lower and it lasts that many times longer.
class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // Starts `fileName`. `listener` (may be null) hears the start and then the end
    // or the failure of this sound, possibly before Play returns. A listener of a
    // sound still playing hears that it ended before the new sound's reports.
    virtual void Play(const QString& fileName, int speedDivisor,
                      ISoundPlayerListener* listener) = 0;
    // Ends the sound of `listener` if it is still playing; it hears that it ended.
    virtual void Stop(ISoundPlayerListener* listener) = 0;
    // `listener` hears nothing more; call it before the listener goes away.
    virtual void Forget(ISoundPlayerListener* listener) = 0;
};

// The module's player over Qt Multimedia's QAudioSink. It reads the file itself
// (every channel, a block at a time: see TimeExpandedStream), hands it to the
// default output as floats (16-bit where the output takes no floats), at the
// slowed rate when the output takes it and resampled to the output's own rate
// otherwise, and tells the position heard. A machine without an audio device
// plays nothing, does not fail, and reports "no sound output", as does a
// request without an application object.
//
// The player may outlive the application object (the module's own player is
// destroyed by the exit handlers): its output belongs to the application and
// ends, with any sound still playing, when the application's loop ends or the
// application object is destroyed. A later request opens a new output while
// an application object exists.
class QtSoundPlayer : public ISoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void Play(const QString& fileName, int speedDivisor, ISoundPlayerListener* listener) override;
    void Stop(ISoundPlayerListener* listener) override;
    void Forget(ISoundPlayerListener* listener) override;

private:
    class Output;
    QPointer<Output> m_output;  // created on the first request; owned by the application
};

// The player that controls created through the module's class objects use.
ISoundPlayer& ModuleSoundPlayer();
