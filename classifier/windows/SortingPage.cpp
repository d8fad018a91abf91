#include "windows/SortingPage.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>

#include "core/MainWindowValues.h"
#include "windows/DecisionLogChooser.h"
#include "windows/TwipsPlacement.h"

SortingPage::SortingPage(QWidget* panel, const TwipsPlacement& layout,
                         const PreferencesServices& services) {
    auto* frame = new QGroupBox(QStringLiteral("While Sorting"), panel);
    frame->setObjectName(QStringLiteral("fraSorting"));
    layout.Place(frame, 120, 240, 5415, 3450);
    const struct {
        QCheckBox** target;
        const char* name;
        const char* caption;
        int top;
    } boxes[] = {
        {&chkArrowKeys, "chkArrowKeys", "Arrow keys move the selection", 420},
        {&chkStartAtFirstCell, "chkStartAtFirstCell", "Start each batch at the first cell", 780},
        {&chkSkipSortedCells, "chkSkipSortedCells", "Tab after Classify skips sorted cells", 1140},
        {&chkKeepBindings, "chkKeepBindings", "Keep key bindings between runs", 1500},
        {&chkRememberWindow, "chkRememberWindow", "Remember the window's size and place", 1860},
    };
    for (const auto& box : boxes) {
        *box.target = new QCheckBox(QString::fromLatin1(box.caption), frame);
        (*box.target)->setObjectName(QLatin1String(box.name));
        layout.Place(*box.target, 360, box.top, 4695, 285);
    }
    decisionLog =
        new DecisionLogChooser(services.fileDialogAsker, services.decisionLogDefault, frame);
    decisionLog->setObjectName(QStringLiteral("ctlDecisionLog"));
    layout.Place(decisionLog, 360, 2280, 4695, 720);
    auto* lblEmptyThreshold = new QLabel(QStringLiteral("&Likely empty below (dB):"), frame);
    lblEmptyThreshold->setObjectName(QStringLiteral("lblEmptyThreshold"));
    layout.Place(lblEmptyThreshold, 360, 3060, 2700, 285);
    spnEmptyThreshold = new QDoubleSpinBox(frame);
    spnEmptyThreshold->setObjectName(QStringLiteral("spnEmptyThreshold"));
    spnEmptyThreshold->setRange(SuggestionOptions::MinimumEmptyThresholdDb,
                                SuggestionOptions::MaximumEmptyThresholdDb);
    spnEmptyThreshold->setDecimals(1);
    spnEmptyThreshold->setSingleStep(0.5);
    lblEmptyThreshold->setBuddy(spnEmptyThreshold);
    layout.Place(spnEmptyThreshold, 3120, 3015, 1035, 330);
}

void SortingPage::ShowValues(const IMainWindowValues& mainWindow) {
    const SortingOptions options = mainWindow.GetSortingOptions();
    chkArrowKeys->setChecked(options.ArrowKeys);
    chkStartAtFirstCell->setChecked(options.StartAtFirstCell);
    chkSkipSortedCells->setChecked(options.SkipSortedCells);
    chkKeepBindings->setChecked(options.KeepBindings);
    chkRememberWindow->setChecked(options.RememberWindow);
    decisionLog->SetPath(mainWindow.DecisionLogPath());
    spnEmptyThreshold->setValue(mainWindow.GetSuggestionOptions().EmptyThresholdDb);
}

void SortingPage::ApplyValues(IMainWindowValues& mainWindow) const {
    SortingOptions options;
    options.ArrowKeys = chkArrowKeys->isChecked();
    options.StartAtFirstCell = chkStartAtFirstCell->isChecked();
    options.SkipSortedCells = chkSkipSortedCells->isChecked();
    options.KeepBindings = chkKeepBindings->isChecked();
    options.RememberWindow = chkRememberWindow->isChecked();
    mainWindow.SetSortingOptions(options);
    mainWindow.SetDecisionLogPath(decisionLog->Path());
    SuggestionOptions suggestions = mainWindow.GetSuggestionOptions();
    suggestions.EmptyThresholdDb = spnEmptyThreshold->value();
    mainWindow.SetSuggestionOptions(suggestions);
}
