// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The add-text window's live preview, kept beside the drawing instead of written into it: the
// drawing's pixels under the text with the text written on them exactly as OK will write it. The
// viewer lays them over the drawing, so moving the text, cancelling, or a drawing replaced while
// the window is open can never leave a trace in the drawing.

#include "imaging/bitmap.h"
#include "pipeline/finishing_settings.h"
#include "pipeline/text_overlay.h"

namespace gt {

struct TextOverlayPatch {
    Bitmap pixels;        // empty when the text's patch falls wholly outside the drawing
    int left = 0, top = 0;  // where the pixels lie on the drawing
    friend bool operator==(const TextOverlayPatch&, const TextOverlayPatch&) = default;
};

// The part of the drawing that WriteText's patch covers ((text width + 50) x (text height + 20) at
// (ScrollBar1 - 1, ScrollBar2 - 5), kept inside the drawing), with the shadow and the text written
// on it. Laid over the drawing at (left, top) it shows what WriteTextAt would make of the drawing,
// pixel for pixel. The work grows with the text, never with the drawing.
TextOverlayPatch PreviewTextOverlay(const Bitmap& drawing, const TextSettings& settings, TextPosition position,
                                    GlyphRenderer& glyphs);

}  // namespace gt
