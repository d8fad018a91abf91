#pragma once

#include <QKeySequence>
#include <QString>
#include <vector>

class ClassifierKeyMap;
class QAction;

// Menu shortcuts give way to keystroke bindings: a keystroke that the user has
// bound to a folder classifies every time, whatever menu item also carries it.
// The item keeps its caption and command; its shortcut comes back when the
// binding goes.
class MenuShortcuts {
public:
    // Remembers `action`'s present shortcut as the one it has while unbound.
    void Add(QAction* action);
    // Takes the shortcut off every item whose keystroke `map` binds and gives it
    // back to every other item.
    void Follow(const ClassifierKeyMap& map);

private:
    struct Item {
        QAction* action;
        QKeySequence shortcut;
        QString bindingKey;  // the shortcut as the key map names keystrokes
    };
    std::vector<Item> m_items;
};
