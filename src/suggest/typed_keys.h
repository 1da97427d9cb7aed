#pragma once
// The keys behind the typed line, kept beside it so that a line typed with another keyboard
// layout active (Cyrillic letters where Latin ones were meant) can be read again as the same
// keys give with the US layout.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

struct TypedKey {
    std::uint8_t virtualKey = 0;
    std::uint8_t characters = 0; // of the line that the key typed
};

// What the keys type with the US layout and no modifier held. Empty when the keys do not account
// for every character of `line` (they belong to another line), or one of them types nothing there.
std::string UsLayoutText(const std::vector<TypedKey>& keys, std::string_view line);

} // namespace tov
