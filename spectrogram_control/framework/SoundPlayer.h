#pragma once

#include <QString>
#include <memory>

#include "sonolux/SonoluxModule.h"

// Plays a wave file in the background. Play returns at once; a new request
// replaces a sound that is still playing; an empty or unplayable name plays
// nothing. GUI thread only.
class SONOLUX_EXPORT ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    virtual void Play(const QString& fileName) = 0;
};

// The module's player over Qt Multimedia. A machine without an audio device
// plays nothing and does not fail.
class SONOLUX_EXPORT QtSoundPlayer : public ISoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void Play(const QString& fileName) override;

private:
    class Output;
    std::unique_ptr<Output> m_output;  // created on the first request
};

// The player that controls created through the module's class objects use.
SONOLUX_EXPORT ISoundPlayer& ModuleSoundPlayer();
