#pragma once

#include <QDialog>

#include "core/ScreenDpi.h"

class IMainWindowValues;
class IMessageBox;

// The modeless Preferences dialog. For now an empty window, so that the
// menu item that opens it has somewhere to go.
class frmPreferences : public QDialog {
    Q_OBJECT
public:
    // `mainWindow` and `messages` must outlive the dialog.
    frmPreferences(IMainWindowValues& mainWindow, IMessageBox& messages, const ScreenDpi& dpi,
                   QWidget* parent = nullptr);

    // Refreshes the dialog from the main window's current values.
    void Update();
    // Shows the dialog modeless and brings it to the front.
    void ShowModeless();
};
