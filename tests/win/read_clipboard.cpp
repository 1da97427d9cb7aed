// Prints the text on the clipboard, as UTF-8, for the end-to-end tests to read back what a
// program put there. Exits with 1 when the clipboard holds no text or cannot be opened.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kOpenTries = 20;
constexpr DWORD kOpenRetryMs = 50;

std::string Utf8(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.pop_back(); // the NUL
    return out;
}

} // namespace

int main() {
    bool open = false;
    for (int i = 0; i < kOpenTries && !open; ++i) {
        open = OpenClipboard(nullptr) != FALSE;
        if (!open)
            Sleep(kOpenRetryMs);
    }
    if (!open)
        return 1;
    int status = 1;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            std::fputs(Utf8(text).c_str(), stdout);
            GlobalUnlock(data);
            status = 0;
        }
    }
    CloseClipboard();
    return status;
}
