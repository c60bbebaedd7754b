#include "mainwindow/source_job.h"

#include <QMetaObject>
#include <exception>

namespace gt {

SourceJob::SourceJob(std::atomic<bool>& cancel, QObject* parent) : QObject(parent), cancel_(cancel) {
    qRegisterMetaType<std::shared_ptr<gt::SourceOutcome>>();
}

SourceJob::~SourceJob() {
    if (thread_) {
        cancel_.store(true);
        wait();
        // Its end was never delivered (the window is going): the thread object goes with the job.
        delete thread_;
        thread_ = nullptr;
    }
}

bool SourceJob::start(Bitmap picture, SourceWork work, bool showProgress) {
    if (thread_) return false;
    auto outcome = std::make_shared<SourceOutcome>();
    thread_ = QThread::create([this, outcome, picture = std::move(picture), work = std::move(work), showProgress]() mutable {
        RenderContext ctx;
        ctx.cancel = &cancel_;
        ctx.Busy = showProgress;
        ctx.parameterWindowVisible = false;
        ctx.progress = [this](int step, int lastStep, int pass, int passes) {
            QMetaObject::invokeMethod(
                this, [this, step, lastStep, pass, passes] { emit progress(step, lastStep, pass, passes); },
                Qt::QueuedConnection);
        };
        try {
            // The strip and its cancel entry show at once, even for a step that reports nothing more.
            ctx.ProgressReport(0, 100, 1, 1);
            if (work(picture, ctx) && !ctx.CancelRequested()) {
                outcome->picture = std::move(picture);
                outcome->changed = true;
            } else {
                outcome->cancelled = true;
            }
        } catch (const std::exception& e) {
            outcome->error = e.what();
        } catch (...) {
            outcome->error = "the change of the picture failed";
        }
    });
    connect(thread_, &QThread::finished, this, [this, outcome] {
        thread_->deleteLater();
        thread_ = nullptr;
        emit finished(outcome);
    });
    thread_->start();
    return true;
}

void SourceJob::wait() {
    if (thread_) thread_->wait();
}

}  // namespace gt
