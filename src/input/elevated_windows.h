#pragma once
// Windows keeps the keys typed into a program that runs as administrator from the hooks of a
// program that does not, so the activation key does nothing over such a window. Raw input still
// hears those keys: they are no sign of a lost hook, and the first activation key of a session
// that went that way is worth a line in the log, which says why nothing opened.
#include "platform/platform.h"

#include <cstdint>

namespace tov {

struct ElevatedWindowNotice {
    bool logged = false; // this session's line is written
};

// Whether the key that raw input heard passed the hook by because it went to a window of a
// program that runs above this one; logs the first such activation key press of the session.
bool KeyWentToElevatedWindow(Platform& platform, ElevatedWindowNotice& notice, const WatchdogNews& news,
                             std::uint32_t activationKey);

} // namespace tov
