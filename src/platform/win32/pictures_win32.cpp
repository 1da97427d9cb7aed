// platform.h names constants as windows.h names its macros, so it must come first.
#include "platform/win32/win32_platform.h"

#include "platform/win32/dpi_win32.h"
#include "platform/win32/win32_picture.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cctype>
#include <optional>

namespace tov {

namespace {

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// Icons are numbered in the resource script so that the program's own comes first, which is
// the one the shell shows for Tovlen.exe; other pictures go by their names, which the
// resource compiler stores in capitals.
struct NumberedIcon {
    std::string_view name;
    WORD id;
};
constexpr NumberedIcon kNumberedIcons[] = {{"app", 1}, {"pin", 2}, {"pinlit", 3}};

struct ResourceName {
    WORD id = 0;
    std::wstring name;
    LPCWSTR Get() const { return id ? MAKEINTRESOURCEW(id) : name.c_str(); }
};

std::optional<ResourceName> ResourceNameFor(std::string_view name) {
    const std::string lower = LowerAscii(name);
    if (lower.empty())
        return std::nullopt;
    for (const auto& icon : kNumberedIcons)
        if (lower == icon.name)
            return ResourceName{icon.id, {}};
    std::wstring wide = win32::Wide(name);
    std::transform(wide.begin(), wide.end(), wide.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(towupper(c)); });
    return ResourceName{0, std::move(wide)};
}

win32::UniqueIcon LoadIconImage(HINSTANCE module, LPCWSTR name, int size, UINT flags) {
    return win32::UniqueIcon(static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, size, size, flags)));
}

// The bitmap goes straight to LoadedPicture::FromBitmap, which owns it from then on.
HBITMAP LoadBitmapImage(HINSTANCE module, LPCWSTR name, UINT flags) {
    return static_cast<HBITMAP>(LoadImageW(module, name, IMAGE_BITMAP, 0, 0, flags | LR_CREATEDIBSECTION));
}

} // namespace

PicturePtr Win32Platform::LoadResourcePicture(std::string_view name) {
    const auto resource = ResourceNameFor(name);
    if (!resource)
        return nullptr;
    HINSTANCE module = GetModuleHandleW(nullptr);
    const std::string source = "resource:" + std::string(name);
    if (FindResourceW(module, resource->Get(), RT_GROUP_ICON)) {
        return LoadedPicture::FromIcon(
            [module, resource = *resource](int size) {
                return LoadIconImage(module, resource.Get(), size, 0);
            },
            source);
    }
    if (FindResourceW(module, resource->Get(), RT_BITMAP))
        return LoadedPicture::FromBitmap(LoadBitmapImage(module, resource->Get(), 0), source);
    return nullptr;
}

PicturePtr Win32Platform::LoadPictureFile(const std::string& path) {
    if (path.empty())
        return nullptr;
    const std::wstring file = win32::Wide(path);
    const std::string lower = LowerAscii(path);
    const bool bitmap = lower.ends_with(".bmp") || lower.ends_with(".dib");
    if (!bitmap) {
        auto loader = [file](int size) {
            return LoadIconImage(nullptr, file.c_str(), size, LR_LOADFROMFILE);
        };
        if (auto icon = LoadedPicture::FromIcon(loader, path))
            return icon;
        if (lower.ends_with(".ico"))
            return nullptr;
    }
    return LoadedPicture::FromBitmap(LoadBitmapImage(nullptr, file.c_str(), LR_LOADFROMFILE), path);
}

PicturePtr Win32Platform::ExtractFileIcon(const std::string& path, int index) {
    if (path.empty())
        return nullptr;
    // Shortcuts often name their icon as %SystemRoot%\... and the like.
    std::wstring file = win32::Wide(path);
    if (file.find(L'%') != std::wstring::npos) {
        const DWORD needed = ExpandEnvironmentStringsW(file.c_str(), nullptr, 0);
        std::wstring expanded(needed, L'\0');
        if (needed > 0 && ExpandEnvironmentStringsW(file.c_str(), expanded.data(), needed) == needed) {
            expanded.resize(wcsnlen(expanded.c_str(), expanded.size()));
            file = std::move(expanded);
        }
    }
    // The shell extracts the image made for each size, so the icon box stays sharp at any scale.
    auto loader = [file, index](int size) {
        HICON icon = nullptr;
        const UINT sizes = static_cast<UINT>(size & 0xFFFF);
        if (SHDefExtractIconW(file.c_str(), index, 0, &icon, nullptr, sizes) != S_OK)
            return win32::UniqueIcon{};
        return win32::UniqueIcon(icon);
    };
    auto picture = LoadedPicture::FromIcon(loader, path + "," + std::to_string(index));
    // This runs on a worker; the images the icon box is drawn from on each monitor's scale are
    // read here too, so that drawing on the program's thread never goes back to the file.
    if (picture)
        for (const int dpi : win32::MonitorDpis())
            picture->Icon(IconImageSizeFor(win32::MetricForDpi(SM_CXICON, dpi)));
    return picture;
}

} // namespace tov
