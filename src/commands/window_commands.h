#pragma once
// Commands on other programs' windows: the one that was in front when the command window
// opened, or the first whose caption holds some text.
#include "platform/types.h"

#include <string_view>

namespace tov {

class Platform;

// The first top-level window of another program, in Z order from the top, whose caption
// contains `text` with both sides lower-cased; hidden windows count too. 0 when none does.
WindowHandle FindWindowByCaption(Platform& platform, std::string_view text);

} // namespace tov
