// Prints the texts a person sees in a program's windows, so that a test can tell which page of
// a wizard is showing: for every visible top-level window whose title contains the first
// argument, its title and then the text of each visible control inside it, one per line (UTF-8),
// a control that does not take input followed by " [disabled]", the foreground window's title
// by " [foreground]".
// Exits with 1 when no such window is visible.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr,
                            nullptr);
    return out;
}

std::wstring TextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

// A control's text as the person sees it: without the "&" that marks its access key, and "&&" as "&".
std::wstring Shown(const std::wstring& text) {
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

BOOL CALLBACK PrintControl(HWND child, LPARAM) {
    if (!IsWindowVisible(child))
        return TRUE;
    const std::wstring text = Shown(TextOf(child));
    if (!text.empty())
        std::printf("  %s%s\n", Utf8(text).c_str(), IsWindowEnabled(child) ? "" : " [disabled]");
    return TRUE;
}

struct Search {
    std::wstring title;
    int found = 0;
};

BOOL CALLBACK PrintWindow(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    if (!IsWindowVisible(window))
        return TRUE;
    const std::wstring title = TextOf(window);
    if (title.find(search.title) == std::wstring::npos)
        return TRUE;
    ++search.found;
    std::printf("%s%s\n", Utf8(title).c_str(), window == GetForegroundWindow() ? " [foreground]" : "");
    EnumChildWindows(window, PrintControl, 0);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    Search search;
    search.title = argc > 1 ? argv[1] : L"";
    EnumWindows(PrintWindow, reinterpret_cast<LPARAM>(&search));
    return search.found > 0 ? 0 : 1;
}
