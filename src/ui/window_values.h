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
};

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
