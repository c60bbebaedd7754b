// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Presets: a name and everything that decides a drawing apart from the photo (the style, its
// sliders and the other controls of the parameter window, the paper texture, the frame, and the
// text when it is on). One small UTF-8 text file per preset, named after it:
//
//   graphitello-preset 1
//   # comments and blank lines are skipped
//   style = pencil
//   edge-threshold = 25
//   ...
//
// The keys are the command line's option names (pipeline/drawing_options.h); a value may be put in
// double quotes to keep blanks at its ends. Unknown keys are skipped with a warning; anything else
// wrong refuses the whole file with one line. The user's presets live in
// $XDG_DATA_HOME/graphitello/presets (~/.local/share when it is not set); the built-in ones are
// compiled in and never replaced by the user's.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/error.h"
#include "pipeline/drawing_options.h"
#include "pipeline/parameters.h"

namespace gt {

inline constexpr std::string_view kPresetMagic = "graphitello-preset";
inline constexpr int kPresetFormat = 1;
inline constexpr std::string_view kPresetExtension = ".preset";

// A preset file that cannot be read as a whole; the message is one line naming the file.
class PresetError : public Error {
public:
    using Error::Error;
};

struct PresetRead {
    OptionValues values;                // the settings as written, unknown keys left out
    DrawingParameters parameters;       // what they give
    std::vector<std::string> warnings;  // "mine.preset, line 4: unknown setting "glow", skipped"
};

// The file's text for these settings.
std::string presetText(const DrawingParameters& p);
// Reads a preset's text; `where` names it in messages. Throws PresetError.
PresetRead readPresetText(std::string_view text, const std::string& where);
// The same from a file (at most 64 KiB); a missing file is a PresetError too.
PresetRead readPresetFile(const std::string& path);
// Writes through a temporary file in the same folder, so a failed write leaves the old file whole.
void writePresetFile(const std::string& path, const DrawingParameters& p);

// A name the user may give: not empty, at most 100 bytes, no '/', '\', control character or leading
// dot or blank. Returns the reason when it is not, empty when it is.
std::string presetNameProblem(std::string_view name);
// The same as a kind, for a window that says it in its own language.
enum class PresetNameFault { None, Empty, TooLong, Edge, Character, NotUtf8 };
PresetNameFault presetNameFault(std::string_view name);

struct PresetEntry {
    std::string name;
    std::string path;  // the user's file; empty for a built-in preset
    bool builtIn = false;
    std::string text;  // a built-in preset's text
};

// The folder of the user's presets, from the environment (not created here).
std::string userPresetFolder();
// The built-in presets, in their own order.
const std::vector<PresetEntry>& builtInPresets();
// The user's presets in `folder` by name (byte order); files of other kinds are passed over.
std::vector<PresetEntry> userPresets(const std::string& folder);
// Built-in first, then the user's; a user's file named like a built-in preset is passed over.
std::vector<PresetEntry> allPresets(const std::string& folder);
// A preset by name.
std::optional<PresetEntry> findPreset(std::string_view name, const std::string& folder);
// Reads a listed preset.
PresetRead readPreset(const PresetEntry& entry);

// The user's file for a preset of this name in `folder`.
std::string userPresetPath(const std::string& folder, std::string_view name);
bool isBuiltInPresetName(std::string_view name);
// A user's preset under a new name in the same folder (a file of that name is replaced), or gone.
// Throws Error with one line naming the file.
void renameUserPreset(const PresetEntry& entry, std::string_view newName);
void deleteUserPreset(const PresetEntry& entry);

}  // namespace gt
