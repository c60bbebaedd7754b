#pragma once
// One rendering on a worker thread. Everything the work reads is copied into the job before it
// starts (the photo, the parameters, the generator), so the worker never touches a widget; progress
// and the result come back to the interface thread as queued calls.

#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "imaging/bitmap.h"
#include "imaging/random.h"
#include "imaging/resources.h"
#include "pipeline/parameters.h"
#include "pipeline/render.h"

namespace gt {

struct RenderOutcome {
    RenderResult result;
    Random random;       // the program-wide generator as the rendering left it
    std::string error;   // not empty when the rendering failed; the result is then empty
};

class RenderJob : public QObject {
    Q_OBJECT
public:
    // `resources` and `cancel` outlive the job; `cancel` is CancelRequested.
    RenderJob(const Resources& resources, std::atomic<bool>& cancel, QObject* parent = nullptr);
    ~RenderJob() override;

    bool running() const { return thread_ != nullptr; }
    // Starts the rendering; nothing happens when one is already running.
    bool start(Bitmap source, DrawingParameters parameters, Random random, int drawingWidth, int drawingHeight);
    // Waits for a running rendering to end (after setting the cancel flag, it ends soon).
    void wait();

    // Runs on the worker after the rendering, before the result is handed over: lets a test time a
    // cancel that comes too late to stop anything.
    std::function<void()> afterWork;

signals:
    void progress(int step, int lastStep, int pass, int passes);
    void finished(std::shared_ptr<gt::RenderOutcome> outcome);

private:
    const Resources& resources_;
    std::atomic<bool>& cancel_;
    QThread* thread_ = nullptr;
};

}  // namespace gt
