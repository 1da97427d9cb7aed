#pragma once
#include "platform/types.h"

namespace tov {

struct App;

constexpr int kTransparencyDone = 0;
constexpr int kTransparencyOutOfRange = 1;
constexpr int kTransparencyFailed = 2;

// Makes a window layered with the given opacity (0 invisible .. 255 opaque).
int SetTransparency(App& app, WindowHandle window, int opacity);

} // namespace tov
