// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's argument parser on any arguments (NUL-separated in the input): the render and
// batch options, checked and turned into a rendering's settings, or a usage error.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/render_options.h"
#include "imaging/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) args.emplace_back();
        else args.back() += static_cast<char>(data[i]);
    }
    gt::cli::CommandSpec spec;
    spec.name = "render";
    spec.usage = "[options] INPUT OUTPUT";
    spec.options = gt::cli::renderOptionSpecs();
    spec.minPositionals = 0;
    spec.maxPositionals = size % 2 ? 2 : -1;
    try {
        gt::cli::ParsedArgs parsed = gt::cli::parseArguments(spec, args);
        parsed.values.erase("params");  // would read a file
        const gt::cli::RenderSetup setup = gt::cli::renderSetup(parsed);
        (void)gt::cli::helpText(spec);
        (void)setup;
    } catch (const gt::cli::UsageError&) {
    } catch (const gt::Error&) {
    }
    return 0;
}
