#pragma once
// Active Accessibility for the forms that draw their contents themselves: the object a screen
// reader gets for such a window, and the events that tell it what changed.
#include "platform/platform.h"
#include "ui/accessible.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace tov::win32 {

// What the window shows now, its rectangles in screen pixels; none once the window is gone.
using DescribeWindow = std::optional<AccessibleWindow> (*)(HWND window);

// The answer to WM_GETOBJECT for the window's client area; 0 when the request is for another
// object or the object cannot be handed over (the system's own object is used then).
LRESULT AnswerGetObject(Platform* platform, HWND window, WPARAM flags, LPARAM objectId,
                        DescribeWindow describe);

void RaiseAccessibleEvents(HWND window, const std::vector<AccessibleEvent>& events);

} // namespace tov::win32
