#pragma once
// The system's code pages: the list files are in the ANSI code page unless they say otherwise.
// Windows converts with its own tables; the native build knows Windows-1252 and UTF-8.
#include <optional>
#include <string>
#include <string_view>

namespace tov {

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

// ANSI code page <-> UTF-8 in the system's code page, for texts that must come out whatever
// happens: bytes that do not convert become U+FFFD, characters without a place become '?'.
std::string AnsiToUtf8(std::string_view ansi);
// False in `lossless` when a character has no place in the code page.
std::string Utf8ToAnsi(std::string_view utf8, bool* lossless = nullptr);

} // namespace tov
