#pragma once

#include <QString>


class QWidget;

// How a property page tells the user that an entry was refused: a modal box
// with the exclamation icon and an OK button. Tests replace it so that no box
// ever blocks them.
class IPageMessageBox {
public:
    virtual ~IPageMessageBox() = default;
    virtual void ShowExclamation(QWidget* owner, const QString& text) = 0;
};

// The box every page uses. `messages` replaces the real one (null restores
// it); the caller keeps ownership and must keep it alive while it is set.
IPageMessageBox& PageMessageBox();
void SetPageMessageBox(IPageMessageBox* messages);
