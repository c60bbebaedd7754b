// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/render_job.h"

#include <exception>

#include "finishing/text_qt/qt_glyph_renderer.h"
#include "pipeline/render_limits.h"

namespace gt {

RenderJob::RenderJob(const Resources& resources, std::atomic<bool>& cancel, QObject* parent)
    : WorkerJob(cancel, parent), resources_(resources) {
    qRegisterMetaType<std::shared_ptr<gt::RenderOutcome>>();
}

bool RenderJob::start(Bitmap source, DrawingParameters parameters, Random random, int drawingWidth, int drawingHeight) {
    auto outcome = std::make_shared<RenderOutcome>();
    auto photo = std::make_shared<Bitmap>(std::move(source));
    return launch(
        true,
        [this, outcome, photo, parameters = std::move(parameters), random, drawingWidth, drawingHeight](RenderContext& ctx) {
            ctx.random = random;
            ctx.DrawingWidth = drawingWidth;
            ctx.DrawingHeight = drawingHeight;
            try {
                QtGlyphRenderer glyphs;
                outcome->result = renderDrawing(*photo, parameters, resources_, ctx, &glyphs);
                outcome->view = viewPyramidOf(outcome->result.drawing);
            } catch (const MemoryShortage& e) {
                outcome->error = e.what();
                outcome->memoryNeeded = e.needed();
                outcome->memoryAvailable = e.available();
            } catch (const std::exception& e) {
                outcome->error = e.what();
            } catch (...) {
                outcome->error = "the rendering failed";
            }
            *photo = Bitmap();  // the photo's copy goes now, not with the thread
            outcome->random = ctx.random;
            if (afterWork) afterWork();
        },
        [this, outcome] { emit finished(outcome); });
}

}  // namespace gt
