#pragma once
// The settings in memory, read once at start-up.
#include "platform/platform.h"

namespace tov {

struct State;

// Start-up's settings step: fills the in-memory values from the store.
void LoadSettings(Platform& platform, State& state);

} // namespace tov
