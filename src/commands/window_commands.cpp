#include "commands/window_commands.h"

#include "base/text.h"
#include "platform/platform.h"

namespace tov {

WindowHandle FindWindowByCaption(Platform& platform, std::string_view text) {
    const std::string wanted = LowerCase(text);
    // The program's own windows are not the user's to restore or close: its hidden tray window
    // would come up blank.
    for (WindowHandle window : platform.TopLevelWindows())
        if (!platform.OwnWindow(window) &&
            LowerCase(platform.WindowCaption(window)).find(wanted) != std::string::npos)
            return window;
    return 0;
}

} // namespace tov
