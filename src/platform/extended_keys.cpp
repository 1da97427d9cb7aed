#include "platform/extended_keys.h"

#include "platform/types.h"

namespace tov {

bool IsExtendedKey(std::uint32_t vkCode) {
    switch (static_cast<VirtualKey>(vkCode)) {
    case VirtualKey::Cancel:
    case VirtualKey::PageUp:
    case VirtualKey::PageDown:
    case VirtualKey::End:
    case VirtualKey::Home:
    case VirtualKey::Left:
    case VirtualKey::Up:
    case VirtualKey::Right:
    case VirtualKey::Down:
    case VirtualKey::Insert:
    case VirtualKey::Delete:
    case VirtualKey::LeftWindows:
    case VirtualKey::RightWindows:
    case VirtualKey::Applications:
    case VirtualKey::NumpadDivide:
    case VirtualKey::NumLock:
    case VirtualKey::RightControl:
    case VirtualKey::RightAlt:
        return true;
    default:
        return vkCode >= KeyCode(VirtualKey::BrowserBack) && vkCode <= KeyCode(VirtualKey::LaunchApp2);
    }
}

} // namespace tov
