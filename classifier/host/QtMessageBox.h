#pragma once

#include "core/MessageBox.h"

class QWidget;

// Modal QMessageBox windows owned by `owner`.
class QtMessageBox : public IMessageBox {
public:
    explicit QtMessageBox(QWidget* owner = nullptr) : m_owner(owner) {}
    void SetOwner(QWidget* owner) { m_owner = owner; }
    void Warn(const QString& text) override;
    bool AskOkCancel(const QString& text) override;
    void Inform(const QString& text) override;
    void InformOver(QWidget* owner, const QString& text) override;

private:
    QWidget* m_owner;
};
