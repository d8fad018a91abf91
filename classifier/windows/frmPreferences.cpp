#include "windows/frmPreferences.h"

frmPreferences::frmPreferences(IMainWindowValues&, IMessageBox&, const ScreenDpi&, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Preferences"));
}

void frmPreferences::Update() {}

void frmPreferences::ShowModeless() {
    show();
    raise();
    activateWindow();
}
