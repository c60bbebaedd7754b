// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "imaging/adjust.h"
#include "imaging/neighbourhood.h"
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

// Many sizes from 1 x 1, random contents and percentages, several worker counts (so that bands of
// rows meet, the rows near their edges saved before any band starts).
class AdjustFastPath : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { setWorkerCount(GetParam()); }
    void TearDown() override { setWorkerCount(0); }
};

TEST_P(AdjustFastPath, ContrastMatchesThePlainOne) {
    std::uint32_t seed = 1;
    for (int w : {1, 2, 5, 10, 31})
        for (int h : {1, 2, 8, 9, 10, 70, 140})
            for (int p : {-250, -100, 0, 25, 100}) {
                const Bitmap n = noisy(w, h, ++seed);
                Bitmap fast = n, reference = n;
                AdjustContrast(fast, p);
                plain::AdjustContrast(reference, p);
                ASSERT_EQ(fast, reference) << w << "x" << h << " p=" << p;
            }
}

TEST_P(AdjustFastPath, ContrastWithKnownMeansIsTheSame) {
    const Bitmap n = noisy(37, 75, 12);
    int mean[3];
    ChannelMeans(n, mean);
    Bitmap a = n, b = n;
    AdjustContrast(a, 40);
    AdjustContrast(b, 40, mean);
    EXPECT_EQ(a, b);
}

TEST_P(AdjustFastPath, SaturationMatchesThePlainOne) {
    std::uint32_t seed = 50;
    for (int w : {1, 3, 40})
        for (int h : {1, 2, 300})
            for (int p : {-300, -100, -30, 0, 25, 100, 1000}) {
                const Bitmap n = noisy(w, h, ++seed);
                Bitmap fast = n, reference = n;
                EXPECT_TRUE(AdjustSaturation(fast, p));
                plain::AdjustSaturation(reference, p);
                ASSERT_EQ(fast, reference) << w << "x" << h << " p=" << p;
            }
}

TEST_P(AdjustFastPath, SaturationStopsWithRowsDoneFromTheTop) {
    const Bitmap n = noisy(30, 900, 8);
    Bitmap whole = n;
    plain::AdjustSaturation(whole, 60);
    // Set before the call: the first row only, as the plain routine does.
    std::atomic<bool> cancel{true};
    RenderContext ctx;
    ctx.cancel = &cancel;
    Bitmap early = n, earlyPlain = n;
    EXPECT_FALSE(AdjustSaturation(early, 60, &ctx));
    EXPECT_FALSE(plain::AdjustSaturation(earlyPlain, 60, &ctx));
    EXPECT_EQ(early, earlyPlain);
    // Set while it runs: some rows from the top are done and the rest untouched, whenever it comes.
    cancel = false;
    Bitmap late = n;
    std::thread setter([&] { cancel = true; });
    const bool finished = AdjustSaturation(late, 60, &ctx);
    setter.join();
    int done = 0;
    while (done < 900 && std::memcmp(late.row(done), whole.row(done), late.stride()) == 0) ++done;
    EXPECT_GE(done, 1);
    if (finished) {
        EXPECT_EQ(done, 900);
    }
    for (int y = done; y < 900; ++y) ASSERT_EQ(std::memcmp(late.row(y), n.row(y), n.stride()), 0) << "row " << y;
}

TEST_P(AdjustFastPath, BrightnessAndSaturationInOnePass) {
    const Bitmap n = noisy(23, 700, 30);
    for (auto [v, p] : {std::pair{10, 25}, {-40, 80}, {100, -100}}) {
        Bitmap one = n, two = n;
        EXPECT_TRUE(AdjustBrightnessAndSaturation(one, v, p));
        AdjustBrightness(two, v);
        plain::AdjustSaturation(two, p);
        ASSERT_EQ(one, two) << v << " " << p;
    }
    // Stopped: the rows not saturated are brightened all the same.
    std::atomic<bool> cancel{true};
    RenderContext ctx;
    ctx.cancel = &cancel;
    Bitmap one = n, two = n;
    EXPECT_FALSE(AdjustBrightnessAndSaturation(one, 10, 25, &ctx));
    AdjustBrightness(two, 10);
    plain::AdjustSaturation(two, 25, &ctx);
    EXPECT_EQ(one, two);
}

INSTANTIATE_TEST_SUITE_P(Workers, AdjustFastPath, ::testing::Values(1, 2, 3, 5));

TEST(Neighbourhood, MeansAndPaddedCopy) {
    const Bitmap n = noisy(21, 13, 4);
    int mean[3];
    ChannelMeans(n, mean);
    for (int ch = 0; ch < 3; ++ch) {
        long long sum = 0;
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 21; ++x) sum += n.pixel(x, y)[ch];
        EXPECT_EQ(mean[ch], sum / (21 * 13));
    }
    // The padded copy is the picture drawn four times on white, whatever the size.
    for (auto [w, h] : {std::pair{21, 13}, {4, 3}, {1, 12}, {9, 9}, {12, 1}}) {
        const Bitmap p = noisy(w, h, 9);
        Bitmap drawn(w + 18, h + 18);
        for (auto [x, y] : {std::pair{0, 0}, {9, 0}, {0, 9}, {9, 9}}) drawn.draw(p, x, y);
        EXPECT_EQ(PaddedCopy9(p), drawn) << w << "x" << h;
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
