#include "platform/text.h"

#include <windows.h>

namespace tov {

std::string AnsiToUtf8(std::string_view ansi) {
    if (ansi.empty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::string Utf8ToAnsi(std::string_view utf8, bool* lossless) {
    const std::u16string wide = Utf8ToUtf16(utf8);
    if (wide.empty()) {
        if (lossless)
            *lossless = true;
        return {};
    }
    const auto* w = reinterpret_cast<const wchar_t*>(wide.data());
    const int len = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int n =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w, len, nullptr, 0, nullptr, &usedDefault);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w, len, out.data(), n, nullptr, &usedDefault);
    if (lossless)
        *lossless = !usedDefault;
    return out;
}

} // namespace tov
