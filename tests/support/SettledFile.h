#pragma once

#include <string>

#include "engine/FileIdentity.h"

// Returns once the file at `path` is settled (sonolux::IsSettled): the system
// clock's coarse tick, which file times come from, has moved past the file's last
// change. That takes at most one tick; the bound on the loop only keeps a broken
// clock from hanging the test. False when the file is missing or the clock never
// moved.
inline bool WaitUntilSettled(const std::string& path) {
    const auto identity = sonolux::IdentityOfName(path);
    if (!identity) return false;
    for (long i = 0; i < 200000000L; ++i)
        if (sonolux::IsSettled(*identity)) return true;
    return false;
}
