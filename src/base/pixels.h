#pragma once
// Pictures as plain pixels, so that stretching them is the same on every system and can be
// tested without a screen. Pixels are 0xAARRGGBB words, the layout of a 32-bit Windows DIB.
#include <cstdint>
#include <vector>

namespace tov {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb; // rows top to bottom; premultiplied once PremultiplyAlpha has run

    bool Empty() const { return width <= 0 || height <= 0; }
};

// True when some pixel has a non-zero alpha byte: the picture carries its own transparency.
bool HasAlpha(const Pixels& pixels);
void MakeOpaque(Pixels& pixels);
// Straight alpha to premultiplied alpha, as alpha blending wants it.
void PremultiplyAlpha(Pixels& pixels);

// Resamples premultiplied pixels to width x height: each axis is averaged over the source
// pixels it covers when it shrinks and interpolated linearly when it grows, so a picture
// keeps its colours and its edges stay smooth at any size. Empty for an empty size.
Pixels ScalePixels(const Pixels& source, int width, int height);

// The icon image size to load for drawing `pixels` wide: the smallest of the sizes icons
// usually carry that is at least that large, or the largest of them.
int IconImageSizeFor(int pixels);

} // namespace tov
