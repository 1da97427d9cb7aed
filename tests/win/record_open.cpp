// Stands in for a document viewer: appends the command line it was started with, one line
// per start, to "opened.txt" beside itself, so a test can see what the shell was asked to open.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (n == 0 || n == MAX_PATH)
        return 1;
    std::wstring log(self, n);
    log = log.substr(0, log.rfind(L'\\') + 1) + L"opened.txt";
    const std::wstring line = GetCommandLineW();
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), size, nullptr,
                        nullptr);
    FILE* f = _wfopen(log.c_str(), L"ab");
    if (!f)
        return 1;
    std::fprintf(f, "%s\n", utf8.c_str());
    return std::fclose(f) == 0 ? 0 : 1;
}
