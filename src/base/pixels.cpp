#include "base/pixels.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tov {

namespace {

struct Tap {
    int index;
    float weight;
};

// For every destination position along one axis, the source positions it takes and their
// weights, which add up to one.
std::vector<std::vector<Tap>> AxisTaps(int from, int to) {
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(to));
    const double ratio = static_cast<double>(from) / to;
    for (int d = 0; d < to; ++d) {
        auto& list = taps[static_cast<std::size_t>(d)];
        if (ratio >= 1.0) {
            const double begin = d * ratio;
            const double end = begin + ratio;
            for (int s = static_cast<int>(begin); s < from && s < end; ++s) {
                const double cover = std::min(end, s + 1.0) - std::max(begin, static_cast<double>(s));
                if (cover > 0.0)
                    list.push_back({s, static_cast<float>(cover / ratio)});
            }
        } else {
            const double centre = std::clamp((d + 0.5) * ratio - 0.5, 0.0, from - 1.0);
            const int s = static_cast<int>(centre);
            const float t = static_cast<float>(centre - s);
            list.push_back({s, 1.0f - t});
            if (t > 0.0f && s + 1 < from)
                list.push_back({s + 1, t});
        }
    }
    return taps;
}

using Channels = std::array<float, 4>;

Channels Unpack(std::uint32_t p) {
    return {static_cast<float>(p >> 24), static_cast<float>((p >> 16) & 0xFF),
            static_cast<float>((p >> 8) & 0xFF), static_cast<float>(p & 0xFF)};
}

std::uint32_t Pack(const Channels& c) {
    auto byte = [](float v) { return static_cast<std::uint32_t>(std::clamp(std::lround(v), 0L, 255L)); };
    const std::uint32_t a = byte(c[0]);
    // Rounding must not leave a colour above its alpha: premultiplied pixels never have one.
    return (a << 24) | (std::min(byte(c[1]), a) << 16) | (std::min(byte(c[2]), a) << 8) |
           std::min(byte(c[3]), a);
}

} // namespace

bool HasAlpha(const Pixels& pixels) {
    return std::any_of(pixels.argb.begin(), pixels.argb.end(),
                       [](std::uint32_t p) { return (p >> 24) != 0; });
}

void MakeOpaque(Pixels& pixels) {
    for (auto& p : pixels.argb)
        p |= 0xFF000000u;
}

void PremultiplyAlpha(Pixels& pixels) {
    for (auto& p : pixels.argb) {
        const std::uint32_t a = p >> 24;
        auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
        p = (a << 24) | (scale((p >> 16) & 0xFF) << 16) | (scale((p >> 8) & 0xFF) << 8) | scale(p & 0xFF);
    }
}

Pixels ScalePixels(const Pixels& source, int width, int height) {
    if (width <= 0 || height <= 0 || source.Empty() ||
        source.argb.size() !=
            static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.height))
        return {};
    if (width == source.width && height == source.height)
        return source;

    const auto columns = AxisTaps(source.width, width);
    const auto rows = AxisTaps(source.height, height);

    // Rows first, into floats, then columns.
    std::vector<Channels> across(static_cast<std::size_t>(width) * static_cast<std::size_t>(source.height));
    for (int y = 0; y < source.height; ++y) {
        const std::uint32_t* in =
            &source.argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(source.width)];
        for (int x = 0; x < width; ++x) {
            Channels sum{};
            for (const Tap& t : columns[static_cast<std::size_t>(x)]) {
                const Channels c = Unpack(in[t.index]);
                for (std::size_t k = 0; k < 4; ++k)
                    sum[k] += c[k] * t.weight;
            }
            across[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x)] = sum;
        }
    }

    Pixels out{
        width, height,
        std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Channels sum{};
            for (const Tap& t : rows[static_cast<std::size_t>(y)]) {
                const Channels& c =
                    across[static_cast<std::size_t>(t.index) * static_cast<std::size_t>(width) +
                           static_cast<std::size_t>(x)];
                for (std::size_t k = 0; k < 4; ++k)
                    sum[k] += c[k] * t.weight;
            }
            out.argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x)] = Pack(sum);
        }
    }
    return out;
}

int IconImageSizeFor(int pixels) {
    static constexpr int kSizes[] = {16, 20, 24, 32, 40, 48, 64, 96, 128, 256};
    for (int size : kSizes)
        if (size >= pixels)
            return size;
    return kSizes[std::size(kSizes) - 1];
}

} // namespace tov
