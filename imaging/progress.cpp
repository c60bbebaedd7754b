// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/progress.h"

namespace gt {

ProgressDrawing progressStep(ProgressStrip& strip, int step, int lastStep, int pass, int passes) {
    ProgressDrawing d;
    if (passes == 0) return d;
    if (step == 0 && pass == 1) {
        d.startRun = true;
        strip.running = true;
    }
    if (step < lastStep || pass < passes) {
        const int L = strip.width - 43;
        int P;
        if (strip.resized) {
            strip.resized = false;
            P = 0;
        } else {
            P = (L * (pass - 1)) / passes + (lastStep != 0 ? ((L / passes) * step) / lastStep : 0);
        }
        const std::string before = strip.label;
        d.percent = L != 0 ? (P * 100) / L + 1 : 1;
        strip.label = std::to_string(d.percent) + " %";
        if (strip.label != before) {
            d.redrawBar = true;
            d.barEnd = (L * (pass - 1)) / passes + (lastStep != 0 ? ((L / passes) * (step + 1)) / lastStep : 0);
        }
    } else {
        d.endRun = true;
        strip.running = false;
    }
    return d;
}

}  // namespace gt
