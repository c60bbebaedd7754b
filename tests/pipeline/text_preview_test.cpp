// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "imaging/test_pictures.h"
#include "pipeline/text_preview.h"

namespace gt {
namespace {

using testing::noisy;

// Letters as slanted strokes, so that every letter pixel depends on where it falls.
class StrokeGlyphs : public GlyphRenderer {
public:
    TextExtent measure(const FontSpec& font, const std::string& text) override {
        return {int(text.size()) * font.size, font.size * 3 / 2};
    }
    void drawText(Bitmap& target, int x, int y, const FontSpec& font, Colour colour, const std::string& text) override {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == ' ') continue;
            for (int k = 0; k < font.size; ++k) {
                const int xx = x + int(i) * font.size + k / 2 + 1, yy = y + k + 2;
                if (target.contains(xx, yy)) target.setColour(xx, yy, colour);
            }
        }
    }
};

TEST(TextPreviewOverlay, LaidOverTheDrawingItIsWhatTheTextWritesWhereverItHangs) {
    StrokeGlyphs glyphs;
    TextSettings s;
    s.text = "abc";
    s.shadow = true;
    s.colour = Colour{10, 200, 90};
    const Bitmap drawing = noisy(90, 50, 7);
    // Inside, then hanging over each edge, then wholly outside.
    for (const TextPosition p : {TextPosition{30, 20}, TextPosition{-20, 10}, TextPosition{70, 10}, TextPosition{10, -8},
                                 TextPosition{10, 45}, TextPosition{-200, -200}, TextPosition{500, 20}}) {
        const TextOverlayPatch patch = PreviewTextOverlay(drawing, s, p, glyphs);
        Bitmap shown = drawing;
        shown.draw(patch.pixels, patch.left, patch.top);
        Bitmap written = drawing;
        WriteTextAt(written, s, p, glyphs);
        EXPECT_EQ(shown, written) << p.ScrollBar1 << "," << p.ScrollBar2;
        // The patch is WriteText's, kept inside the drawing.
        if (!patch.pixels.empty()) {
            EXPECT_EQ(patch.left, std::max(p.ScrollBar1 - 1, 0));
            EXPECT_EQ(patch.top, std::max(p.ScrollBar2 - 5, 0));
            EXPECT_LE(patch.pixels.width(), 4 * 15 + 50);
            EXPECT_LE(patch.pixels.height(), 22 + 20);
        }
    }
    EXPECT_TRUE(PreviewTextOverlay(drawing, s, TextPosition{500, 20}, glyphs).pixels.empty());
}

}  // namespace
}  // namespace gt
