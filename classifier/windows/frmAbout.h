#pragma once

#include <QDialog>

#include "core/ScreenDpi.h"

class QPushButton;

// The about box: the program's name and an OK button. Shown modally over its
// owner, which takes no input until the box is closed.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(const ScreenDpi& dpi, QWidget* owner);

    // Shows a new box over `owner` and returns when the user has closed it.
    static void ShowModal(const ScreenDpi& dpi, QWidget* owner);

private:
    void createUi();
    void Place(QWidget* widget, int left, int top, int width, int height) const;

    ScreenDpi m_dpi;
    QPushButton* OKButton = nullptr;
};
