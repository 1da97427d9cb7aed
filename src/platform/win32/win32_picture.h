#pragma once
// A picture the Win32 platform can draw into a form.
#include "platform/types.h"

#include <windows.h>

namespace tov {

struct Win32Picture : Picture {
    // Draws the picture stretched into `target`.
    virtual void Draw(HDC dc, const RECT& target) const = 0;
};

} // namespace tov
