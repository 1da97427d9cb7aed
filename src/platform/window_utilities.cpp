#include "platform/window_utilities.h"

namespace tov {

int SetTransparency(Platform& platform, WindowHandle window, int opacity) {
    if (opacity < 0 || opacity > 255)
        return kTransparencyOutOfRange;
    return platform.SetLayeredOpacity(window, opacity) ? kTransparencyDone : kTransparencyFailed;
}

} // namespace tov
