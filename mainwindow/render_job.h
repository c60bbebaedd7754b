// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One rendering on a worker thread. Everything the work reads is copied into the job before it
// starts (the photo, the parameters, the generator).

#include <functional>
#include <memory>
#include <string>

#include "imaging/random.h"
#include "imaging/resources.h"
#include "pipeline/parameters.h"
#include "mainwindow/worker_job.h"
#include "pipeline/render.h"

namespace gt {

struct RenderOutcome {
    RenderResult result;
    std::shared_ptr<const ViewPyramid> view;  // the drawing's reduced copies for the viewer
    Random random;       // the program-wide generator as the rendering left it
    std::string error;   // not empty when the rendering failed; the result is then empty
    // Set when the rendering was refused for want of memory: its peak and what the machine could give.
    long long memoryNeeded = 0, memoryAvailable = 0;
};

class RenderJob : public WorkerJob {
    Q_OBJECT
public:
    // `resources` and `cancel` outlive the job; `cancel` is CancelRequested.
    RenderJob(const Resources& resources, std::atomic<bool>& cancel, QObject* parent = nullptr);

    // Starts the rendering; nothing happens when one is already running.
    bool start(Bitmap source, DrawingParameters parameters, Random random, int drawingWidth, int drawingHeight);

    // Runs on the worker after the rendering, before the result is handed over: lets a test time a
    // cancel that comes too late to stop anything.
    std::function<void()> afterWork;

signals:
    void finished(std::shared_ptr<gt::RenderOutcome> outcome);

private:
    const Resources& resources_;
};

}  // namespace gt
