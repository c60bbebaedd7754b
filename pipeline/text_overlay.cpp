// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/text_overlay.h"

#include <algorithm>
#include <cstdint>

#include "imaging/stretch.h"
#include "pipeline/frames.h"

namespace gt {

namespace {

// Columns of the double-size copy made at once; any width gives the same pixels.
constexpr int kBandWidth = 2048;

}  // namespace

FontSpec fontOf(const TextSettings& settings) {
    FontSpec f;
    f.family = settings.fontFamily;
    f.size = settings.fontSize;
    f.bold = settings.bold;
    f.italic = settings.italic;
    f.underline = settings.underline;
    f.strikeOut = settings.strikeOut;
    return f;
}

void WriteAntiAlias(Bitmap& canvas, int x, const std::string& text, int y, const FontSpec& font, Colour colour,
                    GlyphRenderer& glyphs) {
    detail::WriteAntiAliasInBands(canvas, x, text, y, font, colour, glyphs, kBandWidth);
}

namespace detail {

void WriteAntiAliasInBands(Bitmap& canvas, int x, const std::string& text, int y, const FontSpec& font,
                           Colour colour, GlyphRenderer& glyphs, int bandWidth) {
    const TextExtent extent = glyphs.measure(font, text);
    const long long w = static_cast<long long>(extent.width) + 10, h = extent.height;
    // Each pixel of the box depends only on its own 2 x 2 block, so only the part of the box inside
    // the canvas is worked on; the letters keep their places by shifting the double-size origin.
    const long long x0 = std::max<long long>(x, 0), x1 = std::min<long long>(x + w, canvas.width());
    const long long y0 = std::max<long long>(y, 0), y1 = std::min<long long>(y + h, canvas.height());
    if (x0 >= x1 || y0 >= y1) return;
    FontSpec big = font;
    big.size = font.size * 2;
    const int rows = int(y1 - y0);
    if (bandWidth < 1) bandWidth = 1;
    Bitmap Big;
    for (long long b0 = x0; b0 < x1; b0 += bandWidth) {
        const int cols = int(std::min<long long>(bandWidth, x1 - b0));
        if (Big.width() != 2 * cols) Big.setSize(2 * cols, 2 * rows);
        // The copy of the background, each pixel a 2 x 2 block.
        for (int r = 0; r < rows; ++r) {
            const std::uint8_t* s = canvas.pixel(int(b0), int(y0) + r);
            std::uint8_t* d0 = Big.row(2 * r);
            std::uint8_t* d1 = Big.row(2 * r + 1);
            for (int i = 0; i < cols; ++i, s += 3, d0 += 6, d1 += 6) {
                for (int c = 0; c < 3; ++c) d0[c] = d0[3 + c] = d1[c] = d1[3 + c] = s[c];
            }
        }
        glyphs.drawText(Big, int(-2 - 2 * (b0 - x)), int(-2 * (y0 - y)), big, colour, text);
        for (int r = 0; r < rows; ++r) {
            const std::uint8_t* a = Big.row(2 * r);
            const std::uint8_t* b = Big.row(2 * r + 1);
            std::uint8_t* d = canvas.pixel(int(b0), int(y0) + r);
            for (int i = 0; i < cols; ++i, a += 6, b += 6, d += 3) {
                for (int c = 0; c < 3; ++c) d[c] = std::uint8_t((a[c] + a[3 + c] + b[c] + b[3 + c]) / 4);
            }
        }
    }
}

}  // namespace detail

TextPosition placeText(int placement, const PlacementSizes& s, int tw, int th, TextPosition current) {
    const int mx = (s.DrawingWidth - s.SourceWidth) / 2;
    const int my = (s.DrawingHeight - s.SourceHeight) / 2;
    const int left = mx + 3;
    const int centreX = (s.DrawingWidth - tw) / 2;
    const int right = s.DrawingWidth - (mx + 3) - tw;
    const int top = my + 3;
    const int middleY = (s.DrawingHeight - th) / 2;
    const int bottom = s.DrawingHeight - my + 3 - th;
    switch (placement) {
        case kPlaceTopLeft: return {left, top};
        case kPlaceTopMiddle: return {centreX, top};
        case kPlaceTopRight: return {right, top};
        case kPlaceMiddleLeft: return {left, middleY};
        case kPlaceMiddle: return {centreX, middleY};
        case kPlaceMiddleRight: return {right, middleY};
        case kPlaceBottomLeft: return {left, bottom};
        case kPlaceBottomMiddle: return {centreX, bottom};
        case kPlaceBottomRight: return {right, bottom};
        default: return current;
    }
}

ScrollRanges scrollRanges(const TextSettings& settings, const PlacementSizes& sizes, GlyphRenderer& glyphs) {
    const TextExtent e = glyphs.measure(fontOf(settings), settings.text);
    ScrollRanges r;
    r.xMin = -(e.width * 150 / 100);
    r.xMax = sizes.DrawingWidth;
    r.yMin = -(e.height * 150 / 100);
    r.yMax = sizes.DrawingHeight;
    return r;
}

TextPosition clampToRanges(TextPosition p, const ScrollRanges& r) {
    p.ScrollBar1 = std::max(r.xMin, std::min(p.ScrollBar1, r.xMax));
    p.ScrollBar2 = std::max(r.yMin, std::min(p.ScrollBar2, r.yMax));
    return p;
}

TextPosition SetPos(const TextSettings& settings, const PlacementSizes& sizes, TextPosition current,
                    GlyphRenderer& glyphs) {
    const FontSpec font = fontOf(settings);
    const TextExtent plain = glyphs.measure(font, settings.text);
    int tw = plain.width;
    const bool rightHand = settings.position == kPlaceTopRight || settings.position == kPlaceMiddleRight ||
                           settings.position == kPlaceBottomRight;
    if (rightHand && settings.italic) tw = glyphs.measure(font, settings.text + " ").width;
    const TextPosition placed = placeText(settings.position, sizes, tw, plain.height, current);
    return clampToRanges(placed, scrollRanges(settings, sizes, glyphs));
}

int acceptTypedPosition(std::string_view typed, int current, int maximum) {
    if (typed.empty() || !IsNumber(typed)) return current;
    long long value = 0;
    for (char c : typed) {
        value = value * 10 + (c - '0');
        if (value > maximum) return current;
    }
    return int(value);
}

std::string drawnText(const TextSettings& settings) { return settings.text + " "; }

void SaveTextPatch(const Bitmap& drawing, const TextSettings& settings, TextPosition position, GlyphRenderer& glyphs,
                   TextPreview& preview) {
    const TextExtent e = glyphs.measure(fontOf(settings), drawnText(settings));
    preview.TextPatch.setSize(e.width + 50, e.height + 20);
    preview.TextX = position.ScrollBar1 - 1;
    preview.TextY = position.ScrollBar2 - 5;
    CopyRect(drawing, preview.TextX, preview.TextY, preview.TextPatch, 0, 0, preview.TextPatch.width(),
             preview.TextPatch.height());
    preview.TextShown = true;
}

namespace {

void writeAt(Bitmap& drawing, const TextSettings& settings, int TextX, int TextY, GlyphRenderer& glyphs) {
    const FontSpec font = fontOf(settings);
    const std::string text = drawnText(settings);
    if (settings.shadow) WriteAntiAlias(drawing, TextX + 1, text, TextY + 1, font, kBlack, glyphs);
    WriteAntiAlias(drawing, TextX, text, TextY, font, settings.colour, glyphs);
}

}  // namespace

void WriteText(Bitmap& drawing, const TextSettings& settings, TextPosition position, GlyphRenderer& glyphs,
               TextPreview& preview) {
    SaveTextPatch(drawing, settings, position, glyphs, preview);
    writeAt(drawing, settings, preview.TextX, preview.TextY, glyphs);
}

void EraseText(Bitmap& drawing, const TextPreview& preview) {
    if (!preview.TextShown) return;
    CopyRect(preview.TextPatch, 0, 0, drawing, preview.TextX, preview.TextY, preview.TextPatch.width(),
             preview.TextPatch.height());
}

void ClosePreview(Bitmap& drawing, TextPreview& preview) {
    EraseText(drawing, preview);
    preview.TextShown = false;
}

void WriteTextAt(Bitmap& drawing, const TextSettings& settings, TextPosition position, GlyphRenderer& glyphs) {
    writeAt(drawing, settings, position.ScrollBar1 - 1, position.ScrollBar2 - 5, glyphs);
}

void ApplyTextOverlay(Bitmap& drawing, int SourceWidth, int SourceHeight, const TextSettings& settings,
                      GlyphRenderer& glyphs) {
    const PlacementSizes sizes{drawing.width(), drawing.height(), SourceWidth, SourceHeight};
    const TextPosition position = SetPos(settings, sizes, {settings.x, settings.y}, glyphs);
    WriteTextAt(drawing, settings, position, glyphs);
}

}  // namespace gt
