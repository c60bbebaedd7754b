// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "imaging/stretch.h"
#include "test_pictures.h"

namespace gt {
namespace {

using testing::grey;
using testing::noisy;

// A picture whose pixel (x, y) reads x in red and y in green, so a copied pixel tells where it came from.
Bitmap coordinates(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.setColour(x, y, Colour{0, std::uint8_t(y), std::uint8_t(x)});
    return b;
}

TEST(StretchCopy, EqualRectanglesCopyPixelForPixel) {
    const Bitmap src = noisy(9, 7, 3);
    Bitmap dst = grey(12, 10, 40);
    StretchCopy(src, Rect{2, 1, 8, 6}, dst, Rect{5, 4, 11, 9});
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 5 && x < 11 && y >= 4 && y < 9;
            EXPECT_EQ(dst.colourAt(x, y), inside ? src.colourAt(x - 3, y - 3) : Colour({40, 40, 40})) << x << "," << y;
        }
}

TEST(StretchCopy, OnePixelWiderRepeatsTheColumnUnderTheCentre) {
    // 6 columns onto 7: destination column d takes source column (2d + 1) * 6 div 14.
    const Bitmap src = coordinates(6, 1);
    Bitmap dst(7, 1);
    StretchCopy(src, Rect{0, 0, 6, 1}, dst, Rect{0, 0, 7, 1});
    const int expected[7] = {0, 1, 2, 3, 3, 4, 5};
    for (int d = 0; d < 7; ++d) EXPECT_EQ(dst.colourAt(d, 0).r, expected[d]) << d;
}

TEST(StretchCopy, ShrinkingSamplesPixelCentres) {
    // 7 rows onto 3: (2d + 1) * 7 div 6 = 1, 3, 5.
    const Bitmap src = coordinates(1, 7);
    Bitmap dst(1, 3);
    StretchCopy(src, Rect{0, 0, 1, 7}, dst, Rect{0, 0, 1, 3});
    EXPECT_EQ(dst.colourAt(0, 0).g, 1);
    EXPECT_EQ(dst.colourAt(0, 1).g, 3);
    EXPECT_EQ(dst.colourAt(0, 2).g, 5);
}

TEST(StretchCopy, NothingOutsideEitherPicture) {
    const Bitmap src = coordinates(4, 4);
    const Colour untouched{7, 7, 7};
    // Equal sizes, hanging over the target's left and top and the source's right edge:
    // target (x, y) takes source (x + 3, y + 1).
    Bitmap dst = grey(5, 5, 7);
    StretchCopy(src, Rect{1, 0, 5, 4}, dst, Rect{-2, -1, 2, 3});
    EXPECT_EQ(dst.colourAt(0, 0), (Colour{0, 1, 3}));
    EXPECT_EQ(dst.colourAt(1, 0), untouched);
    EXPECT_EQ(dst.colourAt(0, 2), (Colour{0, 3, 3}));
    EXPECT_EQ(dst.colourAt(0, 3), untouched);
    // Scaled: target (d, e) takes source (2 + 2d + 1, 2e + 1); column 5 lies outside the source.
    Bitmap half = grey(3, 3, 7);
    StretchCopy(src, Rect{2, 0, 6, 4}, half, Rect{0, 0, 2, 2});
    EXPECT_EQ(half.colourAt(0, 0), (Colour{0, 1, 3}));
    EXPECT_EQ(half.colourAt(1, 0), untouched);
    EXPECT_EQ(half.colourAt(0, 1), (Colour{0, 3, 3}));
    EXPECT_EQ(half.colourAt(2, 2), untouched);
    // Empty and inverted rectangles copy nothing.
    StretchCopy(src, Rect{0, 0, 0, 4}, dst, Rect{0, 0, 5, 5});
    StretchCopy(src, Rect{0, 0, 4, 4}, dst, Rect{5, 5, 0, 0});
    EXPECT_EQ(dst.colourAt(4, 4), untouched);
}

TEST(StretchCopy, CopyOntoItselfReadsTheOriginal) {
    Bitmap b = coordinates(6, 1);
    StretchCopy(b, Rect{0, 0, 5, 1}, b, Rect{1, 0, 6, 1});
    for (int x = 1; x < 6; ++x) EXPECT_EQ(b.colourAt(x, 0).r, x - 1);
    Bitmap c = coordinates(6, 1);
    CopyRect(c, 1, 0, c, 0, 0, 5, 1);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(c.colourAt(x, 0).r, x + 1);
}

}  // namespace
}  // namespace gt
