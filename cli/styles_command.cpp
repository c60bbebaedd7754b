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
                   "sliders each style reads with their range and default.";
    spec.options = {{"names", "", "only the names for --style, one a line"}};
    const ParsedArgs parsed = parseArguments(spec, args);
    if (parsed.help) {
        session.out << helpText(spec);
        return kExitSuccess;
    }
    struct Slider {
        const char* option;
        int slot;
        unsigned readBit;
    };
    static constexpr Slider kSliders[] = {
        {"--t1", kSlotTrackBar1, kReadsTrackBar1}, {"--t2", kSlotTrackBar2, kReadsTrackBar2},
        {"--t3", kSlotTrackBar3, kReadsTrackBar3}, {"--t4", kSlotTrackBar4, kReadsTrackBar4},
        {"--t5", kSlotTrackBar5, kReadsTrackBar5},
    };
    for (int i = 0; i < kStyleCount; ++i) {
        const auto style = static_cast<DrawingStyle>(i);
        if (parsed.flag("names")) {
            session.out << styleCliName(style) << "\n";
            continue;
        }
        const std::size_t n = static_cast<std::size_t>(i);
        session.out << i << "  " << styleCliName(style) << "  \"" << styleNames(Language::French)[n] << "\" \""
                    << styleNames(Language::Chinese)[n] << "\" \"" << styleNames(Language::English)[n] << "\"\n   ";
        const DrawingParameters defaults = defaultParameters(style);
        const unsigned reads = controlsRead(style);
        bool any = false;
        for (const Slider& s : kSliders) {
            if (!(reads & s.readBit)) continue;
            const SliderRange range = sliderRange(i, s.slot);
            session.out << " " << s.option << " " << sliderValue(defaults, s.slot) << " (" << range.minimum << ".."
                        << range.maximum << ")";
            any = true;
        }
        if (!any) session.out << " no sliders";
        if (reads & kReadsCheckBox2) session.out << "; --soften";
        if (reads & kReadsCheckBox3) session.out << "; --texture, --strength";
        session.out << "\n";
    }
    return kExitSuccess;
}

}  // namespace gt::cli
