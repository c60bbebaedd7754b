// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/worker_job.h"

#include <QMetaObject>
#include <exception>

namespace gt {

WorkerJob::WorkerJob(std::atomic<bool>& cancel, QObject* parent) : QObject(parent), cancel_(cancel) {}

WorkerJob::~WorkerJob() {
    if (worker_.running()) cancel_.store(true);
}

bool WorkerJob::launch(bool showProgress, std::function<void(RenderContext&)> work, std::function<void()> done) {
    return worker_.run([this, showProgress, work = std::move(work)] {
        RenderContext ctx;
        ctx.cancel = &cancel_;
        ctx.Busy = showProgress;
        ctx.parameterWindowVisible = false;
        ctx.progress = [this](int step, int lastStep, int pass, int passes) {
            worker_.post([this, step, lastStep, pass, passes] { emit progress(step, lastStep, pass, passes); });
        };
        work(ctx);
    }, [done = std::move(done)](std::exception_ptr) { done(); });
}

void WorkerJob::wait() { worker_.wait(); }

std::shared_ptr<const ViewPyramid> viewPyramidOf(const Bitmap& picture) {
    if (picture.empty()) return nullptr;
    return std::make_shared<const ViewPyramid>(buildViewPyramid(picture));
}

}  // namespace gt
