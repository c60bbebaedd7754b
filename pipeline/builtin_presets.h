// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The built-in presets' files (assets/presets/*.preset), compiled in by the build, which writes the
// definition from the files themselves.

#include <span>
#include <string_view>

namespace gt {

struct BuiltInPresetSource {
    std::string_view name;  // the file's name without ".preset"
    std::string_view text;
};

std::span<const BuiltInPresetSource> builtInPresetSources();

}  // namespace gt
