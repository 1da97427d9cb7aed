#include "platform/win32/win32_platform.h"

namespace tov {

// A low-level hook runs before the system updates the key state of any thread, so the keys
// are asked as they are now; a key pressed before the one being decided is down by then.
ModifierKeys Win32Platform::HeldModifiers() {
    struct Modifier {
        int left, right;
        ModifierKeys key;
    };
    constexpr Modifier kModifiers[] = {{VK_LSHIFT, VK_RSHIFT, ModifierKeys::Shift},
                                       {VK_LCONTROL, VK_RCONTROL, ModifierKeys::Control},
                                       {VK_LMENU, VK_RMENU, ModifierKeys::Alt}};
    constexpr SHORT kDown = static_cast<SHORT>(0x8000);
    ModifierKeys held = ModifierKeys::None;
    for (const Modifier& m : kModifiers)
        if ((GetAsyncKeyState(m.left) & kDown) || (GetAsyncKeyState(m.right) & kDown))
            held = held | m.key;
    return held;
}

} // namespace tov
