// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ink drawing: every pixel is either an ink line, where the photo's colour changes sharply, or a
// piece of a hatching tile chosen by the pixel's brightness. The tiles lie on a fixed grid, so
// neighbouring pixels of similar tone continue the same strokes.

#include "imaging/bitmap.h"
#include "imaging/context.h"
#include "imaging/controls.h"

namespace gt {

// The source is prepared in place (blurred, brightened by 10, saturated by 25), so callers pass a
// copy. Cancellable at every row; a stopped drawing is white below the rows done.
void PenAndInkSketch(Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx);

namespace plain {
void PenAndInkSketch(Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx);
}

}  // namespace gt
