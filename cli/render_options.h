// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options that choose a drawing, shared by render and batch: the parameter window's controls,
// the generator's starting state, and the frames and add-text windows' settings.

#include <cstdint>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "pipeline/parameters.h"

namespace gt::cli {

struct RenderSetup {
    DrawingParameters parameters;
    std::uint32_t seed = 0;  // the program-wide generator as the program starts
    int drawingWidth = 0;    // 0: the photo's size
    int drawingHeight = 0;
    std::vector<std::string> warnings;  // worth saying, not worth stopping for
};

std::vector<OptionSpec> renderOptionSpecs();
// The part of --help that explains the render options' values.
std::string renderOptionDetails();

// Checks the options against the chosen style's ranges. Throws UsageError for a value typed
// wrongly, gt::Error when the parameter file cannot be read.
RenderSetup renderSetup(const ParsedArgs& args);

}  // namespace gt::cli
