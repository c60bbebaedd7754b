// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One change of the source picture on a worker thread, as a rendering runs: the work gets its own
// copy of the photo, so a cancel or a failure simply drops the copy and the photo stays as it was.

#include <functional>
#include <memory>
#include <string>

#include "mainwindow/worker_job.h"

namespace gt {

// Changes the picture; false when the cancel flag stopped it.
using SourceWork = std::function<bool(Bitmap& picture, const RenderContext& ctx)>;

struct SourceOutcome {
    Bitmap picture;         // the changed copy, when `changed`
    std::shared_ptr<const ViewPyramid> view;  // its reduced copies for the viewer
    bool changed = false;   // the work ran to its end
    bool cancelled = false;
    std::string error;      // not empty when the work failed
};

class SourceJob : public WorkerJob {
    Q_OBJECT
public:
    explicit SourceJob(std::atomic<bool>& cancel, QObject* parent = nullptr);

    // Starts the work on `picture`, the caller's copy of the photo. With `showProgress` the status
    // strip and its cancel entry show from the start. Nothing happens when a job runs already.
    bool start(Bitmap picture, SourceWork work, bool showProgress);
    // Makes the viewer's reduced copies of `picture` (a step of the history coming back); the picture
    // comes back whole in the outcome, `changed`, whatever happens, as a cancel does not apply.
    bool startView(Bitmap picture);

signals:
    void finished(std::shared_ptr<gt::SourceOutcome> outcome);
};

}  // namespace gt
