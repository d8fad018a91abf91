#include "windows/MenuShortcuts.h"

#include <QAction>
#include <QKeyEvent>

#include "keys/ClassifierKeyMap.h"
#include "keys/KeyEventTranslation.h"
#include "keys/mdlKeycodes.h"

namespace {

// The binding key the main window forms when this shortcut's keys are pressed.
QString BindingKeyOf(const QKeySequence& shortcut) {
    if (shortcut.isEmpty()) return {};
    const QKeyCombination keys = shortcut[0];
    const QKeyEvent press(QEvent::KeyPress, keys.key(), keys.keyboardModifiers());
    return mdlKeycodes::BindingKey(KeyStrokeFromEvent(press));
}

}  // namespace

void MenuShortcuts::Add(QAction* action) {
    const QKeySequence shortcut = action->shortcut();
    if (shortcut.isEmpty()) return;
    m_items.push_back({action, shortcut, BindingKeyOf(shortcut)});
}

void MenuShortcuts::Follow(const ClassifierKeyMap& map) {
    for (const Item& item : m_items) {
        const bool bound = map.Find(item.bindingKey).has_value();
        item.action->setShortcut(bound ? QKeySequence() : item.shortcut);
    }
}
