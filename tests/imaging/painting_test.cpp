// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "imaging/ellipse.h"
#include "imaging/error.h"
#include "imaging/filters.h"
#include "imaging/painting.h"
#include "imaging/painting_styles.h"
#include "imaging/texture.h"
#include "test_context.h"
#include "test_pictures.h"

namespace gt {
namespace {

using testing::Recorder;
using testing::Report;

using testing::grey;
using testing::noisy;

constexpr Colour rgb(int r, int g, int b) { return Colour{std::uint8_t(b), std::uint8_t(g), std::uint8_t(r)}; }
constexpr Colour greyLevel(int v) { return rgb(v, v, v); }


// A context that records every progress report and can set the cancel flag on a given report.

struct Painter {
    Bitmap texture = noisy(256, 256, 77);
    Materials materials;
    DrawingControls controls;
    Painter() {
        materials.PaperTexture = &texture;
        controls.TrackBar3 = 127;
        controls.CheckBox2 = false;
        controls.CheckBox3 = false;
    }
    Bitmap painting1(Bitmap photo, RenderContext& ctx) const {
        Bitmap d;
        RecursivePainting(photo, d, controls, materials, ctx);
        return d;
    }
    Bitmap painting1(const Bitmap& photo) const {
        RenderContext ctx;
        return painting1(photo, ctx);
    }
    Bitmap painting2(Bitmap photo, RenderContext& ctx, int stage = 1, int stages = 1) const {
        Bitmap d;
        BilateralPainting(photo, d, stage, stages, controls, materials, ctx);
        return d;
    }
    Bitmap painting2(const Bitmap& photo) const {
        RenderContext ctx;
        return painting2(photo, ctx);
    }
};

std::vector<std::string> coverage(int w, int h) {
    std::vector<std::string> rows;
    for (int j = 0; j < h; ++j) {
        std::string row;
        for (int i = 0; i < w; ++i) row += EllipseCovers(w, h, i, j) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

using Rows = std::vector<std::string>;

// ---------------------------------------------------------------------------------------------------
// The dabs' ellipse

TEST(Ellipse, CoverageOfSmallBoxes) {
    // Pixel centres inside or on the inscribed ellipse. 3 x 4, corner (0, 0): (2 * 0 + 1 - 3)^2 * 16 +
    // (1 - 4)^2 * 9 = 64 + 81 = 145 > 144, out; (0, 1): 64 + 9 = 73, in.
    EXPECT_EQ(coverage(1, 2), (Rows{"#", "#"}));
    EXPECT_EQ(coverage(2, 3), (Rows{"##", "##", "##"}));
    EXPECT_EQ(coverage(3, 3), (Rows{"###", "###", "###"}));  // corner: 4 * 9 + 4 * 9 = 72 <= 81
    EXPECT_EQ(coverage(3, 4), (Rows{".#.", "###", "###", ".#."}));
    EXPECT_EQ(coverage(4, 5), (Rows{".##.", "####", "####", "####", ".##."}));
    EXPECT_EQ(coverage(8, 2), (Rows{".######.", ".######."}));  // (0, 0): 49 * 4 + 1 * 64 = 260 > 256
    EXPECT_EQ(coverage(8, 9),
              (Rows{"..####..", ".######.", "########", "########", "########", "########", "########", ".######.", "..####.."}));
    EXPECT_EQ(coverage(1, 9), Rows(9, "#"));
    EXPECT_FALSE(EllipseCovers(0, 3, 0, 0));
    EXPECT_FALSE(EllipseCovers(3, 3, 3, 0));
}

TEST(Ellipse, FillIsClippedToThePicture) {
    Bitmap b = grey(3, 3, 0);
    // A 4 x 5 box from (-1, -2): box rows 2..4 fall on picture rows 0..2, box columns 1..3 on 0..2.
    FillEllipse(b, -1, -2, 4, 5, kWhite);
    const Rows expected{"###", "###", "##."};  // box rows 2, 3 are "####", row 4 is ".##."
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(b.colourAt(x, y) == kWhite, expected[std::size_t(y)][std::size_t(x)] == '#') << x << "," << y;
    Bitmap untouched = grey(3, 3, 0);
    FillEllipse(untouched, 5, 0, 3, 3, kWhite);
    FillEllipse(untouched, 0, 0, 0, 3, kWhite);
    EXPECT_EQ(untouched, grey(3, 3, 0));
}

// ---------------------------------------------------------------------------------------------------
// Painting 1

TEST(RecursivePainting, NoIterationSettingStillRunsOne) {
    Painter p;
    p.controls.TrackBar5 = 0;
    p.controls.TrackBar1 = 0;
    p.controls.TrackBar2 = 0;
    Recorder r;
    r.ctx.random.seed = 5;
    const Bitmap d = p.painting1(grey(20, 12, 100), r.ctx);
    EXPECT_EQ(r.reports, (std::vector<Report>{{0, 0, 1, 1}}));
    EXPECT_EQ(r.ctx.random.seed, kDrawingSeed);
    // The smoothing reads the prepared copy, brightened by 25: 100 + 155 * 25 div 100 = 138. A flat
    // neighbourhood equals its centre, so even the zero tolerance takes the mean; without the
    // iteration the pixel would keep the softened photo's 100.
    EXPECT_EQ(d.colourAt(5, 5), greyLevel(138));
    EXPECT_EQ(d.colourAt(0, 0), greyLevel(100));  // never smoothed, and Soften keeps corners
}

TEST(RecursivePainting, ZeroToleranceStopsSmoothing) {
    // With TrackBar1 = 0 a pixel takes its neighbourhood mean only when it equals it exactly; in a
    // noisy photo none does once the first iterations have put the softened photo back everywhere,
    // so further iterations change nothing.
    const Bitmap photo = noisy(16, 10, 21);
    Painter p;
    p.controls.TrackBar1 = 0;
    p.controls.TrackBar5 = 2;
    const Bitmap few = p.painting1(photo);
    p.controls.TrackBar5 = 30;
    EXPECT_EQ(p.painting1(photo), few);
    p.controls.TrackBar1 = 255;  // tolerance 127 smooths on and on
    const Bitmap smooth = p.painting1(photo);
    EXPECT_NE(smooth, few);
    p.controls.TrackBar5 = 2;
    EXPECT_NE(p.painting1(photo), smooth);
}

TEST(RecursivePainting, FullEdgeSensitivityIsTheDarkenedSoftenedPhoto) {
    const Bitmap photo = noisy(13, 9, 3);
    Painter p;
    p.controls.TrackBar2 = 255;  // e = 0: every pixel from row and column 1 on is an edge
    p.controls.TrackBar1 = 200;
    p.controls.TrackBar5 = 3;
    p.controls.TrackBar3 = 200;
    Bitmap once = photo;
    Soften(once);
    Bitmap twice = once;
    Soften(twice);
    Bitmap expected = once;  // row 0 and column 0 keep the once-softened photo
    for (int y = 1; y < 9; ++y)
        for (int x = 1; x < 13; ++x)
            for (int ch = 0; ch < 3; ++ch) expected.pixel(x, y)[ch] = std::uint8_t(twice.pixel(x, y)[ch] * 98 / 100);
    Soften(expected);

    Bitmap source = photo, d;
    RenderContext ctx;
    RecursivePainting(source, d, p.controls, p.materials, ctx);
    EXPECT_EQ(d, expected);
    EXPECT_EQ(source, twice);  // the working source ends as the photo softened twice
}

TEST(RecursivePainting, SmallPicturesSkipTheSmoothing) {
    Painter p;
    p.controls.TrackBar2 = 0;
    auto differ = [&](int w, int h) {
        const Bitmap photo = noisy(w, h, 11);
        p.controls.TrackBar1 = 0;
        p.controls.TrackBar5 = 0;
        const Bitmap a = p.painting1(photo);
        p.controls.TrackBar1 = 255;
        p.controls.TrackBar5 = 10;
        return a != p.painting1(photo);
    };
    for (auto [w, h] : {std::pair{4, 10}, {10, 3}, {4, 3}, {2, 2}, {1, 1}, {1, 7}}) EXPECT_FALSE(differ(w, h)) << w << "x" << h;
    EXPECT_TRUE(differ(5, 4));  // one smoothed pixel, (2, 2)

    Recorder r;
    p.controls.TrackBar5 = 4;
    (void)p.painting1(noisy(3, 3, 1), r.ctx);
    EXPECT_EQ(r.reports.size(), 5u);  // the iterations still run, and report
}

TEST(RecursivePainting, CancelStopsBeforeTheNextIteration) {
    Painter p;
    p.controls.TrackBar1 = 100;
    p.controls.TrackBar5 = 6;
    p.controls.CheckBox3 = true;
    const Bitmap photo = noisy(12, 10, 4);
    Recorder r;
    r.cancelAfter = 3;
    (void)p.painting1(photo, r.ctx);
    EXPECT_EQ(r.reports, (std::vector<Report>{{0, 6, 1, 1}, {1, 6, 1, 1}, {2, 6, 1, 1}}));

    // Cancelled from the start: the destination still shows the softened photo.
    Recorder early;
    early.cancel = true;
    Bitmap softened = photo;
    Soften(softened);
    EXPECT_EQ(p.painting1(photo, early.ctx), softened);
    EXPECT_EQ(early.reports.size(), 1u);
}

TEST(RecursivePainting, TextureAndRepeatability) {
    Painter p;
    p.controls.TrackBar1 = 60;
    p.controls.TrackBar2 = 200;
    p.controls.TrackBar5 = 5;
    p.controls.TrackBar3 = 90;
    p.controls.CheckBox2 = true;  // not read: the painting softens anyway
    const Bitmap photo = noisy(30, 31, 9);
    Bitmap bare = p.painting1(photo);
    p.controls.CheckBox2 = false;
    EXPECT_EQ(p.painting1(photo), bare);
    p.controls.CheckBox3 = true;
    p.controls.ComboBox2 = 2;
    const Bitmap textured = p.painting1(photo);
    EXPECT_EQ(p.painting1(photo), textured);
    plain::ApplyPaperTexture(bare, p.texture, 256, TexturePeriod::SizeLessOne);
    EXPECT_EQ(textured, bare);

    p.materials.PaperTexture = nullptr;
    EXPECT_THROW(p.painting1(photo), Error);
}

// ---------------------------------------------------------------------------------------------------
// Painting 2: the merge

// A 4 x 4 picture of grey 30 with the block P, Q, R, S at its top-left corner.
Bitmap block(Colour P, Colour Q, Colour R, Colour S) {
    Bitmap b = grey(4, 4, 30);
    b.setColour(0, 0, P);
    b.setColour(1, 0, Q);
    b.setColour(0, 1, R);
    b.setColour(1, 1, S);
    return b;
}

std::array<Colour, 4> mergedBlock(Bitmap b, int trackBar1) {
    MergeIteration(b, 0, trackBar1);
    return {b.colourAt(0, 0), b.colourAt(1, 0), b.colourAt(0, 1), b.colourAt(1, 1)};
}

TEST(MergeIteration, RoundingOfTheMean) {
    // P = grey 60: tolerance = 30 + 180 div 30 - 25 = 11; 200 is far outside it.
    const Colour far = greyLevel(200), c60 = greyLevel(60), c61 = greyLevel(61);
    using Block = std::array<Colour, 4>;
    // Three pixels, 182 = 3 * 60 + 2: the remainder 2 exceeds 3 div 2, so 61.
    EXPECT_EQ(mergedBlock(block(c60, c61, c61, far), 30), (Block{c61, c61, c61, far}));
    // 181: remainder 1, 60.
    EXPECT_EQ(mergedBlock(block(c60, c60, c61, far), 30), (Block{c60, c60, c60, far}));
    // Two pixels: the lower mean.
    EXPECT_EQ(mergedBlock(block(c60, far, c61, far), 30), (Block{c60, far, c60, far}));
    // Four: 243 = 4 * 60 + 3 rounds up, 242 = 4 * 60 + 2 does not.
    EXPECT_EQ(mergedBlock(block(c60, c61, c61, c61), 30), (Block{c61, c61, c61, c61}));
    EXPECT_EQ(mergedBlock(block(c60, c60, c61, c61), 30), (Block{c60, c60, c60, c60}));
}

TEST(MergeIteration, ToleranceRedDoubleAndStrict) {
    using Block = std::array<Colour, 4>;
    const Colour c60 = greyLevel(60);
    // Tolerance 11. Red 66: distance 12, out; green 71: distance 11, out (strictly greater needed);
    // blue 50: distance 10, in.
    const Block outside = mergedBlock(block(c60, rgb(66, 60, 60), rgb(60, 71, 60), rgb(60, 60, 50)), 30);
    EXPECT_EQ(outside, (Block{rgb(60, 60, 55), rgb(66, 60, 60), rgb(60, 71, 60), rgb(60, 60, 55)}));
    // Red 65: distance 10, in; green 70 likewise. (60 + 65 + 60) div 3 = 61 rem 2 -> 62 ...
    const Block inside = mergedBlock(block(c60, rgb(65, 60, 60), rgb(60, 70, 60), greyLevel(250)), 30);
    const Colour m = rgb(62, 63, 60);  // red 185 = 61 * 3 + 2 -> 62; green 190 = 63 * 3 + 1 -> 63
    EXPECT_EQ(inside, (Block{m, m, m, greyLevel(250)}));

    // A block whose neighbours all lie outside keeps P (and its neighbours).
    const Bitmap lone = block(c60, greyLevel(90), greyLevel(0), rgb(60, 60, 200));
    Bitmap b = lone;
    MergeIteration(b, 0, 30);
    EXPECT_EQ(b, lone);

    // Brighter blocks tolerate more: with TrackBar1 = 12 a white-ish P (720 div 30 = 24) has 11,
    // a black P has -13 and merges nothing, not even an equal neighbour.
    EXPECT_EQ(mergedBlock(block(greyLevel(240), greyLevel(245), greyLevel(0), greyLevel(0)), 12)[0], greyLevel(242));
    const Bitmap dark = block(kBlack, kBlack, rgb(0, 0, 1), kBlack);
    b = dark;
    MergeIteration(b, 0, 12);
    EXPECT_EQ(b, dark);
}

TEST(MergeIteration, GridAndSmallPictures) {
    // TrackBar1 = 255 merges everything alike. Iteration 0 takes the block at (0, 0), iteration 1
    // the block at (1, 1); a 4 x 4 picture has no other block.
    Bitmap b(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) b.setColour(x, y, greyLevel(100 + x + 4 * y));
    Bitmap even = b;
    MergeIteration(even, 0, 255);
    Bitmap expected = b;
    // 100 + 101 + 104 + 105 = 410 = 4 * 102 + 2: the remainder 2 does not exceed 4 div 2, so 102.
    for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}}) expected.setColour(x, y, greyLevel(102));
    EXPECT_EQ(even, expected);
    Bitmap odd = b;
    MergeIteration(odd, 1, 255);
    expected = b;
    for (auto [x, y] : {std::pair{1, 1}, {2, 1}, {1, 2}, {2, 2}}) expected.setColour(x, y, greyLevel(107));  // 430 = 4 * 107 + 2
    EXPECT_EQ(odd, expected);

    // Fewer than 4 rows or columns: no block at all.
    for (auto [w, h] : {std::pair{3, 9}, {9, 3}, {1, 1}, {3, 3}}) {
        const Bitmap photo = noisy(w, h, 6);
        Bitmap m = photo;
        MergeIteration(m, 0, 255);
        MergeIteration(m, 1, 255);
        EXPECT_EQ(m, photo) << w << "x" << h;
    }
    // TrackBar1 = 0: the tolerance is at most 0, nothing merges.
    const Bitmap photo = noisy(12, 9, 2);
    Bitmap m = photo;
    MergeIteration(m, 0, 0);
    MergeIteration(m, 1, 0);
    EXPECT_EQ(m, photo);
}

// ---------------------------------------------------------------------------------------------------
// Painting 2: the dabs

Bitmap gradient(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.setColour(x, y, rgb(x * 7 % 256, y * 7 % 256, (x + y) % 256));
    return b;
}

TEST(PaintDabs, NoneAtFullPrecisionOrBelowThirtyPixels) {
    DrawingControls c;
    RenderContext ctx;
    ctx.DrawingWidth = ctx.DrawingHeight = 1000;
    ctx.random.seed = 1234;
    c.TrackBar2 = 255;
    Bitmap b = gradient(90, 60);
    PaintDabs(b, c, ctx);
    c.TrackBar2 = 0;
    Bitmap narrow = gradient(29, 200), low = gradient(200, 29);
    PaintDabs(narrow, c, ctx);
    PaintDabs(low, c, ctx);
    EXPECT_EQ(b, gradient(90, 60));
    EXPECT_EQ(narrow, gradient(29, 200));
    EXPECT_EQ(low, gradient(200, 29));
    EXPECT_EQ(ctx.random.seed, 1234u);  // no draws either
}

// One dab on a 30 x 30 picture (1 * 1 * (255 - 254) = 1), its draws replayed.
void checkOneDab(int drawingSize, int expectedSize) {
    DrawingControls c;
    c.TrackBar2 = 254;
    RenderContext ctx;
    ctx.DrawingWidth = ctx.DrawingHeight = drawingSize;  // size = 1 div 75 + 2 * drawingSize div 750
    ctx.random.seed = 777;
    const Bitmap photo = gradient(30, 30);
    Bitmap b = photo;
    PaintDabs(b, c, ctx);

    Random r;
    r.seed = 777;
    const int w = r.draw(expectedSize) + 1;
    const int h = r.draw(expectedSize) + 2;
    const int x0 = r.draw(30 - w - 1);
    const int y0 = r.draw(30 - h - 1);
    EXPECT_EQ(ctx.random.seed, r.seed);
    const Colour under = photo.colourAt(x0 + w / 2, y0 + h / 2);
    auto up = [&](int v) { return std::uint8_t(std::min(255, v + 2 * (h - w))); };
    const Colour paint{up(under.b), up(under.g), up(under.r)};
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            const bool covered = x >= x0 && y >= y0 && EllipseCovers(w, h, x - x0, y - y0);
            EXPECT_EQ(b.colourAt(x, y), covered ? paint : photo.colourAt(x, y)) << x << "," << y << " box " << w << "x" << h;
        }
}

TEST(PaintDabs, OneDabByHand) {
    checkOneDab(30, 0);    // size 0: every draw of range 0 gives 0, a 1 x 2 dab
    checkOneDab(3000, 8);  // 0 + 6000 div 750 = 8
    checkOneDab(9000, 8);  // 24, at most 8
}

// ---------------------------------------------------------------------------------------------------
// Painting 2: the whole routine

TEST(BilateralPainting, DabsOnlyForPaintingTwo) {
    Painter p;
    p.controls.TrackBar2 = 254;  // four dabs on 60 x 60
    p.controls.TrackBar5 = 1;
    Random after;
    after.seed = kDrawingSeed;
    for (int k = 0; k < 16; ++k) after.advance();
    for (int style : {5, 6, 7}) {
        p.controls.ComboBox1 = style;
        RenderContext ctx;
        ctx.random.seed = 3;
        ctx.DrawingWidth = ctx.DrawingHeight = 60;
        (void)p.painting2(gradient(60, 60), ctx);
        EXPECT_EQ(ctx.random.seed, style == 5 ? after.seed : kDrawingSeed) << style;
    }
}

TEST(BilateralPainting, OneMergeIterationAndBrightness) {
    Painter p;
    p.controls.TrackBar5 = 0;
    p.controls.ComboBox1 = 6;
    const Bitmap photo = noisy(14, 12, 8);
    Recorder r;
    p.controls.TrackBar1 = 0;
    const Bitmap none = p.painting2(photo, r.ctx, 2, 2);
    EXPECT_EQ(r.reports, (std::vector<Report>{{0, 0, 2, 2}}));
    p.controls.TrackBar1 = 255;
    EXPECT_NE(p.painting2(photo), none);  // the one iteration merged something

    // Brightness from row and column 1: a flat grey 100 (unchanged by the preparation away from
    // the right and bottom edges) lifted by 10, row 0 and column 0 not.
    p.controls.TrackBar3 = 137;
    const Bitmap d = p.painting2(grey(20, 20, 100));
    EXPECT_EQ(d.colourAt(0, 0), greyLevel(100));
    EXPECT_EQ(d.colourAt(0, 6), greyLevel(100));
    EXPECT_EQ(d.colourAt(6, 0), greyLevel(100));
    EXPECT_EQ(d.colourAt(6, 6), greyLevel(110));
}

TEST(BilateralPainting, ProgressAndCancel) {
    Painter p;
    p.controls.TrackBar1 = 40;
    p.controls.TrackBar5 = 3;
    p.controls.CheckBox2 = true;
    const Bitmap photo = noisy(16, 14, 5);
    Recorder r;
    const Bitmap full = p.painting2(photo, r.ctx, 2, 2);
    EXPECT_EQ(r.reports, (std::vector<Report>{{0, 3, 2, 2}, {1, 3, 2, 2}, {2, 3, 2, 2}, {3, 3, 2, 2}}));
    EXPECT_EQ(p.painting2(photo), full);

    Recorder stop;
    stop.cancelAfter = 2;
    (void)p.painting2(photo, stop.ctx, 2, 2);
    EXPECT_EQ(stop.reports.size(), 2u);

    // Cancelled before it starts: it stops after the saturation, the destination white.
    Recorder early;
    early.cancel = true;
    EXPECT_EQ(p.painting2(photo, early.ctx), grey(16, 14, 255));
    EXPECT_TRUE(early.reports.empty());

    // With the parameter window showing, no progress and no look at the flag: it runs to the end
    // (a grey photo, which the saturation step, stopped at its first row, would not change anyway).
    const Bitmap greyPhoto = [] {
        Bitmap b = noisy(16, 14, 5);
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 16; ++x) b.setColour(x, y, greyLevel(b.colourAt(x, y).r));
        return b;
    }();
    Recorder preview;
    preview.ctx.parameterWindowVisible = true;
    preview.cancel = true;
    EXPECT_EQ(p.painting2(greyPhoto, preview.ctx), p.painting2(greyPhoto));
    EXPECT_TRUE(preview.reports.empty());
}

// ---------------------------------------------------------------------------------------------------
// Painting 4's contrast

TEST(Painting4Contrast, FlatPictureAndTheWhiteSurround) {
    Bitmap b = grey(20, 20, 100);
    Painting4Contrast(b, 30);
    // Away from the right and bottom edges the neighbourhood mean is the pixel: diff 0, unchanged.
    EXPECT_EQ(b.colourAt(5, 5), greyLevel(100));
    EXPECT_EQ(b.colourAt(15, 15), greyLevel(100));
    EXPECT_EQ(b.colourAt(0, 0), greyLevel(100));  // above and left: the picture shifted, not white
    // Tolerance 50. Column 16 sees one white column: (9 * 1055 - 100) div 80 = 117, diff -17,
    // pulled: 100 + 5. Column 17, two: 134, diff -34, pulled: 110. Column 18, three: 152, diff -52,
    // pushed: 100 - 15. Column 19, four: 169, diff -69, pushed: 100 - 20.
    EXPECT_EQ(b.colourAt(16, 5), greyLevel(105));
    EXPECT_EQ(b.colourAt(17, 5), greyLevel(110));
    EXPECT_EQ(b.colourAt(18, 5), greyLevel(85));
    EXPECT_EQ(b.colourAt(19, 5), greyLevel(80));
    EXPECT_EQ(b.colourAt(5, 19), greyLevel(80));
    // The corner: 25 of 81 in the picture, (2500 + 56 * 255 - 100) div 80 = 208, pushed by -32.
    EXPECT_EQ(b.colourAt(19, 19), greyLevel(68));

    // A single pixel: 80 white neighbours, diff -155.
    Bitmap one = grey(1, 1, 100);
    Painting4Contrast(one, 30);
    EXPECT_EQ(one.colourAt(0, 0), greyLevel(54));

    Bitmap same = noisy(11, 7, 1);
    Painting4Contrast(same, 0);
    EXPECT_EQ(same, noisy(11, 7, 1));
}

TEST(Painting4Contrast, ToleranceIsHalfTheMeanForEveryPixel) {
    // Far down the picture a pixel 4 above its flat surround is still within the tolerance (50):
    // pulled back to 100. (Halving the tolerance before every pixel would have pushed it to 108.)
    Bitmap b = grey(30, 30, 100);
    b.setColour(10, 20, greyLevel(104));
    Painting4Contrast(b, 100);
    EXPECT_EQ(b.colourAt(10, 20), greyLevel(100));
    // One channel beyond its tolerance pushes all three: red 200 - 100 = 100 > 50.
    Bitmap c = grey(30, 30, 100);
    c.setColour(10, 20, rgb(200, 100, 104));
    Painting4Contrast(c, 100);
    EXPECT_EQ(c.colourAt(10, 20), rgb(255, 100, 108));
}

// ---------------------------------------------------------------------------------------------------
// The steps of paintings 3 and 4

TEST(PaintingStyles, Painting4MedianPasses) {
    Painter p;
    p.controls.TrackBar5 = 60;
    p.controls.TrackBar3 = 140;
    p.controls.TrackBar2 = 30;
    const Bitmap photo = noisy(10, 12, 3);
    Recorder none;
    p.controls.TrackBar1 = 0;
    Bitmap result;
    Painting4Steps(photo, result, p.controls, p.materials, none.ctx);
    EXPECT_EQ(none.reports, (std::vector<Report>{{100, 100, 1, 1}}));
    EXPECT_EQ(result.width(), 10);
    EXPECT_EQ(result.height(), 12);

    // Ten passes: the median reports its last step as H - s - 1, so pass 6 (window 5) shows 6 and
    // the others (window 3) 8.
    Recorder ten;
    p.controls.TrackBar1 = 10;
    Painting4Steps(photo, result, p.controls, p.materials, ten.ctx);
    ASSERT_FALSE(ten.reports.empty());
    EXPECT_EQ(ten.reports.back(), (Report{100, 100, 1, 1}));
    std::vector<std::pair<int, int>> passes;  // (pass, last step) of each median run
    for (auto [step, last, pass, of] : ten.reports)
        if (step == 0 && of == 10) passes.emplace_back(pass, last);
    std::vector<std::pair<int, int>> expected;
    for (int k = 1; k <= 10; ++k) expected.emplace_back(k, k == 6 ? 6 : 8);
    EXPECT_EQ(passes, expected);
    Bitmap again;
    Painting4Steps(photo, again, p.controls, p.materials, ten.ctx);
    EXPECT_EQ(again, result);

    // The preview reports every pass as 1 of 1 and leaves the display running.
    Recorder preview;
    Painting4Steps(photo, again, p.controls, p.materials, preview.ctx, true);
    EXPECT_EQ(again, result);
    for (const Report& r : preview.reports) EXPECT_EQ(r.passes, 1);
    EXPECT_NE(preview.reports.back(), (Report{100, 100, 1, 1}));
}

TEST(PaintingStyles, Painting3StagesAndRepeatability) {
    Painter p;
    p.controls.TrackBar1 = 35;
    p.controls.TrackBar2 = 4;  // median window 5
    p.controls.TrackBar5 = 2;
    p.controls.ComboBox1 = 6;
    p.controls.CheckBox2 = true;
    p.controls.CheckBox3 = true;
    const Bitmap photo = noisy(12, 15, 4);
    Recorder r;
    Bitmap result;
    Painting3Steps(photo, result, p.controls, p.materials, r.ctx);
    ASSERT_FALSE(r.reports.empty());
    EXPECT_EQ(r.reports.front(), (Report{0, 15 - 5 - 1, 1, 2}));
    const std::vector<Report> tail(r.reports.end() - 3, r.reports.end());
    EXPECT_EQ(tail, (std::vector<Report>{{0, 2, 2, 2}, {1, 2, 2, 2}, {2, 2, 2, 2}}));
    EXPECT_EQ(result.width(), 12);
    EXPECT_EQ(result.height(), 15);
    Bitmap again;
    Painting3Steps(photo, again, p.controls, p.materials, r.ctx, true);
    EXPECT_EQ(again, result);
    // The result may be the photo itself.
    Bitmap inPlace = photo;
    Painting3Steps(inPlace, inPlace, p.controls, p.materials, r.ctx);
    EXPECT_EQ(inPlace, result);
}

}  // namespace
}  // namespace gt
