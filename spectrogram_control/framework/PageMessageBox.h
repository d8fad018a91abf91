#pragma once

#include <QString>

#include "sonolux/SonoluxModule.h"

class QWidget;

// How a property page tells the user that an entry was refused: a modal box
// with the exclamation icon and an OK button. Tests replace it so that no box
// ever blocks them.
class SONOLUX_EXPORT IPageMessageBox {
public:
    virtual ~IPageMessageBox() = default;
    virtual void ShowExclamation(QWidget* owner, const QString& text) = 0;
};

// The box every page uses. `messages` replaces the real one (null restores
// it); the caller keeps ownership and must keep it alive while it is set.
SONOLUX_EXPORT IPageMessageBox& PageMessageBox();
SONOLUX_EXPORT void SetPageMessageBox(IPageMessageBox* messages);
