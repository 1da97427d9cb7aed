#pragma once
// A picture the Win32 platform can draw into a form.
#include "base/pixels.h"
#include "platform/types.h"
#include "platform/win32/win32_handles.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace tov {

struct Win32Picture : Picture {
    // Draws the picture stretched into `target`.
    virtual void Draw(HDC dc, const RECT& target) const = 0;
    // An icon of `size` pixels square for the tray or a window class, owned by the picture;
    // null when the picture is no icon.
    virtual HICON Icon(int /*size*/) const { return nullptr; }
};

// An icon or a bitmap loaded from the program's resources or from a file. Draw stretches it
// smoothly (averaging when it shrinks, interpolating when it grows) and blends its
// transparent parts over what the DC holds; an icon is stretched from its image made for
// that size or the next larger one, so small cells and 200 % screens both stay sharp.
class LoadedPicture final : public Win32Picture {
  public:
    // Gives the icon's image of `size` pixels square (or the nearest the source has); an
    // empty owner when the source has none.
    using IconLoader = std::function<win32::UniqueIcon(int size)>;

    // Null when the loader gives no icon at the system's icon size.
    static std::shared_ptr<LoadedPicture> FromIcon(IconLoader loader, std::string source);
    // Takes `bitmap` over (it is deleted once read); null when it is null or cannot be read.
    static std::shared_ptr<LoadedPicture> FromBitmap(HBITMAP bitmap, std::string source);

    void Draw(HDC dc, const RECT& target) const override;
    HICON Icon(int size) const override;
    // Pixel size of a bitmap; an icon's is the system's icon size.
    Size NaturalSize() const { return natural_; }

  private:
    struct Stretched {
        int width;
        int height;
        win32::UniqueGdiObject dib; // premultiplied 32-bit, ready for AlphaBlend
    };

    LoadedPicture() = default;
    const Pixels* SourceFor(int width, int height) const;
    HBITMAP StretchedTo(int width, int height) const;

    IconLoader loader_;
    Size natural_;
    Pixels bitmapPixels_;
    // Drawing asks for the same few sizes again and again (a row's pin, the icon box), so
    // the loaded icon images, their pixels and the stretched copies are kept.
    mutable std::vector<std::pair<int, win32::UniqueIcon>> icons_;
    mutable std::vector<std::pair<int, Pixels>> iconPixels_;
    mutable std::vector<Stretched> stretched_;
};

// The pixels of a bitmap (alpha kept when it has any, opaque otherwise) or of an icon image
// (alpha from its own channel or from its mask), premultiplied; empty when unreadable.
Pixels ReadBitmapPixels(HBITMAP bitmap);
Pixels ReadIconPixels(HICON icon);

} // namespace tov
