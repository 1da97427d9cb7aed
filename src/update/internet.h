#pragma once
#include "platform/platform.h"

#include <cstdint>

namespace tov {

// Whether the system reports a connection to the Internet; `flags` receives how it is
// connected (the INTERNET_CONNECTION_* bits that fit in 16 bits).
bool IsConnected(Platform& platform, std::int16_t& flags);

} // namespace tov
