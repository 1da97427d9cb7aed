#include "platform/extended_keys.h"

namespace tov {

namespace {

// Virtual-key codes as the Windows headers number them.
constexpr std::uint32_t kCancel = 0x03; // Ctrl+Break
constexpr std::uint32_t kPrior = 0x21;
constexpr std::uint32_t kNext = 0x22;
constexpr std::uint32_t kEnd = 0x23;
constexpr std::uint32_t kHome = 0x24;
constexpr std::uint32_t kLeft = 0x25;
constexpr std::uint32_t kUp = 0x26;
constexpr std::uint32_t kRight = 0x27;
constexpr std::uint32_t kDown = 0x28;
constexpr std::uint32_t kInsert = 0x2D;
constexpr std::uint32_t kDelete = 0x2E;
constexpr std::uint32_t kLWin = 0x5B;
constexpr std::uint32_t kRWin = 0x5C;
constexpr std::uint32_t kApps = 0x5D;
constexpr std::uint32_t kDivide = 0x6F;
constexpr std::uint32_t kNumLock = 0x90;
constexpr std::uint32_t kRControl = 0xA3;
constexpr std::uint32_t kRMenu = 0xA5;
constexpr std::uint32_t kBrowserBack = 0xA6; // first of the browser and media keys
constexpr std::uint32_t kLaunchApp2 = 0xB7;  // last of them

} // namespace

bool IsExtendedKey(std::uint32_t vkCode) {
    switch (vkCode) {
    case kCancel:
    case kPrior:
    case kNext:
    case kEnd:
    case kHome:
    case kLeft:
    case kUp:
    case kRight:
    case kDown:
    case kInsert:
    case kDelete:
    case kLWin:
    case kRWin:
    case kApps:
    case kDivide:
    case kNumLock:
    case kRControl:
    case kRMenu:
        return true;
    default:
        return vkCode >= kBrowserBack && vkCode <= kLaunchApp2;
    }
}

} // namespace tov
