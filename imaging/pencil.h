// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pencil drawing: flat areas shaded with tones of the pencil tone strip, so that runs of pixels
// along a scan line share one stroke, and places where the colour changes drawn as dark lines;
// then softening, sharpening, a contrast boost and the paper grain. The pipeline turns the photo by
// 40 degrees first and back afterwards, so the strokes come out as tilted hatching.

#include "imaging/bitmap.h"
#include "imaging/context.h"
#include "imaging/controls.h"

namespace gt {

// The whole routine: seed 1969, strokes, soften (CheckBox2), Sharpen, AdjustContrast 25, paper
// texture (CheckBox3). Cancellable at every row of the strokes, skipping the later stages.
void PencilSketch(const Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx);

// Turn by 40, blur, PencilSketch, turn back by -40, keep the centre at the photo's size, blur.
// A cancelled run returns early; its result is to be discarded.
void PencilPipeline(const Bitmap& photo, Bitmap& result, const DrawingControls& c, const Materials& m, RenderContext& ctx);
// The same for a caller that needs the photo no more: it goes as soon as it is turned onto the
// canvas, so the turn back holds only the canvas and the result.
void PencilPipelineGivenOver(Bitmap&& photo, Bitmap& result, const DrawingControls& c, const Materials& m, RenderContext& ctx);

// The stages of PencilSketch on their own. PencilStrokes seeds the generator, sizes the destination
// white and draws every pixel but the last two rows and columns; false when cancelled. The source
// may be the destination: it is then drawn over in place, with the same result.
bool PencilStrokes(const Bitmap& source, Bitmap& destination, const DrawingControls& c, const Bitmap& strip, RenderContext& ctx);
// In place: the near-white pixels (channel mean 254 or 255) and those of mean exactly 1 are blended
// with their eight neighbours, reading the rows above and the pixel to the left already softened.
void PencilSoften(Bitmap& drawing);

namespace plain {
void PencilSketch(const Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx);
void PencilPipeline(const Bitmap& photo, Bitmap& result, const DrawingControls& c, const Materials& m, RenderContext& ctx);
bool PencilStrokes(const Bitmap& source, Bitmap& destination, const DrawingControls& c, const Bitmap& strip, RenderContext& ctx);
void PencilSoften(Bitmap& drawing);
}  // namespace plain

}  // namespace gt
