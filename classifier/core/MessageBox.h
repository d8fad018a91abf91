#pragma once

#include <QString>

class QWidget;

// The program's message boxes: titled "Corvane", with an exclamation icon.
// Tests replace it to record the texts and answer the questions.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    // A message with an OK button.
    virtual void Warn(const QString& text) = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool AskOkCancel(const QString& text) = 0;
    // A message with an OK button and no icon.
    virtual void Inform(const QString& text) = 0;
    // The same message over `owner`, a window of the program other than the
    // one the box usually belongs to, so that it shows in front of that window
    // (a modeless dialog's refusal). Boxes without windows need not care.
    virtual void InformOver(QWidget* /*owner*/, const QString& text) { Inform(text); }
};
