// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options every command that reads and writes pictures shares: the output's format and quality,
// whether the camera data goes along, whether the photo is turned upright; "-" for standard input
// and output.

#include <optional>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "imaging/io/picture_io.h"

namespace gt::cli {

struct PictureOptions {
    int quality = 90;                      // JPEG and WebP
    std::optional<PictureFormat> format;   // --format; otherwise the output's extension
    bool strip = false;                    // --strip: no camera data in the output
    bool autoOrient = true;                // --no-auto-orient turns it off
};

// `withFormat`: the command writes one named output (batch names its outputs itself).
std::vector<OptionSpec> pictureOptionSpecs(bool withFormat);
std::string pictureOptionDetails(bool withFormat);
PictureOptions pictureOptions(const ParsedArgs& args);

// The format an output is written in; throws UsageError when the name and --format leave it
// unknown, or when this build cannot write it.
PictureFormat outputFormat(const std::string& path, const PictureOptions& options);

}  // namespace gt::cli
