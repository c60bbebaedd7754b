// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/parameters.h"

#include <string>

#include "imaging/error.h"

namespace gt {

namespace {

template <typename Controls>
auto* sliderField(Controls& c, int slot) {
    using Field = decltype(&c.TrackBar1);
    switch (slot) {
        case kSlotTrackBar1: return &c.TrackBar1;
        case kSlotTrackBar2: return &c.TrackBar2;
        case kSlotTrackBar5: return &c.TrackBar5;
        case kSlotTrackBar3: return &c.TrackBar3;
        case kSlotTrackBar4: return &c.TrackBar4;
        default: return Field{nullptr};
    }
}

constexpr unsigned kSlotBits[kSliderCount] = {kReadsTrackBar1, kReadsTrackBar2, kReadsTrackBar5, kReadsTrackBar3,
                                              kReadsTrackBar4};

void checkRange(const char* what, int value, int minimum, int maximum) {
    if (value < minimum || value > maximum)
        throw Error(std::string(what) + " must be " + std::to_string(minimum) + ".." + std::to_string(maximum) +
                    " (got " + std::to_string(value) + ")");
}

}  // namespace

int sliderValue(const DrawingControls& controls, int slot) {
    const int* field = sliderField(controls, slot);
    return field ? *field : 0;
}

void setSliderValue(DrawingControls& controls, int slot, int value) {
    if (int* field = sliderField(controls, slot)) *field = value;
}

DrawingParameters defaultParameters(DrawingStyle s) {
    DrawingParameters p;
    p.ComboBox1 = styleIndex(s);
    ParameterTable table = defaultParameterTable();
    loadSlidersFromTable(p, table);
    return p;
}

bool loadSlidersFromTable(DrawingControls& controls, ParameterTable& table) {
    const int s = controls.ComboBox1;
    if (s < 0 || s >= kStyleCount) return false;
    const bool withTrackBar4 = s == styleIndex(DrawingStyle::PencilDrawing) || s == styleIndex(DrawingStyle::PencilDrawingColour);
    const int slots = withTrackBar4 ? kSliderCount : kSlotTrackBar4;
    auto& row = table[static_cast<std::size_t>(s)];
    bool moved = false;
    for (int slot = 0; slot < slots; ++slot) {
        const int shown = sliderRange(s, slot).clamp(row[static_cast<std::size_t>(slot)]);
        if (shown != sliderValue(controls, slot)) moved = true;
        setSliderValue(controls, slot, shown);
        if (s < kStoredRows) row[static_cast<std::size_t>(slot)] = shown;
    }
    return moved;
}

void checkSlider(int style, int slot, int value) {
    const SliderRange range = sliderRange(style, slot);
    const std::string what = std::string(sliderName(slot)) +
                             (style >= 0 && style < kStyleCount ? " of style " + styleCliName(static_cast<DrawingStyle>(style)) : "");
    checkRange(what.c_str(), value, range.minimum, range.maximum);
}

void checkParameters(const DrawingParameters& p) {
    checkRange("the style index", p.ComboBox1, 0, kStyleCount - 1);
    checkRange("the texture strength index", p.ComboBox2, 0, 2);
    checkRange("the texture number", p.UpDown1, 0, 9);
    const unsigned reads = controlsRead(static_cast<DrawingStyle>(p.ComboBox1));
    for (int slot = 0; slot < kSliderCount; ++slot)
        if (reads & kSlotBits[slot]) checkSlider(p.ComboBox1, slot, sliderValue(p, slot));
}

}  // namespace gt
