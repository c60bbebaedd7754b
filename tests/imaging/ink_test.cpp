// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <tuple>
#include <vector>

#include "imaging/adjust.h"
#include "imaging/filters.h"
#include "imaging/ink.h"
#include "imaging/parallel.h"
#include "test_context.h"
#include "test_pictures.h"

namespace gt {
namespace {

using testing::Recorder;
using testing::Report;

using testing::grey;
using testing::noisy;

constexpr Colour rgb(int r, int g, int b) { return Colour{std::uint8_t(b), std::uint8_t(g), std::uint8_t(r)}; }

// Tile k at (x, y): a colour that tells the tile, the column and the row apart.
Colour tileColour(int k, int x, int y) { return rgb((k * 28 + x) % 256, (y + 3 * k) % 256, (x * 2 + y) % 256); }

struct Ink {
    std::array<Bitmap, 9> tiles;
    Bitmap texture = grey(256, 256, 128);
    Materials materials;
    DrawingControls controls;
    Ink() {
        for (int k = 0; k < 9; ++k) {
            tiles[std::size_t(k)].setSize(100, 200);
            for (int y = 0; y < 200; ++y)
                for (int x = 0; x < 100; ++x) tiles[std::size_t(k)].setColour(x, y, tileColour(k, x, y));
            materials.InkToneTiles[std::size_t(k)] = &tiles[std::size_t(k)];
        }
        materials.PaperTexture = &texture;
        controls.TrackBar1 = 30;
        controls.TrackBar2 = 110;
        controls.TrackBar3 = 140;
        controls.CheckBox2 = false;
        controls.CheckBox3 = false;
    }
    Bitmap draw(Bitmap photo, RenderContext* context = nullptr) const {
        RenderContext own;
        Bitmap d;
        PenAndInkSketch(photo, d, controls, materials, context ? *context : own);
        return d;
    }
};

Colour hatched(const Colour& t, int trackBar3) {
    const int add = 2 * trackBar3 - 255;
    auto ch = [add](int v) { return std::uint8_t(std::clamp(v + add, 0, 255)); };
    return Colour{ch(t.b), ch(t.g), ch(t.r)};
}

TEST(PenAndInkSketch, LinesAndHatchingByHand) {
    Ink ink;
    // Row 0 at 40, rows 1 and 2 at 10. Prepared: the interior (row 1, columns 1..3) blurs to
    // 180 div 9 = 20 and brightens to 20 + 23 = 43; row 0 becomes 61, the other border pixels 34.
    Bitmap photo = grey(5, 3, 10);
    for (int x = 0; x < 5; ++x) photo.setColour(x, 0, rgb(40, 40, 40));
    const Bitmap d = ink.draw(photo);
    // (1,1): gv = 3 * 18 = 54 > 30, gh = 3 * 9 = 27, level 43 div 25 = 1: 1 - 81 + 255 - 110 = 65.
    EXPECT_EQ(d.colourAt(1, 1), rgb(65, 65, 65));
    EXPECT_EQ(d.colourAt(2, 1), rgb(92, 92, 92));  // gh = 0: 1 - 54 + 145
    EXPECT_EQ(d.colourAt(3, 1), rgb(92, 92, 92));
    EXPECT_EQ(d.colourAt(4, 1), rgb(38, 38, 38));  // 34 under 61 and beside 43: 1 - 108 + 145
    // (1,2): 34 under 43 (gv = 27) and beside 34: no line; tile 1 at (1, 2), plus 2 * 140 - 255 = 25.
    EXPECT_EQ(d.colourAt(1, 2), hatched(tileColour(1, 1, 2), 140));
    // Row 0 and column 0 are never drawn.
    for (int x = 0; x < 5; ++x) EXPECT_EQ(d.colourAt(x, 0), kWhite);
    for (int y = 0; y < 3; ++y) EXPECT_EQ(d.colourAt(0, y), kWhite);
}

TEST(PenAndInkSketch, UniformPhotoIsOneTileRepeating) {
    Ink ink;
    // 120 brightens to 120 + 135 * 10 div 100 = 133: level 5 everywhere, no edges.
    const Bitmap d = ink.draw(grey(230, 420, 120));
    for (int y = 0; y < 420; ++y)
        for (int x = 0; x < 230; ++x) {
            const Colour expected = x == 0 || y == 0 ? kWhite : hatched(tileColour(5, x % 100, y % 200), 140);
            ASSERT_EQ(d.colourAt(x, y), expected) << x << "," << y;
        }
}

TEST(PenAndInkSketch, HatchingBrightnessExtremes) {
    Ink ink;
    for (auto [trackBar3, value] : {std::pair{0, 0}, {255, 255}}) {
        ink.controls.TrackBar3 = trackBar3;
        const Bitmap d = ink.draw(grey(120, 30, 60));
        for (int y = 1; y < 30; ++y)
            for (int x = 1; x < 120; ++x) ASSERT_EQ(d.colourAt(x, y), grey(1, 1, value).colourAt(0, 0)) << trackBar3;
    }
}

TEST(PenAndInkSketch, BrightPhotosGiveAWhitePage) {
    Ink ink;
    ink.controls.TrackBar1 = 255;
    // 225 brightens to 228 (level 9); the noise stays far below a gradient of 255.
    Bitmap photo = noisy(60, 40, 3);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            std::uint8_t* p = photo.pixel(x, y);
            for (int ch = 0; ch < 3; ++ch) p[ch] = std::uint8_t(225 + p[ch] % 31);
        }
    EXPECT_EQ(ink.draw(photo), grey(60, 40, 255));
    EXPECT_EQ(ink.draw(grey(7, 7, 250)), grey(7, 7, 255));  // level 10
}

TEST(PenAndInkSketch, PaperTextureHasDoubledStrengthsAndRepeatsEvery256) {
    Ink ink;
    ink.controls.CheckBox3 = true;
    ink.texture = grey(256, 256, 64);
    for (int y = 0; y < 256; ++y) ink.texture.setColour(255, y, kBlack);
    const Bitmap photo = grey(300, 5, 120);  // level 5 hatching, no lines
    ink.controls.CheckBox3 = false;
    const Bitmap bare = ink.draw(photo);
    ink.controls.CheckBox3 = true;
    for (auto [combo, shift64, shift0] : {std::tuple{0, 64, 128}, {1, 128, 256}, {2, 256, 512}}) {
        // K = 128, 256, 512: a texel of 64 adds K - 64 * (10K div 128) div 10, that is K / 2.
        ink.controls.ComboBox2 = combo;
        const Bitmap d = ink.draw(photo);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 300; ++x)
                for (int ch = 0; ch < 3; ++ch) {
                    const int was = bare.pixel(x, y)[ch];
                    const int expected = x == 0 || y == 0 ? was : std::min(255, was + (x == 255 ? shift0 : shift64));
                    ASSERT_EQ(d.pixel(x, y)[ch], expected) << combo << ": " << x << "," << y;
                }
    }
}

TEST(PenAndInkSketch, LinePixelsAreGrey) {
    Ink ink;
    ink.controls.TrackBar1 = 0;  // any difference from above or left is a line
    ink.controls.TrackBar3 = 200;
    const Bitmap photo = noisy(40, 30, 8);
    Bitmap prepared = photo;
    Blur3x3(prepared);
    AdjustBrightness(prepared, 10);
    AdjustSaturation(prepared, 25);
    const Bitmap d = ink.draw(photo);
    int lines = 0;
    for (int y = 1; y < 30; ++y)
        for (int x = 1; x < 40; ++x)
            if (prepared.colourAt(x, y) != prepared.colourAt(x, y - 1) || prepared.colourAt(x, y) != prepared.colourAt(x - 1, y)) {
                const Colour c = d.colourAt(x, y);
                EXPECT_TRUE(c.r == c.g && c.g == c.b) << x << "," << y;
                ++lines;
            }
    EXPECT_GT(lines, 1000);
}

TEST(PenAndInkSketch, PreparesTheSourceInPlaceAndSeedsTheGenerator) {
    Ink ink;
    const Bitmap photo = noisy(20, 15, 4);
    Bitmap expected = photo;
    Blur3x3(expected);
    AdjustBrightness(expected, 10);
    AdjustSaturation(expected, 25);
    Bitmap source = photo, d;
    RenderContext ctx;
    ctx.random.seed = 77;
    PenAndInkSketch(source, d, ink.controls, ink.materials, ctx);
    EXPECT_EQ(source, expected);
    EXPECT_EQ(ctx.random.seed, kDrawingSeed);
    EXPECT_EQ(d.width(), 20);
    EXPECT_EQ(d.height(), 15);
}

TEST(PenAndInkSketch, RefusesMissingOrSmallTiles) {
    Ink ink;
    Materials m = ink.materials;
    Bitmap small(99, 200);
    m.InkToneTiles[4] = &small;
    RenderContext ctx;
    Bitmap s = noisy(5, 5, 1), d;
    EXPECT_THROW(PenAndInkSketch(s, d, ink.controls, m, ctx), std::runtime_error);
    m.InkToneTiles[4] = nullptr;
    EXPECT_THROW(PenAndInkSketch(s, d, ink.controls, m, ctx), std::runtime_error);
}


TEST(PenAndInkSketch, ReportsEveryRowAndStopsOnCancel) {
    Ink ink;
    const Bitmap photo = noisy(30, 12, 5);
    Recorder all;
    const Bitmap full = ink.draw(photo, &all.ctx);
    ASSERT_EQ(all.reports.size(), 11u);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(all.reports[std::size_t(i)], (Report{i, 10, 1, 1}));
    for (bool plainPath : {true, false}) {
        const testing::PlainPaths paths(plainPath);
        Recorder r(3);  // rows 1 and 2 are drawn
        const Bitmap d = ink.draw(photo, &r.ctx);
        EXPECT_EQ(r.reports.size(), 3u);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 30; ++x) ASSERT_EQ(d.colourAt(x, y), y < 3 ? full.colourAt(x, y) : kWhite) << x << "," << y;
    }
}

TEST(PenAndInkSketch, FastEqualsPlain) {
    Ink ink;
    Random r;
    r.seed = 99;
    const int saved = workerCount();
    setWorkerCount(3);
    for (int i = 0; i < 50; ++i) {
        const int w = 1 + static_cast<int>(r.draw(i < 40 ? 30 : 260)), h = 1 + static_cast<int>(r.draw(i < 40 ? 30 : 260));
        const Bitmap photo = noisy(w, h, r.seed);
        DrawingControls c = ink.controls;
        c.TrackBar1 = r.draw(4) == 0 ? 0 : static_cast<int>(r.draw(256));
        c.TrackBar2 = r.draw(256);
        c.TrackBar3 = r.draw(256);
        c.CheckBox2 = r.draw(2) == 1;
        c.CheckBox3 = r.draw(2) == 1;
        c.ComboBox2 = r.draw(3);
        const int cancelAfter = r.draw(3) == 0 ? 1 + static_cast<int>(r.draw(static_cast<std::uint32_t>(h))) : -1;
        Recorder a(cancelAfter), b(cancelAfter);
        Bitmap s1 = photo, s2 = photo, slow, fast;
        plain::PenAndInkSketch(s1, slow, c, ink.materials, a.ctx);
        PenAndInkSketch(s2, fast, c, ink.materials, b.ctx);
        ASSERT_EQ(fast, slow) << i << ": " << w << "x" << h;
        ASSERT_EQ(s1, s2);
        EXPECT_EQ(a.reports, b.reports);
    }
    setWorkerCount(saved);
}

}  // namespace
}  // namespace gt
