#pragma once
// Text conversions. Inside the program all text is UTF-8; the list files are in the
// system's ANSI code page, and shortcut files carry UTF-16.
#include <cstdint>
#include <string>
#include <string_view>

namespace tov {

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// ANSI code page <-> UTF-8. On Windows the system's code page; elsewhere Windows-1252.
std::string AnsiToUtf8(std::string_view ansi);
// False in `lossless` when a character has no place in the code page (it becomes '?').
std::string Utf8ToAnsi(std::string_view utf8, bool* lossless = nullptr);

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
