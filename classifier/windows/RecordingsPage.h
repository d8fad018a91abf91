#pragma once

#include "windows/PreferencesPage.h"

class QCheckBox;
class QWidget;
class TwipsPlacement;

// The "Recordings" page: how much of a recording the cells load, which names
// a batch takes for wave files, and whether float wave files are read.
class RecordingsPage : public PreferencesPage {
public:
    RecordingsPage(QWidget* panel, const TwipsPlacement& layout);

    void ShowValues(const IMainWindowValues& mainWindow) override;
    void ApplyValues(IMainWindowValues& mainWindow) const override;

private:
    QCheckBox* chkWholeRecording = nullptr;
    QCheckBox* chkAnyCaseWave = nullptr;
    QCheckBox* chkFloatSamples = nullptr;
};
