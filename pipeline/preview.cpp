// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/preview.h"

#include "imaging/edges.h"
#include "imaging/filters.h"
#include "imaging/ink.h"
#include "imaging/painting.h"
#include "imaging/painting_styles.h"
#include "imaging/pencil.h"

namespace gt {

namespace {

// The preview runs with the parameter window showing, and outside any rendering.
class PreviewConditions {
public:
    explicit PreviewConditions(RenderContext& ctx)
        : ctx_(ctx), visible_(ctx.parameterWindowVisible), busy_(ctx.Busy) {
        ctx.parameterWindowVisible = true;
        ctx.Busy = false;
    }
    ~PreviewConditions() {
        ctx_.parameterWindowVisible = visible_;
        ctx_.Busy = busy_;
    }
    PreviewConditions(const PreviewConditions&) = delete;
    PreviewConditions& operator=(const PreviewConditions&) = delete;

private:
    RenderContext& ctx_;
    bool visible_;
    bool busy_;
};

}  // namespace

Bitmap renderPreview(const Bitmap& source, int left, int top, const DrawingParameters& p, const Resources& resources,
                     RenderContext& ctx) {
    PreviewConditions conditions(ctx);
    if (ctx.DrawingWidth <= 0 || ctx.DrawingHeight <= 0) {
        ctx.DrawingWidth = source.width();
        ctx.DrawingHeight = source.height();
    }
    const Materials m = resources.materials(p.UpDown1);
    Bitmap crop = copyPreviewCrop(source, left, top);
    Bitmap P(kPreviewSize, kPreviewSize);  // PreviewBitmap, white

    const std::optional<DrawingStyle> style = styleFromIndex(p.ComboBox1);
    if (style) {
        switch (*style) {
            case DrawingStyle::PencilDrawing:
                // No turn here, unlike the full rendering.
                Blur3x3(crop);
                PencilSketch(crop, P, p, m, ctx);
                break;
            case DrawingStyle::PencilDrawingGrey: SobelFilter(crop, P, p, m, ctx); break;
            case DrawingStyle::PencilDrawingColour: ColourSobel(crop, P, p, m, ctx); break;
            case DrawingStyle::InkDrawing: PenAndInkSketch(crop, P, p, m, ctx); break;
            case DrawingStyle::Painting1: RecursivePainting(crop, P, p, m, ctx); break;
            case DrawingStyle::Painting2: BilateralPainting(crop, P, 1, 1, p, m, ctx); break;
            case DrawingStyle::Painting3: Painting3Steps(crop, P, p, m, ctx, true); break;
            case DrawingStyle::Painting4: Painting4Steps(crop, P, p, m, ctx, true); break;
            case DrawingStyle::FrameAndTextureOnly: NoFilter(crop, P, p, m, ctx); break;
        }
    }

    Bitmap preview(kPreviewSize, kPreviewSize);
    preview.draw(P, 0, 0);
    if (style == DrawingStyle::PencilDrawing) Blur3x3(preview);  // the full rendering blurs its result too
    drawPreviewBorder(preview);
    return preview;
}

}  // namespace gt
