// SPDX-License-Identifier: GPL-3.0-or-later
// The pencil tone strip: grey, within its value range, and its column means on the tone ramp.

#include "asset_files.h"

namespace gt::testing {
namespace {

// The ramp the pencil drawing was tuned to, by column.
double rampAt(int c) {
    const double knots[][2] = {{0, 38}, {64, 49}, {128, 82}, {192, 121}, {256, 182}, {320, 221}, {384, 243}, {416, 251}, {511, 251}};
    for (int i = 1; i < 9; ++i)
        if (c <= knots[i][0])
            return knots[i - 1][1] + (knots[i][1] - knots[i - 1][1]) * (c - knots[i - 1][0]) / (knots[i][0] - knots[i - 1][0]);
    return 251;
}

TEST(PencilToneStrip, IsGreyAndWithinTheRangeOfItsTones) {
    QImage s = loadAsset("pencil_tone_strip.png");
    ASSERT_EQ(s.width(), 512);
    ASSERT_EQ(s.height(), 166);
    int lo = 255, hi = 0, coloured = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            QRgb c = s.pixel(x, y);
            if (qRed(c) != qGreen(c) || qGreen(c) != qBlue(c)) ++coloured;
            lo = std::min(lo, qRed(c));
            hi = std::max(hi, qRed(c));
        }
    EXPECT_EQ(coloured, 0);
    EXPECT_GE(lo, 20);
    EXPECT_LE(hi, 251);
    EXPECT_LE(lo, 26) << "the darkest strokes reach the bottom of the range";
}

TEST(PencilToneStrip, ColumnMeansFollowTheRampInTheRowsRead) {
    QImage s = loadAsset("pencil_tone_strip.png");
    ASSERT_EQ(s.height(), 166);
    // The drawing reads even columns of rows 1..164; every column of every row is kept good anyway.
    for (int c = 0; c < 512; ++c) {
        double read = 0, all = 0;
        for (int y = 0; y < 166; ++y) {
            int v = qRed(s.pixel(c, y));
            all += v;
            if (y >= 1 && y <= 164) read += v;
        }
        EXPECT_NEAR(read / 164, rampAt(c), 2.5) << "column " << c;
        EXPECT_NEAR(all / 166, rampAt(c), 1.0) << "column " << c;
    }
}

TEST(PencilToneStrip, HatchingVariesAlongRowsButTheLightestToneIsBarePaper) {
    QImage s = loadAsset("pencil_tone_strip.png");
    // Strokes: within the mid tones the rows differ from one another (a row is not a flat ramp).
    double spread = 0;
    for (int y = 0; y < 166; ++y) spread += std::abs(qRed(s.pixel(192, y)) - 121);
    EXPECT_GT(spread / 166, 15);
    for (int y = 0; y < 166; ++y)
        for (int x = 416; x < 512; ++x) ASSERT_EQ(qRed(s.pixel(x, y)), 251) << x << "," << y;
}

}  // namespace
}  // namespace gt::testing
