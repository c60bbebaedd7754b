// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "imaging/error.h"
#include "imaging/filters.h"
#include "imaging/filters_plain.h"
#include "imaging/test_pictures.h"
#include "pipeline/frames.h"

namespace gt {
namespace {

using testing::noisy;

constexpr Colour kLight{250, 250, 250};

// A 40 x 30 frame picture: a border of `border` around a light window over columns 8..31 and
// rows 6..23. Its light window by the rules: left 8, right 40 - 31 - 3 = 6, top 6, bottom
// 30 - 23 - 3 = 4, so the window counts 26 x 20 pixels.
Bitmap framePicture(Colour border, int w = 40, int h = 30) {
    Bitmap f(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool window = x >= w / 5 && x < w - w / 5 && y >= h / 5 && y < h - h / 5;
            // A little texture on the border, so that the scaled frame is not flat.
            const Colour c{std::uint8_t(border.b + (x + y) % 5), border.g, border.r};
            f.setColour(x, y, window ? kLight : c);
        }
    return f;
}

Colour border(int n) { return Colour{std::uint8_t(10 * n), std::uint8_t(100 + 10 * n), std::uint8_t(20 * n)}; }

FramePictures pictures() {
    FramePictures p;
    for (int i = 0; i < 8; ++i) p[std::size_t(i)] = framePicture(border(i + 1));
    return p;
}

// Which of the eight pictures a framed drawing was made from, read from its top-left pixel.
int frameOf(const Bitmap& framed) {
    const Colour c = framed.colourAt(0, 0);
    for (int n = 1; n <= 8; ++n)
        if (c.g == border(n).g) return n;
    return 0;
}

// The framed picture resampled only around the drawing's place is the whole frame resampled with
// the drawing drawn over it, also where the drawing reaches beyond the frame (a window running to
// the picture's edge) and for a portrait drawing in a landscape frame.
TEST(Frames, OnlyThePixelsAroundTheDrawingAreResampled) {
    FramePictures p = pictures();
    for (int y = 6; y < 30; ++y)
        for (int x = 8; x < 32; ++x) p[7].setColour(x, y, kLight);  // coloured frame 3 (Frame8) open at the bottom
    for (int number : {1, 3})
        for (auto [w, h] : {std::pair{26, 20}, {53, 41}, {30, 70}, {5, 3}}) {
            const Bitmap drawing = noisy(w, h, std::uint32_t(w * number));
            const FrameLayout layout = layOutFrame(w, h, kFrameColoured, number, p, FrameTint{20, -10, 0});
            Bitmap expected(layout.width, layout.height);
            plain::ResizeBilinear(layout.picture, expected);
            expected.draw(drawing, layout.left, layout.top);
            Bitmap framed = drawing;
            AddColorFrame(framed, number, p, FrameTint{20, -10, 0});
            ASSERT_EQ(framed, expected) << number << ": " << w << "x" << h;
        }
}

TEST(Frames, LightPixelsByTheColourInteger) {
    Bitmap b(4, 1);
    b.setColour(0, 0, Colour{210, 240, 0});    // 13,824,000 exactly
    b.setColour(1, 0, Colour{210, 239, 255});  // 13,823,999
    b.setColour(2, 0, Colour{211, 0, 0});      // blue weighs most
    b.setColour(3, 0, Colour{209, 255, 255});
    EXPECT_TRUE(isLightPixel(b, 0, 0));
    EXPECT_FALSE(isLightPixel(b, 1, 0));
    EXPECT_TRUE(isLightPixel(b, 2, 0));
    EXPECT_FALSE(isLightPixel(b, 3, 0));
    EXPECT_FALSE(isLightPixel(b, 4, 0));  // outside the picture
}

TEST(Frames, LightWindowLimits) {
    EXPECT_EQ(findLightWindow(framePicture(border(1))), (LightWindow{8, 6, 6, 4, true}));
    // A dark start pixel on one side: the window reaches the picture's edge there.
    Bitmap f = framePicture(border(1));
    for (int x = 0; x <= 10; ++x) f.setColour(x, 15, border(1));
    EXPECT_EQ(findLightWindow(f), (LightWindow{0, 6, 6, 4, true}));
    // A window that reaches the edges: the left limit stops at column 1, the right one at the
    // last column but one (12 - 10 - 3 = -1), so the window runs one column past the picture.
    Bitmap open = testing::flat(12, 8, kLight);
    EXPECT_EQ(findLightWindow(open), (LightWindow{1, -1, 1, -1, true}));
    EXPECT_FALSE(findLightWindow(testing::flat(12, 8, kBlack)).found);
}

TEST(Frames, DrawingSetIntoTheScaledWindow) {
    const FramePictures p = pictures();
    // Window 26 x 20: a 26 x 20 drawing keeps the frame's scale, a 52 x 40 one doubles it.
    for (int k : {1, 2}) {
        const Bitmap drawing = noisy(26 * k, 20 * k, 5);
        Bitmap framed = drawing;
        AddFrame(framed, 1, p);
        // The height is one pixel less than the scaled picture's, the width is not reduced.
        ASSERT_EQ(framed.width(), 40 * k);
        ASSERT_EQ(framed.height(), 30 * k - 1);
        Bitmap scaled(40 * k, 30 * k - 1);
        ResizeBilinear(p[0], scaled);
        for (int y = 0; y < framed.height(); ++y)
            for (int x = 0; x < framed.width(); ++x) {
                const int dx = x - 8 * k, dy = y - 6 * k;
                const bool inDrawing = dx >= 0 && dy >= 0 && dx < drawing.width() && dy < drawing.height();
                ASSERT_EQ(framed.colourAt(x, y), inDrawing ? drawing.colourAt(dx, dy) : scaled.colourAt(x, y))
                    << k << ": " << x << "," << y;
            }
    }
}

TEST(Frames, ScaleFactorsTruncate) {
    // 30 x 21 in a 26 x 20 window: sx = 600000 div 26 = 23076, sy = 21000; the picture becomes
    // 923040 div 20000 = 46 wide and 630000 div 20000 - 1 = 30 high, the drawing at (9, 6).
    const Bitmap drawing = noisy(30, 21, 8);
    Bitmap framed = drawing;
    AddFrame(framed, 1, pictures());
    ASSERT_EQ(framed.width(), 46);
    ASSERT_EQ(framed.height(), 30);
    EXPECT_EQ(framed.colourAt(9, 6), drawing.colourAt(0, 0));
    EXPECT_EQ(framed.colourAt(38, 26), drawing.colourAt(29, 20));
    EXPECT_NE(framed.colourAt(8, 6), drawing.colourAt(0, 0));
}

TEST(Frames, PortraitDrawingTurnsALandscapeFrameClockwise) {
    const FramePictures p = pictures();
    FramePictures turned = p;
    RotateBitmap90(turned[0]);
    ASSERT_EQ(turned[0].width(), 30);

    const Bitmap portrait = noisy(20, 26, 2);
    Bitmap a = portrait, b = portrait;
    AddFrame(a, 1, p);
    AddFrame(b, 1, turned);  // already upright: not turned again
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.width(), 30);

    // A landscape or square drawing never turns the picture.
    for (const Bitmap& d : {noisy(26, 20, 3), noisy(20, 20, 4)}) {
        Bitmap x = d, y = d;
        AddFrame(x, 1, p);
        FramePictures upright = turned;
        upright[0] = p[0];
        AddFrame(y, 1, upright);
        EXPECT_EQ(x, y);
        EXPECT_EQ(frameOf(x), 1);
    }
}

TEST(Frames, RotateQuarterTurnClockwise) {
    // 3 x 2: the left column read top to bottom becomes the top row read right to left.
    Bitmap b(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) b.setColour(x, y, Colour{0, std::uint8_t(y), std::uint8_t(x)});
    RotateBitmap90(b);
    ASSERT_EQ(b.width(), 2);
    ASSERT_EQ(b.height(), 3);
    EXPECT_EQ(b.colourAt(1, 0), (Colour{0, 0, 0}));  // old (0, 0)
    EXPECT_EQ(b.colourAt(0, 0), (Colour{0, 1, 0}));  // old (0, 1)
    EXPECT_EQ(b.colourAt(1, 2), (Colour{0, 0, 2}));  // old (2, 0)
    EXPECT_EQ(b.colourAt(0, 2), (Colour{0, 1, 2}));  // old (2, 1)
    Bitmap n = noisy(7, 5, 1), m = n;
    for (int i = 0; i < 4; ++i) RotateBitmap90(m);
    EXPECT_EQ(m, n);
}

TEST(Frames, PictureNumberTables) {
    const FramePictures p = pictures();
    const Bitmap drawing = noisy(26, 20, 6);
    auto realistic = [&](int number) { Bitmap d = drawing; AddFrame(d, number, p); return frameOf(d); };
    auto coloured = [&](int number) { Bitmap d = drawing; AddColorFrame(d, number, p, {}); return frameOf(d); };
    for (int n = 1; n <= 7; ++n) EXPECT_EQ(realistic(n), n);
    for (int n : {0, 8, -1, 100}) EXPECT_EQ(realistic(n), 1) << n;
    const int colouredPictures[6] = {0, 1, 2, 8, 6, 7};
    for (int n = 1; n <= 5; ++n) EXPECT_EQ(coloured(n), colouredPictures[n]) << n;
    for (int n : {0, 6, 7, -3}) EXPECT_EQ(coloured(n), 1) << n;
}

TEST(Frames, ColouredFrameWithoutTintIsTheRealisticOne) {
    const FramePictures p = pictures();
    for (int number : {1, 2}) {
        Bitmap a = noisy(31, 23, 9), b = a;
        AddFrame(a, number, p);
        AddColorFrame(b, number, p, FrameTint{0, 0, 0});
        EXPECT_EQ(a, b) << number;
    }
}

TEST(Frames, TintClampsAndComesAfterTheWindow) {
    FramePictures p = pictures();
    p[0] = framePicture(Colour{0, 0, 200});
    const Bitmap drawing = noisy(26, 20, 7);
    Bitmap plain = drawing;
    AddFrame(plain, 1, p);

    // Red 200 + 100 is limited to 255; green 0 - 50 to 0.
    Bitmap tinted = drawing;
    AddColorFrame(tinted, 1, p, FrameTint{100, -50, 0});
    EXPECT_EQ(tinted.colourAt(0, 0).r, 255);
    EXPECT_EQ(tinted.colourAt(0, 0).g, 0);
    EXPECT_EQ(tinted.colourAt(20, 15), drawing.colourAt(12, 9));

    // A tint that makes the frame light, or the window dark, does not move the window.
    for (FrameTint t : {FrameTint{255, 255, 255}, FrameTint{-255, -255, -255}}) {
        Bitmap d = drawing;
        AddColorFrame(d, 1, p, t);
        EXPECT_EQ(d.width(), plain.width());
        EXPECT_EQ(d.height(), plain.height());
        EXPECT_EQ(d.colourAt(8, 6), drawing.colourAt(0, 0));
    }
}

TEST(Frames, PictureWithoutLightWindowIsAnError) {
    FramePictures p = pictures();
    p[1] = testing::flat(40, 30, Colour{90, 60, 30});
    Bitmap d = noisy(26, 20, 1);
    const Bitmap before = d;
    EXPECT_THROW(AddFrame(d, 2, p), Error);
    EXPECT_EQ(d, before);
    p[2] = Bitmap();
    EXPECT_THROW(AddFrame(d, 3, p), Error);
    EXPECT_THROW(AddColorFrame(d, 2, p, {}), Error);
}

TEST(FramePreview, PlainStylesOnGrey) {
    const Bitmap source = noisy(30, 20, 3);
    FrameSettings s;
    s.style = kFrameLined;
    s.margin = 150;  // drawn at half size: 75
    s.LineColour = Colour{1, 2, 3};
    Bitmap preview;
    DrawFramePreview(preview, source, s, {});
    ASSERT_EQ(preview.width(), 200);
    EXPECT_EQ(preview.colourAt(0, 0), kBlack);
    EXPECT_EQ(preview.colourAt(1, 100), kBlack);
    EXPECT_EQ(preview.colourAt(198, 198), kBlack);
    EXPECT_EQ(preview.colourAt(2, 2), s.FillColour);
    EXPECT_EQ(preview.colourAt(150, 76), s.FillColour);   // top band, rows 2..76
    EXPECT_EQ(preview.colourAt(150, 77), (Colour{128, 128, 128}));
    EXPECT_EQ(preview.colourAt(76, 150), s.FillColour);   // left band, columns 2..76
    EXPECT_EQ(preview.colourAt(75, 75), source.colourAt(0, 0));
    EXPECT_EQ(preview.colourAt(104, 94), source.colourAt(29, 19));
    EXPECT_EQ(preview.colourAt(150, 73), s.LineColour);  // the line two pixels outside the picture
    EXPECT_EQ(preview.colourAt(73, 150), s.LineColour);
    s.style = kFrameSimple;
    DrawFramePreview(preview, source, s, {});
    EXPECT_EQ(preview.colourAt(150, 73), s.FillColour);
}

TEST(FramePreview, PictureStylesFillFromTheFramesInnerCorner) {
    // Frame 1 is 40 x 30 with its window from column 8 and row 6: stretched to 700 x 700, the
    // window starts at column 140 and row 140, so the inner corner is (139, 139).
    const FramePictures p = pictures();
    const Bitmap source = noisy(30, 20, 4);
    FrameSettings s;
    s.margin = 20;
    Bitmap preview;
    DrawFramePreview(preview, source, s, p);
    const Colour frame = preview.colourAt(100, 100);
    EXPECT_EQ(frame.g, border(1).g);
    EXPECT_EQ(preview.colourAt(138, 150).g, border(1).g);
    EXPECT_EQ(preview.colourAt(139, 139), s.FillColour);
    EXPECT_EQ(preview.colourAt(148, 148), s.FillColour);
    EXPECT_EQ(preview.colourAt(149, 149), source.colourAt(0, 0));
    EXPECT_EQ(preview.colourAt(0, 0), kBlack);

    // The coloured frame: the picture is tinted, the fill and the photo are not.
    s.style = kFrameColoured;
    s.colouredNumber = 3;  // Frame8
    s.tintGreen = 50;
    DrawFramePreview(preview, source, s, p);
    EXPECT_EQ(preview.colourAt(100, 100).g, border(8).g + 50);
    EXPECT_EQ(preview.colourAt(140, 140), s.FillColour);
    EXPECT_EQ(preview.colourAt(149, 149), source.colourAt(0, 0));
}

TEST(Frames, IsNumber) {
    EXPECT_TRUE(IsNumber(""));
    EXPECT_TRUE(IsNumber("150"));
    EXPECT_TRUE(IsNumber("0007"));
    EXPECT_FALSE(IsNumber("-5"));
    EXPECT_FALSE(IsNumber("1.5"));
    EXPECT_FALSE(IsNumber(" 15"));
    EXPECT_FALSE(IsNumber("+3"));
    EXPECT_FALSE(IsNumber("١٢"));  // digits of other scripts are not 0..9
}

}  // namespace
}  // namespace gt
