#include "base/pixels.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

Pixels Filled(int w, int h, std::uint32_t argb) {
    return {w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w * h), argb)};
}

std::uint32_t At(const Pixels& p, int x, int y) {
    return p.argb[static_cast<std::size_t>(y * p.width + x)];
}

TEST(ScalePixels, KeepsAUniformPictureUniformAtAnySize) {
    const Pixels green = Filled(16, 16, 0xFF79BF68);
    const Pixels half = Filled(16, 16, 0x80406030); // premultiplied, half transparent
    for (auto [w, h] : {std::pair{20, 15}, {40, 30}, {7, 3}, {256, 256}, {1, 1}, {16, 16}, {33, 5}}) {
        const Pixels a = ScalePixels(green, w, h);
        const Pixels b = ScalePixels(half, w, h);
        ASSERT_EQ(a.width, w);
        ASSERT_EQ(a.height, h);
        ASSERT_EQ(a.argb.size(), static_cast<std::size_t>(w * h));
        for (std::size_t i = 0; i < a.argb.size(); ++i) {
            ASSERT_EQ(a.argb[i], 0xFF79BF68u) << w << "x" << h << " at " << i;
            ASSERT_EQ(b.argb[i], 0x80406030u) << w << "x" << h << " at " << i;
        }
    }
}

TEST(ScalePixels, ShrinkingAveragesTheCoveredPixels) {
    Pixels checker{2, 2, {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000}};
    EXPECT_EQ(ScalePixels(checker, 1, 1).argb, std::vector<std::uint32_t>{0xFF808080});

    // A transparent and an opaque pixel give a half-transparent one, not a dark fringe.
    Pixels edge{2, 1, {0x00000000, 0xFFFFFFFF}};
    EXPECT_EQ(ScalePixels(edge, 1, 1).argb, std::vector<std::uint32_t>{0x80808080});

    // Three columns into two: the middle column is shared half and half.
    Pixels stripes{3, 1, {0xFF000000, 0xFF0000FF, 0xFF000000}};
    const Pixels two = ScalePixels(stripes, 2, 1);
    EXPECT_EQ(two.argb, (std::vector<std::uint32_t>{0xFF000055, 0xFF000055}));
}

TEST(ScalePixels, GrowingInterpolatesBetweenNeighboursAndClampsAtTheEdges) {
    Pixels one{1, 1, {0xFF102030}};
    EXPECT_EQ(ScalePixels(one, 3, 2).argb, std::vector<std::uint32_t>(6, 0xFF102030));

    Pixels ramp{2, 1, {0xFF000000, 0xFF0000FF}};
    const Pixels four = ScalePixels(ramp, 4, 1);
    EXPECT_EQ(At(four, 0, 0), 0xFF000000u); // outer quarters keep the edge colours
    EXPECT_EQ(At(four, 1, 0), 0xFF000040u);
    EXPECT_EQ(At(four, 2, 0), 0xFF0000BFu);
    EXPECT_EQ(At(four, 3, 0), 0xFF0000FFu);
}

TEST(ScalePixels, ShrinksOneAxisWhileGrowingTheOther) {
    // A 16 x 16 pin image goes into its 20 x 15 row cell: wider, and a little lower.
    Pixels p = Filled(16, 16, 0);
    for (int y = 0; y < 16; ++y)
        p.argb[static_cast<std::size_t>(y * 16 + 15)] = 0xFFFFFFFF; // right column
    const Pixels cell = ScalePixels(p, 20, 15);
    ASSERT_EQ(cell.width, 20);
    ASSERT_EQ(cell.height, 15);
    for (int y = 0; y < 15; ++y) {
        EXPECT_EQ(At(cell, 19, y), 0xFFFFFFFFu);
        EXPECT_EQ(At(cell, 0, y), 0u);
    }
}

TEST(ScalePixels, NeverLeavesAColourAboveItsAlpha) {
    Pixels p{3,
             3,
             {0x01010101, 0xFFFFFFFF, 0x00000000, 0x80808080, 0x02020202, 0xFF00FF00, 0x10101010, 0x00000000,
              0xFEFEFEFE}};
    for (auto [w, h] : {std::pair{2, 2}, {5, 4}, {1, 7}, {7, 1}}) {
        for (std::uint32_t px : ScalePixels(p, w, h).argb) {
            const std::uint32_t a = px >> 24;
            EXPECT_LE((px >> 16) & 0xFF, a);
            EXPECT_LE((px >> 8) & 0xFF, a);
            EXPECT_LE(px & 0xFF, a);
        }
    }
}

TEST(ScalePixels, RefusesEmptyOrInconsistentInput) {
    EXPECT_TRUE(ScalePixels(Filled(4, 4, 0xFFFFFFFF), 0, 10).Empty());
    EXPECT_TRUE(ScalePixels(Filled(4, 4, 0xFFFFFFFF), 10, -1).Empty());
    EXPECT_TRUE(ScalePixels(Pixels{}, 10, 10).Empty());
    EXPECT_TRUE(ScalePixels(Pixels{4, 4, {0xFFFFFFFF}}, 8, 8).Empty()); // fewer words than pixels
}

TEST(Alpha, PremultiplyScalesColoursByAlphaAndDetectsTransparency) {
    Pixels p{3, 1, {0x80FF8000, 0x00FFFFFF, 0xFF123456}};
    EXPECT_TRUE(HasAlpha(p));
    PremultiplyAlpha(p);
    EXPECT_EQ(p.argb, (std::vector<std::uint32_t>{0x80804000, 0x00000000, 0xFF123456}));

    // A bitmap whose fourth byte is unused everywhere carries no transparency of its own.
    Pixels plain{2, 1, {0x00FFFFFF, 0x00102030}};
    EXPECT_FALSE(HasAlpha(plain));
    MakeOpaque(plain);
    EXPECT_EQ(plain.argb, (std::vector<std::uint32_t>{0xFFFFFFFF, 0xFF102030}));
}

} // namespace
} // namespace tov
