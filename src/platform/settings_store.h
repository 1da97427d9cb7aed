#pragma once
// Settings are texts under application "Tovlen", section "settings".
#include "platform/platform.h"

#include <cstdint>
#include <string>

namespace tov {

// The program's name: its settings application and the title of its windows and messages.
inline constexpr const char* kAppName = "Tovlen";
inline constexpr const char* kSettingsSection = "settings";

// The setting's text, or the default's decimal text when it is absent.
std::string GetSetting(Platform& platform, const std::string& key, int defaultValue);
void SaveSetting(Platform& platform, const std::string& key, const std::string& value);

// Reads a number as the settings store has always been read: leading blanks, an optional
// sign, digits; anything else ends the number. The value is kept within 16 bits.
std::int16_t SettingToInt16(const std::string& text);
// "0" is false; any other number is true; text that is no number is false.
bool SettingToBool(const std::string& text);

} // namespace tov
