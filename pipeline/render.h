// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rendering of a photo in the chosen style: the nine style routines (which image routines run,
// on which pictures, with which arguments, in which order), the one dispatcher that picks among
// them, and the whole road from the photo to the finished drawing. The app, the batch and the
// command line all render through here.

#include "imaging/bitmap.h"
#include "imaging/context.h"
#include "imaging/controls.h"
#include "imaging/resources.h"
#include "pipeline/parameters.h"
#include "pipeline/styles.h"

namespace gt {

class GlyphRenderer;

// The style routines. Each reads the parameters it needs, leaves the photo as it is and returns the
// style's drawing at the photo's size. After a cancel what they return is unfinished: only
// renderStyle and renderDrawing decide what a cancelled rendering gives.
Bitmap ProcessPencilSketch(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx);
Bitmap ProcessSobelFilter(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx);
Bitmap ProcessColourSobel(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx);
Bitmap ProcessPenandInkSketch(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx);
Bitmap ProcessPainting(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx);
Bitmap ProcessPainting2(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx);
Bitmap ProcessPainting3(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx);
Bitmap ProcessPainting4(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx);
Bitmap ProcessNoFilter(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx);

struct RenderResult {
    Bitmap drawing;          // the picture for the right pane
    bool cancelled = false;  // the cancel flag was set: `drawing` is a copy of the photo, nothing else
    bool rendered = true;    // false when no style was chosen: nothing was drawn and `drawing` is empty
    int DrawingWidth = 0;    // the natural size of `drawing`
    int DrawingHeight = 0;
};

// The style's routine, chosen here and nowhere else. The flag is looked at when the routine is done:
// if it is set by then, whatever the routine made is dropped and the result is a copy of the photo.
// The flag is left as it is; clearing it is the caller's business (the batch run keeps it set so
// that its loop stops). When the context does not give the drawing pane's size, the photo's is used.
RenderResult renderStyle(DrawingStyle style, const Bitmap& source, const DrawingParameters& p, const Materials& m,
                         RenderContext& ctx);

// One whole rendering: the style chosen by p.ComboBox1 (nothing is rendered without one), then the
// finishing pass (crop, margin, frame, text). `glyphs` draws the letters and is needed only when the
// text is on. A cancelled rendering gives a copy of the photo with no frame and no text. Before any
// work, a rendering whose pictures would be too large, or that would not fit in the memory the
// machine can give, is refused (gt::Error; gt::MemoryShortage for the memory).
RenderResult renderDrawing(const Bitmap& source, const DrawingParameters& p, const Resources& resources, RenderContext& ctx,
                           GlyphRenderer* glyphs = nullptr);
// The same for a caller that needs the photo no more: the styles that would draw on a copy of it
// draw on the photo itself, and whatever is left of it goes before the finishing pass, so the
// rendering holds one picture less. A cancelled rendering then gives an empty drawing.
RenderResult renderDrawing(Bitmap&& photo, const DrawingParameters& p, const Resources& resources, RenderContext& ctx,
                           GlyphRenderer* glyphs = nullptr);

}  // namespace gt
