#pragma once

#include <QString>
#include <cstdint>

class IMessageBox;

// Where new keystroke bindings go: the main window's key map.
class IClassifyKeySetter {
public:
    virtual ~IClassifyKeySetter() = default;
    // Binds the keystroke to the folder `TargetDir` (a final "/" is added when
    // it is missing). A folder text that is no absolute path, and a keystroke
    // that is already bound, are reported to the user and bind nothing.
    virtual void SetClassifyKey(std::int16_t keyCode, std::int16_t shift, bool classifyAll,
                                const QString& TargetDir) = 0;
};

// The whole key map, as the key list import replaces it.
class IClassifierKeys : public IClassifyKeySetter {
public:
    using IClassifyKeySetter::SetClassifyKey;
    // As SetClassifyKey, reporting a refusal in `messages`.
    virtual void SetClassifyKey(std::int16_t keyCode, std::int16_t shift, bool classifyAll,
                                const QString& TargetDir, IMessageBox& messages) = 0;
    // Removes every binding.
    virtual void EraseClassifyKeys() = 0;
};
