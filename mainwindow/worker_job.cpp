// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/worker_job.h"

#include <QApplication>
#include <QEventLoop>
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

namespace {
constexpr int kWaitUnseenMs = 30;
}  // namespace

void waitForWork(const std::function<void()>& work) {
    std::exception_ptr failure;
    QThread* thread = QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    // A small picture is done before anyone could see the window wait: no loop, no cursor.
    if (!thread->wait(QDeadlineTimer(kWaitUnseenMs))) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // Quitting the program also ends this loop early: the work is still waited for.
        if (!thread->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
        thread->wait();
        QApplication::restoreOverrideCursor();
    }
    delete thread;
    if (failure) std::rethrow_exception(failure);
}

}  // namespace gt
