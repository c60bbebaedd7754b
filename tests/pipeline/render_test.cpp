// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "imaging/error.h"
#include "pipeline/render.h"
#include "pipeline/render_limits.h"
#include "pipeline_pictures.h"

namespace gt {
namespace {

using testing::builtinResources;

DrawingParameters paramsFor(int style) { return defaultParameters(static_cast<DrawingStyle>(style)); }

TEST(BuiltinPictures, FromTheAssetFolder) {
    const Resources& r = builtinResources();
    EXPECT_EQ(r.PencilToneStrip.width(), 512);
    EXPECT_EQ(r.PencilToneStrip.height(), 166);
    for (const Bitmap& t : r.InkToneTiles) EXPECT_EQ(std::pair(t.width(), t.height()), std::pair(100, 200));
    for (const Bitmap& t : r.PaperTextures) EXPECT_EQ(std::pair(t.width(), t.height()), std::pair(256, 256));
    for (const Bitmap& f : r.FramePictures) EXPECT_FALSE(f.empty());
    EXPECT_EQ(r.materials(3).PaperTexture, &r.PaperTextures[3]);
    EXPECT_EQ(r.materials(12).PaperTexture, &r.PaperTextures[9]);
    EXPECT_EQ(r.materials(0).InkToneTiles[8], &r.InkToneTiles[8]);
    EXPECT_THROW(loadBuiltinPicturesFrom("/nonexistent-folder"), Error);
}

TEST(Dispatcher, EveryStyleGivesTheSameBytesTwice) {
    const Bitmap photo = testing::photo(46, 34);
    const Materials m = builtinResources().materials(2);
    for (int s = 0; s < kStyleCount; ++s) {
        RenderContext first, second;
        const RenderResult a = renderStyle(static_cast<DrawingStyle>(s), photo, paramsFor(s), m, first);
        const RenderResult b = renderStyle(static_cast<DrawingStyle>(s), photo, paramsFor(s), m, second);
        EXPECT_TRUE(a.rendered && !a.cancelled) << s;
        EXPECT_EQ(a.drawing.width(), 46) << s;
        EXPECT_EQ(a.drawing.height(), 34) << s;
        EXPECT_EQ(std::pair(a.DrawingWidth, a.DrawingHeight), std::pair(46, 34)) << s;
        EXPECT_TRUE(a.drawing == b.drawing) << s;
        EXPECT_FALSE(a.drawing == photo) << s;
    }
}

TEST(Dispatcher, TheStyleAskedForWinsOverTheIndexInTheParameters) {
    // BilateralPainting draws its dabs only when it is told it runs painting 2.
    const Bitmap photo = testing::photo(60, 60);
    const Materials m = builtinResources().materials(0);
    DrawingParameters p = paramsFor(5);
    RenderContext c1, c2;
    const Bitmap direct = renderStyle(DrawingStyle::Painting2, photo, p, m, c1).drawing;
    p.ComboBox1 = 6;
    EXPECT_TRUE(renderStyle(DrawingStyle::Painting2, photo, p, m, c2).drawing == direct);
}

TEST(Dispatcher, ACancelledRenderingGivesThePhoto) {
    const Bitmap photo = testing::photo(40, 30);
    const Materials m = builtinResources().materials(0);
    std::atomic<bool> cancel{true};
    for (int s = 0; s < kStyleCount; ++s) {
        RenderContext ctx;
        ctx.cancel = &cancel;
        const RenderResult r = renderStyle(static_cast<DrawingStyle>(s), photo, paramsFor(s), m, ctx);
        EXPECT_TRUE(r.cancelled) << s;
        EXPECT_TRUE(r.drawing == photo) << s;
        EXPECT_TRUE(cancel.load()) << s;  // the flag is the caller's to clear
    }
}

TEST(Dispatcher, ACancelInTheMiddleOfThePencilDrawingGivesThePhoto) {
    const Bitmap photo = testing::photo(60, 50);
    std::atomic<bool> cancel{false};
    int reports = 0;
    RenderContext ctx;
    ctx.cancel = &cancel;
    ctx.progress = [&](int, int, int, int) {
        if (++reports == 20) cancel = true;
    };
    const RenderResult r = renderDrawing(photo, paramsFor(0), builtinResources(), ctx);
    EXPECT_GE(reports, 20);
    EXPECT_TRUE(r.cancelled);
    EXPECT_TRUE(r.drawing == photo);  // no frame, no half drawing
    EXPECT_EQ(std::pair(r.DrawingWidth, r.DrawingHeight), std::pair(60, 50));
}

TEST(Dispatcher, ProgressPassesOfPaintings3And4) {
    const Bitmap photo = testing::photo(30, 30);
    const Materials m = builtinResources().materials(0);
    std::set<std::pair<int, int>> passes;
    std::pair<int, int> last;
    std::pair<int, int> lastStep;
    RenderContext ctx;
    ctx.progress = [&](int step, int lastStepOfPass, int pass, int of) {
        passes.insert({pass, of});
        last = {pass, of};
        lastStep = {step, lastStepOfPass};
    };
    DrawingParameters p = paramsFor(7);
    p.TrackBar1 = 10;
    renderStyle(DrawingStyle::Painting4, photo, p, m, ctx);
    for (int pass = 1; pass <= 10; ++pass) EXPECT_TRUE(passes.count({pass, 10})) << pass;
    EXPECT_EQ(last, std::pair(1, 1));
    EXPECT_EQ(lastStep, std::pair(100, 100));

    passes.clear();
    renderStyle(DrawingStyle::Painting3, photo, paramsFor(6), m, ctx);
    EXPECT_TRUE(passes.count({1, 2}));
    EXPECT_TRUE(passes.count({2, 2}));
}

TEST(RenderDrawing, FinishingPassAndNoStyle) {
    // Even sizes: for odd ones the finishing pass's centre crop stretches the drawing by a pixel.
    const Bitmap photo = testing::photo(42, 28);
    const Resources& res = builtinResources();
    DrawingParameters p = paramsFor(3);
    p.CheckBox1 = false;
    RenderContext c1, c2, c3;
    const Bitmap style = renderStyle(DrawingStyle::InkDrawing, photo, p, res.materials(0), c1).drawing;
    EXPECT_TRUE(renderDrawing(photo, p, res, c2).drawing == style);

    p.CheckBox1 = true;
    p.frame.style = kFrameSimple;
    p.frame.margin = 150;
    const RenderResult framed = renderDrawing(photo, p, res, c3);
    EXPECT_EQ(std::pair(framed.DrawingWidth, framed.DrawingHeight), std::pair(42 + 150, 28 + 150));
    EXPECT_EQ(framed.drawing.colourAt(75 + 2, 75 + 2), style.colourAt(2, 2));
    EXPECT_EQ(framed.drawing.colourAt(10, 10), p.frame.FillColour);

    p.ComboBox1 = -1;
    RenderContext c4;
    const RenderResult nothing = renderDrawing(photo, p, res, c4);
    EXPECT_FALSE(nothing.rendered);
    EXPECT_TRUE(nothing.drawing.empty());
}

// A photo given over to the rendering is drawn on, and let go early, without a byte changing: every
// style, framed (realistic, on an odd size, so the composition stretches) and unframed.
TEST(RenderDrawing, APhotoGivenOverGivesTheSameDrawing) {
    const Bitmap photo = testing::photo(45, 31);
    for (int s = 0; s < kStyleCount; ++s) {
        for (bool framed : {false, true}) {
            DrawingParameters p = paramsFor(s);
            p.CheckBox1 = framed;
            RenderContext kept, given;
            const RenderResult expected = renderDrawing(photo, p, builtinResources(), kept);
            Bitmap copy = photo;
            const RenderResult r = renderDrawing(std::move(copy), p, builtinResources(), given);
            EXPECT_TRUE(r.drawing == expected.drawing) << s << " " << framed;
            EXPECT_EQ(std::pair(r.DrawingWidth, r.DrawingHeight), std::pair(expected.DrawingWidth, expected.DrawingHeight));
            EXPECT_EQ(given.random.seed, kept.random.seed) << s;
            EXPECT_TRUE(copy.empty()) << s;
        }
    }
}

TEST(RenderDrawing, CancelledWithAFrameOnGivesThePhotoAtItsSize) {
    const Bitmap photo = testing::photo(33, 21);
    std::atomic<bool> cancel{true};
    RenderContext ctx;
    ctx.cancel = &cancel;
    std::vector<int> last;
    ctx.progress = [&](int step, int lastStep, int pass, int passes) { last = {step, lastStep, pass, passes}; };
    const RenderResult r = renderDrawing(photo, paramsFor(8), builtinResources(), ctx);
    EXPECT_TRUE(r.cancelled);
    EXPECT_TRUE(r.drawing == photo);
    EXPECT_EQ(std::pair(r.DrawingWidth, r.DrawingHeight), std::pair(33, 21));
    EXPECT_EQ(last, (std::vector<int>{100, 100, 1, 1}));  // the progress display is ended
}

}  // namespace
}  // namespace gt

namespace gt {
namespace {

// What a rendering refuses, and that it refuses before any work: no progress reported.
std::string refusal(int w, int h, const DrawingParameters& p) {
    const Bitmap photo(w, h);
    RenderContext ctx;
    int reports = 0;
    ctx.progress = [&](int, int, int, int) { ++reports; };
    try {
        renderDrawing(photo, p, builtinResources(), ctx);
    } catch (const Error& e) {
        EXPECT_EQ(reports, 0) << e.what();
        return e.what();
    }
    return "";
}

TEST(RenderLimits, PicturesBeyondTheLimitsAreRefusedBeforeTheWork) {
    DrawingParameters pencil = defaultParameters(DrawingStyle::PencilDrawing);
    pencil.CheckBox1 = false;
    // The turned canvas grows with the square of the longest side.
    EXPECT_EQ(refusal(65317, 23, pencil),
              "the pencil drawing's turned canvas would be 50049 x 42001 pixels, more than the 400 megapixels a picture may have");
    // The same photo in a style that does not turn it fits, but not once framed.
    DrawingParameters plain = defaultParameters(DrawingStyle::FrameAndTextureOnly);
    plain.CheckBox1 = true;
    plain.frame.style = kFrameRealistic;
    plain.frame.margin = 150;
    const std::string framed = refusal(65000, 23, plain);
    EXPECT_EQ(framed.rfind("the framed picture would be ", 0), 0u) << framed;
    EXPECT_NE(framed.find("more than the 65535 a picture may have on a side"), std::string::npos) << framed;
    plain.frame.style = kFrameSimple;
    plain.frame.margin = 1000;
    EXPECT_EQ(refusal(65000, 23, plain),
              "the drawing with its margin would be 66000 x 1023 pixels, more than the 65535 a picture may have on a side");
    // A photo as wide as accepted, without margin and frame, renders.
    plain.CheckBox1 = false;
    EXPECT_EQ(refusal(65535, 2, plain), "");
}

// The memory the machine can give comes from the environment here: a rendering whose peak would
// exceed it (the photo, already in memory, counted on both sides) is refused before any work, and
// one that just fits is drawn.
TEST(RenderLimits, ARenderingBeyondTheAvailableMemoryIsRefusedBeforeTheWork) {
    const DrawingParameters p = paramsFor(4);  // painting 1 in a realistic frame
    const long long needed = renderPeakBytes(40, 30, p, builtinResources(), false), photo = 3 * 40 * 30;
    ::setenv("GRAPHITELLO_AVAILABLE_MEMORY", std::to_string(needed - photo - 1).c_str(), 1);
    const std::string refused = refusal(40, 30, p);
    EXPECT_EQ(refused.rfind("not enough memory to draw this photo: it would take about ", 0), 0u) << refused;
    ::setenv("GRAPHITELLO_AVAILABLE_MEMORY", std::to_string(needed - photo).c_str(), 1);
    EXPECT_EQ(refusal(40, 30, p), "");
    ::setenv("GRAPHITELLO_AVAILABLE_MEMORY", "2G", 1);
    EXPECT_EQ(availableMemory(), 2'000'000'000LL);
    ::unsetenv("GRAPHITELLO_AVAILABLE_MEMORY");
}

TEST(RenderLimits, EverySideAndPixelLimit) {
    DrawingParameters p = defaultParameters(DrawingStyle::Painting1);
    p.CheckBox1 = false;
    EXPECT_NO_THROW(checkRenderSizes(20000, 20000, p, builtinResources()));
    EXPECT_THROW(checkRenderSizes(20001, 20000, p, builtinResources()), Error);
    EXPECT_THROW(checkRenderSizes(65536, 1, p, builtinResources()), Error);
    p = defaultParameters(DrawingStyle::PencilDrawing);
    p.CheckBox1 = false;
    EXPECT_NO_THROW(checkRenderSizes(16000, 23, p, builtinResources()));  // a canvas of 126 megapixels
    EXPECT_THROW(checkRenderSizes(16000, 16000, p, builtinResources()), Error);
}

}  // namespace
}  // namespace gt
