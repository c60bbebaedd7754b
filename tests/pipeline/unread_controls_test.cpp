// SPDX-License-Identifier: GPL-3.0-or-later
// The list of controls each style reads (the command line warns from it about options a style
// ignores) holds: a control left out of a style's list changes none of its drawing's bytes.
#include <gtest/gtest.h>

#include <utility>

#include "imaging/test_pictures.h"
#include "pipeline/render.h"
#include "pipeline_pictures.h"

namespace gt {
namespace {

Bitmap drawingOf(const Bitmap& photo, const DrawingParameters& p) {
    RenderContext ctx;
    ctx.random.seed = 11;
    return renderDrawing(photo, p, testing::builtinResources(), ctx).drawing;
}

// Another value the control can hold.
void changeControl(DrawingParameters& p, unsigned bit, int style) {
    const std::pair<unsigned, int> sliders[] = {{kReadsTrackBar1, kSlotTrackBar1}, {kReadsTrackBar2, kSlotTrackBar2},
                                                {kReadsTrackBar3, kSlotTrackBar3}, {kReadsTrackBar4, kSlotTrackBar4},
                                                {kReadsTrackBar5, kSlotTrackBar5}};
    for (const auto& [sliderBit, slot] : sliders) {
        if (bit != sliderBit) continue;
        const SliderRange range = sliderRange(style, slot);
        const int now = sliderValue(p, slot);
        setSliderValue(p, slot, now == range.maximum ? range.minimum : range.maximum);
        return;
    }
    if (bit == kReadsCheckBox2) p.CheckBox2 = !p.CheckBox2;
    if (bit == kReadsCheckBox3) p.CheckBox3 = !p.CheckBox3;
    if (bit == kReadsComboBox2) p.ComboBox2 = (p.ComboBox2 + 1) % 3;
    if (bit == kReadsUpDown1) p.UpDown1 = (p.UpDown1 + 3) % 10;
}

TEST(UnreadControls, ChangingAControlAStyleDoesNotReadLeavesItsBytes) {
    const Bitmap photo = testing::noisy(48, 36, 5);
    const unsigned controls[] = {kReadsTrackBar1, kReadsTrackBar2, kReadsTrackBar3, kReadsTrackBar4, kReadsTrackBar5,
                                 kReadsCheckBox2, kReadsCheckBox3, kReadsComboBox2, kReadsUpDown1};
    int unread = 0;
    for (int style = 0; style < kStyleCount; ++style) {
        DrawingParameters base = defaultParameters(static_cast<DrawingStyle>(style));
        base.CheckBox1 = false;  // the finishing pass reads its own settings for every style
        const Bitmap expected = drawingOf(photo, base);
        const unsigned reads = controlsRead(static_cast<DrawingStyle>(style));
        for (unsigned bit : controls) {
            if (reads & bit) continue;
            DrawingParameters changed = base;
            changeControl(changed, bit, style);
            EXPECT_EQ(drawingOf(photo, changed), expected) << "style " << style << ", control bit " << bit;
            ++unread;
        }
    }
    EXPECT_GT(unread, 0);
}

}  // namespace
}  // namespace gt
