#include "mainwindow/render_job.h"

#include <QMetaObject>
#include <exception>

#include "finishing/text_qt/qt_glyph_renderer.h"
#include "imaging/context.h"

namespace gt {

RenderJob::RenderJob(const Resources& resources, std::atomic<bool>& cancel, QObject* parent)
    : QObject(parent), resources_(resources), cancel_(cancel) {
    qRegisterMetaType<std::shared_ptr<gt::RenderOutcome>>();
}

RenderJob::~RenderJob() {
    if (thread_) {
        cancel_.store(true);
        wait();
        delete thread_;  // its hand-over never ran
    }
}

bool RenderJob::start(Bitmap source, DrawingParameters parameters, Random random, int drawingWidth, int drawingHeight) {
    if (thread_) return false;
    auto outcome = std::make_shared<RenderOutcome>();
    thread_ = QThread::create([this, outcome, source = std::move(source), parameters = std::move(parameters), random,
                               drawingWidth, drawingHeight]() mutable {
        RenderContext ctx;
        ctx.cancel = &cancel_;
        ctx.random = random;
        ctx.DrawingWidth = drawingWidth;
        ctx.DrawingHeight = drawingHeight;
        ctx.Busy = true;
        ctx.parameterWindowVisible = false;
        ctx.progress = [this](int step, int lastStep, int pass, int passes) {
            QMetaObject::invokeMethod(
                this, [this, step, lastStep, pass, passes] { emit progress(step, lastStep, pass, passes); },
                Qt::QueuedConnection);
        };
        try {
            QtGlyphRenderer glyphs;
            outcome->result = renderDrawing(source, parameters, resources_, ctx, &glyphs);
        } catch (const std::exception& e) {
            outcome->error = e.what();
        } catch (...) {
            outcome->error = "the rendering failed";
        }
        outcome->random = ctx.random;
        if (afterWork) afterWork();
    });
    connect(thread_, &QThread::finished, this, [this, outcome] {
        thread_->deleteLater();
        thread_ = nullptr;
        emit finished(outcome);
    });
    thread_->start();
    return true;
}

void RenderJob::wait() {
    if (thread_) thread_->wait();
}

}  // namespace gt
