// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/parameter_window_logic.h"

#include "pipeline/parameter_file.h"
#include "pipeline/parameters.h"

namespace gt {

namespace {

constexpr int kPainting3 = static_cast<int>(DrawingStyle::Painting3);
constexpr int kPainting4 = static_cast<int>(DrawingStyle::Painting4);
constexpr int kTableRowsWithCaptions = kParameterRows;  // the style change acts on indexes 0..10

// A slider set by the program: its change handler runs only when the position differs.
void setSlider(ParameterWindowLogic& w, int slot, int position) {
    if (sliderValue(w.controls, slot) != position) sliderChanged(w, slot, position, false);
}

void styleChangedHandler(ParameterWindowLogic& w) {
    const int s = w.controls.ComboBox1;
    if (s < 0 || s >= kTableRowsWithCaptions) return;
    if (s == kPainting3) {
        setSlider(w, kSlotTrackBar2, 5);
        w.table[kPainting3][kSlotTrackBar2] = 5;
    } else if (s == kPainting4) {
        setSlider(w, kSlotTrackBar1, 5);
        w.table[kPainting4][kSlotTrackBar1] = 5;
    }
    // The other sliders' ranges only widen here, so no position has to move.
    BumpPreviewTimer(w);
}

}  // namespace

ParameterWindowLogic createParameterWindowLogic() {
    ParameterWindowLogic w;
    w.controls.ComboBox1 = -1;
    resetParameters(w);
    w.controls.ComboBox2 = 1;
    return w;
}

void BumpPreviewTimer(ParameterWindowLogic& w) { w.previewInterval = bumpedPreviewInterval(w.previewInterval); }

void sliderChanged(ParameterWindowLogic& w, int slot, int position, bool leftButtonDown) {
    if (slot < 0 || slot >= kSliderCount) return;
    setSliderValue(w.controls, slot, position);
    const int s = w.controls.ComboBox1;
    if (s >= 0 && s < kStoredRows) w.table[static_cast<std::size_t>(s)][static_cast<std::size_t>(slot)] = position;
    if (!leftButtonDown) w.previewInterval = kPreviewIntervalAfterSlider;
}

void selectStyle(ParameterWindowLogic& w, int style) {
    w.controls.ComboBox1 = style;
    styleChangedHandler(w);
}


void textureChosen(ParameterWindowLogic& w, int n) {
    w.controls.UpDown1 = n;
    BumpPreviewTimer(w);
}

void optionChanged(ParameterWindowLogic& w) { BumpPreviewTimer(w); }

void resetParameters(ParameterWindowLogic& w) {
    resetParameterTable(w.table);
    const int s = w.controls.ComboBox1;
    selectStyle(w, s == 1 ? 2 : 1);
    selectStyle(w, s);
}

void applyPresetControls(ParameterWindowLogic& w, const DrawingControls& c) {
    w.controls = c;
    const int s = c.ComboBox1;
    if (s >= 0 && s < kStoredRows) {
        // The slots the preview step loads: TrackBar4 only for the two styles that show it.
        const bool withTrackBar4 = s == styleIndex(DrawingStyle::PencilDrawing) || s == styleIndex(DrawingStyle::PencilDrawingColour);
        for (int slot = 0; slot < (withTrackBar4 ? kSliderCount : kSlotTrackBar4); ++slot)
            w.table[static_cast<std::size_t>(s)][static_cast<std::size_t>(slot)] = sliderValue(c, slot);
    }
    w.previewInterval = kPreviewIntervalAfterSlider;
}

void resetStyleSliders(ParameterWindowLogic& w) {
    const int s = w.controls.ComboBox1;
    if (s < 0 || s >= kStyleCount) return;
    if (s < kStoredRows) {
        const ParameterTable defaults = defaultParameterTable();
        for (std::size_t slot = 0; slot < kSliderCount; ++slot)
            w.table[static_cast<std::size_t>(s)][slot] = defaults[static_cast<std::size_t>(s)][slot];
    }
    loadSlidersFromTable(w.controls, w.table);
    w.previewInterval = kPreviewIntervalAfterSlider;
}

void activateParameterWindow(ParameterWindowLogic& w) {
    if (w.controls.ComboBox1 < 0) selectStyle(w, 0);
    if (w.controls.ComboBox2 < 0) w.controls.ComboBox2 = 1;
}

bool previewTimerTick(ParameterWindowLogic& w, bool busy, bool windowVisible, bool leftButtonDown) {
    w.previewInterval = 0;
    if (busy || !windowVisible) return false;
    if (loadSlidersFromTable(w.controls, w.table) && !leftButtonDown) w.previewInterval = kPreviewIntervalAfterSlider;
    return true;
}

}  // namespace gt
