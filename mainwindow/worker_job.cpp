// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/worker_job.h"

#include <QMetaObject>
#include <exception>

namespace gt {

WorkerJob::WorkerJob(std::atomic<bool>& cancel, QObject* parent) : QObject(parent), cancel_(cancel) {}

WorkerJob::~WorkerJob() {
    if (thread_) {
        cancel_.store(true);
        wait();
        // Its end was never delivered (the window is going): the thread object goes with the job.
        delete thread_;
        thread_ = nullptr;
    }
}

bool WorkerJob::launch(bool showProgress, std::function<void(RenderContext&)> work, std::function<void()> done) {
    if (thread_) return false;
    thread_ = QThread::create([this, showProgress, work = std::move(work)] {
        RenderContext ctx;
        ctx.cancel = &cancel_;
        ctx.Busy = showProgress;
        ctx.parameterWindowVisible = false;
        ctx.progress = [this](int step, int lastStep, int pass, int passes) {
            QMetaObject::invokeMethod(
                this, [this, step, lastStep, pass, passes] { emit progress(step, lastStep, pass, passes); },
                Qt::QueuedConnection);
        };
        work(ctx);
    });
    connect(thread_, &QThread::finished, this, [this, done = std::move(done)] {
        thread_->deleteLater();
        thread_ = nullptr;
        done();
    });
    thread_->start();
    return true;
}

void WorkerJob::wait() {
    if (thread_) thread_->wait();
}

std::shared_ptr<const ViewPyramid> viewPyramidOf(const Bitmap& picture) {
    if (picture.empty()) return nullptr;
    return std::make_shared<const ViewPyramid>(buildViewPyramid(picture));
}

}  // namespace gt
