#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "keys/ClassifierKeyMap.h"
#include "keys/KeyStroke.h"

class IMessageBox;

// The user's keystroke bindings as the program changes them: a new binding is
// checked before it reaches the key map, and a refusal is told to the user.
class KeyBindings {
public:
    // Binds the keystroke to the folder `TargetDir`, stored with a final "/".
    // A folder text that is no absolute path is refused before the keystroke
    // is looked at, so the user hears about it even when the keystroke is
    // taken too; a keystroke that is already bound keeps its folder. Either
    // refusal is said in `messages`, and the result is false.
    bool Bind(std::int16_t keyCode, std::int16_t shift, bool classifyAll, const QString& TargetDir,
              IMessageBox& messages);
    void Erase() { m_map.Clear(); }

    // The binding the keystroke classifies with, if any.
    std::optional<ClassifierKeyMap::Binding> Find(const KeyStroke& keyStroke) const;
    const ClassifierKeyMap& Map() const { return m_map; }

private:
    ClassifierKeyMap m_map;
};
