// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings of a drawing as named options: the command line's render options and the keys of
// preset files are the same names, read and written here.
//
//   style   edge-threshold .. (the style's sliders, named as the window names them)   t1 .. t5
//   soften on|off   texture 1..10|off   strength light|normal|strong   and the frame and text
//   options of pipeline/finishing_options.h (shadow, underline, strike-out on|off)

#include <array>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pipeline/finishing_options.h"
#include "pipeline/parameters.h"

namespace gt {

// Values by option name, without the dashes.
using OptionValues = std::map<std::string, std::string, std::less<>>;

struct DrawingOptionsRead {
    DrawingParameters parameters;                          // the style's defaults, every option but the sliders applied
    std::array<std::optional<int>, kSliderCount> sliders;  // the sliders given, by slot, checked against their ranges
    std::vector<std::string> warnings;                     // worth saying, not worth stopping for
};

// Reads the options that are there; the others keep the program's defaults. A slider named for a
// style that has no such slider is refused; --t1..--t5 are accepted for every style, with a warning
// when the style does not read that slider. Throws OptionError with one line naming the option.
DrawingOptionsRead readDrawingOptions(const OptionValues& values);

// Sets the sliders that were given.
void applySliders(const DrawingOptionsRead& read, DrawingControls& controls);

// Whether a name is one of the options above.
bool isDrawingOption(std::string_view name);

// The options that give these parameters back, in a fixed order: the style, its sliders in the
// window's order by name, the texture, the frame, and the text when it is on. The sliders the style
// does not show and the picture of a frame that has none are left out.
std::vector<std::pair<std::string, std::string>> drawingOptionsOf(const DrawingParameters& p);

}  // namespace gt
