#include "app/window_utilities.h"

#include "app/app.h"

namespace tov {

int SetTransparency(App& app, WindowHandle window, int opacity) {
    if (opacity < 0 || opacity > 255)
        return kTransparencyOutOfRange;
    return app.platform.SetLayeredOpacity(window, opacity) ? kTransparencyDone : kTransparencyFailed;
}

} // namespace tov
