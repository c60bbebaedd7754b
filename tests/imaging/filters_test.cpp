// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "imaging/arithmetic.h"
#include "imaging/filters.h"
#include "imaging/filters_plain.h"
#include "imaging/parallel.h"
#include "test_context.h"
#include "test_pictures.h"

namespace gt {
namespace {

using testing::grey;
using testing::noisy;

Bitmap whiteDotOnBlack() {
    Bitmap b = grey(7, 7, 0);
    b.setColour(3, 3, kWhite);
    return b;
}

TEST(Filters, FlatPicturesAreUnchanged) {
    for (auto f : {+[](Bitmap& b) { Soften(b); }, Blur3x3, Sharpen}) {
        Bitmap b = grey(6, 5, 123);
        f(b);
        EXPECT_EQ(b, grey(6, 5, 123));
    }
}

TEST(Filters, SingleWhitePixelOnBlack) {
    Bitmap s = whiteDotOnBlack();
    Sharpen(s);
    EXPECT_EQ(s.pixel(3, 3)[0], 255);  // 1275 div 4 = 318, limited to 255
    EXPECT_EQ(s.pixel(2, 2)[0], 0);    // 0 - 255 div 8 is negative
    EXPECT_EQ(s.pixel(4, 3)[1], 0);

    Bitmap b = whiteDotOnBlack();
    Blur3x3(b);
    EXPECT_EQ(b.pixel(3, 3)[0], 28);
    EXPECT_EQ(b.pixel(2, 4)[2], 28);
    EXPECT_EQ(b.pixel(1, 1)[2], 0);

    Bitmap o = whiteDotOnBlack();
    Soften(o);
    EXPECT_EQ(o.pixel(3, 3)[0], 103);  // (255 + 2 * 28) div 3
    EXPECT_EQ(o.pixel(4, 4)[0], 18);   // (0 + 2 * 28) div 3
}

TEST(Filters, TwoPixelPicturesHaveNoInterior) {
    const Bitmap n = noisy(2, 6, 5);
    Bitmap b = n, s = n;
    Blur3x3(b);
    Sharpen(s);
    EXPECT_EQ(b, n);
    EXPECT_EQ(s, n);
    const Bitmap sq = noisy(2, 2, 6);
    Bitmap o = sq;
    Soften(o);
    EXPECT_EQ(o, sq);  // every pixel is a corner
}

TEST(Soften, BordersUseTheirTwoNeighboursAndCornersStay) {
    const Bitmap n = noisy(5, 4, 8);
    Bitmap b = n;
    Soften(b);
    for (int ch = 0; ch < 3; ++ch) {
        EXPECT_EQ(b.pixel(0, 0)[ch], n.pixel(0, 0)[ch]);
        EXPECT_EQ(b.pixel(4, 3)[ch], n.pixel(4, 3)[ch]);
        EXPECT_EQ(b.pixel(4, 0)[ch], n.pixel(4, 0)[ch]);
        EXPECT_EQ(b.pixel(0, 3)[ch], n.pixel(0, 3)[ch]);
        EXPECT_EQ(b.pixel(2, 0)[ch], (n.pixel(1, 0)[ch] + n.pixel(2, 0)[ch] + n.pixel(3, 0)[ch]) / 3);
        EXPECT_EQ(b.pixel(4, 2)[ch], (n.pixel(4, 1)[ch] + n.pixel(4, 2)[ch] + n.pixel(4, 3)[ch]) / 3);
    }
}

TEST(ResizeBilinear, EqualSizesCopyAndTopLeftIsKept) {
    const Bitmap n = noisy(13, 9, 2);
    Bitmap same(13, 9);
    ResizeBilinear(n, same);
    EXPECT_EQ(same, n);
    for (auto [w, h] : {std::pair{5, 3}, {40, 30}, {13, 1}, {1, 9}, {200, 2}}) {
        Bitmap d(w, h);
        ResizeBilinear(n, d);
        EXPECT_EQ(d.colourAt(0, 0), n.colourAt(0, 0)) << w << "x" << h;
    }
}

TEST(ResizeBilinear, HandComputedHalfway) {
    // 3 x 1 -> 5 x 1: sx = MulDiv(2, 65536, 5) = 26214.4 -> 26214; second pixel fx = 26214.
    Bitmap s(3, 1);
    s.setColour(0, 0, {0, 0, 0});
    s.setColour(1, 0, {200, 200, 200});
    s.setColour(2, 0, {100, 100, 100});
    Bitmap d(5, 1);
    ResizeBilinear(s, d);
    // One row: wA = 65536, wB = 1; B is row A again.
    const long long fx = 26214, w2 = (fx * 65536 + 32768) / 65536, w1 = 65536 - w2, w4 = (fx * 1 + 32768) / 65536, w3 = 1 - w4;
    const long long v = (0 * w1 + 200 * w2 + 0 * w3 + 200 * w4) >> 16;
    EXPECT_EQ(d.pixel(1, 0)[0], v);
}

TEST(ResizeBilinear, ExtremeEnlargementStaysInsideTheRow) {
    // Sizes that carry the column index to the last column: the right-hand sample is the column itself.
    Bitmap s = noisy(2, 2, 7);
    Bitmap d(60000, 3);
    ResizeBilinear(s, d);
    EXPECT_EQ(d.colourAt(0, 0), s.colourAt(0, 0));
    Bitmap tall(3, 1);  // a destination one pixel high works
    ResizeBilinear(noisy(9, 9, 1), tall);
    EXPECT_EQ(tall.colourAt(0, 0), noisy(9, 9, 1).colourAt(0, 0));
}

// Random contents and sizes from 1 x 1 up; several worker counts, so that bands of rows meet.
class FiltersFastPath : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { setWorkerCount(GetParam()); }
    void TearDown() override { setWorkerCount(0); }
};

TEST_P(FiltersFastPath, ThreeByThreeFiltersMatchThePlainOnes) {
    std::uint32_t seed = 100;
    for (int w : {1, 2, 3, 4, 7, 33})
        for (int h : {1, 2, 3, 4, 5, 66, 131}) {
            const Bitmap n = noisy(w, h, ++seed);
            struct Pair {
                void (*fast)(Bitmap&);
                void (*reference)(Bitmap&);
                const char* name;
            };
            for (const Pair& f : {Pair{+[](Bitmap& b) { Soften(b); }, plain::Soften, "Soften"},
                                  Pair{+[](Bitmap& b) { const Bitmap in = b; Soften(in, b); }, plain::Soften, "Soften from a source"},
                                  Pair{Blur3x3, plain::Blur3x3, "Blur3x3"},
                                  Pair{Sharpen, plain::Sharpen, "Sharpen"}}) {
                Bitmap fast = n, reference = n;
                f.fast(fast);
                f.reference(reference);
                ASSERT_EQ(fast, reference) << f.name << " " << w << "x" << h;
            }
        }
}

TEST_P(FiltersFastPath, ExtremeValuesMatchThePlainOnes) {
    // Black and white speckle drives every sum to its limits (Sharpen's 0 and 255 clamps).
    Bitmap n(29, 70);
    Random r;
    r.seed = 5;
    for (auto& v : n.bytes()) v = r.draw(2u) ? 255 : 0;
    for (auto f : {+[](Bitmap& b) { Soften(b); }, +[](Bitmap& b) { Sharpen(b); }, +[](Bitmap& b) { Blur3x3(b); }}) {
        Bitmap fast = n;
        f(fast);
        Bitmap reference = n;
        {
            const testing::PlainPaths paths;
            f(reference);
        }
        ASSERT_EQ(fast, reference);
    }
}

TEST_P(FiltersFastPath, ResizeMatchesThePlainOne) {
    std::uint32_t seed = 7;
    const std::vector<std::pair<int, int>> sizes = {{1, 1}, {1, 5}, {5, 1}, {2, 2}, {3, 7}, {17, 9}, {40, 71}, {130, 3}};
    for (auto [sw, sh] : sizes)
        for (auto [dw, dh] : sizes) {
            const Bitmap s = noisy(sw, sh, ++seed);
            Bitmap fast(dw, dh), reference(dw, dh);
            ResizeBilinear(s, fast);
            plain::ResizeBilinear(s, reference);
            ASSERT_EQ(fast, reference) << sw << "x" << sh << " -> " << dw << "x" << dh;
        }
}

TEST_P(FiltersFastPath, ResizeAroundAHoleLeavesTheHoleAlone) {
    const Bitmap s = noisy(23, 17, 3);
    Bitmap reference(97, 75);
    plain::ResizeBilinear(s, reference);
    for (Rect hole : {Rect{10, 5, 60, 70}, Rect{-5, -5, 20, 200}, Rect{90, 0, 200, 75}, Rect{30, 30, 30, 40}, Rect{0, 0, 97, 75}}) {
        Bitmap fast = grey(97, 75, 7);
        ResizeBilinearAround(s, fast, hole);
        for (int y = 0; y < 75; ++y)
            for (int x = 0; x < 97; ++x) {
                const bool inHole = x >= hole.left && x < hole.right && y >= hole.top && y < hole.bottom;
                ASSERT_EQ(fast.colourAt(x, y), inHole ? (Colour{7, 7, 7}) : reference.colourAt(x, y)) << x << "," << y;
            }
    }
}

INSTANTIATE_TEST_SUITE_P(Workers, FiltersFastPath, ::testing::Values(1, 2, 3, 7));

TEST(ResizeBilinear, WeightsAreTheMulDivOfTheDescription) {
    std::vector<std::uint32_t> fs = {0, 1, 2, 32767, 32768, 32769, 65534, 65535};
    std::vector<std::uint32_t> ws = {0, 1, 2, 32768, 65535, 65536};
    for (std::uint32_t f = 3; f < 65535; f += 257) fs.push_back(f);
    for (std::uint32_t w = 3; w < 65536; w += 251) ws.push_back(w);
    for (std::uint32_t f : fs)
        for (std::uint32_t w : ws)
            ASSERT_EQ(resampleWeight(f, w), std::uint32_t(mulDiv(int(f), int(w), 65536))) << f << " * " << w;
}

}  // namespace
}  // namespace gt
