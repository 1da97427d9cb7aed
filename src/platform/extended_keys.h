#pragma once
#include <cstdint>

namespace tov {

// Keys whose scan code the keyboard sends with the E0 prefix: without the extended bit a
// key-name lookup takes them for the keypad key that shares their scan code (Left for
// "Num 4", Home for "Num 7", Right Ctrl for Ctrl).
bool IsExtendedKey(std::uint32_t vkCode);

} // namespace tov
