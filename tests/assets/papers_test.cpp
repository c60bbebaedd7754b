// SPDX-License-Identifier: GPL-3.0-or-later
// The ten paper textures: centred on mid-grey, moderate grain, and tiling every 256 pixels.

#include "asset_files.h"

namespace gt::testing {
namespace {

class PaperTexture : public ::testing::TestWithParam<int> {
protected:
    QImage paper = loadAsset(QString("paper_%1.png").arg(GetParam(), 2, 10, QChar('0')).toStdString());
};

TEST_P(PaperTexture, IsCentredOnMidGreyWithAModerateGrain) {
    ASSERT_EQ(paper.width(), 256);
    ASSERT_EQ(paper.height(), 256);
    for (int ch = 0; ch < 3; ++ch) {
        double sum = 0, sq = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                double v = channel(paper.pixel(x, y), ch);
                sum += v;
                sq += v * v;
            }
        double mean = sum / 65536, dev = std::sqrt(sq / 65536 - mean * mean);
        // 128 leaves a drawing unchanged, so the paper neither darkens nor lightens it on the whole.
        EXPECT_NEAR(mean, 128.0, 0.6) << "channel " << ch;
        // Visible at the light strength, not overwhelming at the ink drawing's fourfold one.
        EXPECT_GT(dev, 1.5) << "channel " << ch;
        EXPECT_LT(dev, 14.0) << "channel " << ch;
    }
}

TEST_P(PaperTexture, TilesEvery256PixelsAndNearlySoAt255) {
    for (bool across : {true, false}) {
        Steps s = steps(paper, across, 256);
        EXPECT_LE(s.wrap, maxOf(s.interior)) << (across ? "across" : "down");
        EXPECT_LE(s.wrap, 2.0 * meanOf(s.interior)) << (across ? "across" : "down");
        // Most styles repeat the texture every 255 pixels, skipping its last line.
        Steps short255 = steps(paper, across, 255);
        EXPECT_LE(short255.wrap, 2.5 * meanOf(short255.interior) + 1.0) << (across ? "across" : "down");
    }
}

INSTANTIATE_TEST_SUITE_P(AllTen, PaperTexture, ::testing::Range(1, 11));

}  // namespace
}  // namespace gt::testing
