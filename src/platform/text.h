#pragma once
// Text conversions. Inside the program all text is UTF-8; the list files are in the
// system's ANSI code page, and shortcut files carry UTF-16.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tov {

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

inline constexpr unsigned kWesternCodePage = 1252;
inline constexpr unsigned kUtf8CodePage = 65001;

// The system's ANSI code page: GetACP on Windows; elsewhere Windows-1252.
unsigned AnsiCodePage();

// Text in `codePage` to UTF-8; nothing when the bytes are not valid text of that code page or
// the system cannot convert them. Natively only Windows-1252 and UTF-8 are known.
std::optional<std::string> DecodeCodePage(std::string_view bytes, unsigned codePage);
// UTF-8 to `codePage`; nothing when a character has no place there or the conversion fails,
// never a shortened or empty text in place of a failure.
std::optional<std::string> EncodeCodePage(std::string_view utf8, unsigned codePage);

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// ANSI code page <-> UTF-8 in the system's code page, for texts that must come out whatever
// happens: bytes that do not convert become U+FFFD, characters without a place become '?'.
std::string AnsiToUtf8(std::string_view ansi);
// False in `lossless` when a character has no place in the code page.
std::string Utf8ToAnsi(std::string_view utf8, bool* lossless = nullptr);

inline constexpr char32_t kReplacement = 0xFFFD;

// Decodes one character at `i`, advancing it; malformed input yields U+FFFD one byte at a time.
char32_t DecodeUtf8(std::string_view s, std::size_t& i);
void AppendUtf8(std::string& out, char32_t c);

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
