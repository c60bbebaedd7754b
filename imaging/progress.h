// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The status strip's bar arithmetic, kept apart from any window so it can be tested: a full bar is
// the strip's width less 43 pixels, drawn as 7-pixel blocks with 1-pixel gaps, and redrawn only when
// the percentage shown changes.

#include <string>

namespace gt {

struct ProgressStrip {
    int width = 0;                  // the strip's width in pixels
    bool resized = false;           // StatusStripResized: the next step starts the bar from 0
    bool running = false;           // the cancel menu and the percent label are showing
    std::string label;              // the percent label's text
};

struct ProgressDrawing {
    bool startRun = false;          // switch to the cancel menu, clear the strip, show the percent label
    bool endRun = false;            // hide the label, show the status text, restore the normal menu
    bool redrawBar = false;         // the label changed: draw the slice at every x in 0..barEnd with x mod 8 != 0
    int barEnd = -1;                // E
    int percent = 0;
};

// One call of ProgressReport on the strip (the caller has already checked Busy and passes != 0).
ProgressDrawing progressStep(ProgressStrip& strip, int step, int lastStep, int pass, int passes);

}  // namespace gt
