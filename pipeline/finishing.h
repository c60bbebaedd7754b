// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The finishing pass as the rendering calls it: after the style's routine, crop the drawing to the
// source's size and add margin, outlines, frame and text; after a cancel, give back the source.

#include "imaging/bitmap.h"
#include "pipeline/finishing_settings.h"
#include "pipeline/frames.h"
#include "pipeline/text_overlay.h"

namespace gt {

struct FinishingInputs {
    bool CheckBox1 = true;   // add a frame (parameter window)
    bool CheckBox4 = false;  // add the text (parameter window)
    FrameSettings frame;
    TextSettings text;
    // Needed for the realistic and coloured frames only.
    const FramePictures* framePictures = nullptr;
    // Needed only when the text is on: the letters come from a font engine.
    GlyphRenderer* glyphs = nullptr;
};

// The final picture. Throws gt::Error when a frame picture or the font engine is needed and not
// given, or when the frame picture has no light window.
Bitmap FinishDrawing(Bitmap drawing, const Bitmap& source, bool cancelled, const FinishingInputs& inputs);

}  // namespace gt
