#include "platform/win32/win32_picture.h"

#include <algorithm>
#include <cstring>

namespace tov {

namespace {

constexpr std::size_t kKeptStretches = 4;

struct MemoryDC {
    explicit MemoryDC(HDC compatible) : dc(CreateCompatibleDC(compatible)) {}
    ~MemoryDC() {
        if (dc && old)
            SelectObject(dc, old);
        if (dc)
            DeleteDC(dc);
    }
    bool Select(HGDIOBJ object) {
        old = SelectObject(dc, object);
        return old != nullptr && old != HGDI_ERROR;
    }
    HDC dc;
    HGDIOBJ old = nullptr;
};

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// Any bitmap as 32-bit words, top row first; the fourth byte is whatever the bitmap holds.
Pixels Read32(HBITMAP bitmap, int width, int height) {
    if (!bitmap || width <= 0 || height <= 0)
        return {};
    Pixels p{width, height,
             std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))};
    win32::ScreenDc screen;
    if (!screen.Get())
        return {};
    BITMAPINFO info = TopDown32(width, height);
    if (GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), p.argb.data(), &info, DIB_RGB_COLORS) !=
        height)
        return {};
    return p;
}

// A 32-bit DIB section keeps its fourth byte, which GetDIBits is not bound to return, so it
// is read straight from its bits.
Pixels ReadDibSection32(HBITMAP bitmap) {
    DIBSECTION dib{};
    if (GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBitsPixel != 32 ||
        !dib.dsBm.bmBits || dib.dsBmih.biCompression != BI_RGB)
        return {};
    const int width = dib.dsBm.bmWidth;
    const int height = dib.dsBm.bmHeight;
    const bool bottomUp = dib.dsBmih.biHeight > 0;
    Pixels p{width, height,
             std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))};
    const auto* bits = static_cast<const unsigned char*>(dib.dsBm.bmBits);
    for (int y = 0; y < height; ++y) {
        const int row = bottomUp ? height - 1 - y : y;
        std::memcpy(&p.argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width)],
                    bits + static_cast<std::ptrdiff_t>(row) * dib.dsBm.bmWidthBytes,
                    static_cast<std::size_t>(width) * sizeof(std::uint32_t));
    }
    return p;
}

Pixels ReadAny32(HBITMAP bitmap, int width, int height) {
    Pixels p = ReadDibSection32(bitmap);
    return p.Empty() ? Read32(bitmap, width, height) : p;
}

win32::UniqueGdiObject MakeDib(const Pixels& pixels) {
    BITMAPINFO info = TopDown32(pixels.width, pixels.height);
    void* bits = nullptr;
    win32::UniqueGdiObject dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits)
        return {};
    std::memcpy(bits, pixels.argb.data(), pixels.argb.size() * sizeof(std::uint32_t));
    return dib;
}

} // namespace

Pixels ReadBitmapPixels(HBITMAP bitmap) {
    BITMAP header{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(header), &header))
        return {};
    Pixels p = ReadAny32(bitmap, header.bmWidth, header.bmHeight);
    if (p.Empty())
        return {};
    if (header.bmBitsPixel == 32 && HasAlpha(p))
        PremultiplyAlpha(p);
    else
        MakeOpaque(p);
    return p;
}

Pixels ReadIconPixels(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return {};
    const win32::UniqueGdiObject colourOwner(info.hbmColor);
    const win32::UniqueGdiObject maskOwner(info.hbmMask);
    HBITMAP colour = info.hbmColor;
    HBITMAP mask = info.hbmMask;
    BITMAP header{};
    if (!mask || !GetObjectW(mask, sizeof(header), &header))
        return {};
    const int width = header.bmWidth;

    if (colour) {
        const int height = header.bmHeight;
        Pixels p = ReadAny32(colour, width, height);
        if (p.Empty())
            return {};
        if (!HasAlpha(p)) {
            // An icon without an alpha channel is transparent where its mask is set.
            const Pixels m = Read32(mask, width, height);
            if (m.Empty())
                return {};
            for (std::size_t i = 0; i < p.argb.size(); ++i)
                p.argb[i] = (m.argb[i] & 0x00FFFFFF) ? 0 : (p.argb[i] | 0xFF000000u);
        }
        PremultiplyAlpha(p);
        return p;
    }

    // A monochrome icon: the mask bitmap holds the AND mask above the XOR image. Pixels that
    // would invert the screen are drawn black, the nearest a blended picture can come.
    const int height = header.bmHeight / 2;
    const Pixels both = Read32(mask, width, height * 2);
    if (both.Empty())
        return {};
    Pixels p{width, height,
             std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))};
    const std::size_t half = p.argb.size();
    for (std::size_t i = 0; i < half; ++i) {
        const bool transparent = (both.argb[i] & 0x00FFFFFF) != 0;
        const bool white = (both.argb[half + i] & 0x00FFFFFF) != 0;
        p.argb[i] = transparent ? (white ? 0xFF000000u : 0u) : (white ? 0xFFFFFFFFu : 0xFF000000u);
    }
    return p;
}

std::shared_ptr<LoadedPicture> LoadedPicture::FromIcon(IconLoader loader, std::string source) {
    const int size = GetSystemMetrics(SM_CXICON);
    win32::UniqueIcon first = loader ? loader(size) : win32::UniqueIcon{};
    if (!first)
        return nullptr;
    std::shared_ptr<LoadedPicture> picture(new LoadedPicture);
    picture->source = std::move(source);
    picture->loader_ = std::move(loader);
    picture->natural_ = {size, size};
    picture->icons_.emplace_back(size, std::move(first));
    return picture;
}

std::shared_ptr<LoadedPicture> LoadedPicture::FromBitmap(HBITMAP bitmap, std::string source) {
    const win32::UniqueGdiObject owner(bitmap);
    Pixels pixels = ReadBitmapPixels(bitmap);
    if (pixels.Empty())
        return nullptr;
    std::shared_ptr<LoadedPicture> picture(new LoadedPicture);
    picture->source = std::move(source);
    picture->natural_ = {pixels.width, pixels.height};
    picture->bitmapPixels_ = std::move(pixels);
    return picture;
}

HICON LoadedPicture::Icon(int size) const {
    if (!loader_ || size <= 0)
        return nullptr;
    for (const auto& [loadedSize, icon] : icons_)
        if (loadedSize == size)
            return icon.Get();
    win32::UniqueIcon icon = loader_(size);
    if (!icon)
        return icons_.empty() ? nullptr : icons_.front().second.Get();
    icons_.emplace_back(size, std::move(icon));
    return icons_.back().second.Get();
}

const Pixels* LoadedPicture::SourceFor(int width, int height) const {
    if (!loader_)
        return &bitmapPixels_;
    const int size = IconImageSizeFor(std::max(width, height));
    for (const auto& [loadedSize, pixels] : iconPixels_)
        if (loadedSize == size)
            return &pixels;
    Pixels pixels = ReadIconPixels(Icon(size));
    if (pixels.Empty())
        return nullptr;
    iconPixels_.emplace_back(size, std::move(pixels));
    return &iconPixels_.back().second;
}

HBITMAP LoadedPicture::StretchedTo(int width, int height) const {
    for (const auto& s : stretched_)
        if (s.width == width && s.height == height)
            return static_cast<HBITMAP>(s.dib.Get());
    const Pixels* source = SourceFor(width, height);
    if (!source)
        return nullptr;
    win32::UniqueGdiObject dib = MakeDib(ScalePixels(*source, width, height));
    if (!dib)
        return nullptr;
    if (stretched_.size() >= kKeptStretches)
        stretched_.erase(stretched_.begin());
    stretched_.push_back({width, height, std::move(dib)});
    return static_cast<HBITMAP>(stretched_.back().dib.Get());
}

void LoadedPicture::Draw(HDC dc, const RECT& target) const {
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;
    if (!dc || width <= 0 || height <= 0)
        return;
    HBITMAP dib = StretchedTo(width, height);
    if (!dib)
        return;
    MemoryDC memory(dc);
    if (!memory.dc || !memory.Select(dib))
        return;
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, target.left, target.top, width, height, memory.dc, 0, 0, width, height, blend);
}

} // namespace tov
