// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "imaging/context.h"
#include "imaging/progress.h"

namespace gt {
namespace {

TEST(ProgressStrip, FourHundredPixelBarAtHalfWay) {
    ProgressStrip strip;
    strip.width = 443;  // L = 400
    ProgressDrawing first = progressStep(strip, 0, 99, 1, 1);
    EXPECT_TRUE(first.startRun);
    ProgressDrawing d = progressStep(strip, 49, 99, 1, 1);
    EXPECT_FALSE(d.startRun);
    EXPECT_EQ(strip.label, "50 %");  // P = 197
    EXPECT_TRUE(d.redrawBar);
    EXPECT_EQ(d.barEnd, 202);
}

TEST(ProgressStrip, SamePercentageDrawsOnce) {
    ProgressStrip strip;
    strip.width = 443;
    progressStep(strip, 0, 999, 1, 1);
    EXPECT_TRUE(progressStep(strip, 500, 999, 1, 1).redrawBar);
    EXPECT_FALSE(progressStep(strip, 501, 999, 1, 1).redrawBar);  // still 51 %
}

TEST(ProgressStrip, EndOfRunRestoresEvenWithoutSteps) {
    ProgressStrip strip;
    strip.width = 300;
    EXPECT_TRUE(progressStep(strip, 0, 10, 1, 2).startRun);
    EXPECT_TRUE(strip.running);
    ProgressDrawing end = progressStep(strip, 100, 100, 1, 1);
    EXPECT_TRUE(end.endRun);
    EXPECT_FALSE(strip.running);
}

TEST(ProgressStrip, ResizedStripRestartsTheBar) {
    ProgressStrip strip;
    strip.width = 443;
    progressStep(strip, 0, 99, 1, 1);
    strip.resized = true;
    progressStep(strip, 80, 99, 1, 1);
    EXPECT_EQ(strip.label, "1 %");
    EXPECT_FALSE(strip.resized);
}

TEST(ProgressReport, SilentWhenNotBusyOrNoPasses) {
    int calls = 0;
    RenderContext ctx;
    ctx.progress = [&](int, int, int, int) { ++calls; };
    ctx.ProgressReport(1, 10, 1, 0);
    ctx.Busy = false;
    ctx.ProgressReport(1, 10, 1, 1);
    EXPECT_EQ(calls, 0);
    ctx.Busy = true;
    ctx.ProgressReport(1, 10, 1, 1);
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace gt
