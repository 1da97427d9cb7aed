#pragma once
// The values that describe a window and what is drawn in it, as the program's forms hold them.
#include <cstdint>
#include <memory>
#include <string>

namespace tov {

// An opaque window handle; 0 means "no window".
using WindowHandle = std::uintptr_t;

// 0x00BBGGRR, as the Windows COLORREF.
using Colour = std::uint32_t;
constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool Contains(Point p) const {
        return p.x >= left && p.x < left + width && p.y >= top && p.y < top + height;
    }
    bool operator==(const Rect&) const = default;
};

// Forms are laid out for a screen of 96 dots per inch; a monitor's scale is its own count.
constexpr int kBaseDpi = 96;

// A length of a 96-DPI layout on a screen of `dpi`, rounded to the nearest pixel as the system
// rounds; and back.
constexpr int ScaleToDpi(int length, int dpi) {
    const long long scaled = static_cast<long long>(length) * (dpi > 0 ? dpi : kBaseDpi);
    return static_cast<int>((scaled >= 0 ? scaled + kBaseDpi / 2 : scaled - kBaseDpi / 2) / kBaseDpi);
}
constexpr int ScaleFromDpi(int pixels, int dpi) {
    const long long divisor = dpi > 0 ? dpi : kBaseDpi;
    const long long scaled = static_cast<long long>(pixels) * kBaseDpi;
    return static_cast<int>((scaled >= 0 ? scaled + divisor / 2 : scaled - divisor / 2) / divisor);
}

struct Font {
    std::string face = "Verdana";
    double points = 8.25;
    bool bold = false;
    bool operator==(const Font&) const = default;
};

// A loaded icon or picture owned by the platform; released when the last reference goes.
struct Picture {
    virtual ~Picture() = default;
    std::string source; // what it was loaded from, for tests and diagnostics
};
using PicturePtr = std::shared_ptr<const Picture>;

} // namespace tov
