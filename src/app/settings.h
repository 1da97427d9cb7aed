#pragma once
// Settings are texts under application "Tovlen", section "settings", read once at start-up.
#include "platform/platform.h"

#include <cstdint>
#include <string>

namespace tov {

struct State;

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

// Start-up's settings step: fills the in-memory values from the store.
void LoadSettings(Platform& platform, State& state);

} // namespace tov
