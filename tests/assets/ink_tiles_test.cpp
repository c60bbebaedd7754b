// SPDX-License-Identifier: GPL-3.0-or-later
// The nine ink tiles: size, tone ramp, and a seamless repeat every 100 across and 200 down.

#include "asset_files.h"

namespace gt::testing {
namespace {

const int kMeans[9] = {31, 56, 86, 159, 185, 204, 225, 244, 253};

class InkTile : public ::testing::TestWithParam<int> {
protected:
    QImage tile = loadAsset("ink_tile_" + std::to_string(GetParam()) + ".png");
};

TEST_P(InkTile, IsAGreyTileOfItsMeanTone) {
    ASSERT_EQ(tile.width(), 100);
    ASSERT_EQ(tile.height(), 200);
    double sum = 0;
    int coloured = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 100; ++x) {
            QRgb c = tile.pixel(x, y);
            if (qRed(c) != qGreen(c) || qGreen(c) != qBlue(c)) ++coloured;
            sum += qRed(c);
        }
    EXPECT_EQ(coloured, 0);
    EXPECT_NEAR(sum / 20000, kMeans[GetParam()], 1.0);
}

TEST_P(InkTile, RepeatsWithoutASeam) {
    ASSERT_EQ(tile.width(), 100);
    // Where the tile meets its next copy the step is no larger than steps inside the tile.
    for (bool across : {true, false}) {
        Steps s = steps(tile, across, across ? 100 : 200);
        EXPECT_LE(s.wrap, maxOf(s.interior) + 0.5) << (across ? "across" : "down");
        EXPECT_LE(s.wrap, 2.5 * meanOf(s.interior) + 2.0) << (across ? "across" : "down");
    }
}

INSTANTIATE_TEST_SUITE_P(AllNine, InkTile, ::testing::Range(0, 9));

TEST(InkTiles, DarkTilesAreHatchingNotFlatGrey) {
    // Each of the first six tiles has both paper (near white) and ink (near black) in it.
    for (int k = 0; k < 6; ++k) {
        QImage t = loadAsset("ink_tile_" + std::to_string(k) + ".png");
        int white = 0, black = 0;
        for (int y = 0; y < t.height(); ++y)
            for (int x = 0; x < t.width(); ++x) {
                int v = qRed(t.pixel(x, y));
                white += v >= 200;
                black += v <= 60;
            }
        EXPECT_GT(white, 100) << k;
        EXPECT_GT(black, 1000) << k;
    }
}

}  // namespace
}  // namespace gt::testing
