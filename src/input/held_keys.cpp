#include "input/held_keys.h"

namespace tov {

namespace {

bool Tracked(std::uint32_t vkCode) {
    return vkCode < HeldKeys::kKeys;
}

} // namespace

KeyStroke NoteKeyEvent(HeldKeys& keys, const KeyEvent& event) {
    const bool up = event.message == KeyMessage::KeyUp || event.message == KeyMessage::SysKeyUp;
    const std::uint32_t vk = event.vkCode;
    if (!Tracked(vk))
        return up ? KeyStroke::Release : KeyStroke::Press;
    if (up) {
        keys.down.reset(vk);
        return KeyStroke::Release;
    }
    // Unsigned arithmetic keeps the gap right across the wrap of the system's clock.
    const bool repeat = keys.down.test(vk) && event.stamp - keys.lastDown[vk] <= kLongestRepeatGapMs;
    keys.lastDown[vk] = event.stamp;
    keys.down.set(vk);
    if (repeat)
        return KeyStroke::Repeat;
    keys.swallowed.reset(vk); // a stale claim from a press whose up never came
    return KeyStroke::Press;
}

void KeepUntilReleased(HeldKeys& keys, std::uint32_t vkCode) {
    if (Tracked(vkCode))
        keys.swallowed.set(vkCode);
}

bool SwallowedKey(HeldKeys& keys, std::uint32_t vkCode, KeyStroke stroke) {
    if (!Tracked(vkCode))
        return false;
    const bool swallowed = keys.swallowed.test(vkCode);
    if (stroke == KeyStroke::Release)
        keys.swallowed.reset(vkCode);
    return swallowed;
}

} // namespace tov
