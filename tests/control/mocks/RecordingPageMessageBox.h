#pragma once

#include <QStringList>

#include "framework/PageMessageBox.h"

// Stands in for the pages' message boxes while it lives: records the texts
// and never blocks.
class RecordingPageMessageBox : public IPageMessageBox {
public:
    RecordingPageMessageBox() { SetPageMessageBox(this); }
    ~RecordingPageMessageBox() override { SetPageMessageBox(nullptr); }
    void ShowExclamation(QWidget*, const QString& text) override { texts.append(text); }
    QStringList texts;
};
