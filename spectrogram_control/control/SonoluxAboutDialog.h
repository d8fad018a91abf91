#pragma once

#include <QDialog>

// The control's About dialog: its name and version, and an OK button.
class SonoluxAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit SonoluxAboutDialog(QWidget* parent = nullptr);
};
