// Loads every picture Tovlen carries through the Win32 platform and draws it the way forms
// do, at 100 % and 200 % sizes, into one sheet saved as a BMP: a person looks at the sheet.
// Tovlen.exe and app.ico beside it: the icon the shell shows for the program must be app.ico.
//   picture_probe.exe OUT.bmp [EXTRA-ICON-FILE]
#include "platform/win32/win32_platform.h"

#include "base/text.h"
#include "platform/win32/win32_picture.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 560;

struct Sheet {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    void* bits = nullptr;
};

void Fill(HDC dc, RECT r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

bool Draw(HDC dc, const tov::PicturePtr& picture, int x, int y, int w, int h, const char* what) {
    const auto* p = dynamic_cast<const tov::LoadedPicture*>(picture.get());
    if (!p) {
        std::printf("MISSING %s\n", what);
        return false;
    }
    p->Draw(dc, RECT{x, y, x + w, y + h});
    std::printf("drew %s (%s) %dx%d at %d,%d; natural %dx%d\n", what, p->source.c_str(), w, h, x, y,
                p->NaturalSize().width, p->NaturalSize().height);
    return true;
}

// The picture drawn at `size` pixels square on the sheet's ground; empty when it is no picture.
std::vector<std::uint32_t> Rendered(const tov::PicturePtr& picture, int size) {
    const auto* p = dynamic_cast<const tov::LoadedPicture*>(picture.get());
    if (!p)
        return {};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    Fill(dc, RECT{0, 0, size, size}, RGB(240, 240, 240));
    p->Draw(dc, RECT{0, 0, size, size});
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(first, first + size * size);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return pixels;
}

bool Save(const Sheet& sheet, const wchar_t* path) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = kWidth;
    info.biHeight = -kHeight;
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD size = kWidth * kHeight * 4;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + size;
    FILE* f = _wfopen(path, L"wb");
    if (!f)
        return false;
    std::fwrite(&file, sizeof(file), 1, f);
    std::fwrite(&info, sizeof(info), 1, f);
    std::fwrite(sheet.bits, size, 1, f);
    return std::fclose(f) == 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: picture_probe OUT.bmp [ICON-FILE]\n", stderr);
        return 2;
    }
    tov::Win32Platform platform;
    Sheet sheet;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    sheet.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &sheet.bits, nullptr, 0);
    sheet.dc = CreateCompatibleDC(nullptr);
    SelectObject(sheet.dc, sheet.bitmap);
    Fill(sheet.dc, RECT{0, 0, kWidth, kHeight}, RGB(240, 240, 240));

    int failures = 0;
    const auto app = platform.LoadResourcePicture("app");
    const auto pin = platform.LoadResourcePicture("pin");
    const auto lit = platform.LoadResourcePicture("PinLit");
    const auto back = platform.LoadResourcePicture("commandback");
    const auto logo = platform.LoadResourcePicture("splashlogo");
    if (platform.LoadResourcePicture("nosuchpicture") || platform.LoadResourcePicture(""))
        ++failures, std::puts("WRONG: a missing resource gave a picture");

    // Command window at 100 % and 200 %, the icon box on it.
    failures += !Draw(sheet.dc, back, 0, 0, 600, 50, "commandback");
    Fill(sheet.dc, RECT{8, 8, 40, 40}, RGB(121, 191, 104));
    failures += !Draw(sheet.dc, app, 8, 8, 32, 32, "app in the icon box");
    failures += !Draw(sheet.dc, back, 0, 60, 1200, 100, "commandback 200%");
    Fill(sheet.dc, RECT{16, 76, 80, 140}, RGB(121, 191, 104));
    failures += !Draw(sheet.dc, app, 16, 76, 64, 64, "app in the icon box 200%");

    // Suggestion rows: pins in their 20 x 15 cells on the list's colour, and at 200 %.
    Fill(sheet.dc, RECT{0, 170, 300, 240}, RGB(0, 64, 64));
    for (int row = 0; row < 3; ++row)
        failures += !Draw(sheet.dc, row == 1 ? lit : pin, 0, 175 + row * 18, 20, 15, "pin row");
    Fill(sheet.dc, RECT{320, 170, 620, 300}, RGB(0, 64, 64));
    for (int row = 0; row < 3; ++row)
        failures += !Draw(sheet.dc, row == 1 ? lit : pin, 320, 180 + row * 36, 40, 30, "pin row 200%");

    // Splash logo on the splash's colour, at 100 % and 200 %.
    failures += !Draw(sheet.dc, logo, 8, 260, 106, 129, "splashlogo");
    failures += !Draw(sheet.dc, logo, 640, 170, 212, 258, "splashlogo 200%");

    // The application icon at the sizes the shell and the tray use.
    int x = 140;
    for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
        if (size == 256)
            failures += !Draw(sheet.dc, app, 880, 170, 256, 256, "app 256");
        else
            failures += !Draw(sheet.dc, app, x, 300, size, size, "app"), x += size + 8;
        if (!dynamic_cast<const tov::Win32Picture&>(*app).Icon(size))
            ++failures, std::printf("WRONG: no icon handle at %d\n", size);
    }

    // Files: the lit pin beside the program, an .exe's icon, a picture that is not there.
    std::string folder = platform.ProgramFolder();
    if (folder.empty()) {
        wchar_t path[MAX_PATH];
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring p(path);
        folder = tov::Utf16ToUtf8(std::u16string(p.begin(), p.begin() + static_cast<long>(p.rfind(L'\\'))));
    }
    const auto litFile = platform.LoadPictureFile(folder + "\\LIGHTON.ico");
    failures += !Draw(sheet.dc, litFile, 140, 400, 20, 15, "LIGHTON.ico file");
    // The shell shows a program's first icon: Tovlen.exe's must be the application's picture.
    const auto exeIcon = platform.ExtractFileIcon(folder + "\\Tovlen.exe", 0);
    failures += !Draw(sheet.dc, exeIcon, 180, 400, 32, 32, "icon of Tovlen.exe");
    failures += !Draw(sheet.dc, exeIcon, 220, 400, 64, 64, "icon of Tovlen.exe at 64");
    const auto appFile = platform.LoadPictureFile(folder + "\\app.ico");
    for (int size : {16, 32, 48}) {
        const auto shown = Rendered(exeIcon, size);
        if (shown.empty() || shown != Rendered(appFile, size))
            ++failures,
                std::printf("WRONG: the shell shows Tovlen.exe with another icon than app.ico at %d\n", size);
    }
    if (argc > 2) {
        const std::wstring extra(argv[2]);
        const std::string path = tov::Utf16ToUtf8(std::u16string(extra.begin(), extra.end()));
        failures += !Draw(sheet.dc, platform.ExtractFileIcon(path, 0), 300, 400, 32, 32, "extra file icon");
        if (platform.LoadPictureFile(path))
            ++failures, std::puts("WRONG: a program file loaded as a picture");
    }
    const auto bmpFile = platform.LoadPictureFile(folder + "\\splashlogo.bmp");
    failures += !Draw(sheet.dc, bmpFile, 420, 400, 106, 129, "splashlogo.bmp file");
    if (platform.LoadPictureFile(folder + "\\nothing-here.ico") ||
        platform.ExtractFileIcon(folder + "\\nothing.exe", 0))
        ++failures, std::puts("WRONG: a missing file gave a picture");

    GdiFlush();
    if (!Save(sheet, argv[1]))
        ++failures, std::puts("WRONG: could not save the sheet");
    std::printf("%d failures\n", failures);
    return failures == 0 ? 0 : 1;
}
