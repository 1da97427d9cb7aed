// Test helper for the Wine runs: prints every visible message box on the desktop as a line
// "title<TAB>text" (UTF-8); with --dismiss it also presses OK on each of them.
#include <cstdio>
#include <string>
#include <windows.h>

namespace {

std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    wchar_t text[2048] = {};
    GetWindowTextW(window, text, 2048);
    return text;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param) {
    auto& text = *reinterpret_cast<std::wstring*>(param);
    if (lstrcmpiW(ClassOf(child).c_str(), L"Static") == 0) {
        const std::wstring piece = TextOf(child);
        if (!piece.empty())
            text += (text.empty() ? L"" : L" ") + piece;
    }
    return TRUE;
}

BOOL CALLBACK ReportMessageBox(HWND window, LPARAM dismiss) {
    if (ClassOf(window) != L"#32770" || !IsWindowVisible(window))
        return TRUE;
    std::wstring text;
    EnumChildWindows(window, CollectStaticText, reinterpret_cast<LPARAM>(&text));
    std::printf("%s\t%s\n", Utf8(TextOf(window)).c_str(), Utf8(text).c_str());
    if (dismiss)
        PostMessageW(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const bool dismiss = argc > 1 && lstrcmpW(argv[1], L"--dismiss") == 0;
    EnumWindows(ReportMessageBox, dismiss);
    return 0;
}
