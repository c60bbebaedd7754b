// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "imaging/error.h"
#include "imaging/filters.h"
#include "imaging/parallel.h"
#include "imaging/test_pictures.h"
#include "pipeline/finalize.h"

namespace gt {
namespace {

using testing::flat;
using testing::noisy;

const Colour kFill{242, 251, 252};

DrawingParameters frameInputs(int style, int margin) {
    DrawingParameters in;
    in.CheckBox1 = true;
    in.frame.style = style;
    in.frame.margin = margin;
    return in;
}

DrawingParameters noFrame() {
    DrawingParameters in;
    in.CheckBox1 = false;
    return in;
}

// A frame picture of 60 x 40 with a light window over its middle three fifths.
FramePictures framePictures() {
    FramePictures p;
    for (int i = 0; i < 8; ++i) {
        Bitmap f(60, 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x) {
                const bool window = x >= 12 && x < 48 && y >= 8 && y < 32;
                f.setColour(x, y, window ? Colour{240, 245, 250} : Colour{std::uint8_t(20 * i), 60, std::uint8_t(x * 4)});
            }
        p[std::size_t(i)] = f;
    }
    return p;
}

TEST(Finalize, DefaultsAreTheApplications) {
    const DrawingParameters in;
    EXPECT_TRUE(in.CheckBox1);
    EXPECT_FALSE(in.CheckBox4);
    EXPECT_EQ(in.frame.style, kFrameRealistic);
    EXPECT_EQ(in.frame.margin, 150);
    EXPECT_EQ(in.frame.realisticNumber, 1);
    EXPECT_EQ(in.frame.FillColour, (Colour{242, 251, 252}));
    EXPECT_EQ(in.frame.LineColour, kBlack);
    EXPECT_EQ(in.text.text, "Graphitello");
    EXPECT_EQ(in.text.fontSize, 15);
    EXPECT_EQ(in.text.colour, kWhite);
    EXPECT_EQ(in.text.position, kPlaceBottomRight);
    EXPECT_FALSE(in.text.shadow);
}

TEST(Finalize, CancelGivesBackTheSourceAndNothingElse) {
    const Bitmap source = noisy(13, 9, 1);
    DrawingParameters in = frameInputs(kFrameRealistic, 150);
    in.CheckBox4 = true;  // no font engine either: the text is never reached
    const FinishedDrawing r = Finalize(noisy(13, 9, 2), source, true, in);
    EXPECT_EQ(r.picture, source);
    EXPECT_EQ(r.DrawingWidth, 13);
    EXPECT_EQ(r.DrawingHeight, 9);
}

TEST(Finalize, WithoutFrameThePlainCentreCrop) {
    // Even sizes: the drawing comes back as it is.
    const Bitmap even = noisy(12, 8, 3);
    FinishedDrawing r = Finalize(even, Bitmap(12, 8), false, noFrame());
    EXPECT_EQ(r.picture, even);
    EXPECT_EQ(r.DrawingWidth, 12);
    EXPECT_EQ(r.DrawingHeight, 8);

    // A larger drawing gives its centre: from (10 div 2 - 6 div 2, 8 div 2 - 4 div 2) = (2, 2).
    const Bitmap large = noisy(10, 8, 4);
    r = Finalize(large, Bitmap(6, 4), false, noFrame());
    ASSERT_EQ(r.picture.width(), 6);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) ASSERT_EQ(r.picture.colourAt(x, y), large.colourAt(x + 2, y + 2));

    // Odd sizes: the rectangle copied is one pixel short (columns 0..5 of 7) and is stretched
    // back to 7: column 3 comes twice and the last column is lost.
    const Bitmap odd = noisy(7, 5, 5);
    r = Finalize(odd, Bitmap(7, 5), false, noFrame());
    const int from[7] = {0, 1, 2, 3, 3, 4, 5};
    const int fromRow[5] = {0, 1, 2, 2, 3};  // 4 rows onto 5: (2d + 1) * 4 div 10
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) ASSERT_EQ(r.picture.colourAt(x, y), odd.colourAt(from[x], fromRow[y])) << x << "," << y;

    // A source one pixel wide keeps its one column.
    const Bitmap thin = noisy(1, 4, 6);
    r = Finalize(thin, Bitmap(1, 4), false, noFrame());
    EXPECT_EQ(r.picture, thin);
}

TEST(Finalize, SimpleFrameMarginAndTwoOuterRings) {
    const Bitmap drawing = noisy(20, 16, 7);
    const FinishedDrawing r = Finalize(drawing, Bitmap(20, 16), false, frameInputs(kFrameSimple, 150));
    ASSERT_EQ(r.picture.width(), 170);
    ASSERT_EQ(r.picture.height(), 166);
    EXPECT_EQ(r.DrawingWidth, 170);
    EXPECT_EQ(r.DrawingHeight, 166);
    for (int y = 0; y < 166; ++y)
        for (int x = 0; x < 170; ++x) {
            const int dx = x - 75, dy = y - 75;
            // Inside the drawing but two pixels in from its edge.
            const bool kept = dx >= 2 && dy >= 2 && dx < 18 && dy < 14;
            ASSERT_EQ(r.picture.colourAt(x, y), kept ? drawing.colourAt(dx, dy) : kFill) << x << "," << y;
        }
}

TEST(Finalize, LinedFrameLineAtOffset72) {
    DrawingParameters in = frameInputs(kFrameLined, 150);
    const Colour line{1, 2, 3};
    in.frame.LineColour = line;
    const Bitmap drawing = flat(20, 16, Colour{100, 100, 100});
    const FinishedDrawing r = Finalize(drawing, Bitmap(20, 16), false, in);
    const int Fw = 170, Fh = 166;
    for (int y = 0; y < Fh; ++y)
        for (int x = 0; x < Fw; ++x) {
            const bool onRing = (x == 72 || x == Fw - 73) ? (y >= 72 && y <= Fh - 73)
                                : (y == 72 || y == Fh - 73) ? (x >= 72 && x <= Fw - 73)
                                                            : false;
            if (onRing)
                ASSERT_EQ(r.picture.colourAt(x, y), line) << x << "," << y;
            else
                ASSERT_NE(r.picture.colourAt(x, y), line) << x << "," << y;
        }
    // The two pixels between line and drawing keep the fill colour.
    EXPECT_EQ(r.picture.colourAt(73, 80), kFill);
    EXPECT_EQ(r.picture.colourAt(74, 80), kFill);
}

TEST(Finalize, SmallMarginsDrawOnlyWhatFallsInside) {
    const Colour line{1, 2, 3};
    const Bitmap drawing = flat(9, 7, Colour{100, 100, 100});
    for (int m = 1; m <= 5; ++m) {
        DrawingParameters in = frameInputs(kFrameLined, m);
        in.frame.LineColour = line;
        const FinishedDrawing r = Finalize(drawing, Bitmap(9, 7), false, in);
        ASSERT_EQ(r.picture.width(), 9 + m);
        int lined = 0;
        for (int y = 0; y < r.picture.height(); ++y)
            for (int x = 0; x < r.picture.width(); ++x) lined += r.picture.colourAt(x, y) == line;
        // g = (m - 5) div 2 is -2, -1, -1 for m = 1..3 (the line lies wholly outside) and 0 for
        // m = 4 and 5: the outermost ring.
        const int W = 9 + m, H = 7 + m;
        EXPECT_EQ(lined, m <= 3 ? 0 : 2 * (W + H) - 4) << m;
    }
}

TEST(Finalize, EdgeShadingDiagonalRule) {
    Bitmap b = flat(15, 14, Colour{200, 200, 200});
    b.setColour(0, 0, Colour{50, 90, 200});
    EdgeShading(b);
    auto v = [&](int x, int y) { return int(b.colourAt(x, y).g); };
    EXPECT_EQ(b.colourAt(0, 0), (Colour{0, 10, 120}));  // 80 off each channel, none below 0
    EXPECT_EQ(v(5, 3), 200 - 8 * 7);   // above the diagonal: the top edge, row 3
    EXPECT_EQ(v(3, 5), 200 - 8 * 7);   // below it: the left edge, column 3
    EXPECT_EQ(v(4, 4), 200 - 8 * 6);   // on it: counted as the left edge
    EXPECT_EQ(v(12, 2), 200 - 8 * 8);
    EXPECT_EQ(v(2, 12), 200 - 8 * 8);
    EXPECT_EQ(v(1, 0), 200 - 80);
    EXPECT_EQ(v(0, 1), 200 - 80);
    EXPECT_EQ(v(10, 10), 200);         // row and column 10 unchanged
    EXPECT_EQ(v(14, 10), 200);
    EXPECT_EQ(v(10, 13), 200);
    EXPECT_EQ(v(14, 13), 200);         // bottom and right edges untouched
}

// The normal branch for the picture frames, step by step as it must run.
Bitmap framedByHand(const Bitmap& drawing, const DrawingParameters& in, const FramePictures& p) {
    Bitmap d = drawing, corner(10, 10);
    EdgeShading(d);
    CornerSmoothing(d, corner);
    DrawingParameters simple = in;
    simple.frame.style = kFrameSimple;
    Bitmap f = Finalize(d, Bitmap(drawing.width(), drawing.height()), false, simple).picture;
    EdgeShading(f);
    CornerSmoothing(f, corner);
    if (in.frame.style == kFrameRealistic)
        AddFrame(f, in.frame.realisticNumber, p);
    else
        AddColorFrame(f, in.frame.colouredNumber, p, {in.frame.tintRed, in.frame.tintGreen, in.frame.tintBlue});
    return f;
}

TEST(Finalize, PictureFramesShadeBeforeAndAfterTheMargin) {
    const FramePictures p = framePictures();
    const Bitmap drawing = noisy(24, 18, 8);
    DrawingParameters in = frameInputs(kFrameRealistic, 30);
    in.frame.realisticNumber = 3;
    const FinishedDrawing r = Finalize(drawing, Bitmap(24, 18), false, in, {&p});
    EXPECT_EQ(r.picture, framedByHand(drawing, in, p));
    EXPECT_EQ(r.DrawingWidth, r.picture.width());
    EXPECT_EQ(r.DrawingHeight, r.picture.height());

    in.frame.style = kFrameColoured;
    in.frame.colouredNumber = 4;
    in.frame.tintRed = 40;
    in.frame.tintBlue = -90;
    EXPECT_EQ(Finalize(drawing, Bitmap(24, 18), false, in, {&p}).picture, framedByHand(drawing, in, p));

    // The corner smoothing blurs the shaded top-left patch: pixel (1, 1) of the drawing, shaded
    // by 72, is no longer what the shading alone gives.
    Bitmap shaded = drawing;
    EdgeShading(shaded);
    Bitmap smoothed = shaded, corner(10, 10);
    CornerSmoothing(smoothed, corner);
    Bitmap blurred = shaded;
    Blur3x3(blurred);
    EXPECT_EQ(smoothed.colourAt(1, 1), blurred.colourAt(1, 1));
    EXPECT_EQ(smoothed.colourAt(9, 9), shaded.colourAt(9, 9));  // the patch's border is not blurred
}

TEST(Finalize, MissingPiecesAreErrors) {
    const Bitmap drawing = noisy(8, 8, 1);
    EXPECT_THROW(Finalize(drawing, Bitmap(8, 8), false, frameInputs(kFrameRealistic, 20)), Error);
    DrawingParameters text = noFrame();
    text.CheckBox4 = true;
    EXPECT_THROW(Finalize(drawing, Bitmap(8, 8), false, text), Error);
    // Frame off: no frame picture is needed whatever style is chosen.
    DrawingParameters off = frameInputs(kFrameColoured, 20);
    off.CheckBox1 = false;
    EXPECT_EQ(Finalize(drawing, Bitmap(8, 8), false, off).picture, drawing);
}

// The composition made inside the framed picture (or, where the frame would clip it, on its own) and
// the drawing handed on uncopied give the bytes of the pass done step by step, with several workers.
TEST(Finalize, FastPathMatchesThePlainOne) {
    FramePictures p = framePictures();
    // Picture 2's window runs down to the bottom edge: the frame clips the composition there.
    for (int y = 8; y < 40; ++y)
        for (int x = 12; x < 48; ++x) p[1].setColour(x, y, Colour{240, 245, 250});
    std::uint32_t seed = 40;
    for (int workers : {1, 3}) {
        setWorkerCount(workers);
        for (auto [w, h] : {std::pair{1, 1}, {2, 3}, {24, 18}, {17, 31}, {70, 9}})
            for (auto [dw, dh] : {std::pair{0, 0}, {3, 2}})
                for (int style : {kFrameSimple, kFrameLined, kFrameRealistic, kFrameColoured})
                    for (int margin : {0, 1, 6, 30}) {
                        const Bitmap source(w, h), drawing = noisy(w + dw, h + dh, ++seed);
                        DrawingParameters in = frameInputs(style, margin);
                        in.CheckBox1 = margin != 1;
                        in.frame.realisticNumber = 2;
                        in.frame.colouredNumber = int(seed % 5) + 1;
                        in.frame.tintRed = 30;
                        const FinishedDrawing fast = Finalize(drawing, source, false, in, {&p});
                        const FinishedDrawing reference = plain::Finalize(drawing, source, false, in, {&p});
                        ASSERT_EQ(fast.picture, reference.picture)
                            << w << "x" << h << " +" << dw << " style " << style << " margin " << margin << " workers " << workers;
                        ASSERT_EQ(fast.DrawingWidth, reference.DrawingWidth);
                        ASSERT_EQ(fast.DrawingHeight, reference.DrawingHeight);
                    }
    }
    setWorkerCount(0);
}

// Letters as solid blocks, for the text step of the pass.
class BlockGlyphs : public GlyphRenderer {
public:
    TextExtent measure(const FontSpec& font, const std::string& text) override {
        return {int(text.size()) * font.size / 2, font.size};
    }
    void drawText(Bitmap& target, int x, int y, const FontSpec& font, Colour colour, const std::string& text) override {
        const TextExtent e = measure(font, text);
        for (int yy = y + 1; yy < y + e.height - 1; ++yy)
            for (int xx = x + 2; xx < x + e.width; ++xx)
                if (target.contains(xx, yy)) target.setColour(xx, yy, colour);
    }
};

TEST(Finalize, TextComesLastOnTheFramedPicture) {
    BlockGlyphs glyphs;
    DrawingParameters in = frameInputs(kFrameSimple, 40);
    in.CheckBox4 = true;
    in.text.colour = Colour{0, 0, 255};
    const Bitmap drawing = noisy(60, 40, 2);
    const FinishedDrawing r = Finalize(drawing, Bitmap(60, 40), false, in, {nullptr, &glyphs});
    DrawingParameters plain = in;
    plain.CheckBox4 = false;
    Bitmap expected = Finalize(drawing, Bitmap(60, 40), false, plain).picture;
    ApplyTextOverlay(expected, 60, 40, in.text, glyphs);
    EXPECT_EQ(r.picture, expected);
    EXPECT_NE(r.picture, Finalize(drawing, Bitmap(60, 40), false, plain).picture);
}

}  // namespace
}  // namespace gt
