#pragma once

#include <array>

#include "windows/PreferencesPage.h"

class QCheckBox;
class QWidget;
class TwipsPlacement;

// The "Recordings" page: how much of a recording the cells load, which names
// a batch takes for wave files, whether float wave files are read, and how the
// picture is drawn; "Field View" turns the three picture options on or off
// together.
class RecordingsPage : public PreferencesPage {
public:
    RecordingsPage(QWidget* panel, const TwipsPlacement& layout);

    void ShowValues(const IMainWindowValues& mainWindow) override;
    void ApplyValues(IMainWindowValues& mainWindow) const override;

private:
    void connectFieldView();
    // The boxes that Field View sets together.
    std::array<QCheckBox*, 3> PictureBoxes() const;
    void ShowFieldView();

    QCheckBox* chkWholeRecording = nullptr;
    QCheckBox* chkAnyCaseWave = nullptr;
    QCheckBox* chkFloatSamples = nullptr;
    QCheckBox* chkEverySample = nullptr;
    QCheckBox* chkAutoContrast = nullptr;
    QCheckBox* chkFieldView = nullptr;
};
