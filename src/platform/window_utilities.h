#pragma once
#include "platform/platform.h"

namespace tov {

constexpr int kTransparencyDone = 0;
constexpr int kTransparencyOutOfRange = 1;
constexpr int kTransparencyFailed = 2;

// Makes a window layered with the given opacity (0 invisible .. 255 opaque).
int SetTransparency(Platform& platform, WindowHandle window, int opacity);

} // namespace tov
