// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text overlay: one line of text written onto the finished drawing with WriteAntiAlias, which
// draws it at twice the size on a copy of the background and averages 2 x 2 blocks back down; the
// nine placements; and the patch under a previewed text that lets a preview be erased bit for bit.
//
// The letters themselves come from a font engine behind GlyphRenderer (Qt's, in the finishing
// layer); everything else is here.

#include <string>
#include <string_view>

#include "imaging/bitmap.h"
#include "pipeline/finishing_settings.h"

namespace gt {

struct FontSpec {
    std::string family = "Tahoma";
    int size = 15;  // points; the engine turns them into pixels at 96 dots per inch
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

FontSpec fontOf(const TextSettings& settings);

struct TextExtent {
    int width = 0;   // the canvas's TextWidth: the advance of the whole text
    int height = 0;  // the canvas's TextHeight: the font's line height
    friend bool operator==(const TextExtent&, const TextExtent&) = default;
};

class GlyphRenderer {
public:
    virtual ~GlyphRenderer() = default;
    virtual TextExtent measure(const FontSpec& font, const std::string& text) = 0;
    // Writes the text (UTF-8) with a transparent background, the top-left corner of its box at
    // (x, y); letters that fall outside the target are clipped.
    virtual void drawText(Bitmap& target, int x, int y, const FontSpec& font, Colour colour, const std::string& text) = 0;
};

// Draws text with its box's top-left corner at (x, y). Only the box of (text width + 10) x (text
// height) is touched, and only where it lies inside the canvas; where no letter falls the canvas
// keeps its pixels exactly.
void WriteAntiAlias(Bitmap& canvas, int x, const std::string& text, int y, const FontSpec& font, Colour colour,
                    GlyphRenderer& glyphs);

namespace detail {
// WriteAntiAlias with the double-size copy made in bands of at most `bandWidth` columns, so that a
// text of any width needs only a bounded scratch picture. The bands give the same pixels as one
// piece whatever their width.
void WriteAntiAliasInBands(Bitmap& canvas, int x, const std::string& text, int y, const FontSpec& font,
                           Colour colour, GlyphRenderer& glyphs, int bandWidth);
}  // namespace detail

// The positions of the two scroll bars of the add-text window; the text is drawn at
// (ScrollBar1 - 1, ScrollBar2 - 5).
struct TextPosition {
    int ScrollBar1 = 0;
    int ScrollBar2 = 0;
    friend bool operator==(const TextPosition&, const TextPosition&) = default;
};

// The sizes SetPos reads: the drawing's, and the source's (their difference is what a frame added).
struct PlacementSizes {
    int DrawingWidth = 0, DrawingHeight = 0;
    int SourceWidth = 0, SourceHeight = 0;
};

// The placement table: tw and th are the text's width and height as SetPos measures them.
// Placement 0 (and anything outside 1..9) leaves the position unchanged.
TextPosition placeText(int placement, const PlacementSizes& sizes, int tw, int th, TextPosition current);

// The scroll bars' ranges: x from -(text width * 150 div 100) to DrawingWidth, y alike.
struct ScrollRanges {
    int xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};
ScrollRanges scrollRanges(const TextSettings& settings, const PlacementSizes& sizes, GlyphRenderer& glyphs);
// A scroll bar keeps its position inside its range.
TextPosition clampToRanges(TextPosition position, const ScrollRanges& ranges);

// SetPos: measures the text of Edit1 alone (for the right-hand placements, followed by one space
// when the font is italic, so the slanted last letter stays clear of the edge), applies the
// placement table and keeps the result inside the scroll ranges. For placement 0 it returns
// `current`, kept inside the ranges.
TextPosition SetPos(const TextSettings& settings, const PlacementSizes& sizes, TextPosition current,
                    GlyphRenderer& glyphs);

// The x and y number boxes: a text of one or more digits whose value lies in 0..maximum becomes
// the scroll bar's position; anything else (empty, a sign, other characters, too large) gives the
// current position back, which the box then shows again.
int acceptTypedPosition(std::string_view typed, int current, int maximum);

// The previewed text and what it covers: while TextShown, the drawing holds exactly one preview
// and TextPatch the pixels under it.
struct TextPreview {
    Bitmap TextPatch;
    int TextX = 0;
    int TextY = 0;
    bool TextShown = false;
};

// The text as it is written: the content of Edit1 followed by one space.
std::string drawnText(const TextSettings& settings);

// WriteText steps 1 to 3: sizes the patch to (text width + 50) x (text height + 20), sets TextX,
// TextY from the scroll positions and saves the drawing's pixels under it. Marks the preview shown.
void SaveTextPatch(const Bitmap& drawing, const TextSettings& settings, TextPosition position, GlyphRenderer& glyphs,
                   TextPreview& preview);
// WriteText: saves the patch, then writes the shadow (when on) and the text.
void WriteText(Bitmap& drawing, const TextSettings& settings, TextPosition position, GlyphRenderer& glyphs,
               TextPreview& preview);
// EraseText: puts the saved patch back; does nothing while no preview is shown. The preview stays
// marked shown (a redraw writes the next one at once); ClosePreview clears the mark.
void EraseText(Bitmap& drawing, const TextPreview& preview);
void ClosePreview(Bitmap& drawing, TextPreview& preview);

// The text written for good at a given scroll position: the shadow in black one pixel right and
// down (when on), then the text in its colour.
void WriteTextAt(Bitmap& drawing, const TextSettings& settings, TextPosition position, GlyphRenderer& glyphs);

// What the finishing pass does with the add-text window: its activation places the text (SetPos,
// from the window's scroll positions settings.x, settings.y for placement 0), and its OK button
// writes it for good.
void ApplyTextOverlay(Bitmap& drawing, int SourceWidth, int SourceHeight, const TextSettings& settings,
                      GlyphRenderer& glyphs);

}  // namespace gt
