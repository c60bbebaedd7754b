// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "imaging/test_pictures.h"
#include "pipeline/text_overlay.h"

namespace gt {
namespace {

using testing::flat;
using testing::grey;
using testing::noisy;

// Letters as blocks: every character but the space a block inside its advance, edges on odd
// columns and rows of the double-size copy so that they fall between two pixels.
class BlockGlyphs : public GlyphRenderer {
public:
    TextExtent measure(const FontSpec& font, const std::string& text) override {
        const int advance = font.italic ? font.size + 1 : font.size;
        return {int(text.size()) * advance, font.size * 3 / 2};
    }
    void drawText(Bitmap& target, int x, int y, const FontSpec& font, Colour colour, const std::string& text) override {
        const TextExtent e = measure(font, {"x"});
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == ' ') continue;
            const int left = x + int(i) * e.width + e.width / 5 + 1, right = x + int(i) * e.width + e.width * 4 / 5;
            for (int yy = y + e.height / 5 + 1; yy < y + e.height * 4 / 5; ++yy)
                for (int xx = left; xx < right; ++xx)
                    if (target.contains(xx, yy)) target.setColour(xx, yy, colour);
        }
    }
};

// One pixel at (x + 3, y + 1) of whatever it draws on; 20 x 8 whatever the font.
class DotGlyphs : public GlyphRenderer {
public:
    bool fillAll = false;
    TextExtent measure(const FontSpec&, const std::string&) override { return {20, 8}; }
    void drawText(Bitmap& target, int x, int y, const FontSpec&, Colour colour, const std::string&) override {
        if (fillAll) {
            target.fill(colour);
            return;
        }
        if (target.contains(x + 3, y + 1)) target.setColour(x + 3, y + 1, colour);
    }
};

TEST(WriteAntiAlias, TwoByTwoAveragingOfTheDoubleSizeText) {
    DotGlyphs dot;
    Bitmap canvas = grey(40, 20, 101);
    WriteAntiAlias(canvas, 10, "Hi", 5, FontSpec{}, kBlack, dot);
    // The double-size text starts at (-2, 0): its pixel (3, 1) is block (0, 0), which averages
    // three background samples and one black one: 303 div 4 = 75.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(canvas.colourAt(x, y).g, x == 10 && y == 5 ? 75 : 101) << x << "," << y;

    // The box is the text's width plus 10 by its height, and nothing beyond it changes.
    dot.fillAll = true;
    Bitmap box = grey(40, 20, 101);
    WriteAntiAlias(box, 10, "Hi", 5, FontSpec{}, Colour{1, 2, 3}, dot);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool inBox = x >= 10 && x < 40 && y >= 5 && y < 13;
            ASSERT_EQ(box.colourAt(x, y), inBox ? Colour({1, 2, 3}) : Colour({101, 101, 101})) << x << "," << y;
        }
}

TEST(WriteAntiAlias, FlatColourGivesOnlyShadesBetweenTextAndBackground) {
    BlockGlyphs glyphs;
    const Colour bg{20, 40, 200}, fg{240, 220, 10};
    Bitmap canvas = flat(80, 30, bg);
    WriteAntiAlias(canvas, 3, "abc d", 4, FontSpec{}, fg, glyphs);
    int mixed = 0, full = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) {
            const Colour c = canvas.colourAt(x, y);
            ASSERT_TRUE(c.b >= bg.b && c.b <= fg.b && c.g >= bg.g && c.g <= fg.g && c.r <= bg.r && c.r >= fg.r);
            mixed += c != bg && c != fg;
            full += c == fg;
        }
    EXPECT_GT(full, 0);
    EXPECT_GT(mixed, 0);
}

TEST(WriteAntiAlias, BandsAndClippingGiveTheSamePixels) {
    BlockGlyphs glyphs;
    FontSpec font;
    font.size = 9;
    const std::string text = "abcdefgh ij";
    for (const auto& [x, y] : {std::pair{3, 2}, std::pair{-17, -4}, std::pair{40, 9}, std::pair{-200, 0}}) {
        Bitmap whole = noisy(60, 16, 11);
        detail::WriteAntiAliasInBands(whole, x, text, y, font, kWhite, glyphs, 100000);
        for (int band : {1, 3, 7, 64}) {
            Bitmap banded = noisy(60, 16, 11);
            detail::WriteAntiAliasInBands(banded, x, text, y, font, kWhite, glyphs, band);
            ASSERT_EQ(banded, whole) << band << " at " << x << "," << y;
        }
        // The same text on a picture with room all round: the part inside the small picture is
        // the same, so clipping never moves a letter.
        Bitmap roomy(60 + 400, 16 + 40);
        roomy.draw(noisy(60, 16, 11), 200, 20);
        WriteAntiAlias(roomy, x + 200, text, y + 20, font, kWhite, glyphs);
        Bitmap inner(60, 16);
        inner.draw(roomy, -200, -20);
        ASSERT_EQ(inner, whole) << x << "," << y;
    }
}

TEST(TextPlacement, NinePositions) {
    // A frame added 150 x 150 (mx = my = 75); text 70 x 20.
    const PlacementSizes framed{450, 350, 300, 200};
    const TextPosition unchanged{11, 12};
    auto at = [&](int placement) { return placeText(placement, framed, 70, 20, unchanged); };
    EXPECT_EQ(at(0), unchanged);
    EXPECT_EQ(at(1), (TextPosition{78, 78}));
    EXPECT_EQ(at(2), (TextPosition{190, 78}));
    EXPECT_EQ(at(3), (TextPosition{302, 78}));
    EXPECT_EQ(at(4), (TextPosition{78, 165}));
    EXPECT_EQ(at(5), (TextPosition{190, 165}));
    EXPECT_EQ(at(6), (TextPosition{302, 165}));
    // The bottom row reads DrawingHeight - my + 3 - th.
    EXPECT_EQ(at(7), (TextPosition{78, 258}));
    EXPECT_EQ(at(8), (TextPosition{190, 258}));
    EXPECT_EQ(at(9), (TextPosition{302, 258}));
    // Odd differences and negative halves truncate toward zero.
    EXPECT_EQ(placeText(1, PlacementSizes{301, 200, 300, 203}, 5, 5, unchanged), (TextPosition{3, 2}));
    EXPECT_EQ(placeText(5, PlacementSizes{5, 5, 5, 5}, 10, 8, unchanged), (TextPosition{-2, -1}));
}

TEST(TextPlacement, TopLeftOfAnUnframedDrawingDrawsAtTwoMinusTwo) {
    BlockGlyphs glyphs;
    TextSettings s;
    s.position = kPlaceTopLeft;
    const PlacementSizes sizes{200, 100, 200, 100};
    const TextPosition p = SetPos(s, sizes, {}, glyphs);
    EXPECT_EQ(p, (TextPosition{3, 3}));
    Bitmap drawing = noisy(200, 100, 1);
    TextPreview preview;
    WriteText(drawing, s, p, glyphs, preview);
    EXPECT_EQ(preview.TextX, 2);
    EXPECT_EQ(preview.TextY, -2);
    // The patch is the text with its space, plus 50 by plus 20.
    EXPECT_EQ(preview.TextPatch.width(), 12 * 15 + 50);
    EXPECT_EQ(preview.TextPatch.height(), 22 + 20);
}

TEST(TextPlacement, ItalicRightEdgeOneSpaceFurtherLeft) {
    BlockGlyphs glyphs;  // italic letters advance 16 instead of 15 in this font
    TextSettings s;
    s.text = "abcd";
    const PlacementSizes sizes{300, 200, 300, 200};
    s.position = kPlaceBottomRight;
    const int upright = SetPos(s, sizes, {}, glyphs).ScrollBar1;
    EXPECT_EQ(upright, 300 - 3 - 4 * 15);
    s.italic = true;
    EXPECT_EQ(SetPos(s, sizes, {}, glyphs).ScrollBar1, 300 - 3 - 5 * 16);
    s.position = kPlaceTopLeft;
    EXPECT_EQ(SetPos(s, sizes, {}, glyphs).ScrollBar1, 3);
    s.position = kPlaceTopMiddle;  // centred text is measured without the space
    EXPECT_EQ(SetPos(s, sizes, {}, glyphs).ScrollBar1, (300 - 4 * 16) / 2);
}

TEST(TextPlacement, ByHandStaysInsideTheScrollRanges) {
    BlockGlyphs glyphs;
    TextSettings s;
    s.text = "abcd";  // 60 x 22: x from -90, y from -33
    s.position = kPlaceCustom;
    const PlacementSizes sizes{300, 200, 300, 200};
    EXPECT_EQ(SetPos(s, sizes, {40, 50}, glyphs), (TextPosition{40, 50}));
    EXPECT_EQ(SetPos(s, sizes, {5000, -5000}, glyphs), (TextPosition{300, -33}));
    EXPECT_EQ(SetPos(s, sizes, {-91, 201}, glyphs), (TextPosition{-90, 200}));
}

TEST(TextPlacement, TypedPositions) {
    EXPECT_EQ(acceptTypedPosition("250", 7, 1000), 250);
    EXPECT_EQ(acceptTypedPosition("0", 7, 1000), 0);
    EXPECT_EQ(acceptTypedPosition("1000", 7, 1000), 1000);
    EXPECT_EQ(acceptTypedPosition("2000", 7, 1000), 7);  // beyond the drawing: the box shows 7 again
    EXPECT_EQ(acceptTypedPosition("", 7, 1000), 7);
    EXPECT_EQ(acceptTypedPosition("-5", 7, 1000), 7);
    EXPECT_EQ(acceptTypedPosition("1.5", 7, 1000), 7);
    EXPECT_EQ(acceptTypedPosition("99999999999999999999", 7, 1000), 7);
}

TEST(TextPreview, EraseRestoresTheDrawingBitForBit) {
    BlockGlyphs glyphs;
    TextSettings s;
    s.shadow = true;
    s.colour = Colour{0, 0, 255};
    const Bitmap original = noisy(120, 60, 4);
    Bitmap drawing = original;
    TextPreview preview;
    EraseText(drawing, preview);  // nothing shown yet: nothing to put back
    EXPECT_EQ(drawing, original);
    // Moves that hang over every edge, one after the other, as a drag does.
    for (const TextPosition p : {TextPosition{3, 3}, TextPosition{-40, -10}, TextPosition{100, 55}, TextPosition{60, 20}}) {
        EraseText(drawing, preview);
        WriteText(drawing, s, p, glyphs, preview);
        EXPECT_NE(drawing, original);
    }
    ClosePreview(drawing, preview);
    EXPECT_EQ(drawing, original);
    EXPECT_FALSE(preview.TextShown);
}

TEST(TextPreview, ShadowFirstThenTheTextOnePixelUpAndLeft) {
    BlockGlyphs glyphs;
    TextSettings s;
    s.text = "a";
    s.shadow = true;
    s.colour = Colour{0, 0, 255};
    Bitmap drawing = grey(60, 40, 128);
    WriteTextAt(drawing, s, TextPosition{11, 15}, glyphs);  // text at (10, 10), shadow at (11, 11)
    // The block of "a" covers columns 12..20 (12 half) and rows 15..27 of the text's box; the
    // shadow's one more to the right and down.
    EXPECT_EQ(drawing.colourAt(16, 16), (Colour{0, 0, 255}));   // text over shadow
    EXPECT_EQ(drawing.colourAt(21, 28), kBlack);                 // below and right of the text: shadow only
    EXPECT_EQ(drawing.colourAt(13, 14), (Colour{128, 128, 128}));  // above and left: neither
}

TEST(TextOverlay, AppliedAtThePlacementOfTheWindow) {
    BlockGlyphs glyphs;
    TextSettings s;
    s.text = "ab";
    s.position = kPlaceTopLeft;
    Bitmap framed = noisy(160, 120, 3), expected = framed;
    ApplyTextOverlay(framed, 100, 80, s, glyphs);  // a frame of 60 x 40: mx 30, my 20
    WriteTextAt(expected, s, TextPosition{33, 23}, glyphs);
    EXPECT_EQ(framed, expected);
}

}  // namespace
}  // namespace gt
