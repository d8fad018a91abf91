#pragma once

#include "windows/PreferencesPage.h"

class QCheckBox;
class QComboBox;
class QWidget;
class TwipsPlacement;

// The "Playback" page: how slowly recordings play, and whether a recording
// plays as the selection reaches its cell.
class PlaybackPage : public PreferencesPage {
public:
    PlaybackPage(QWidget* panel, const TwipsPlacement& layout);

    void ShowValues(const IMainWindowValues& mainWindow) override;
    void ApplyValues(IMainWindowValues& mainWindow) const override;

private:
    QComboBox* cboSpeed = nullptr;
    QCheckBox* chkPlayOnSelect = nullptr;
};
