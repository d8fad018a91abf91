#pragma once

#include <QStringList>

#include "SoundPlayer.h"

// Records what the control asks to play.
class FakeSoundPlayer : public ISoundPlayer {
public:
    void Play(const QString& fileName) override { played.append(fileName); }
    QStringList played;
};
