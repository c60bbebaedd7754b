#pragma once
// One change of the source picture on a worker thread, as a rendering runs: the work gets its own
// copy of the photo, so a cancel or a failure simply drops the copy and the photo stays as it was.
// Progress and the result come back to the interface thread as queued calls.

#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "imaging/bitmap.h"
#include "imaging/context.h"

namespace gt {

// Changes the picture; false when the cancel flag stopped it.
using SourceWork = std::function<bool(Bitmap& picture, const RenderContext& ctx)>;

struct SourceOutcome {
    Bitmap picture;         // the changed copy, when `changed`
    bool changed = false;   // the work ran to its end
    bool cancelled = false;
    std::string error;      // not empty when the work failed
};

class SourceJob : public QObject {
    Q_OBJECT
public:
    // `cancel` is CancelRequested and outlives the job.
    explicit SourceJob(std::atomic<bool>& cancel, QObject* parent = nullptr);
    ~SourceJob() override;

    bool running() const { return thread_ != nullptr; }
    // Starts the work on `picture`, the caller's copy of the photo. With `showProgress` the status
    // strip and its cancel entry show from the start. Nothing happens when a job runs already.
    bool start(Bitmap picture, SourceWork work, bool showProgress);
    void wait();

signals:
    void progress(int step, int lastStep, int pass, int passes);
    void finished(std::shared_ptr<gt::SourceOutcome> outcome);

private:
    std::atomic<bool>& cancel_;
    QThread* thread_ = nullptr;
};

}  // namespace gt
