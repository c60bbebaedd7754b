// SPDX-License-Identifier: GPL-3.0-or-later
// graphitello-cli presets: the built-in presets and the user's, each with its style, and the
// folder where the user's are kept.

#include <string>

#include "cli/arguments.h"
#include "cli/session.h"
#include "pipeline/presets.h"

namespace gt::cli {

int runPresets(std::span<const std::string> args, Session& session) {
    CommandSpec spec;
    spec.name = "presets";
    spec.summary = "Lists the presets that --preset NAME takes: the built-in ones, then yours, each with its style.\n"
                   "Yours are the .preset files of $XDG_DATA_HOME/graphitello/presets (~/.local/share when\n"
                   "XDG_DATA_HOME is not set), which the program's save-as-preset command writes.";
    spec.options = {{"names", "", "only the names, one a line"}};
    const ParsedArgs parsed = parseArguments(spec, args);
    if (parsed.help) {
        session.out << helpText(spec);
        return kExitSuccess;
    }
    const std::string folder = userPresetFolder();
    const std::vector<PresetEntry> presets = allPresets(folder);
    std::size_t width = 0;
    for (const PresetEntry& p : presets) width = std::max(width, p.name.size());
    for (const PresetEntry& p : presets) {
        if (parsed.flag("names")) {
            session.out << p.name << "\n";
            continue;
        }
        std::string what;
        try {
            const PresetRead read = readPreset(p);
            what = styleCliName(static_cast<DrawingStyle>(read.parameters.ComboBox1));
        } catch (const Error& e) {
            what = std::string("cannot be used: ") + e.what();
        }
        session.out << p.name << std::string(width + 2 - p.name.size(), ' ') << (p.builtIn ? "built in  " : "yours     ")
                    << what << "\n";
    }
    if (!parsed.flag("names")) session.out << "Your presets: " << folder << "\n";
    return kExitSuccess;
}

}  // namespace gt::cli
