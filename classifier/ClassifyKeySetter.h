#pragma once

#include <QString>
#include <cstdint>

// Where new keystroke bindings go: the main window's key map.
class IClassifyKeySetter {
public:
    virtual ~IClassifyKeySetter() = default;
    // Binds the keystroke to `TargetDir`; a keystroke that is already bound is
    // reported to the user and left as it was.
    virtual void SetClassifyKey(std::int16_t keyCode, std::int16_t shift, bool classifyAll,
                                const QString& TargetDir) = 0;
};
