// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/source_job.h"

#include <exception>

namespace gt {

SourceJob::SourceJob(std::atomic<bool>& cancel, QObject* parent) : WorkerJob(cancel, parent) {
    qRegisterMetaType<std::shared_ptr<gt::SourceOutcome>>();
}

bool SourceJob::start(Bitmap picture, SourceWork work, bool showProgress) {
    auto outcome = std::make_shared<SourceOutcome>();
    auto held = std::make_shared<Bitmap>(std::move(picture));
    return launch(
        showProgress,
        [outcome, held, work = std::move(work)](RenderContext& ctx) {
            try {
                // The strip and its cancel entry show at once, even for a step that reports nothing more.
                ctx.ProgressReport(0, 100, 1, 1);
                if (work(*held, ctx) && !ctx.CancelRequested()) {
                    outcome->view = viewPyramidOf(*held);
                    outcome->picture = std::move(*held);
                    outcome->changed = true;
                } else {
                    outcome->cancelled = true;
                }
            } catch (const std::exception& e) {
                outcome->error = e.what();
            } catch (...) {
                outcome->error = "the change of the picture failed";
            }
            *held = Bitmap();  // a dropped copy goes now, not with the thread
        },
        [this, outcome] { emit finished(outcome); });
}

bool SourceJob::startView(Bitmap picture) {
    auto outcome = std::make_shared<SourceOutcome>();
    outcome->picture = std::move(picture);
    outcome->changed = true;
    return launch(
        false,
        [outcome](RenderContext&) {
            try {
                outcome->view = viewPyramidOf(outcome->picture);
            } catch (...) {
                // Without its reduced copies the pane samples the picture itself.
                outcome->view = nullptr;
            }
        },
        [this, outcome] { emit finished(outcome); });
}

}  // namespace gt
