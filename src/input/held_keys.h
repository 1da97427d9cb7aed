#pragma once
// Which keys are down, and which of them the hooks swallowed when they went down. A key held
// down sends its down again and again (auto-repeat) before one up; a key Tovlen swallowed on
// its down stays Tovlen's until that up, so neither its repeats nor its up reach the window
// typed into, and a repeat is never taken for a new press.
#include "platform/types.h"

#include <array>
#include <bitset>
#include <cstdint>

namespace tov {

// A repeat follows the press or repeat before it within the keyboard delay, which the system
// lets the user set to 1 s at most; a down of a key thought to be down that comes later is a
// new press whose up was never heard (it went to the secure desktop of a locked session, or
// came while Windows had dropped the hooks).
constexpr std::uint32_t kLongestRepeatGapMs = 1500;

struct HeldKeys {
    static constexpr std::size_t kKeys = 256;
    std::bitset<kKeys> down;
    std::bitset<kKeys> swallowed;
    std::array<std::uint32_t, kKeys> lastDown{}; // the stamp of each key's latest down or repeat
};

enum class KeyStroke {
    Press,   // a key goes down
    Repeat,  // a key held down sends its down again
    Release, // a key comes up
};

// Notes the event and says what it is.
KeyStroke NoteKeyEvent(HeldKeys& keys, const KeyEvent& event);
// The hooks swallowed the press of `vkCode`: its repeats and its up are Tovlen's too.
void KeepUntilReleased(HeldKeys& keys, std::uint32_t vkCode);
// Whether the key of a repeat or release was swallowed when it went down. Answered for a
// release, that key is free again.
bool SwallowedKey(HeldKeys& keys, std::uint32_t vkCode, KeyStroke stroke);

} // namespace tov
