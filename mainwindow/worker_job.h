// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Work on a picture on a thread of its own, as a rendering or a change of the source runs: the work
// gets its own copies of what it reads, so the worker never touches a widget; progress comes back to
// the interface thread as queued calls, and so does the end. The reduced copies the viewer draws
// from are made on the worker too, so the interface thread only swaps a finished picture in.

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>

#include "imaging/bitmap.h"
#include "imaging/context.h"
#include "imaging/view_scaling.h"
#include "ui/worker.h"

namespace gt {

class WorkerJob : public QObject {
    Q_OBJECT
public:
    ~WorkerJob() override;

    bool running() const { return worker_.running(); }
    // Waits for the work to end (after setting the cancel flag, it ends soon).
    void wait();

signals:
    void progress(int step, int lastStep, int pass, int passes);

protected:
    // `cancel` is CancelRequested and outlives the job.
    WorkerJob(std::atomic<bool>& cancel, QObject* parent);

    // Runs `work` on a new thread with a context that reads `cancel` and reports to `progress`
    // (the strip shows when `showProgress`); then `done` on the interface thread. False when a job
    // runs already.
    bool launch(bool showProgress, std::function<void(RenderContext&)> work, std::function<void()> done);

    std::atomic<bool>& cancel_;

private:
    Worker worker_;
};

// The viewer's reduced copies of a picture the worker made; none for an empty picture.
std::shared_ptr<const ViewPyramid> viewPyramidOf(const Bitmap& picture);

}  // namespace gt
