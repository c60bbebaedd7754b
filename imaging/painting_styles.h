// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The image steps of painting styles 3 and 4, in their order. Both leave the photo as it is and give
// the result the photo's size.

#include "imaging/bitmap.h"
#include "imaging/context.h"
#include "imaging/controls.h"

namespace gt {

// Painting 3: median with window TrackBar2 + 1 (stage 1 of 2), sharpened twice, then
// BilateralPainting (stage 2 of 2; its dabs belong to painting 2 alone, so ComboBox1 is 6 here).
// preview: every stage reports pass 1 of 1, as the parameter window's preview does.
void Painting3Steps(const Bitmap& photo, Bitmap& result, const DrawingControls& c, const Materials& m, RenderContext& ctx,
                    bool preview = false);
// The same for a caller that needs the photo no more: it goes once the median has read it.
void Painting3StepsGivenOver(Bitmap&& photo, Bitmap& result, const DrawingControls& c, const Materials& m, RenderContext& ctx,
                             bool preview = false);

// Painting 4: saturation (TrackBar5 - 50) * 2 and brightness TrackBar3 - 127, then TrackBar1 passes of
// a recursive median (window 5 on the sixth pass, 3 on the others, pass p of TrackBar1), each
// sharpened twice; Painting4Contrast with TrackBar2 when above 0; NoFilter. Ends the progress display
// with (100, 100, 1, 1). preview: every median pass reports pass 1 of 1 and the display is not ended.
// The photo is the painting's first picture: a caller that needs it no more moves it in.
void Painting4Steps(Bitmap photo, Bitmap& result, const DrawingControls& c, const Materials& m, RenderContext& ctx,
                    bool preview = false);

}  // namespace gt
