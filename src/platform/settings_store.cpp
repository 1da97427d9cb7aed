#include "platform/settings_store.h"

#include <cctype>
#include <cstdint>
#include <limits>

namespace tov {

std::string GetSetting(Platform& platform, const std::string& key, int defaultValue) {
    if (auto value = platform.ReadSetting(kAppName, kSettingsSection, key))
        return *value;
    return std::to_string(defaultValue);
}

void SaveSetting(Platform& platform, const std::string& key, const std::string& value) {
    platform.WriteSetting(kAppName, kSettingsSection, key, value);
}

std::int16_t SettingToInt16(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long long value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        value = value * 10 + (text[i++] - '0');
        if (value > std::numeric_limits<std::uint16_t>::max())
            break; // already past 16 bits; the clamp below decides
    }
    if (negative)
        value = -value;
    // A stored number outside 16 bits is clamped rather than wrapped, so a bad value
    // cannot turn into a plausible-looking other one.
    if (value > std::numeric_limits<std::int16_t>::max())
        value = std::numeric_limits<std::int16_t>::max();
    if (value < std::numeric_limits<std::int16_t>::min())
        value = std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(value);
}

bool SettingToBool(const std::string& text) {
    return SettingToInt16(text) != 0;
}

} // namespace tov
