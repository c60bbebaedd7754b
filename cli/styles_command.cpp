// SPDX-License-Identifier: GPL-3.0-or-later
// graphitello-cli styles: the nine styles with their names and the ranges and defaults of the
// sliders each one reads.

#include <string>

#include "cli/arguments.h"
#include "cli/session.h"
#include "pipeline/parameters.h"
#include "pipeline/styles.h"

namespace gt::cli {

int runStyles(std::span<const std::string> args, Session& session) {
    CommandSpec spec;
    spec.name = "styles";
    spec.summary = "Lists the drawing styles: number, name for --style, the names of the style list, and the\n"
                   "sliders each style reads in the window's order, by name and number, with their range and default.";
    spec.options = {{"names", "", "only the names for --style, one a line"}};
    const ParsedArgs parsed = parseArguments(spec, args);
    if (parsed.help) {
        session.out << helpText(spec);
        return kExitSuccess;
    }
    static constexpr const char* kNumbered[kSliderCount] = {"--t1", "--t2", "--t5", "--t3", "--t4"};  // by slot
    for (int i = 0; i < kStyleCount; ++i) {
        const auto style = static_cast<DrawingStyle>(i);
        if (parsed.flag("names")) {
            session.out << styleCliName(style) << "\n";
            continue;
        }
        const std::size_t n = static_cast<std::size_t>(i);
        session.out << i << "  " << styleCliName(style) << "  \"" << styleNames(Language::French)[n] << "\" \""
                    << styleNames(Language::Chinese)[n] << "\" \"" << styleNames(Language::English)[n] << "\"\n";
        const DrawingParameters defaults = defaultParameters(style);
        const unsigned reads = controlsRead(style);
        bool any = false;
        // The sliders top to bottom as the window shows them.
        for (int slot = 0; slot < kSliderCount; ++slot) {
            const std::string_view caption = sliderCaption(i, slot);
            if (caption.empty()) continue;
            const SliderRange range = sliderRange(i, slot);
            const std::string option = "--" + sliderOptionName(caption) + " (" + kNumbered[slot] + ")";
            session.out << "    " << slot + 1 << "  " << option << std::string(option.size() < 30 ? 30 - option.size() : 1, ' ')
                        << range.minimum << ".." << range.maximum << ", default " << sliderValue(defaults, slot) << "  \""
                        << caption << "\"\n";
            any = true;
        }
        session.out << "    " << (any ? "" : "no sliders; ");
        if (reads & kReadsCheckBox2) session.out << "--soften, ";
        session.out << "--texture, --strength\n";
    }
    return kExitSuccess;
}

}  // namespace gt::cli
