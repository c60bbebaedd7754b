// SPDX-License-Identifier: GPL-3.0-or-later
// The frame pictures: each has a white window that the frames window finds by the light test, and
// nothing of the moulding passes that test, after JPEG compression.

#include "asset_files.h"

namespace gt::testing {
namespace {

// The frames window's test: 65536 * blue + 256 * green + red at least 13,824,000.
bool light(const QImage& img, int x, int y) {
    QRgb c = img.pixel(x, y);
    return 65536 * qBlue(c) + 256 * qGreen(c) + qRed(c) >= 13824000;
}

struct Window {
    int left, right, top, bottom;  // the last light pixel met going outward from each start point
};

// Walks outward from the quarter points as the frames window does; fails if the walk never leaves
// the light.
Window findWindow(const QImage& f) {
    int w = f.width(), h = f.height(), cx = w / 2, cy = h / 2;
    Window win{};
    int x = w / 4;
    EXPECT_TRUE(light(f, x, cy));
    while (x > 0 && light(f, x - 1, cy)) --x;
    EXPECT_GT(x, 0) << "the window reaches the left edge";
    win.left = x;
    x = w - w / 4;
    EXPECT_TRUE(light(f, x, cy));
    while (x < w - 1 && light(f, x + 1, cy)) ++x;
    EXPECT_LT(x, w - 1) << "the window reaches the right edge";
    win.right = x;
    int y = h / 4;
    EXPECT_TRUE(light(f, cx, y));
    while (y > 0 && light(f, cx, y - 1)) --y;
    EXPECT_GT(y, 0) << "the window reaches the top edge";
    win.top = y;
    y = h - h / 4;
    EXPECT_TRUE(light(f, cx, y));
    while (y < h - 1 && light(f, cx, y + 1)) ++y;
    EXPECT_LT(y, h - 1) << "the window reaches the bottom edge";
    win.bottom = y;
    return win;
}

class FramePicture : public ::testing::TestWithParam<int> {};

TEST_P(FramePicture, HasAWhiteWindowInsideAMouldingThatIsNeverLight) {
    QImage f = loadAsset("frame_" + std::to_string(GetParam()) + ".jpg");
    ASSERT_EQ(f.width(), 800);
    ASSERT_EQ(f.height(), 600);
    Window win = findWindow(f);
    if (HasFailure()) return;

    // A real moulding, not a hairline: the window starts well inside the picture on every side.
    EXPECT_GE(win.left, 30);
    EXPECT_GE(win.top, 30);
    EXPECT_LE(win.right, 769);
    EXPECT_LE(win.bottom, 569);

    int darkInside = 0, lightOutside = 0;
    for (int y = 0; y < f.height(); ++y)
        for (int x = 0; x < f.width(); ++x) {
            bool inside = x >= win.left && x <= win.right && y >= win.top && y <= win.bottom;
            // Three pixels of leeway around the window's edge for the JPEG's ringing.
            bool outside = x < win.left - 3 || x > win.right + 3 || y < win.top - 3 || y > win.bottom + 3;
            if (inside && !light(f, x, y)) ++darkInside;
            if (outside && light(f, x, y)) ++lightOutside;
        }
    EXPECT_EQ(darkInside, 0) << "the window is a light rectangle";
    EXPECT_EQ(lightOutside, 0) << "the moulding stays below the light test";

    // The inner edge is clearly dark enough: blue well under the test's 211 just outside the window.
    int maxBlue = 0;
    for (int y = win.top; y <= win.bottom; ++y) {
        maxBlue = std::max({maxBlue, qBlue(f.pixel(win.left - 4, y)), qBlue(f.pixel(win.right + 4, y))});
    }
    EXPECT_LT(maxBlue, 205);
    for (auto [x, y] : {std::pair{0, 0}, {799, 0}, {0, 599}, {799, 599}, {5, 5}, {794, 594}})
        EXPECT_FALSE(light(f, x, y)) << "corner " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(AllEight, FramePicture, ::testing::Range(1, 9));

}  // namespace
}  // namespace gt::testing
