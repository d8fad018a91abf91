#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QString>
#include <string>

#include "control/CSonoluxCtrl.h"
#include "tests/control/mocks/FakeSoundPlayer.h"
#include "tests/support/TempFolder.h"

// A control of 150 x 100 pixels that has loaded a short recording named `name`
// from a folder of its own and drawn it once, so that its image is clean.
struct ControlShowingRecording : ::testing::Test {
    explicit ControlShowingRecording(const std::string& name) {
        control.resize(150, 100);
        control.SetFilename(QString::fromStdString(folder.WriteWave(name, {100, -200})));
        QImage target(150, 100, QImage::Format_RGB32);
        QPainter painter(&target);
        control.DrawMetafile(painter, target.rect());
    }

    TempFolder folder;
    FakeSoundPlayer player;
    CSonoluxCtrl control{player};
};
