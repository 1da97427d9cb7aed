#pragma once
// Small value types that cross the platform seam. No Windows types appear here,
// so everything above the seam builds and is tested on any system.
#include "base/flags.h"
#include "ui/window_values.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>

namespace tov {

// Keyboard messages as the low-level hook reports them.
enum class KeyMessage { KeyDown, KeyUp, SysKeyDown, SysKeyUp };

struct KeyEvent {
    KeyMessage message = KeyMessage::KeyDown;
    std::uint32_t vkCode = 0;
    std::uint32_t scanCode = 0;
    bool extended = false;
    std::chrono::steady_clock::time_point at{}; // when the hook procedure was entered
    std::uint32_t stamp = 0;                    // the system's time stamp of the event, in ms
};

enum class MouseMessage { Move, LeftDown, LeftUp, RightDown, RightUp, MiddleDown, MiddleUp, Wheel, Other };

struct MouseEvent {
    MouseMessage message = MouseMessage::Move;
    Point pt;
};

enum class HookDecision { Pass, Swallow };

// The system's millisecond clock that stamps input events; it wraps after 49.7 days.
using InputTick = std::uint32_t;

enum class InputDevice { Keyboard, Mouse };

// What the watchdog hears on the main thread apart from the hook chain: raw input, a second
// way of hearing every key and button press; and the moments after which Windows is most
// likely to have dropped the hooks while the thread was suspended.
struct WatchdogNews {
    enum class Kind { RawInput, SessionUnlocked, MachineResumed };
    Kind kind = Kind::RawInput;
    InputDevice device = InputDevice::Keyboard; // RawInput: whose event
    InputTick stamp = 0;                        // RawInput: the event's own time stamp
    std::uint32_t vkCode = 0;                   // RawInput from the keyboard: the key
    bool keyDown = false;                       // RawInput from the keyboard: pressed, not released
};

using KeyHandler = std::function<HookDecision(const KeyEvent&)>;
using MouseHandler = std::function<HookDecision(const MouseEvent&)>;

struct InputHandlers {
    KeyHandler keys;
    MouseHandler mouse;
    // Whether the mouse hook should be in place, asked on the input thread after every event and
    // every piece of posted work; null keeps it in place for good.
    std::function<bool()> mouseWanted;
};

// The keys the program names, numbered as the system numbers virtual keys. A key event
// carries the system's number as it is, since the user may choose any key at all to open
// the window; compare it with these as `event.vkCode == VirtualKey::Escape`.
enum class VirtualKey : std::uint32_t {
    Cancel = 0x03, // Ctrl+Break
    Backspace = 0x08,
    Tab = 0x09,
    Enter = 0x0D,
    Shift = 0x10,
    Control = 0x11,
    Alt = 0x12,
    CapsLock = 0x14,
    Escape = 0x1B,
    Space = 0x20,
    PageUp = 0x21,
    PageDown = 0x22,
    End = 0x23,
    Home = 0x24,
    Left = 0x25,
    Up = 0x26,
    Right = 0x27,
    Down = 0x28,
    PrintScreen = 0x2C,
    Insert = 0x2D,
    Delete = 0x2E,
    LeftWindows = 0x5B,
    RightWindows = 0x5C,
    Applications = 0x5D,
    NumpadDivide = 0x6F,
    F1 = 0x70,
    F8 = 0x77,
    F24 = 0x87,
    NumLock = 0x90,
    LeftShift = 0xA0,
    RightShift = 0xA1,
    LeftControl = 0xA2,
    RightControl = 0xA3,
    LeftAlt = 0xA4,
    RightAlt = 0xA5,
    BrowserBack = 0xA6, // the first of the browser and media keys
    LaunchApp2 = 0xB7,  // the last of them
};

constexpr std::uint32_t KeyCode(VirtualKey key) {
    return static_cast<std::uint32_t>(key);
}
constexpr bool operator==(std::uint32_t code, VirtualKey key) {
    return code == KeyCode(key);
}

} // namespace tov
