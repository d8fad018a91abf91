#pragma once

#include <memory>
#include <vector>

#include "windows/PreferencesPage.h"
#include "windows/TabbedDialog.h"

class IMainWindowValues;

// The modeless Preferences dialog: what Corvane offers beyond the Options
// dialog, one tabbed page per concern ("Recordings", "Playback", "Sorting"). Like the Options dialog
// it holds no values of its own: Update copies them from the main window,
// Apply and OK push every page's values back, Cancel pushes nothing.
class frmPreferences : public TabbedDialog {
    Q_OBJECT
public:
    // `mainWindow`, `messages` and the services' asker must outlive the dialog.
    frmPreferences(IMainWindowValues& mainWindow, IMessageBox& messages, const ScreenDpi& dpi,
                   PreferencesServices services, QWidget* parent = nullptr);
    ~frmPreferences() override;

    // Loads the dialog if it is not loaded, then refreshes every page from the
    // main window's current values. Unapplied edits are lost.
    void Update();

private:
    void createUi();
    // Every page is applied, even after one of them was refused.
    void Apply() override;

    IMainWindowValues& m_mainWindow;
    PreferencesServices m_services;
    std::vector<std::unique_ptr<PreferencesPage>> m_pages;
};
