#pragma once
// Small value types that cross the platform seam. No Windows types appear here,
// so everything above the seam builds and is tested on any system.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tov {

// An opaque window handle; 0 means "no window".
using WindowHandle = std::uintptr_t;

// 0x00BBGGRR, as the Windows COLORREF.
using Colour = std::uint32_t;
constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}

struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool Contains(Point p) const {
        return p.x >= left && p.x < left + width && p.y >= top && p.y < top + height;
    }
};

struct Font {
    std::string face = "Verdana";
    double points = 8.25;
    bool bold = false;
    bool operator==(const Font&) const = default;
};

// Keyboard messages as the low-level hook reports them.
enum class KeyMessage { KeyDown, KeyUp, SysKeyDown, SysKeyUp };

struct KeyEvent {
    KeyMessage message = KeyMessage::KeyDown;
    std::uint32_t vkCode = 0;
    std::uint32_t scanCode = 0;
    bool extended = false;
    bool injectedBySelf = false;
};

enum class MouseMessage { Move, LeftDown, LeftUp, RightDown, RightUp, MiddleDown, MiddleUp, Wheel, Other };

struct MouseEvent {
    MouseMessage message = MouseMessage::Move;
    Point pt;
};

enum class HookDecision { Pass, Swallow };

using KeyHandler = std::function<HookDecision(const KeyEvent&)>;
using MouseHandler = std::function<HookDecision(const MouseEvent&)>;

struct InputHandlers {
    KeyHandler keys;
    MouseHandler mouse;
};

// A loaded icon or picture owned by the platform; released when the last reference goes.
struct Picture {
    virtual ~Picture() = default;
    std::string source; // what it was loaded from, for tests and diagnostics
};
using PicturePtr = std::shared_ptr<const Picture>;

// Virtual-key codes named as the Windows headers name them. Where those headers are
// included their macros serve instead, with the same values.
#ifndef VK_BACK
constexpr std::uint32_t VK_BACK = 0x08;
#endif
#ifndef VK_TAB
constexpr std::uint32_t VK_TAB = 0x09;
#endif
#ifndef VK_RETURN
constexpr std::uint32_t VK_RETURN = 0x0D;
#endif
#ifndef VK_SHIFT
constexpr std::uint32_t VK_SHIFT = 0x10;
#endif
#ifndef VK_CONTROL
constexpr std::uint32_t VK_CONTROL = 0x11;
#endif
#ifndef VK_MENU
constexpr std::uint32_t VK_MENU = 0x12;
#endif
#ifndef VK_CAPITAL
constexpr std::uint32_t VK_CAPITAL = 0x14;
#endif
#ifndef VK_ESCAPE
constexpr std::uint32_t VK_ESCAPE = 0x1B;
#endif
#ifndef VK_SPACE
constexpr std::uint32_t VK_SPACE = 0x20;
#endif
#ifndef VK_LEFT
constexpr std::uint32_t VK_LEFT = 0x25;
#endif
#ifndef VK_UP
constexpr std::uint32_t VK_UP = 0x26;
#endif
#ifndef VK_RIGHT
constexpr std::uint32_t VK_RIGHT = 0x27;
#endif
#ifndef VK_DOWN
constexpr std::uint32_t VK_DOWN = 0x28;
#endif
#ifndef VK_SNAPSHOT
constexpr std::uint32_t VK_SNAPSHOT = 0x2C;
#endif
#ifndef VK_DELETE
constexpr std::uint32_t VK_DELETE = 0x2E;
#endif
#ifndef VK_F1
constexpr std::uint32_t VK_F1 = 0x70;
#endif
#ifndef VK_F8
constexpr std::uint32_t VK_F8 = 0x77;
#endif
#ifndef VK_LSHIFT
constexpr std::uint32_t VK_LSHIFT = 0xA0;
#endif
#ifndef VK_RSHIFT
constexpr std::uint32_t VK_RSHIFT = 0xA1;
#endif
#ifndef VK_LCONTROL
constexpr std::uint32_t VK_LCONTROL = 0xA2;
#endif
#ifndef VK_RCONTROL
constexpr std::uint32_t VK_RCONTROL = 0xA3;
#endif
#ifndef VK_LMENU
constexpr std::uint32_t VK_LMENU = 0xA4;
#endif
#ifndef VK_RMENU
constexpr std::uint32_t VK_RMENU = 0xA5;
#endif
namespace vk = ::tov;

} // namespace tov
