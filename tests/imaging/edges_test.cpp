// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cmath>
#include <vector>

#include "imaging/edges.h"
#include "imaging/error.h"
#include "imaging/filters.h"
#include "imaging/parallel.h"
#include "imaging/texture.h"
#include "test_pictures.h"

namespace gt {
namespace {

using testing::flat;
using testing::grey;
using testing::noisy;

DrawingControls optionsOff(int T1, int T2, int T5, int T3, int T4 = 0) {
    DrawingControls c;
    c.TrackBar1 = T1;
    c.TrackBar2 = T2;
    c.TrackBar5 = T5;
    c.TrackBar3 = T3;
    c.TrackBar4 = T4;
    c.CheckBox2 = false;
    c.CheckBox3 = false;
    return c;
}

std::uint32_t seedAfter(std::uint32_t seed, int draws) {
    Random r;
    r.seed = seed;
    for (int i = 0; i < draws; ++i) r.advance();
    return r.seed;
}

// Rows of one grey each, top to bottom: a horizontal edge, so J = 0.
Bitmap rowsOf(int w, std::vector<int> levels) {
    Bitmap b(w, static_cast<int>(levels.size()));
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < w; ++x) b.setColour(x, y, Colour{std::uint8_t(levels[y]), std::uint8_t(levels[y]), std::uint8_t(levels[y])});
    return b;
}

int level(const Bitmap& b, int x, int y) { return b.pixel(x, y)[0]; }

TEST(DirectionTable, DecimalConstantsAndTheDirectFormulaAgree) {
    const DirectionTable& t = directionTable();
    EXPECT_EQ(t(0, -200), 3.14159);
    EXPECT_EQ(t(0, 0), 3.14159);
    EXPECT_EQ(t(10, 0), 1.5707);
    EXPECT_EQ(t(1, 1), std::atan(1.0) + 1.5707);
    for (int i = -255; i <= 255; i += 17)
        for (int j = -255; j <= 255; j += 13) ASSERT_EQ(t(i, j), strokeAngle(i, j)) << i << "," << j;
}

TEST(SobelFilter, FlatGreyOf200StaysWhiteButDrawsForEveryInteriorPixel) {
    RenderContext ctx;
    ctx.random.seed = 1969;
    Bitmap d;
    SobelFilter(grey(6, 5, 200), d, optionsOff(7, 127, 30, 127), Materials{}, ctx);  // D = 382 - 127 - 400 < 0
    EXPECT_EQ(d, grey(6, 5, 255));
    EXPECT_EQ(ctx.random.seed, seedAfter(1969, 4 * 3));
}

TEST(SobelFilter, ShadingStrokeOfFiveStepsFromStrength15) {
    // Only the pixel (1, 5) has grey 50: D = 382 - 127 - 100 = 155, n = 4, q(r) = 15 - r. T1 = 255 makes
    // every pixel shade. It is the fifth draw from seed 1969; with range 8 - 50 div 32 = 7 that draw is
    // 2, so the angle is 2 + 50 div 8 = 8 radians (cos -0.146, sin 0.989).
    Bitmap src = grey(3, 11, 200);
    src.setColour(1, 5, Colour{50, 50, 50});
    Random r;
    r.seed = seedAfter(1969, 4);
    ASSERT_EQ(r.draw(7), 2);

    RenderContext ctx;
    ctx.random.seed = 1969;
    Bitmap d;
    SobelFilter(src, d, optionsOff(255, 127, 30, 127), Materials{}, ctx);
    Bitmap expected = grey(3, 11, 255);
    auto set = [&](int x, int y, int v) { expected.setColour(x, y, Colour{std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)}); };
    set(1, 5, 255 - 2 * 15);             // r = 0: the pixel itself, twice
    set(2, 5, 241); set(0, 5, 241);      // r = 1: (dx, dy) = (-1, 0), strength 14
    set(2, 4, 242); set(0, 6, 242);      // r = 2: (-1, 1), 13
    set(2, 3, 243); set(0, 7, 243);      // r = 3: (-1, 2), 12
    set(2, 2, 244); set(0, 8, 244);      // r = 4: (-1, 3), 11
    EXPECT_EQ(d, expected);
}

TEST(SobelFilter, VerticalGradientAloneDrawsAHorizontalStroke) {
    // Rows 0, 100, 200: J = 0, K = -200, L = 100; angle 3.14159; n = 25 * 10 div 50 = 5; q(r) = 10 - r.
    RenderContext ctx;
    Bitmap d;
    SobelFilter(rowsOf(7, {0, 100, 200}), d, optionsOff(100, 150, 10, 127), Materials{}, ctx);
    const int row1[7] = {220, 205, 202, 201, 202, 205, 220};  // e.g. x = 3: 8 + 9 + 20 + 9 + 8 from x = 1..5
    for (int x = 0; x < 7; ++x) {
        EXPECT_EQ(level(d, x, 0), 255);
        EXPECT_EQ(level(d, x, 1), row1[x]) << x;
        EXPECT_EQ(level(d, x, 2), 255);
    }
    EXPECT_EQ(ctx.random.seed, 0u);  // edge strokes draw no numbers
}

TEST(SobelFilter, ZeroLengthEdgeStrokeDarkensOnlyFromTrackBar2Of154) {
    auto centre = [](int T2) {
        RenderContext ctx;
        Bitmap d;
        SobelFilter(rowsOf(3, {0, 100, 200}), d, optionsOff(100, T2, 0, 127), Materials{}, ctx);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                if (x != 1 || y != 1) {
                    EXPECT_EQ(level(d, x, y), 255);
                }
        return level(d, 1, 1);
    };
    EXPECT_EQ(centre(227), 255 - 2 * 19);  // strength -((150 - 227) div 4) = 19, twice
    EXPECT_EQ(centre(154), 253);
    EXPECT_EQ(centre(153), 255);
    EXPECT_EQ(centre(0), 255);
}

TEST(SobelFilter, PicturesWithoutInteriorStayWhite) {
    for (auto [w, h] : {std::pair{1, 1}, {2, 2}, {7, 2}, {2, 7}}) {
        RenderContext ctx;
        ctx.random.seed = 5;
        Bitmap d;
        SobelFilter(grey(w, h, 0), d, optionsOff(0, 255, 100, 0), Materials{}, ctx);
        EXPECT_EQ(d, grey(w, h, 255));
        EXPECT_EQ(ctx.random.seed, 5u);
    }
}

TEST(SobelFilter, ReportsPercentPerRowAndStopsOnlyEveryTwentiethRowWithTheWindowHidden) {
    const Bitmap src = noisy(10, 50, 4);
    std::atomic<bool> cancel{true};
    std::vector<int> steps;
    RenderContext ctx;
    ctx.cancel = &cancel;
    ctx.progress = [&](int step, int lastStep, int pass, int passes) {
        EXPECT_EQ(lastStep, 99);
        EXPECT_EQ(pass, 1);
        EXPECT_EQ(passes, 1);
        steps.push_back(step);
    };
    Bitmap d;
    SobelFilter(src, d, optionsOff(10, 127, 30, 127), Materials{}, ctx);
    ASSERT_EQ(steps.size(), 20u);  // rows 1..20, then the first check
    EXPECT_EQ(steps.back(), 20 * 100 / 50);

    steps.clear();
    ctx.parameterWindowVisible = true;  // the preview runs to its end
    SobelFilter(src, d, optionsOff(10, 127, 30, 127), Materials{}, ctx);
    EXPECT_EQ(steps.size(), 48u);
}

TEST(ColourSobel, PixelsAlreadyBlackStartNoStroke) {
    // A black photo with T3 = 0 shades everywhere at full strength (D = 382): later pixels are black
    // before their turn and draw no number, where the grey drawing draws one per interior pixel.
    const Bitmap black = grey(24, 24, 0);
    RenderContext a, b;
    Bitmap greyDrawing, colourDrawing;
    SobelFilter(black, greyDrawing, optionsOff(255, 127, 30, 0), Materials{}, a);
    ColourSobel(black, colourDrawing, optionsOff(255, 127, 30, 0, 128), Materials{}, b);
    EXPECT_EQ(a.random.seed, seedAfter(0, 22 * 22));
    EXPECT_NE(b.random.seed, a.random.seed);
    // Strokes darker than the light left leave black, never a colour.
    EXPECT_EQ(colourDrawing.colourAt(12, 12), kBlack);
}

TEST(ColourSobel, ColourPassNumbers) {
    // Grey 124 with T3 = 200: D < 0, the sheet stays white (d = 255); the median of a flat photo is the
    // photo. v = (((255 * c) div 256) * 255) div 256 gives 198, 98, 48 for red 200, green 100, blue 50;
    // then the saturation step (grey 114) gives 219, 94, 32.
    const Bitmap photo = flat(12, 12, Colour{50, 100, 200});
    RenderContext ctx;
    Bitmap d;
    ColourSobel(photo, d, optionsOff(0, 127, 30, 200, 255), Materials{}, ctx);
    EXPECT_EQ(d.colourAt(1, 1), (Colour{32, 94, 219}));
    EXPECT_EQ(d.colourAt(0, 0), kWhite);  // the border is never tinted

    // T4 = 50 on grey 200 (T3 = 127, D = 0): (199 * 50 + 205 * 255) div 256 = 243.
    ColourSobel(grey(12, 12, 200), d, optionsOff(0, 127, 30, 127, 50), Materials{}, ctx);
    EXPECT_EQ(d.colourAt(1, 1), (Colour{243, 243, 243}));
}

TEST(NoFilter, CopiesAndAppliesTheOptions) {
    const Bitmap photo = noisy(9, 8, 3);
    const Bitmap texture = noisy(20, 20, 8);
    Materials m;
    m.PaperTexture = &texture;
    RenderContext ctx;
    DrawingControls c = optionsOff(0, 0, 0, 0);
    Bitmap d = grey(2, 2, 0);
    NoFilter(photo, d, c, m, ctx);
    EXPECT_EQ(d, photo);

    c.CheckBox2 = true;
    c.CheckBox3 = true;
    c.ComboBox2 = 2;
    Bitmap expected = photo;
    Soften(expected);
    ApplyPaperTexture(expected, texture, 256, TexturePeriod::SizeLessOne);
    Bitmap same = photo;
    NoFilter(same, same, c, m, ctx);
    EXPECT_EQ(same, expected);

    EXPECT_THROW(NoFilter(photo, d, c, Materials{}, ctx), Error);
}

TEST(EdgeDrawings, MayDrawOverTheirOwnSource) {
    const Bitmap photo = noisy(30, 24, 6);
    const DrawingControls c = optionsOff(10, 200, 20, 50, 50);
    for (auto routine : {&SobelFilter, &ColourSobel}) {
        RenderContext a, b;
        Bitmap apart, same = photo;
        routine(photo, apart, c, Materials{}, a);
        routine(same, same, c, Materials{}, b);
        EXPECT_EQ(same, apart);
    }
}

// A photo with smooth areas (shading strokes), edges and a little noise.
Bitmap photoLike(int w, int h, std::uint32_t seed) {
    Bitmap b = noisy(w, h, seed);
    Random r;
    r.seed = seed;
    const int cx = static_cast<int>(r.draw(static_cast<std::uint32_t>(w + 1))), cy = static_cast<int>(r.draw(static_cast<std::uint32_t>(h + 1)));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = b.pixel(x, y);
            const bool inside = (x - cx) * (x - cx) + (y - cy) * (y - cy) < (w * w + h * h) / 16;
            const int base = inside ? 60 + y % 40 : 170 + (x * 3) % 50;
            for (int ch = 0; ch < 3; ++ch) p[ch] = static_cast<std::uint8_t>(std::min(255, base + ch * 20 + p[ch] % 9));
        }
    return b;
}

struct Rendering {
    Bitmap drawing;
    std::uint32_t seed = 0;
    std::vector<std::array<int, 4>> progress;
};

template <class Routine>
Rendering render(Routine routine, const Bitmap& photo, const DrawingControls& c, const Materials& m, std::uint32_t seed, int cancelAt, bool preview) {
    Rendering run;
    std::atomic<bool> cancel{false};
    RenderContext ctx;
    ctx.random.seed = seed;
    ctx.cancel = &cancel;
    ctx.parameterWindowVisible = preview;
    ctx.progress = [&](int step, int lastStep, int pass, int passes) {
        if (static_cast<int>(run.progress.size()) == cancelAt) cancel = true;
        run.progress.push_back({step, lastStep, pass, passes});
    };
    routine(photo, run.drawing, c, m, ctx);
    run.seed = ctx.random.seed;
    return run;
}

TEST(EdgeDrawings, FastPathsMatchThePlainOnesByteForByte) {
    const int saved = workerCount();
    const Bitmap texture = noisy(40, 40, 99);
    Materials m;
    m.PaperTexture = &texture;
    Random pick;
    pick.seed = 2024;
    const std::pair<int, int> sizes[] = {{1, 1}, {2, 2}, {3, 3}, {3, 41}, {41, 3}, {25, 150}, {60, 90}, {17, 64}};
    int cases = 0;
    for (int workers : {1, 2, 3}) {
        setWorkerCount(workers);
        for (auto [w, h] : sizes) {
            for (int k = 0; k < 3; ++k, ++cases) {
                DrawingControls c;
                c.TrackBar1 = pick.draw(3) == 0 ? static_cast<int>(pick.draw(256u)) : static_cast<int>(pick.draw(30u));
                c.TrackBar2 = static_cast<int>(pick.draw(256u));
                c.TrackBar5 = k == 0 ? static_cast<int>(pick.draw(10u)) : static_cast<int>(pick.draw(101u));
                c.TrackBar3 = static_cast<int>(pick.draw(256u));
                c.TrackBar4 = static_cast<int>(pick.draw(256u));
                c.CheckBox2 = pick.draw(2) == 1;
                c.CheckBox3 = pick.draw(2) == 1;
                c.ComboBox2 = pick.draw(3);
                const Bitmap photo = k == 2 ? noisy(w, h, pick.seed) : photoLike(w, h, pick.seed);
                const std::uint32_t seed = pick.seed;
                // Cancel requested during a random report (or never), with the window hidden or showing.
                const int cancelAt = pick.draw(3) == 0 ? -1 : static_cast<int>(pick.draw(static_cast<std::uint32_t>(h + 10)));
                const bool preview = pick.draw(4) == 0;
                for (int style = 0; style < 2; ++style) {
                    auto fastRoutine = style == 0 ? &SobelFilter : &ColourSobel;
                    auto plainRoutine = style == 0 ? &plain::SobelFilter : &plain::ColourSobel;
                    const Rendering fast = render(fastRoutine, photo, c, m, seed, cancelAt, preview);
                    const Rendering reference = render(plainRoutine, photo, c, m, seed, cancelAt, preview);
                    ASSERT_EQ(fast.drawing, reference.drawing) << "style " << style << " " << w << "x" << h << " case " << cases;
                    ASSERT_EQ(fast.seed, reference.seed) << "style " << style << " case " << cases;
                    ASSERT_EQ(fast.progress, reference.progress) << "style " << style << " case " << cases;
                }
            }
        }
    }
    setWorkerCount(saved);
}

}  // namespace
}  // namespace gt
