// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/worker.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <memory>
#include <utility>

namespace gt {

namespace {
// Work shorter than this ends before anyone could see the window wait.
constexpr int kWaitUnseenMs = 30;
}  // namespace

Worker::Worker(QObject* parent) : QObject(parent) {}

Worker::~Worker() {
    // Its end was never delivered (the window is going): the thread object goes with the Worker.
    if (thread_) {
        thread_->wait();
        delete thread_;
    }
}

bool Worker::run(std::function<void()> work, std::function<void(std::exception_ptr)> done) {
    if (thread_) return false;
    auto failure = std::make_shared<std::exception_ptr>();
    thread_ = QThread::create([work = std::move(work), failure] {
        try {
            work();
        } catch (...) {
            *failure = std::current_exception();
        }
    });
    connect(thread_, &QThread::finished, this, [this, failure, done = std::move(done)] {
        thread_->deleteLater();
        thread_ = nullptr;
        if (done) done(*failure);
    });
    thread_->start();
    return true;
}

void Worker::wait() {
    if (thread_) thread_->wait();
}

void Worker::waitPainting() {
    QThread* thread = thread_;
    if (!thread) return;
    QEventLoop loop;
    connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    if (!thread->wait(QDeadlineTimer(kWaitUnseenMs))) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (!thread->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
        QApplication::restoreOverrideCursor();
    }
    // The end may have been delivered inside the loop, and the thread let go.
    if (thread_) thread_->wait();
}

void Worker::post(std::function<void()> call) { QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection); }

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
