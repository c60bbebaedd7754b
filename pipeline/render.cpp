// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/render.h"

#include <utility>

#include "imaging/edges.h"
#include "imaging/ink.h"
#include "imaging/painting.h"
#include "imaging/painting_styles.h"
#include "imaging/pencil.h"
#include "pipeline/finalize.h"
#include "pipeline/render_limits.h"

namespace gt {

namespace {

// The picture a style draws on: the photo itself when the caller gave it over, otherwise a copy.
Bitmap workingPicture(const Bitmap& source, Bitmap* givenOver) { return givenOver ? std::move(*givenOver) : source; }

// The style routines. `givenOver`, when not null, is the photo (the very picture `source` names),
// which the routine may take to draw on; after that it reads `source` no more.
Bitmap pencilSketch(const Bitmap& source, Bitmap* givenOver, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    // Turned by 40 degrees, blurred, drawn, turned back, centre kept, blurred again.
    Bitmap drawing;
    if (givenOver)
        PencilPipelineGivenOver(std::move(*givenOver), drawing, p, m, ctx);
    else
        PencilPipeline(source, drawing, p, m, ctx);
    return drawing;
}

Bitmap sobelFilter(const Bitmap& source, Bitmap* givenOver, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    Bitmap drawing;
    if (givenOver)
        SobelFilterGivenOver(std::move(*givenOver), drawing, p, m, ctx);
    else
        SobelFilter(source, drawing, p, m, ctx);
    return drawing;
}

Bitmap colourSobel(const Bitmap& source, Bitmap*, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    Bitmap drawing;
    ColourSobel(source, drawing, p, m, ctx);
    return drawing;
}

Bitmap penAndInkSketch(const Bitmap& source, Bitmap* givenOver, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    Bitmap A = workingPicture(source, givenOver);  // the ink drawing prepares its source in place
    Bitmap B;                                      // sized and painted white by the drawing
    PenAndInkSketch(A, B, p, m, ctx);
    return B;
}

Bitmap painting(const Bitmap& source, Bitmap* givenOver, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    Bitmap A = workingPicture(source, givenOver);
    Bitmap B;  // the painting starts from a copy of the softened source
    RecursivePainting(A, B, p, m, ctx);
    return B;
}

Bitmap painting2(const Bitmap& source, Bitmap* givenOver, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    const int W = source.width(), H = source.height();
    Bitmap A = workingPicture(source, givenOver);
    Bitmap B(W, H);
    BilateralPainting(A, B, 1, 1, p, m, ctx);
    return B;
}

Bitmap painting3(const Bitmap& source, Bitmap* givenOver, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    // Median with window TrackBar2 + 1 (pass 1 of 2), sharpened twice, BilateralPainting (pass 2 of 2).
    Bitmap drawing;
    if (givenOver)
        Painting3StepsGivenOver(std::move(*givenOver), drawing, p, m, ctx);
    else
        Painting3Steps(source, drawing, p, m, ctx);
    return drawing;
}

Bitmap painting4(const Bitmap& source, Bitmap* givenOver, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    // Saturation, brightness, TrackBar1 median passes, Painting4Contrast, NoFilter; ends the progress display.
    Bitmap drawing;
    Painting4Steps(workingPicture(source, givenOver), drawing, p, m, ctx);
    return drawing;
}

Bitmap noFilter(const Bitmap& source, Bitmap* givenOver, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    if (givenOver) {  // softened and textured in place
        Bitmap drawing = std::move(*givenOver);
        NoFilter(drawing, drawing, p, m, ctx);
        return drawing;
    }
    Bitmap drawing;
    NoFilter(source, drawing, p, m, ctx);
    return drawing;
}

using Routine = Bitmap (*)(const Bitmap&, Bitmap*, const DrawingParameters&, const Materials&, RenderContext&);

Routine routineOf(DrawingStyle style) {
    switch (style) {
        case DrawingStyle::PencilDrawing: return pencilSketch;
        case DrawingStyle::PencilDrawingGrey: return sobelFilter;
        case DrawingStyle::PencilDrawingColour: return colourSobel;
        case DrawingStyle::InkDrawing: return penAndInkSketch;
        case DrawingStyle::Painting1: return painting;
        case DrawingStyle::Painting2: return painting2;
        case DrawingStyle::Painting3: return painting3;
        case DrawingStyle::Painting4: return painting4;
        case DrawingStyle::FrameAndTextureOnly: return noFilter;
    }
    return nullptr;
}

}  // namespace

Bitmap ProcessPencilSketch(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    return pencilSketch(source, nullptr, p, m, ctx);
}
Bitmap ProcessSobelFilter(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    return sobelFilter(source, nullptr, p, m, ctx);
}
Bitmap ProcessColourSobel(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    return colourSobel(source, nullptr, p, m, ctx);
}
Bitmap ProcessPenandInkSketch(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    return penAndInkSketch(source, nullptr, p, m, ctx);
}
Bitmap ProcessPainting(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    return painting(source, nullptr, p, m, ctx);
}
Bitmap ProcessPainting2(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    return painting2(source, nullptr, p, m, ctx);
}
Bitmap ProcessPainting3(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    return painting3(source, nullptr, p, m, ctx);
}
Bitmap ProcessPainting4(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    return painting4(source, nullptr, p, m, ctx);
}
Bitmap ProcessNoFilter(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    return noFilter(source, nullptr, p, m, ctx);
}

namespace {

// renderStyle, the photo given over or not (see the routines above). A cancelled rendering whose
// photo was given over has an empty drawing.
RenderResult drawStyle(DrawingStyle style, const Bitmap& source, Bitmap* givenOver, const DrawingParameters& p, const Materials& m,
                       RenderContext& ctx) {
    const Routine routine = routineOf(style);
    RenderResult result;
    if (!routine) {
        result.rendered = false;
        return result;
    }
    if (ctx.DrawingWidth <= 0 || ctx.DrawingHeight <= 0) {
        ctx.DrawingWidth = source.width();
        ctx.DrawingHeight = source.height();
    }
    // The routine reads the style index, not the style asked for here (BilateralPainting draws its
    // dabs only for painting 2), so both must agree.
    DrawingParameters chosen = p;
    chosen.ComboBox1 = styleIndex(style);
    result.drawing = routine(source, givenOver, chosen, m, ctx);
    if (ctx.CancelRequested()) {
        result.cancelled = true;
        result.drawing = givenOver ? Bitmap() : source;
    }
    result.DrawingWidth = result.drawing.width();
    result.DrawingHeight = result.drawing.height();
    return result;
}

RenderResult drawAndFinish(const Bitmap& source, Bitmap* givenOver, const DrawingParameters& p, const Resources& resources,
                           RenderContext& ctx, GlyphRenderer* glyphs) {
    const std::optional<DrawingStyle> style = styleFromIndex(p.ComboBox1);
    if (!style) {
        RenderResult nothing;
        nothing.rendered = false;
        return nothing;
    }
    const int W = source.width(), H = source.height();
    checkRenderSizes(W, H, p, resources);
    checkRenderMemory(W, H, p, resources, givenOver != nullptr);
    RenderResult result = drawStyle(*style, source, givenOver, p, resources.materials(p.UpDown1), ctx);
    // After a cancel the drawing is already the copy of the photo the finishing pass would make, and
    // the pass only ends the progress display.
    if (result.cancelled) {
        ctx.ProgressReport(100, 100, 1, 1);
        return result;
    }
    // A photo given over goes before the finishing pass, which needs only its size.
    if (givenOver) *givenOver = Bitmap();
    FinishedDrawing finished = Finalize(std::move(result.drawing), W, H, p, {&resources.FramePictures, glyphs});
    result.drawing = std::move(finished.picture);
    result.DrawingWidth = finished.DrawingWidth;
    result.DrawingHeight = finished.DrawingHeight;
    return result;
}

}  // namespace

RenderResult renderStyle(DrawingStyle style, const Bitmap& source, const DrawingParameters& p, const Materials& m,
                         RenderContext& ctx) {
    return drawStyle(style, source, nullptr, p, m, ctx);
}

RenderResult renderDrawing(const Bitmap& source, const DrawingParameters& p, const Resources& resources, RenderContext& ctx,
                           GlyphRenderer* glyphs) {
    return drawAndFinish(source, nullptr, p, resources, ctx, glyphs);
}

RenderResult renderDrawing(Bitmap&& photo, const DrawingParameters& p, const Resources& resources, RenderContext& ctx,
                           GlyphRenderer* glyphs) {
    return drawAndFinish(photo, &photo, p, resources, ctx, glyphs);
}

}  // namespace gt
