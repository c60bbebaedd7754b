// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parameter window's behaviour without the window: what its handlers do to the controls, the
// per-style table and the preview timer, as plain functions over plain data. The window forwards
// its events here and shows the result.

#include <string>

#include "imaging/controls.h"
#include "pipeline/styles.h"

namespace gt {

// Preview timer intervals in milliseconds; 0 means stopped.
inline constexpr int kPreviewIntervalAtCreation = 2000;
inline constexpr int kPreviewIntervalOnShow = 200;
inline constexpr int kPreviewIntervalAfterSlider = 100;
inline constexpr int kPreviewBumpStep = 100;
inline constexpr int kPreviewIntervalLongest = 700;

struct ParameterWindowLogic {
    DrawingControls controls;  // the sliders' positions, the options, ComboBox1 the chosen style (-1: none)
    ParameterTable table{};    // ParameterTable
    int previewInterval = kPreviewIntervalAtCreation;  // previewTimer
};

// The window as it is created: default table, no style chosen yet, normal texture strength. The
// reset it runs has already bumped the timer.
ParameterWindowLogic createParameterWindowLogic();

// Each option change pushes the preview back by 100 ms, to at most 700 ms.
constexpr int bumpedPreviewInterval(int interval) {
    const int next = interval + kPreviewBumpStep;
    return next > kPreviewIntervalLongest ? kPreviewIntervalLongest : next;
}
void BumpPreviewTimer(ParameterWindowLogic& w);

// A slider moved to `position` (slot order, kSlotTrackBar1 ..): rows 0..7 remember it; nothing is
// scheduled while the left button is held (the release reports one more change).
void sliderChanged(ParameterWindowLogic& w, int slot, int position, bool leftButtonDown);

// The style list's choice. Choosing Painting3 puts its brush size (row 6, slot 1) back to 5 and
// choosing Painting4 its number of passes (row 7, slot 0), whatever was stored; the slider ranges
// follow the style (sliderRange). An index outside 0..10 is remembered but changes nothing else.
void selectStyle(ParameterWindowLogic& w, int style);

// The texture up-down: texture n (0..9).
void textureChosen(ParameterWindowLogic& w, int n);

// Soften, texture, strength, and the end of a drag on the preview: only the preview is pushed back.
void optionChanged(ParameterWindowLogic& w);

// The reset command: default rows 0..7, then the style change run twice (through style 1, or 2 when
// style 1 is chosen) so the chosen style's ranges are applied afresh.
void resetParameters(ParameterWindowLogic& w);

// A preset chosen: its controls become the window's, and its sliders its style's row (the rows the
// window stores), so the preview step and a rendering read them back as they are. Painting 3 and 4
// keep the preset's brush size and passes. The preview follows in 100 ms.
void applyPresetControls(ParameterWindowLogic& w, const DrawingControls& c);

// "Reset": the chosen style's sliders back to the style's defaults. The other styles' rows and the
// options shared by every style (soften, texture) stay.
void resetStyleSliders(ParameterWindowLogic& w);

// Activation: choose style 0 when none is chosen, and the normal strength when none is.
void activateParameterWindow(ParameterWindowLogic& w);

// The preview timer's tick: stops the timer, and unless a rendering runs or the window is hidden,
// loads the chosen style's row into the sliders (a slider that moves schedules one more preview,
// unless the left button is held) and returns true: the caller then draws the preview.
bool previewTimerTick(ParameterWindowLogic& w, bool busy, bool windowVisible, bool leftButtonDown);

}  // namespace gt
