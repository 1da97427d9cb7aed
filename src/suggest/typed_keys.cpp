#include "suggest/typed_keys.h"

#include "base/text.h"

#include <array>
#include <utility>

namespace tov {

namespace {

// The US layout's keys beside the letters and digits, unshifted, by virtual-key code.
constexpr std::array<std::pair<std::uint8_t, char>, 18> kUsPunctuation = {{
    {0x20, ' '},
    {0xBA, ';'},
    {0xBB, '='},
    {0xBC, ','},
    {0xBD, '-'},
    {0xBE, '.'},
    {0xBF, '/'},
    {0xC0, '`'},
    {0xDB, '['},
    {0xDC, '\\'},
    {0xDD, ']'},
    {0xDE, '\''},
    {0x6A, '*'},
    {0x6B, '+'},
    {0x6D, '-'},
    {0x6E, '.'},
    {0x6F, '/'},
    {0xE2, '\\'},
}};
constexpr std::uint8_t kFirstNumpadDigit = 0x60;
constexpr std::uint8_t kLastNumpadDigit = 0x69;

char UsCharacter(std::uint8_t vk) {
    if (vk >= 'A' && vk <= 'Z')
        return static_cast<char>(vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9')
        return static_cast<char>(vk);
    if (vk >= kFirstNumpadDigit && vk <= kLastNumpadDigit)
        return static_cast<char>('0' + vk - kFirstNumpadDigit);
    for (const auto& [key, c] : kUsPunctuation)
        if (key == vk)
            return c;
    return 0;
}

} // namespace

std::string UsLayoutText(const std::vector<TypedKey>& keys, std::string_view line) {
    std::string text;
    std::size_t characters = 0;
    for (const TypedKey& key : keys) {
        const char c = UsCharacter(key.virtualKey);
        if (c == 0)
            return {};
        text += c;
        characters += key.characters;
    }
    if (characters != CharacterCount(line))
        return {};
    return text;
}

} // namespace tov
