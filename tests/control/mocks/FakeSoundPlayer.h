#pragma once

#include <QList>
#include <QStringList>
#include <utility>

#include "framework/SoundPlayer.h"

// Records what the control asks to play, and reports back to it what the test
// says became of the sound.
class FakeSoundPlayer : public ISoundPlayer {
public:
    void Play(const QString& fileName, int speedDivisor, ISoundPlayerListener* requester) override {
        played.append(fileName);
        divisors.append(speedDivisor);
        listener = requester;
    }
    void Stop(ISoundPlayerListener* requester) override {
        ++stops;
        if (listener == requester) End();
    }
    void Forget(ISoundPlayerListener* gone) override {
        if (listener == gone) listener = nullptr;
    }

    void Start() const {
        if (listener) listener->OnPlayStarted();
    }
    void Reach(double seconds) const {
        if (listener) listener->OnPlayPosition(seconds);
    }
    void End() {
        if (listener) std::exchange(listener, nullptr)->OnPlayEnded();
    }
    void Fail(const QString& reason) {
        if (listener) std::exchange(listener, nullptr)->OnPlayFailed(reason);
    }

    QStringList played;
    QList<int> divisors;
    int stops = 0;
    ISoundPlayerListener* listener = nullptr;  // of the last request, until it ends or fails
};
