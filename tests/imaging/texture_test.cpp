// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "imaging/error.h"
#include "imaging/parallel.h"
#include "imaging/texture.h"
#include "test_pictures.h"

namespace gt {
namespace {

using testing::grey;
using testing::noisy;

// A 256 x 256 texture of `base` whose column 0 and row 0 read `edge`.
Bitmap markedTexture(int base, int edge) {
    Bitmap t = grey(256, 256, base);
    for (int i = 0; i < 256; ++i) {
        t.setColour(0, i, Colour{std::uint8_t(edge), std::uint8_t(edge), std::uint8_t(edge)});
        t.setColour(i, 0, Colour{std::uint8_t(edge), std::uint8_t(edge), std::uint8_t(edge)});
    }
    return t;
}

TEST(PaperTexture, MidGreyLeavesTheDrawingAndRowZeroAndColumnZeroAreNeverTouched) {
    const Bitmap n = noisy(20, 15, 3);
    Bitmap b = n;
    ApplyPaperTexture(b, grey(256, 256, 128), 128);
    EXPECT_EQ(b, n);

    Bitmap white = n;
    ApplyPaperTexture(white, grey(256, 256, 0), 256);  // every channel raised by 256
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(white.colourAt(x, y), x == 0 || y == 0 ? n.colourAt(x, y) : kWhite) << x << "," << y;
}

TEST(PaperTexture, ThreeStrengths) {
    const Bitmap tex = grey(4, 4, 101);
    Bitmap light = grey(3, 3, 100), normal = light, strong = light;
    ApplyPaperTexture(light, tex, 64);    // k = 5: 100 + 64 - 505 div 10 = 114
    ApplyPaperTexture(normal, tex, 128);  // k = 10: 100 + 128 - 101 = 127
    ApplyPaperTexture(strong, tex, 256);  // k = 20: 100 + 256 - 202 = 154
    EXPECT_EQ(light.pixel(1, 1)[0], 114);
    EXPECT_EQ(normal.pixel(2, 1)[1], 127);
    EXPECT_EQ(strong.pixel(1, 2)[2], 154);

    Bitmap dark = grey(3, 3, 10);
    ApplyPaperTexture(dark, grey(4, 4, 200), 256);  // 10 + 256 - 400 is below 0
    EXPECT_EQ(dark.pixel(2, 2)[0], 0);
}

TEST(PaperTexture, ChannelsMeetTheirOwnChannel) {
    Bitmap tex(2, 2);
    tex.fill(Colour{100, 128, 156});
    Bitmap b = grey(2, 2, 50);
    ApplyPaperTexture(b, tex, 128);
    EXPECT_EQ(b.colourAt(1, 1), (Colour{78, 50, 22}));
}

TEST(PaperTexture, PicturesOnePixelWideOrHighAreUnchanged) {
    for (auto [w, h] : {std::pair{1, 1}, {1, 9}, {9, 1}}) {
        const Bitmap n = noisy(w, h, 5);
        Bitmap b = n;
        ApplyPaperTexture(b, grey(256, 256, 0), 256);
        EXPECT_EQ(b, n);
    }
}

TEST(PaperTexture, PeriodIsTheSizeLessOneOrTheSize) {
    const Bitmap tex = markedTexture(128, 28);  // column 0 and row 0 lighten by 100
    Bitmap common = grey(300, 300, 100), pencil = common;
    ApplyPaperTexture(common, tex, 128, TexturePeriod::SizeLessOne);
    ApplyPaperTexture(pencil, tex, 128, TexturePeriod::Size);
    EXPECT_EQ(common.pixel(254, 5)[0], 100);
    EXPECT_EQ(common.pixel(255, 5)[0], 200);  // 255 mod 255 = 0: column 0 again
    EXPECT_EQ(common.pixel(5, 255)[0], 200);
    EXPECT_EQ(pencil.pixel(255, 5)[0], 100);  // the last column is read
    EXPECT_EQ(pencil.pixel(256, 5)[0], 200);
    EXPECT_EQ(pencil.pixel(5, 256)[0], 200);

    // The ink drawing's doubled strengths: f = (10 * 512) div 128 = 40, so c + 512 - 4t.
    Bitmap ink = grey(3, 3, 100);
    ApplyPaperTexture(ink, grey(256, 256, 120), 512, TexturePeriod::Size);
    EXPECT_EQ(ink.pixel(1, 1)[0], 132);
}

TEST(PaperTexture, TinyAndEmptyTextures) {
    // A texture one pixel wide and high would have a period of 0 with the size-less-one rule.
    Bitmap b = grey(4, 4, 100);
    ApplyPaperTexture(b, grey(1, 1, 100), 128);
    EXPECT_EQ(b.pixel(3, 3)[0], 128);
    Bitmap column = grey(4, 4, 100);
    Bitmap tex(1, 3);
    tex.setColour(0, 1, Colour{0, 0, 0});
    ApplyPaperTexture(column, tex, 128);  // rows repeat every 2: row 1 reads texture row 1, row 2 row 0
    EXPECT_EQ(column.pixel(2, 1)[0], 228);
    EXPECT_EQ(column.pixel(2, 2)[0], 0);
    EXPECT_EQ(column.pixel(2, 3)[0], 228);

    Bitmap c = grey(3, 3, 1);
    EXPECT_THROW(ApplyPaperTexture(c, Bitmap(), 128), Error);
}

TEST(PaperTexture, FastPathMatchesThePlainOne) {
    const int saved = workerCount();
    setWorkerCount(3);
    std::uint32_t seed = 1;
    for (auto [w, h] : {std::pair{1, 1}, {2, 2}, {3, 300}, {300, 3}, {70, 260}, {600, 5}}) {
        for (int strength : {64, 128, 256, 512, 1000, -300, 3})
            for (TexturePeriod period : {TexturePeriod::SizeLessOne, TexturePeriod::Size}) {
                const Bitmap n = noisy(w, h, ++seed), tex = noisy(37 + int(seed % 5), 29, seed * 7);
                Bitmap fast = n, reference = n;
                ApplyPaperTexture(fast, tex, strength, period);
                plain::ApplyPaperTexture(reference, tex, strength, period);
                ASSERT_EQ(fast, reference) << w << "x" << h << " strength " << strength;
            }
    }
    setWorkerCount(saved);
}

}  // namespace
}  // namespace gt
