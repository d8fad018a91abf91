#pragma once

#include "windows/PreferencesPage.h"

class DecisionLogChooser;
class QCheckBox;
class QDoubleSpinBox;
class QWidget;
class TwipsPlacement;

// The "Sorting" page: how the selection moves through the grid, and what a
// run keeps for the next one, and below what activity the folders'
// suggestions call a recording likely empty.
class SortingPage : public PreferencesPage {
public:
    SortingPage(QWidget* panel, const TwipsPlacement& layout, const PreferencesServices& services);

    void ShowValues(const IMainWindowValues& mainWindow) override;
    void ApplyValues(IMainWindowValues& mainWindow) const override;

private:
    QCheckBox* chkArrowKeys = nullptr;
    QCheckBox* chkStartAtFirstCell = nullptr;
    QCheckBox* chkSkipSortedCells = nullptr;
    QCheckBox* chkKeepBindings = nullptr;
    QCheckBox* chkRememberWindow = nullptr;
    DecisionLogChooser* decisionLog = nullptr;
    QDoubleSpinBox* spnEmptyThreshold = nullptr;
};
