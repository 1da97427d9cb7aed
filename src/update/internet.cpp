#include "update/internet.h"

namespace tov {

bool IsConnected(Platform& platform, std::int16_t& flags) {
    std::uint32_t connection = 0;
    const bool online = platform.InternetConnectedState(connection);
    flags = static_cast<std::int16_t>(connection & 0xFFFF);
    return online;
}

} // namespace tov
