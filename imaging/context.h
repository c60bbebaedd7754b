// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a long image routine needs from the outside world, handed to it explicitly: where progress
// goes, the cancel flag, the program-wide generator, the natural size of the drawing pane, and
// whether the parameter window is showing (then routines neither poll for messages nor, where their
// description says so, look at the cancel flag: the live preview runs to its end).

#include <atomic>
#include <functional>

#include "imaging/random.h"

namespace gt {

using ProgressSink = std::function<void(int step, int lastStep, int pass, int passes)>;

struct RenderContext {
    ProgressSink progress;                 // empty: progress goes nowhere
    std::atomic<bool>* cancel = nullptr;   // CancelRequested; null: cannot be cancelled
    Random random;                         // the program-wide generator (seed 0 at program start)
    int DrawingWidth = 0;                  // natural size of the drawing pane (sizes the paint dabs)
    int DrawingHeight = 0;
    bool Busy = true;                      // progress is shown only while a rendering runs
    bool parameterWindowVisible = false;   // the preview: no message polling inside routines

    // ProgressReport: does nothing when Busy is false or passes is 0.
    void ProgressReport(int step, int lastStep, int pass, int passes) const {
        if (!Busy || passes == 0 || !progress) return;
        progress(step, lastStep, pass, passes);
    }
    bool CancelRequested() const { return cancel && cancel->load(std::memory_order_relaxed); }
    // The variant of the routines that look at the flag only when they have pumped messages.
    bool pumpedCancel() const { return !parameterWindowVisible && CancelRequested(); }
};

}  // namespace gt
