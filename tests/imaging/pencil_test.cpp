// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "imaging/parallel.h"
#include "imaging/pencil.h"
#include "imaging/rotate.h"
#include "test_context.h"
#include "test_pictures.h"

namespace gt {
namespace {

using testing::Recorder;
using testing::Report;

using testing::flat;
using testing::grey;
using testing::noisy;

constexpr Colour rgb(int r, int g, int b) { return Colour{std::uint8_t(b), std::uint8_t(g), std::uint8_t(r)}; }

// A grey tone strip 512 x 166 whose value at (column, row) is (column div 2 + 3 * row) mod 256, so
// that both the column and the row read can be told from the value.
Bitmap rampStrip() {
    Bitmap s(512, 166);
    for (int y = 0; y < 166; ++y)
        for (int x = 0; x < 512; ++x) {
            const std::uint8_t v = std::uint8_t((x / 2 + 3 * y) % 256);
            s.setColour(x, y, Colour{v, v, v});
        }
    return s;
}

// A paper texture of one value (the texture step leaves 128 unchanged).
Bitmap flatTexture(int v) { return grey(256, 256, v); }

struct Pencil {
    Bitmap strip = rampStrip();
    Bitmap texture = flatTexture(128);
    Materials materials;
    DrawingControls controls;
    Pencil() {
        materials.PencilToneStrip = &strip;
        materials.PaperTexture = &texture;
        controls.TrackBar1 = 25;
        controls.TrackBar2 = 100;
        controls.TrackBar5 = 80;
        controls.TrackBar3 = 160;
        controls.TrackBar4 = 100;
    }
};


Bitmap strokes(const Bitmap& photo, const DrawingControls& c, const Bitmap& strip) {
    RenderContext ctx;
    Bitmap d;
    EXPECT_TRUE(PencilStrokes(photo, d, c, strip, ctx));
    return d;
}

bool whiteOutside(const Bitmap& d, int w, int h) {
    for (int y = 0; y < d.height(); ++y)
        for (int x = 0; x < d.width(); ++x)
            if ((x >= w || y >= h) && d.colourAt(x, y) != kWhite) return false;
    return true;
}

// The first draws from seed 1969: random(100) gives 78, 64, 33, 70; random(163) at the third is 55.
TEST(PencilStrokes, FirstPixelOfAFlatPhotoByHand) {
    Pencil p;
    p.controls.TrackBar3 = 120;
    p.controls.TrackBar4 = 64;
    const Bitmap photo = flat(4, 4, rgb(100, 150, 200));
    const Bitmap d = strokes(photo, p.controls, p.strip);
    // grey = (300 + 900 + 200) div 10 = 140; draw 78 < 92 keeps strip row (1 mod 164) + 1 = 2;
    // T = 280 div 2 + 3 * 2 = 146; delta = 140 - 146 - 14 + (64 * 140) div 64 - 64 = 56;
    // a = (156, 206, 255), g = clamp(150 + 56) = 206; red = (156 * 80 + 20 * 206) div 100 = 166,
    // blue = (255 * 80 + 4120) div 100 = 245.
    EXPECT_EQ(d.colourAt(0, 0), rgb(166, 206, 245));
    EXPECT_TRUE(whiteOutside(d, 2, 2));  // the last two rows and columns stay white
}

TEST(PencilStrokes, LineThenShadeCarriesFlagAndStripRow) {
    Pencil p;
    p.controls.TrackBar2 = 50;
    p.controls.TrackBar3 = 60;
    p.controls.TrackBar4 = 0;
    p.controls.CheckBox2 = false;
    Bitmap photo = flat(4, 4, rgb(100, 150, 200));
    for (int y = 0; y < 4; ++y) photo.setColour(0, y, rgb(240, 250, 230));
    const Bitmap d = strokes(photo, p.controls, p.strip);
    // (1,1): D1 = (140 + 100 + 30) * 2 div 4 = 135, D2 = 270 div 4 = 67: a line. v = l - 100 + 255 - 202
    // = (193, 203, 183); sum 579; red = (20 * 579 div 3 + 80 * 193) div 100 = 193, green 201, blue 185.
    EXPECT_EQ(d.colourAt(0, 0), rgb(193, 201, 185));
    // The line drew 64 (> 50: lightening on) and strip row 1 + 55 = 56. (2,1) is flat: shaded with
    // T = 140 + 168 - 256 = 52, delta = 140 - 52 - 134 + 140 div 2 = 24: a = (124, 174, 224), g = 174.
    EXPECT_EQ(d.colourAt(1, 0), rgb(134, 174, 214));
    // With softening on, the flag does not lighten: delta = -46.
    p.controls.CheckBox2 = true;
    EXPECT_EQ(strokes(photo, p.controls, p.strip).colourAt(1, 0), rgb(64, 104, 144));
}

TEST(PencilStrokes, SmallSourcesHaveNoMainPass) {
    Pencil p;
    for (auto [w, h] : {std::pair{1, 1}, {2, 2}, {2, 7}, {7, 2}, {0, 0}}) {
        for (bool plainPath : {true, false}) {
            const testing::PlainPaths paths(plainPath);
            RenderContext ctx;
            Bitmap d(3, 3);
            d.fill(kBlack);
            PencilStrokes(noisy(w, h, 3), d, p.controls, p.strip, ctx);
            EXPECT_EQ(d, grey(w, h, 255)) << w << "x" << h;
            EXPECT_EQ(ctx.random.seed, kDrawingSeed);
        }
    }
    // The whole routine on a 2 x 2: white through Sharpen, contrast and texture.
    RenderContext ctx;
    Bitmap d;
    PencilSketch(noisy(2, 2, 4), d, p.controls, p.materials, ctx);
    EXPECT_EQ(d, grey(2, 2, 255));
}

TEST(PencilStrokes, LastTwoRowsAndColumnsStayWhite) {
    Pencil p;
    p.controls.TrackBar1 = 0;  // all lines, so every drawn pixel is darker than white
    p.controls.TrackBar2 = 200;
    const Bitmap d = strokes(noisy(9, 7, 2), p.controls, p.strip);
    EXPECT_TRUE(whiteOutside(d, 7, 5));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_NE(d.colourAt(x, y), kWhite);
}

TEST(PencilStrokes, ThresholdChoosesLinesOrShading) {
    Pencil p;
    Bitmap other = rampStrip();
    for (int y = 0; y < 166; ++y)
        for (int x = 0; x < 512; ++x) other.setColour(x, y, Colour{9, 9, 9});
    const Bitmap photo = noisy(12, 10, 8);
    // TrackBar1 = 0: every pixel is a line, and lines never read the strip.
    p.controls.TrackBar1 = 0;
    EXPECT_EQ(strokes(photo, p.controls, p.strip), strokes(photo, p.controls, other));
    // TrackBar1 = 255 on a flat photo: all shading, which does read it.
    p.controls.TrackBar1 = 255;
    const Bitmap flatPhoto = flat(6, 6, rgb(90, 90, 90));
    EXPECT_NE(strokes(flatPhoto, p.controls, p.strip), strokes(flatPhoto, p.controls, other));
    // A black-white edge gives D1 = 6 * 255 div 4 = 382, which reaches 255: the strip does not matter there.
    Bitmap edge = flat(6, 3, kBlack);
    for (int x = 2; x < 6; ++x)
        for (int y = 0; y < 3; ++y) edge.setColour(x, y, kWhite);
    EXPECT_EQ(strokes(edge, p.controls, p.strip).colourAt(1, 0), strokes(edge, p.controls, other).colourAt(1, 0));
}

TEST(PencilStrokes, ColourIntensityZeroIsGrey) {
    Pencil p;
    p.controls.TrackBar5 = 0;
    for (int t : {0, 25, 255}) {
        p.controls.TrackBar1 = t;
        const Bitmap d = strokes(noisy(15, 11, 5), p.controls, p.strip);
        for (int y = 0; y < d.height(); ++y)
            for (int x = 0; x < d.width(); ++x) {
                const Colour c = d.colourAt(x, y);
                EXPECT_TRUE(c.r == c.g && c.g == c.b) << x << "," << y;
            }
    }
}

TEST(PencilStrokes, GreyLevel255ReadsColumn510AndOnlyRows1To164) {
    Pencil p;
    p.controls.TrackBar3 = 0;  // delta = 255 - T - 254
    p.controls.TrackBar4 = 0;
    Bitmap strip = grey(512, 166, 100);
    for (int y = 0; y < 166; ++y) strip.setColour(510, y, kBlack);
    const Bitmap d = strokes(grey(8, 8, 255), p.controls, strip);
    // q = 250, T = 0: 250 + 1 = 251 wherever the pixel was shaded, which is everywhere on a flat photo.
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(d.colourAt(x, y), rgb(251, 251, 251));
    // Rows 0 and 165 of the strip are never read.
    Bitmap ramp = rampStrip(), poisoned = rampStrip();
    for (int x = 0; x < 512; ++x) {
        poisoned.setColour(x, 0, kBlack);
        poisoned.setColour(x, 165, kBlack);
    }
    const Bitmap photo = noisy(40, 200, 6);  // rows past 164 wrap to strip row 1 again
    p.controls.TrackBar1 = 60;
    EXPECT_EQ(strokes(photo, p.controls, ramp), strokes(photo, p.controls, poisoned));
}

TEST(PencilStrokes, ReportsStageTwoAndStopsOnCancel) {
    Pencil p;
    const Bitmap photo = noisy(20, 30, 9);
    const Bitmap full = strokes(photo, p.controls, p.strip);
    for (bool plainPath : {true, false}) {
        const testing::PlainPaths paths(plainPath);
        Recorder r(5);  // raised during the fifth row's report: four rows are drawn
        Bitmap d;
        EXPECT_FALSE(PencilStrokes(photo, d, p.controls, p.strip, r.ctx));
        EXPECT_EQ(r.count(), 5);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 20; ++x) ASSERT_EQ(d.colourAt(x, y), y < 4 ? full.colourAt(x, y) : kWhite) << x << "," << y;
        // No progress is shown when nothing is busy.
        Recorder quiet;
        quiet.ctx.Busy = false;
        PencilStrokes(photo, d, p.controls, p.strip, quiet.ctx);
        EXPECT_EQ(quiet.count(), 0);
        // A three-row photo has one row of strokes: its lastStep of 0 is shown as 1.
        Recorder three;
        PencilStrokes(noisy(5, 3, 1), d, p.controls, p.strip, three.ctx);
        EXPECT_EQ(three.count(), 1);
    }
}

TEST(PencilStrokes, RefusesAStripTooSmall) {
    Pencil p;
    RenderContext ctx;
    Bitmap d;
    EXPECT_THROW(PencilStrokes(noisy(5, 5, 1), d, p.controls, grey(510, 166, 1), ctx), std::runtime_error);
    Materials none;
    EXPECT_THROW(PencilSketch(noisy(5, 5, 1), d, p.controls, none, ctx), std::runtime_error);
}

TEST(PencilSketch, PaperTextureRepeatsEvery256AtTheChosenStrength) {
    Pencil p;
    const Bitmap photo = noisy(300, 6, 21);
    Bitmap bare, grained;
    RenderContext ctx;
    p.controls.CheckBox3 = false;
    PencilSketch(photo, bare, p.controls, p.materials, ctx);
    // Column 255 of the texture at 0, the rest at 128 (no change): with the normal strength only
    // drawing column 255 changes, by + 128 - 0. A period of 255 would have moved it to column 254.
    for (int y = 0; y < 256; ++y) p.texture.setColour(255, y, kBlack);
    p.controls.CheckBox3 = true;
    p.controls.ComboBox2 = 1;
    PencilSketch(photo, grained, p.controls, p.materials, ctx);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 300; ++x)
            for (int ch = 0; ch < 3; ++ch) {
                const int was = bare.pixel(x, y)[ch];
                ASSERT_EQ(grained.pixel(x, y)[ch], x == 255 && y > 0 ? std::min(255, was + 128) : was) << x << "," << y;
            }
    // Strength 256 and a texture of 0: every channel + 256, clamped to white; row 0 and column 0 untouched.
    p.texture = grey(256, 256, 0);
    p.controls.ComboBox2 = 2;
    PencilSketch(photo, grained, p.controls, p.materials, ctx);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 300; ++x)
            ASSERT_EQ(grained.colourAt(x, y), x > 0 && y > 0 ? kWhite : bare.colourAt(x, y)) << x << "," << y;
}

TEST(PencilSoften, NearWhiteAndMeanOnePixelsBlendInPlace) {
    Bitmap b = grey(5, 5, 255);
    b.setColour(2, 2, kBlack);
    PencilSoften(b);
    // (1,1): (2 * 255 + 7 * 255 + 0) div 10 = 229. (2,1) reads its left neighbour already softened:
    // (510 + 765 + 229 + 255 + 255 + 0 + 255) div 10 = 226. The black pixel itself (mean 0) stays.
    EXPECT_EQ(b.pixel(1, 1)[0], 229);
    EXPECT_EQ(b.pixel(2, 1)[1], 226);
    EXPECT_EQ(b.colourAt(2, 2), kBlack);
    EXPECT_EQ(b.colourAt(0, 0), kWhite);  // borders are never softened

    Bitmap m = grey(5, 5, 100);
    m.setColour(1, 1, rgb(1, 1, 1));       // mean 1: softened, (2 + 800) div 10 = 80
    m.setColour(3, 3, rgb(253, 253, 253));  // mean 253: left alone
    m.setColour(3, 1, rgb(0, 2, 0));        // mean 0: left alone
    PencilSoften(m);
    EXPECT_EQ(m.colourAt(1, 1), rgb(80, 80, 80));
    EXPECT_EQ(m.colourAt(3, 3), rgb(253, 253, 253));
    EXPECT_EQ(m.colourAt(3, 1), rgb(0, 2, 0));
}

// Mostly near-white pictures with dark specks, so that most pixels are softened and chains of
// softened pixels run across whole rows and down whole columns.
Bitmap speckled(int w, int h, std::uint32_t seed) {
    Bitmap b(w, h);
    Random r;
    r.seed = seed;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int v = r.draw(10) == 0 ? static_cast<int>(r.draw(256)) : 250 + static_cast<int>(r.draw(6));
            b.setColour(x, y, Colour{std::uint8_t(v), std::uint8_t(r.draw(3) == 0 ? 1 : v), std::uint8_t(v)});
        }
    return b;
}

TEST(PencilSoften, WavefrontEqualsPlain) {
    const int saved = workerCount();
    for (int workers : {2, 3, 5}) {
        setWorkerCount(workers);
        for (auto [w, h] : {std::pair{3, 3}, {600, 31}, {257, 90}, {1030, 7}, {70, 70}}) {
            const Bitmap b = speckled(w, h, static_cast<std::uint32_t>(w * h + workers));
            Bitmap fast = b, slow = b;
            PencilSoften(fast);
            plain::PencilSoften(slow);
            ASSERT_EQ(fast, slow) << w << "x" << h << " with " << workers << " workers";
        }
    }
    setWorkerCount(saved);
}

DrawingControls randomControls(Random& r) {
    DrawingControls c;
    c.TrackBar1 = r.draw(4) == 0 ? 0 : static_cast<int>(r.draw(256));
    c.TrackBar2 = r.draw(256);
    c.TrackBar3 = r.draw(256);
    c.TrackBar4 = r.draw(256);
    c.TrackBar5 = r.draw(101);
    c.CheckBox2 = r.draw(2) == 1;
    c.CheckBox3 = r.draw(2) == 1;
    c.ComboBox2 = r.draw(3);
    return c;
}

TEST(PencilSketch, FastEqualsPlain) {
    Pencil p;
    Random r;
    r.seed = 42;
    const int saved = workerCount();
    setWorkerCount(3);
    for (int i = 0; i < 60; ++i) {
        const int w = 1 + static_cast<int>(r.draw(40)), h = 1 + static_cast<int>(r.draw(40));
        const Bitmap photo = i % 3 == 0 ? speckled(w, h, r.seed) : noisy(w, h, r.seed);
        const DrawingControls c = randomControls(r);
        RenderContext a, b;
        Bitmap fast, slow;
        plain::PencilSketch(photo, slow, c, p.materials, a);
        PencilSketch(photo, fast, c, p.materials, b);
        ASSERT_EQ(fast, slow) << i << ": " << w << "x" << h;
        ASSERT_EQ(a.random.seed, b.random.seed);
    }
    // Tall enough for several chunks of rows, with cancellation in the middle.
    const Bitmap tall = noisy(50, 300, 3);
    for (int cancelAfter : {-1, 1, 100, 250}) {
        const DrawingControls c = randomControls(r);
        Recorder a(cancelAfter), b(cancelAfter);
        Bitmap fast, slow;
        plain::PencilStrokes(tall, slow, c, p.strip, a.ctx);
        PencilStrokes(tall, fast, c, p.strip, b.ctx);
        ASSERT_EQ(fast, slow) << cancelAfter;
        EXPECT_EQ(a.count(), b.count());
        EXPECT_EQ(a.ctx.random.seed, b.ctx.random.seed);
    }
    setWorkerCount(saved);
}

// Drawing a picture over itself keeps each chunk's source rows aside; a cancelled run leaves the
// rows it did not reach white, as a fresh destination would be.
TEST(PencilStrokes, InPlaceEqualsPlainWithAnyWorkersAndCancels) {
    Pencil p;
    Random r;
    r.seed = 11;
    const int saved = workerCount();
    for (int workers : {1, 2, 3, 5}) {
        setWorkerCount(workers);
        for (auto [w, h] : {std::pair{1, 1}, {2, 9}, {9, 2}, {3, 3}, {31, 200}, {4, 131}}) {
            const Bitmap photo = noisy(w, h, static_cast<std::uint32_t>(w * h + workers));
            for (int cancelAfter : {-1, 1, 70, 160}) {
                const DrawingControls c = randomControls(r);
                Recorder a(cancelAfter), b(cancelAfter);
                Bitmap slow, same = photo;
                const bool plainDone = plain::PencilStrokes(photo, slow, c, p.strip, a.ctx);
                const bool fastDone = PencilStrokes(same, same, c, p.strip, b.ctx);
                ASSERT_EQ(same, slow) << w << "x" << h << ", cancel after " << cancelAfter << ", " << workers << " workers";
                EXPECT_EQ(plainDone, fastDone);
                EXPECT_EQ(a.count(), b.count());
                EXPECT_EQ(a.ctx.random.seed, b.ctx.random.seed);
            }
        }
    }
    setWorkerCount(saved);
}

// The sharpen and contrast steps run in place in bands, each keeping the rows its neighbours may
// overwrite first; the bands' edges must not show, whatever the number of workers.
TEST(PencilSketch, FastEqualsPlainInBands) {
    Pencil p;
    Random r;
    r.seed = 99;
    const int saved = workerCount();
    for (int workers : {2, 3, 5, 8}) {
        setWorkerCount(workers);
        for (auto [w, h] : {std::pair{2, 40}, {5, 33}, {12, 34}, {40, 49}, {23, 97}, {9, 170}}) {
            const Bitmap photo = speckled(w, h, static_cast<std::uint32_t>(w + 7 * h + workers));
            DrawingControls c = randomControls(r);
            c.CheckBox2 = (w + h) % 2 == 0;
            RenderContext a, b;
            Bitmap fast, slow;
            plain::PencilSketch(photo, slow, c, p.materials, a);
            PencilSketch(photo, fast, c, p.materials, b);
            ASSERT_EQ(fast, slow) << w << "x" << h << " with " << workers << " workers";
        }
    }
    setWorkerCount(saved);
}

TEST(PencilSketch, SameBytesTwice) {
    Pencil p;
    const Bitmap photo = noisy(33, 27, 12);
    RenderContext a, b;
    Bitmap first, second;
    PencilSketch(photo, first, p.controls, p.materials, a);
    a.random.seed = 5;  // the routine seeds itself
    PencilSketch(photo, second, p.controls, p.materials, a);
    EXPECT_EQ(first, second);
}

TEST(PencilPipeline, TinyPhotosGiveWhitePictures) {
    Pencil p;
    for (auto [w, h] : {std::pair{1, 1}, {2, 2}, {1, 2}, {2, 1}}) {
        for (bool plainPath : {true, false}) {
            const testing::PlainPaths paths(plainPath);
            RenderContext ctx;
            Bitmap result;
            PencilPipeline(noisy(w, h, 2), result, p.controls, p.materials, ctx);
            EXPECT_EQ(result, grey(w, h, 255)) << w << "x" << h;
        }
    }
}

TEST(PencilPipeline, FastEqualsPlainAndStopsOnCancel) {
    Pencil p;
    Random r;
    r.seed = 7;
    for (auto [w, h] : {std::pair{3, 3}, {40, 3}, {3, 40}, {17, 12}, {64, 48}, {5, 90}}) {
        const Bitmap photo = noisy(w, h, static_cast<std::uint32_t>(w + h));
        const DrawingControls c = randomControls(r);
        Recorder a, b;
        Bitmap fast, slow;
        plain::PencilPipeline(photo, slow, c, p.materials, a.ctx);
        PencilPipeline(photo, fast, c, p.materials, b.ctx);
        ASSERT_EQ(fast.width(), w);
        ASSERT_EQ(fast.height(), h);
        ASSERT_EQ(fast, slow) << w << "x" << h;
        EXPECT_EQ(a.passes(), b.passes());
    }
    // Canvases of several chunks of strokes and several bands of the in-place steps.
    const int saved = workerCount();
    for (int workers : {1, 2, 3, 5}) {
        setWorkerCount(workers);
        for (auto [w, h] : {std::pair{90, 70}, {33, 120}, {140, 9}}) {
            const Bitmap photo = speckled(w, h, static_cast<std::uint32_t>(w * h + workers));
            const DrawingControls c = randomControls(r);
            RenderContext a, b;
            Bitmap fast, slow;
            plain::PencilPipeline(photo, slow, c, p.materials, a);
            PencilPipeline(photo, fast, c, p.materials, b);
            ASSERT_EQ(fast, slow) << w << "x" << h << " with " << workers << " workers";
        }
    }
    setWorkerCount(saved);
    // Three stages of progress: the turn, the strokes, the turn back.
    const Bitmap photo = noisy(30, 20, 1);
    Recorder all;
    Bitmap result;
    PencilPipeline(photo, result, p.controls, p.materials, all.ctx);
    ASSERT_FALSE(all.passes().empty());
    EXPECT_EQ(all.passes().front(), 1);
    EXPECT_EQ(all.passes().back(), 3);
    EXPECT_TRUE(std::ranges::is_sorted(all.passes()));
    for (int workers : {1, 3}) {
        setWorkerCount(workers);
        for (int cancelAfter : {1, 30, 60, r.draw(all.count()) + 1, all.count() - 1}) {
            for (bool plainPath : {true, false}) {
                const testing::PlainPaths paths(plainPath);
                Recorder stopped(cancelAfter);
                Bitmap untouched = grey(1, 1, 7);
                PencilPipeline(photo, untouched, p.controls, p.materials, stopped.ctx);
                EXPECT_EQ(stopped.count(), cancelAfter);  // nothing runs after the cancel
                EXPECT_EQ(untouched, grey(1, 1, 7));
            }
        }
    }
    setWorkerCount(saved);
}

}  // namespace
}  // namespace gt
