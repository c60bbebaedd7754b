// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "imaging/parallel.h"
#include "imaging/view_scaling.h"
#include "test_pictures.h"

namespace gt {
namespace {

// A window of the view, drawn as the viewer draws it, compared with the same pixels of the whole
// displayed picture made the plain way.
void expectWindowMatches(const Bitmap& picture, const ViewPyramid* pyramid, int dw, int dh, int x0, int y0, int w, int h) {
    const Bitmap whole = plain::viewOf(picture, dw, dh);
    std::vector<std::uint32_t> out(std::size_t(w) * h + 7, 0xdeadbeef);
    renderView(picture, pyramid, dw, dh, x0, y0, w, h, out.data() + 3, w + 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Colour c = whole.colourAt(x0 + x, y0 + y);
            const std::uint32_t want = 0xff000000u | (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b;
            ASSERT_EQ(out[std::size_t(y) * w + x + 3], want) << dw << "x" << dh << " at " << x0 + x << "," << y0 + y;
        }
    EXPECT_EQ(out[2], 0xdeadbeefu);
    EXPECT_EQ(out[std::size_t(w) * h + 3], 0xdeadbeefu);
}

TEST(ViewScaling, LevelsAreTheSmallestStillAsLargeAsTheView) {
    EXPECT_EQ(viewLevelSize(8000, 2), 2000);
    EXPECT_EQ(viewLevelSize(7, 2), 1);
    EXPECT_EQ(viewLevelSize(1, 4), 1);
    EXPECT_EQ(viewLevel(8000, 6000, 8000, 6000), 0);
    EXPECT_EQ(viewLevel(8000, 6000, 4000, 3000), 1);
    EXPECT_EQ(viewLevel(8000, 6000, 4080, 3060), 0);
    EXPECT_EQ(viewLevel(8000, 6000, 1360, 1020), 2);
    EXPECT_EQ(viewLevel(8000, 6000, 400, 300), 4);  // 5 %: level 4 is 500 x 375
    EXPECT_EQ(viewLevel(8000, 6000, 8080, 6060), 0);  // enlarged
    // The sharper side decides: a level must cover both directions.
    EXPECT_EQ(viewLevel(100, 10, 40, 6), 0);
}

TEST(ViewScaling, WindowsOfTheViewMatchThePlainWholeRescale) {
    const Bitmap picture = testing::noisy(203, 149, 7);
    const ViewPyramid pyramid = buildViewPyramid(picture);
    ASSERT_TRUE(pyramid.matches(picture));
    for (int workers : {1, 2}) {
        setWorkerCount(workers);
        for (int zoom : {5, 9, 13, 20, 26, 37, 50, 51, 77, 100, 101, 250, 1000}) {
            const int dw = zoom * 203 / 100, dh = zoom * 149 / 100;
            SCOPED_TRACE(zoom);
            expectWindowMatches(picture, &pyramid, dw, dh, 0, 0, dw, dh);
            if (dw > 6 && dh > 6) expectWindowMatches(picture, &pyramid, dw, dh, dw / 3, dh / 2, dw - dw / 3 - 1, dh / 2 - 1);
            expectWindowMatches(picture, &pyramid, dw, dh, dw - 1, dh - 1, 1, 1);
        }
    }
    setWorkerCount(0);
}

TEST(ViewScaling, TinyAndOddPicturesStayInside) {
    for (auto [w, h] : {std::pair{1, 1}, std::pair{3, 1}, std::pair{5, 9}, std::pair{17, 2}}) {
        const Bitmap picture = testing::noisy(w, h, 3);
        const ViewPyramid pyramid = buildViewPyramid(picture);
        for (int zoom : {5, 30, 60, 100, 400}) {
            const int dw = zoom * w / 100, dh = zoom * h / 100;
            if (dw > 0 && dh > 0) expectWindowMatches(picture, &pyramid, dw, dh, 0, 0, dw, dh);
        }
    }
}

TEST(ViewScaling, ActualSizeIsThePictureItselfAndAStalePyramidIsNotUsed) {
    const Bitmap picture = testing::noisy(64, 48, 11);
    std::vector<std::uint32_t> out(64 * 48);
    renderView(picture, nullptr, 64, 48, 0, 0, 64, 48, out.data(), 64);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const Colour c = picture.colourAt(x, y);
            ASSERT_EQ(out[std::size_t(y) * 64 + x], 0xff000000u | (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b);
        }
    // A pyramid of another picture is ignored: the view comes from the picture, coarser but right.
    const ViewPyramid other = buildViewPyramid(testing::noisy(60, 48, 1));
    EXPECT_FALSE(other.matches(picture));
    std::vector<std::uint32_t> a(8 * 6), b(8 * 6);
    renderView(picture, &other, 8, 6, 0, 0, 8, 6, a.data(), 8);
    renderView(picture, nullptr, 8, 6, 0, 0, 8, 6, b.data(), 8);
    EXPECT_EQ(a, b);
}

}  // namespace
}  // namespace gt
