#include "platform/code_pages.h"

#include "base/text.h"

#include <windows.h>

#include <climits>

namespace tov {

namespace {

// Code pages for which MultiByteToWideChar and WideCharToMultiByte take no flags at all
// (and no default-character pointer): given any, the call fails with ERROR_INVALID_FLAGS.
bool TakesNoFlags(unsigned codePage) {
    return codePage == 42 || codePage == 50220 || codePage == 50221 || codePage == 50222 ||
           codePage == 50225 || codePage == 50227 || codePage == 50229 || codePage == 65000 ||
           (codePage >= 57002 && codePage <= 57011);
}

// UTF-8 takes no best-fit flag and no default-character pointer, only WC_ERR_INVALID_CHARS;
// the text handed over is always valid UTF-16, so no flag is needed.
bool TakesNoDefaultCharacter(unsigned codePage) {
    return codePage == kUtf8CodePage || TakesNoFlags(codePage);
}

std::wstring Wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

} // namespace

unsigned AnsiCodePage() {
    return GetACP();
}

std::optional<std::string> DecodeCodePage(std::string_view bytes, unsigned codePage) {
    if (bytes.empty())
        return std::string();
    if (bytes.size() > INT_MAX)
        return std::nullopt;
    const DWORD flags = TakesNoFlags(codePage) ? 0 : MB_ERR_INVALID_CHARS;
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    if (n <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    if (MultiByteToWideChar(codePage, flags, bytes.data(), size, wide.data(), n) != n)
        return std::nullopt;
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::optional<std::string> EncodeCodePage(std::string_view utf8, unsigned codePage) {
    if (!IsValidUtf8(utf8) || utf8.size() > INT_MAX / 2)
        return std::nullopt;
    if (utf8.empty())
        return std::string();
    const std::wstring wide = Wide(Utf8ToUtf16(utf8));
    const int size = static_cast<int>(wide.size());
    const bool plain = TakesNoDefaultCharacter(codePage);
    const DWORD flags = plain ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = plain ? nullptr : &usedDefault;
    const int n =
        WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, usedDefaultOut);
    if (n <= 0 || usedDefault)
        return std::nullopt;
    std::string out(static_cast<std::size_t>(n), '\0');
    if (WideCharToMultiByte(codePage, flags, wide.data(), size, out.data(), n, nullptr, usedDefaultOut) !=
            n ||
        usedDefault)
        return std::nullopt;
    // Where the system cannot say whether it had to substitute, reading back tells.
    if (plain && codePage != kUtf8CodePage &&
        DecodeCodePage(out, codePage) != std::optional<std::string>(utf8))
        return std::nullopt;
    return out;
}

} // namespace tov
