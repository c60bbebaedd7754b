// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything a rendering reads from the windows, copied out of them before the work starts: the
// parameter window's controls (with their own names, so each routine reads like its description)
// and the settings of the frames and add-text windows that the finishing pass reads.

#include "imaging/controls.h"
#include "pipeline/finishing_settings.h"
#include "pipeline/styles.h"

namespace gt {

// The one record of a rendering's settings: the app fills it from its windows, the command line
// from its options, the batch takes one at the start of its run, and the finishing pass reads its
// switches (CheckBox1 frame, CheckBox4 text) with `frame` and `text`.
struct DrawingParameters : DrawingControls {
    FrameSettings frame;  // the frames window
    TextSettings text;    // the add-text window
};

// The controls as the program starts with style s chosen: the style's default sliders, soften,
// frame and texture on, text off, normal strength, texture 0.
DrawingParameters defaultParameters(DrawingStyle s);

// A slider's position by table slot (kSlotTrackBar1 ..).
int sliderValue(const DrawingControls& controls, int slot);
void setSliderValue(DrawingControls& controls, int slot, int value);

// Loads the sliders from the chosen style's table row, as the preview step does before it draws:
// slots 0..3 always (also for style 8, whose sliders are hidden), slot 4 only for the two styles
// that show TrackBar4. A slider cannot hold a value outside its range, so a value out of range
// arrives clamped, and for rows 0..7 the slider's change handler stores what it shows back into
// the row. Nothing happens while no style is chosen. Returns true when a slider moved (the window
// then schedules one more preview).
bool loadSlidersFromTable(DrawingControls& controls, ParameterTable& table);

// Range checks for settings that come from outside the window (the command line): a gt::Error
// naming the control, its range and the value.
void checkSlider(int styleIndex, int slot, int value);
void checkParameters(const DrawingParameters& p);

}  // namespace gt
