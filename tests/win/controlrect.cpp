// Prints where a control is on the screen, so a test can click it as a person would:
// controlrect "<window title>" "<control text>" -> "left top right bottom", exit 1 when not found.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
    const char* text;
    HWND found;
};

// A control's text as the person sees it: without the "&" that marks its access key, and "&&" as "&".
std::string Shown(const char* text) {
    std::string shown;
    for (const char* c = text; *c; ++c) {
        if (*c == '&' && c[1] != '\0')
            ++c;
        shown += *c;
    }
    return shown;
}

BOOL CALLBACK Match(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    char text[512] = {};
    GetWindowTextA(child, text, 512);
    if (Shown(text) == search->text) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    HWND window = FindWindowA(nullptr, argv[1]);
    if (!window)
        return 1;
    Search search{argv[2], nullptr};
    EnumChildWindows(window, Match, reinterpret_cast<LPARAM>(&search));
    RECT r{};
    if (!search.found || !GetWindowRect(search.found, &r))
        return 1;
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
}
