#include "windows/ActiveTextEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>

namespace ActiveTextEditor {
namespace {

QWidget* FocusedControl() {
    QWidget* active = QApplication::activeWindow();
    return active ? active->focusWidget() : nullptr;
}

}  // namespace

bool IsTextControlActive() {
    QWidget* focused = FocusedControl();
    return qobject_cast<QLineEdit*>(focused) || qobject_cast<QComboBox*>(focused);
}

QLineEdit* Editor() {
    QWidget* focused = FocusedControl();
    if (auto* edit = qobject_cast<QLineEdit*>(focused)) return edit;
    if (auto* combo = qobject_cast<QComboBox*>(focused)) return combo->lineEdit();
    return nullptr;
}

bool ClipboardHoldsText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

void Cut() {
    QLineEdit* edit = Editor();
    if (!edit || !edit->hasSelectedText()) return;
    QGuiApplication::clipboard()->setText(edit->selectedText());
    edit->del();
}

void Copy() {
    QLineEdit* edit = Editor();
    if (!edit || !edit->hasSelectedText()) return;
    QGuiApplication::clipboard()->setText(edit->selectedText());
}

void Paste() {
    QLineEdit* edit = Editor();
    if (edit) edit->insert(QGuiApplication::clipboard()->text());
}

void Clear() {
    QLineEdit* edit = Editor();
    if (edit && edit->hasSelectedText()) edit->del();
}

}  // namespace ActiveTextEditor
