#pragma once

#include "core/FileDialogAsker.h"

class QWidget;

// A modal QFileDialog owned by `owner`.
class QtFileDialogAsker : public IFileDialogAsker {
public:
    explicit QtFileDialogAsker(QWidget* owner = nullptr) : m_owner(owner) {}
    void SetOwner(QWidget* owner) { m_owner = owner; }
    std::optional<QString> Ask(const FileDialogRequest& request) override;

private:
    QWidget* m_owner;
};
