// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "pipeline/parameter_window_logic.h"
#include "pipeline/parameters.h"

namespace gt {
namespace {

ParameterWindowLogic shownWithStyle(int style) {
    ParameterWindowLogic w = createParameterWindowLogic();
    selectStyle(w, style);
    previewTimerTick(w, false, true, false);
    w.previewInterval = 0;
    return w;
}

TEST(PreviewTimer, BumpsAddUpToAtMostSevenHundred) {
    ParameterWindowLogic w;
    for (int n : {5, 7, 10}) {
        w.previewInterval = 0;
        for (int i = 0; i < n; ++i) optionChanged(w);
        EXPECT_EQ(w.previewInterval, n == 5 ? 500 : 700) << n;
    }
    EXPECT_EQ(bumpedPreviewInterval(2000), 700);
}

TEST(PreviewTimer, TickLoadsTheStyleRowOnlyWhenIdleAndVisible) {
    ParameterWindowLogic w = createParameterWindowLogic();
    EXPECT_EQ(w.controls.ComboBox1, -1);
    activateParameterWindow(w);
    EXPECT_EQ(w.controls.ComboBox1, 0);
    EXPECT_EQ(w.controls.ComboBox2, 1);

    w.previewInterval = 300;
    EXPECT_FALSE(previewTimerTick(w, true, true, false));
    EXPECT_EQ(w.previewInterval, 0);
    EXPECT_FALSE(previewTimerTick(w, false, false, false));
    EXPECT_NE(w.controls.TrackBar1, 25);

    selectStyle(w, 3);
    EXPECT_TRUE(previewTimerTick(w, false, true, false));
    EXPECT_EQ(w.controls.TrackBar1, 30);
    EXPECT_EQ(w.controls.TrackBar3, 140);
    EXPECT_EQ(w.previewInterval, 100);  // the sliders moved: one more preview
    EXPECT_TRUE(previewTimerTick(w, false, true, false));
    EXPECT_EQ(w.previewInterval, 0);
}

TEST(SliderChange, StoresForStylesZeroToSevenAndWaitsForTheButton) {
    ParameterWindowLogic w = shownWithStyle(8);
    const ParameterTable before = w.table;
    sliderChanged(w, kSlotTrackBar3, 77, false);
    EXPECT_EQ(w.table, before);
    EXPECT_EQ(w.controls.TrackBar3, 77);
    EXPECT_EQ(w.previewInterval, 100);

    w = shownWithStyle(2);
    sliderChanged(w, kSlotTrackBar5, 44, true);
    EXPECT_EQ(w.table[2][kSlotTrackBar5], 44);
    EXPECT_EQ(w.previewInterval, 0);  // dragging: nothing scheduled yet
    sliderChanged(w, kSlotTrackBar5, 45, false);
    EXPECT_EQ(w.previewInterval, 100);
}

TEST(StyleChange, Painting3And4PutTheirSpecialSliderBackToFive) {
    ParameterWindowLogic w = shownWithStyle(7);
    sliderChanged(w, kSlotTrackBar1, 8, false);
    selectStyle(w, 0);
    previewTimerTick(w, false, true, false);
    selectStyle(w, 7);
    previewTimerTick(w, false, true, false);
    EXPECT_EQ(w.controls.TrackBar1, 5);
    EXPECT_EQ(w.table[7][kSlotTrackBar1], 5);

    w = shownWithStyle(6);
    sliderChanged(w, kSlotTrackBar2, 9, false);
    selectStyle(w, 6);
    EXPECT_EQ(w.table[6][kSlotTrackBar2], 5);

    const ParameterTable before = w.table;
    selectStyle(w, 11);  // outside 0..10: nothing
    EXPECT_EQ(w.table, before);
}

TEST(Reset, WritesTheDefaultsAndKeepsThePainting4Range) {
    ParameterWindowLogic w = shownWithStyle(7);
    w.table[8][0] = 123;
    sliderChanged(w, kSlotTrackBar1, 9, false);
    sliderChanged(w, kSlotTrackBar3, 10, false);
    w.previewInterval = 0;
    resetParameters(w);
    EXPECT_EQ(w.controls.ComboBox1, 7);
    EXPECT_EQ(w.previewInterval, 200);  // bumped twice
    previewTimerTick(w, false, true, false);
    EXPECT_EQ(w.controls.TrackBar1, 5);
    EXPECT_EQ(w.controls.TrackBar3, 140);
    EXPECT_EQ(sliderRange(w.controls.ComboBox1, kSlotTrackBar1).maximum, 10);
    EXPECT_EQ(w.table[8][0], 123);
}

TEST(Texture, TheChoiceIsStored) {
    ParameterWindowLogic w;
    w.previewInterval = 0;
    textureChosen(w, 9);
    EXPECT_EQ(w.controls.UpDown1, 9);
    EXPECT_EQ(w.previewInterval, 100);
}

}  // namespace
}  // namespace gt
