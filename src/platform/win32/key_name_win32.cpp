#include "platform/win32/win32_platform.h"

namespace tov {

namespace {

constexpr UINT kScanPrefixMask = 0xFF00; // MAPVK_VK_TO_VSC_EX puts E0 or E1 in the high byte
constexpr UINT kScanCodeMask = 0xFF;
constexpr int kScanCodeShift = 16; // key-message parameter: scan code in bits 16 to 23
constexpr LONG kExtendedKeyBit = 1L << 24;
constexpr int kKeyNameLength = 256;

// Keys whose scan code the keyboard sends with the E0 prefix: without the extended bit a
// key-name lookup takes them for the keypad key that shares their scan code (Left for
// "Num 4", Home for "Num 7", Right Ctrl for Ctrl).
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

} // namespace

std::string Win32Platform::KeyName(std::uint32_t vkCode) {
    // The layout's own answer where the system gives it, and the keys known to be extended
    // where it does not (older systems map every key to its plain scan code).
    const UINT withPrefix = MapVirtualKeyW(vkCode, MAPVK_VK_TO_VSC_EX);
    const UINT scan =
        withPrefix & kScanCodeMask ? withPrefix & kScanCodeMask : MapVirtualKeyW(vkCode, MAPVK_VK_TO_VSC);
    LONG lParam = static_cast<LONG>(scan << kScanCodeShift);
    if ((withPrefix & kScanPrefixMask) != 0 || IsExtendedKey(vkCode))
        lParam |= kExtendedKeyBit;
    wchar_t name[kKeyNameLength] = {};
    const int n = GetKeyNameTextW(lParam, name, kKeyNameLength - 1);
    return n > 0 ? win32::Narrow(std::wstring_view(name, static_cast<std::size_t>(n))) : std::string();
}

} // namespace tov
