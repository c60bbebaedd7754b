// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFontInfo>

#include "finishing/text_qt/qt_glyph_renderer.h"
#include "imaging/test_pictures.h"
#include "pipeline/finalize.h"

namespace gt {
namespace {

using testing::flat;
using testing::noisy;

TEST(QtGlyphs, DefaultFontIsTahomaOrTheClosestPresent) {
    const QString family = QtGlyphRenderer::resolveFamily("Tahoma");
    EXPECT_FALSE(family.isEmpty());
    EXPECT_TRUE(QtGlyphRenderer::hasFamily(family.toStdString()));
    // 15 points at 96 dots per inch are 20 pixels.
    EXPECT_EQ(QtGlyphRenderer::qfont(FontSpec{}).pixelSize(), 20);
    EXPECT_EQ(QtGlyphRenderer::resolveFamily("No Such Family Anywhere"), QtGlyphRenderer::resolveFamily("Tahoma"));

    QtGlyphRenderer glyphs;
    const TextExtent e = glyphs.measure(FontSpec{}, "Graphitello");
    EXPECT_GT(e.width, 60);
    EXPECT_LT(e.width, 200);
    EXPECT_GE(e.height, 20);
    EXPECT_LT(e.height, 40);
    // Twice the size is about twice as wide.
    FontSpec big;
    big.size = 30;
    const TextExtent b = glyphs.measure(big, "Graphitello");
    EXPECT_NEAR(b.width, 2 * e.width, 6);
    EXPECT_GT(glyphs.measure(FontSpec{}, "Graphitello ").width, e.width);
}

TEST(QtGlyphs, OneColourOnAFlatBackgroundGivesOnlyShadesBetweenTheTwo) {
    QtGlyphRenderer glyphs;
    const Colour bg{30, 160, 220}, fg{250, 20, 40};
    for (bool italic : {false, true}) {
        Bitmap canvas = flat(200, 40, bg);
        FontSpec font;
        font.italic = italic;
        WriteAntiAlias(canvas, 4, "Graphitello W ", 6, font, fg, glyphs);
        int changed = 0, full = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 200; ++x) {
                const Colour c = canvas.colourAt(x, y);
                // Each channel between the two, and the three channels at the same point of the way
                // from background to text (a coloured fringe would break that).
                ASSERT_TRUE(c.b >= bg.b && c.b <= fg.b && c.g <= bg.g && c.g >= fg.g && c.r <= bg.r && c.r >= fg.r)
                    << x << "," << y;
                const double tb = double(c.b - bg.b) / (fg.b - bg.b), tg = double(c.g - bg.g) / (fg.g - bg.g),
                             tr = double(c.r - bg.r) / (fg.r - bg.r);
                ASSERT_NEAR(tb, tg, 0.03) << x << "," << y;
                ASSERT_NEAR(tb, tr, 0.03) << x << "," << y;
                changed += c != bg;
                full += c == fg;
            }
        EXPECT_GT(changed, 100);
        EXPECT_GT(full, 10);
    }
}

TEST(QtGlyphs, BandsGiveTheSameLetters) {
    QtGlyphRenderer glyphs;
    FontSpec font;
    font.bold = true;
    Bitmap whole = noisy(150, 30, 2), banded = whole;
    detail::WriteAntiAliasInBands(whole, -7, "Mixed band test", 3, font, kWhite, glyphs, 1 << 20);
    detail::WriteAntiAliasInBands(banded, -7, "Mixed band test", 3, font, kWhite, glyphs, 37);
    EXPECT_EQ(banded, whole);
}

TEST(QtGlyphs, TextWiderThanTheOldRowLimit) {
    // More than 5,461 pixels of text: the old routine's rows held at most 32,768 bytes.
    QtGlyphRenderer glyphs;
    const std::string text(700, 'W');
    FontSpec font;
    ASSERT_GT(glyphs.measure(font, text).width, 5461);
    Bitmap canvas = flat(glyphs.measure(font, text).width + 20, 30, kBlack);
    WriteAntiAlias(canvas, 0, text, 2, font, kWhite, glyphs);
    int lit = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = canvas.width() - 200; x < canvas.width() - 20; ++x) lit += canvas.colourAt(x, y) != kBlack;
    EXPECT_GT(lit, 100);
}

TEST(QtGlyphs, PreviewErasedBitForBit) {
    QtGlyphRenderer glyphs;
    TextSettings s;
    s.shadow = true;
    s.italic = true;
    const Bitmap original = noisy(160, 90, 5);
    Bitmap drawing = original;
    TextPreview preview;
    const PlacementSizes sizes{160, 90, 160, 90};
    for (int placement : {1, 9, 5, 3}) {
        s.position = placement;
        const TextPosition p = SetPos(s, sizes, {}, glyphs);
        EraseText(drawing, preview);
        WriteText(drawing, s, p, glyphs, preview);
        EXPECT_NE(drawing, original) << placement;
    }
    ClosePreview(drawing, preview);
    EXPECT_EQ(drawing, original);
}

TEST(QtGlyphs, FinishedDrawingCarriesTheText) {
    QtGlyphRenderer glyphs;
    const Bitmap drawing = flat(240, 120, Colour{60, 60, 60});
    DrawingParameters in;
    in.CheckBox1 = false;
    in.CheckBox4 = true;
    const Bitmap out = Finalize(drawing, Bitmap(240, 120), false, in, {nullptr, &glyphs}).picture;
    // Placement 9: white letters in the bottom-right corner, nothing in the top-left quarter.
    int bottomRight = 0, topLeft = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 240; ++x) {
            if (out.colourAt(x, y) == drawing.colourAt(x, y)) continue;
            (x >= 120 && y >= 60 ? bottomRight : topLeft) += 1;
        }
    EXPECT_GT(bottomRight, 50);
    EXPECT_EQ(topLeft, 0);
}

}  // namespace
}  // namespace gt
