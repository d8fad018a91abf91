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
};

// Modal QMessageBox windows owned by `owner`.
class QtMessageBox : public IMessageBox {
public:
    explicit QtMessageBox(QWidget* owner = nullptr) : m_owner(owner) {}
    void SetOwner(QWidget* owner) { m_owner = owner; }
    void Warn(const QString& text) override;
    bool AskOkCancel(const QString& text) override;
    void Inform(const QString& text) override;

private:
    QWidget* m_owner;
};
