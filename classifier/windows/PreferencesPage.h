#pragma once

#include <QString>

class IFileDialogAsker;
class IMainWindowValues;

// What a page may need beyond the main window's values.
struct PreferencesServices {
    IFileDialogAsker& fileDialogAsker;
    // The decision log's file when the user turns the log on without choosing one.
    QString decisionLogDefault;
};

// One page of the Preferences dialog, one concern each: the controls it
// builds into its panel, filled from the main window's values and pushed back
// on Apply. The panel owns the controls; the dialog owns the page.
class PreferencesPage {
public:
    virtual ~PreferencesPage() = default;

    // Refreshes every control from the main window's current values.
    virtual void ShowValues(const IMainWindowValues& mainWindow) = 0;
    // Pushes the page's values to the main window. Throws CorvaneError when a
    // value is refused; the other pages are applied all the same.
    virtual void ApplyValues(IMainWindowValues& mainWindow) const = 0;
};
