#include <gtest/gtest.h>

#include <atomic>

#include "imaging/adjust.h"
#include "imaging/parallel.h"
#include "test_pictures.h"

namespace gt {
namespace {

using testing::flat;
using testing::grey;
using testing::noisy;

int channel(const Bitmap& b, int x, int y, int ch = 0) { return b.pixel(x, y)[ch]; }

TEST(AdjustBrightness, NumbersOfTheFormula) {
    Bitmap b = grey(3, 2, 100);
    AdjustBrightness(b, 50);
    EXPECT_EQ(channel(b, 2, 1), 177);  // 100 + 155 * 50 div 100

    b = grey(1, 1, 255);
    AdjustBrightness(b, -5);
    EXPECT_EQ(channel(b, 0, 0), 243);  // -12.75 truncates to -12

    Bitmap n = noisy(9, 7, 3), same = n;
    AdjustBrightness(same, 0);
    EXPECT_EQ(same, n);
    Bitmap white = n, black = n;
    AdjustBrightness(white, 100);
    AdjustBrightness(black, -100);
    EXPECT_EQ(white, grey(9, 7, 255));
    EXPECT_EQ(black, grey(9, 7, 0));
}

TEST(LinearContrast, OldContrastCommandNumbers) {
    Bitmap b(2, 1);
    b.setColour(0, 0, {200, 200, 200});
    b.setColour(1, 0, {50, 50, 50});
    LinearContrast(b, 127, 10);
    EXPECT_EQ(channel(b, 0, 0), 207);
    EXPECT_EQ(channel(b, 1, 0), 43);  // 50 + (-77 * 10) div 100 = 50 - 7
}

TEST(AdjustSaturation, GreyPixelsNeverChangeAndAllRowsAndColumnsDo) {
    Bitmap g = grey(4, 4, 77), g2 = g;
    AdjustSaturation(g2, 100);
    EXPECT_EQ(g2, g);

    Bitmap b = flat(3, 3, {10, 100, 200});
    AdjustSaturation(b, 50);
    // grey = 103: blue 10 + (-93*50) div 100 = 10 - 46 = -36 -> 0; green 100 - 1; red 200 + 97*50 div 100 = 248
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(b.colourAt(x, y), (Colour{0, 99, 248}));

    Bitmap m = flat(1, 1, {10, 100, 200});
    AdjustSaturation(m, -100);
    EXPECT_EQ(m.colourAt(0, 0), (Colour{103, 103, 103}));
}

TEST(AdjustSaturation, CancelKeepsRowsDoneAndLeavesTheRest) {
    const Bitmap original = flat(2, 5, {10, 100, 200});
    Bitmap b = original;
    std::atomic<bool> cancel{true};
    RenderContext ctx;
    ctx.cancel = &cancel;
    EXPECT_FALSE(AdjustSaturation(b, 50, &ctx));
    EXPECT_EQ(b.colourAt(1, 0), (Colour{0, 99, 248}));   // the row in progress is done
    EXPECT_EQ(b.colourAt(1, 1), original.colourAt(1, 1));  // the rest unchanged
}

TEST(AdjustContrast, FlatPictureChangesOnlyNearRightAndBottomEdges) {
    Bitmap b = grey(20, 16, 100);
    AdjustContrast(b, 50);
    // away from the right and bottom edges local = mean = c
    EXPECT_EQ(channel(b, 0, 0), 100);
    EXPECT_EQ(channel(b, 14, 10), 100);
    // within 4 pixels of the right edge, white neighbours raise the local mean: darker with p > 0
    EXPECT_LT(channel(b, 17, 5), 100);
    EXPECT_LT(channel(b, 5, 13), 100);
    // the last row and column are never changed
    EXPECT_EQ(channel(b, 19, 5), 100);
    EXPECT_EQ(channel(b, 5, 15), 100);

    Bitmap n = noisy(13, 11, 9), same = n;
    AdjustContrast(same, 0);
    EXPECT_EQ(same, n);
}

TEST(AdjustContrast, HandComputedEdgePixel) {
    // 10 x 10 grey 100: pixel (8, 0) sees columns 4..12 of which 10, 11, 12 are outside (white),
    // rows -4..4 (rows -4..-1 read rows 5..8): 27 white values among the 81.
    Bitmap b = grey(10, 10, 100);
    AdjustContrast(b, 30);
    const int local = (54 * 100 + 27 * 255 - 100) / 80;   // 155
    const int target = (2 * local + 100) / 3;              // 136
    EXPECT_EQ(channel(b, 8, 0), 100 + ((100 - target) * 30) / 100);  // 100 - 10 = 90
}

TEST(AdjustContrast, FastPathMatchesThePlainOne) {
    for (int w : {1, 2, 3, 9, 10, 17, 40})
        for (int h : {1, 2, 5, 9, 23}) {
            for (int p : {-100, -30, 25, 100, 300}) {
                Bitmap a = noisy(w, h, static_cast<std::uint32_t>(w * 100 + h)), b = a;
                plain::AdjustContrast(a, p);
                AdjustContrast(b, p);
                ASSERT_EQ(a, b) << w << "x" << h << " p=" << p;
            }
        }
}

TEST(Invert, TwiceRestores) {
    Bitmap n = noisy(7, 5, 1), b = n;
    EXPECT_TRUE(Invert(b));
    EXPECT_EQ(channel(b, 3, 3, 2), 255 - channel(n, 3, 3, 2));
    Invert(b);
    EXPECT_EQ(b, n);
}

TEST(PointAdjustments, SameBytesWhateverTheWorkerCount) {
    const Bitmap n = noisy(64, 90, 4);
    Bitmap one = n, many = n;
    setWorkerCount(1);
    AdjustBrightness(one, -37);
    AdjustContrast(one, 25);
    setWorkerCount(4);
    AdjustBrightness(many, -37);
    AdjustContrast(many, 25);
    setWorkerCount(0);
    EXPECT_EQ(one, many);
}

}  // namespace
}  // namespace gt
