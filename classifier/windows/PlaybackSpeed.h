#pragma once

#include <QString>
#include <cstdint>

// How a playback speed is named in the menu and on the Preferences page.
namespace PlaybackSpeed {

// "1x" for a recording's own speed, "1/10" for a tenth of it.
inline QString Caption(std::int16_t divisor) {
    if (divisor <= 1) return QStringLiteral("1x");
    return QStringLiteral("1/%1").arg(divisor);
}

}  // namespace PlaybackSpeed
