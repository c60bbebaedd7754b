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

Bitmap ProcessPencilSketch(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    // Turned by 40 degrees, blurred, drawn, turned back, centre kept, blurred again.
    Bitmap drawing;
    PencilPipeline(source, drawing, p, m, ctx);
    return drawing;
}

Bitmap ProcessSobelFilter(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    Bitmap drawing;
    SobelFilter(source, drawing, p, m, ctx);
    return drawing;
}

Bitmap ProcessColourSobel(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    Bitmap drawing;
    ColourSobel(source, drawing, p, m, ctx);
    return drawing;
}

Bitmap ProcessPenandInkSketch(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    Bitmap A = source;  // the ink drawing prepares its source in place
    Bitmap B;           // sized and painted white by the drawing
    PenAndInkSketch(A, B, p, m, ctx);
    return B;
}

Bitmap ProcessPainting(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    Bitmap A = source;
    Bitmap B;  // the painting starts from a copy of the softened source
    RecursivePainting(A, B, p, m, ctx);
    return B;
}

Bitmap ProcessPainting2(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    Bitmap A = source;
    Bitmap B(source.width(), source.height());
    BilateralPainting(A, B, 1, 1, p, m, ctx);
    return B;
}

Bitmap ProcessPainting3(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    // Median with window TrackBar2 + 1 (pass 1 of 2), sharpened twice, BilateralPainting (pass 2 of 2).
    Bitmap drawing;
    Painting3Steps(source, drawing, p, m, ctx);
    return drawing;
}

Bitmap ProcessPainting4(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    // Saturation, brightness, TrackBar1 median passes, Painting4Contrast, NoFilter; ends the progress display.
    Bitmap drawing;
    Painting4Steps(source, drawing, p, m, ctx);
    return drawing;
}

Bitmap ProcessNoFilter(const Bitmap& source, const DrawingParameters& p, const Materials& m, RenderContext& ctx) {
    Bitmap drawing;
    NoFilter(source, drawing, p, m, ctx);
    return drawing;
}

RenderResult renderStyle(DrawingStyle style, const Bitmap& source, const DrawingParameters& p, const Materials& m,
                         RenderContext& ctx) {
    using Routine = Bitmap (*)(const Bitmap&, const DrawingParameters&, const Materials&, RenderContext&);
    Routine routine = nullptr;
    switch (style) {
        case DrawingStyle::PencilDrawing: routine = ProcessPencilSketch; break;
        case DrawingStyle::PencilDrawingGrey: routine = ProcessSobelFilter; break;
        case DrawingStyle::PencilDrawingColour: routine = ProcessColourSobel; break;
        case DrawingStyle::InkDrawing: routine = ProcessPenandInkSketch; break;
        case DrawingStyle::Painting1: routine = ProcessPainting; break;
        case DrawingStyle::Painting2: routine = ProcessPainting2; break;
        case DrawingStyle::Painting3: routine = ProcessPainting3; break;
        case DrawingStyle::Painting4: routine = ProcessPainting4; break;
        case DrawingStyle::FrameAndTextureOnly: routine = ProcessNoFilter; break;
    }
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
    result.drawing = routine(source, chosen, m, ctx);
    if (ctx.CancelRequested()) {
        result.cancelled = true;
        result.drawing = source;
    }
    result.DrawingWidth = result.drawing.width();
    result.DrawingHeight = result.drawing.height();
    return result;
}

RenderResult renderDrawing(const Bitmap& source, const DrawingParameters& p, const Resources& resources, RenderContext& ctx,
                           GlyphRenderer* glyphs) {
    const std::optional<DrawingStyle> style = styleFromIndex(p.ComboBox1);
    if (!style) {
        RenderResult nothing;
        nothing.rendered = false;
        return nothing;
    }
    checkRenderSizes(source.width(), source.height(), p, resources);
    RenderResult result = renderStyle(*style, source, p, resources.materials(p.UpDown1), ctx);
    // After a cancel the drawing is already the copy of the photo the finishing pass would make, and
    // the pass only ends the progress display.
    if (result.cancelled) {
        ctx.ProgressReport(100, 100, 1, 1);
        return result;
    }

    FinishedDrawing finished = Finalize(std::move(result.drawing), source, false, p, {&resources.FramePictures, glyphs});
    result.drawing = std::move(finished.picture);
    result.DrawingWidth = finished.DrawingWidth;
    result.DrawingHeight = finished.DrawingHeight;
    return result;
}

}  // namespace gt
