// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/text_preview.h"

#include <algorithm>

#include "imaging/stretch.h"

namespace gt {

TextOverlayPatch PreviewTextOverlay(const Bitmap& drawing, const TextSettings& settings, TextPosition position,
                                    GlyphRenderer& glyphs) {
    const TextExtent e = glyphs.measure(fontOf(settings), drawnText(settings));
    const long long TextX = position.ScrollBar1 - 1LL, TextY = position.ScrollBar2 - 5LL;
    const long long x0 = std::max<long long>(TextX, 0), y0 = std::max<long long>(TextY, 0);
    const long long x1 = std::min<long long>(TextX + e.width + 50LL, drawing.width());
    const long long y1 = std::min<long long>(TextY + e.height + 20LL, drawing.height());
    TextOverlayPatch patch;
    if (x0 >= x1 || y0 >= y1) return patch;
    patch.left = int(x0);
    patch.top = int(y0);
    patch.pixels.setSizeForOverwrite(int(x1 - x0), int(y1 - y0));
    CopyRect(drawing, patch.left, patch.top, patch.pixels, 0, 0, patch.pixels.width(), patch.pixels.height());
    // Each written pixel depends only on the background under it and on the letters, which keep
    // their places when the origin moves by whole pixels: the patch gets the drawing's pixels.
    WriteTextAt(patch.pixels, settings, TextPosition{position.ScrollBar1 - patch.left, position.ScrollBar2 - patch.top},
                glyphs);
    return patch;
}

}  // namespace gt
