// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The nine drawing styles and everything the program knows about each of them, as data: the slider
// ranges, the default slider values, which sliders the parameter window shows, the names of the
// style list in both languages and on the command line, and which controls each style's routine reads.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gt {

enum class DrawingStyle : int {
    PencilDrawing = 0,
    PencilDrawingGrey,
    PencilDrawingColour,
    InkDrawing,
    Painting1,
    Painting2,
    Painting3,
    Painting4,
    FrameAndTextureOnly,
};

inline constexpr int kStyleCount = 9;

// The style index of ComboBox1 (-1 while nothing is chosen) as a style, if it is one.
constexpr std::optional<DrawingStyle> styleFromIndex(int index) {
    if (index < 0 || index >= kStyleCount) return std::nullopt;
    return static_cast<DrawingStyle>(index);
}
constexpr int styleIndex(DrawingStyle s) { return static_cast<int>(s); }

// ---- The five sliders -------------------------------------------------------------------------
// A style's table row keeps its sliders in this slot order (not in the order of the controls' names).
enum SliderSlot : int {
    kSlotTrackBar1 = 0,
    kSlotTrackBar2 = 1,
    kSlotTrackBar5 = 2,
    kSlotTrackBar3 = 3,
    kSlotTrackBar4 = 4,
};
inline constexpr int kSliderCount = 5;

// The control name of a slot ("TrackBar5" for slot 2).
std::string_view sliderName(int slot);

// The English caption of a style's slider as the parameter window shows it, without the padding
// ("Edge threshold"); empty for a slider the style does not show. One table for the window's
// meaning of the sliders, the command line's option names and the keys of preset files.
std::string_view sliderCaption(int styleIndex, int slot);
// The option a caption gives: lower case, words joined by '-' ("Darken/Lighten" → "darken-lighten").
std::string sliderOptionName(std::string_view caption);
// The slot of a style's slider by option name ("edge-threshold"); -1 when the style has none.
int sliderSlotByOption(int styleIndex, std::string_view option);
// Every slider option name of every style, each once, in order of first appearance.
std::vector<std::string> allSliderOptionNames();
// The window's order of the sliders top to bottom is the slot order, so slot s is slider s + 1.

struct SliderRange {
    int minimum = 0;
    int maximum = 255;
    int tick = 5;  // tick frequency
    friend bool operator==(const SliderRange&, const SliderRange&) = default;
    constexpr bool contains(int v) const { return v >= minimum && v <= maximum; }
    constexpr int clamp(int v) const { return v < minimum ? minimum : v > maximum ? maximum : v; }
};

// The range of a slider while style index s is chosen (any index, -1 and 9..10 included: those
// have the default layout). TrackBar5 runs 0..100 and the others 0..255, except TrackBar2 of
// Painting3 (1..10, the median window less one) and TrackBar1 of Painting4 (0..10 median passes).
SliderRange sliderRange(int styleIndex, int slot);

// ---- The per-style table ----------------------------------------------------------------------
// ParameterTable: one row per style index (rows 9 and 10 exist but belong to no style), slots 0..4
// the sliders in slot order; slots 5..10 are never read or written.
inline constexpr int kParameterRows = 11;
inline constexpr int kParameterSlots = 11;
// Rows 0..7 have defaults and follow the sliders; rows 8..10 change only by loading a file.
inline constexpr int kStoredRows = 8;

using ParameterRow = std::array<int, kParameterSlots>;
using ParameterTable = std::array<ParameterRow, kParameterRows>;

// The default table: the built-in rows 0..7, zeros elsewhere.
ParameterTable defaultParameterTable();

// Which sliders the parameter window shows for a style, in slot order (every one hidden for style 8
// and for no style).
std::array<bool, kSliderCount> sliderVisibility(int styleIndex);

// ---- Names ------------------------------------------------------------------------------------
// The interface languages. English came last; its style names are plain ASCII, so a parameter file
// saved in English reads the same in either of the old code pages.
enum class Language { French, Chinese, English };

// The items of the style list, UTF-8, exactly as the language switch writes them.
using StyleNames = std::array<std::string, kStyleCount>;
const StyleNames& styleNames(Language language);

// Command-line names: pencil, pencil-grey, pencil-colour, ink, painting1 .. painting4, frame-only.
std::string styleCliName(DrawingStyle s);
// A style given as its command-line name or its index ("3"); nullopt for anything else.
std::optional<DrawingStyle> styleFromCliName(std::string_view name);

// ---- What each style reads --------------------------------------------------------------------
// The parameter window's controls as bits, so a caller can tell which settings matter to a style.
enum ControlBit : unsigned {
    kReadsTrackBar1 = 1u << 0,
    kReadsTrackBar2 = 1u << 1,
    kReadsTrackBar3 = 1u << 2,
    kReadsTrackBar4 = 1u << 3,
    kReadsTrackBar5 = 1u << 4,
    kReadsCheckBox2 = 1u << 5,  // soften
    kReadsCheckBox3 = 1u << 6,  // paper texture on or off
    kReadsComboBox2 = 1u << 7,  // texture strength
    kReadsUpDown1 = 1u << 8,    // texture number
    kReadsComboBox1 = 1u << 9,  // the style index itself
};

// The controls the style's rendering reads: its image routines' and its own steps'. The frame and
// text options are read by the finishing pass for every style and are not listed.
unsigned controlsRead(DrawingStyle s);

}  // namespace gt
