#pragma once
// Text as the program holds it: UTF-8 inside, UTF-16 where Windows and shortcut files want it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tov {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// UTF-16 for a fixed field of `capacity` characters with its NUL, such as the tip of a tray
// icon's record: cut to leave room for the NUL, never in the middle of a surrogate pair.
std::u16string Utf16ForField(std::string_view utf8, std::size_t capacity);

// Appends one character as UTF-8.
void AppendUtf8(std::string& out, char32_t c);
// Decodes the character at `i` and moves `i` past it; malformed input yields U+FFFD one byte
// at a time.
char32_t DecodeUtf8(std::string_view s, std::size_t& i);

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Where the character that holds byte `at` begins (0 when none does before it): cutting there
// keeps every character whole.
std::size_t CharacterStart(std::string_view utf8, std::size_t at);
// How many characters `utf8` holds, counting by their lead bytes.
std::size_t CharacterCount(std::string_view utf8);

// Lower-cases letters of the Latin, Greek and Cyrillic scripts; other characters stay.
std::string LowerCase(std::string_view utf8);

// Position of the first occurrence, as std::string_view::find.
inline std::size_t Find(std::string_view haystack, std::string_view needle, std::size_t from = 0) {
    return haystack.find(needle, from);
}
inline bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.starts_with(prefix);
}
inline bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.ends_with(suffix);
}

std::string Trim(std::string_view text);

} // namespace tov
