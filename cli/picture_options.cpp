// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/picture_options.h"

#include <filesystem>

namespace gt::cli {

std::vector<OptionSpec> pictureOptionSpecs(bool withFormat) {
    std::vector<OptionSpec> specs;
    if (withFormat) specs.push_back({"format", "jpeg|png|bmp|tiff|webp", "the output's format (default: from its extension)"});
    specs.push_back({"quality", "1..100", "the JPEG or WebP quality (default 90)"});
    specs.push_back({"strip", "", "write no camera data (EXIF) and no resolution"});
    specs.push_back({"no-auto-orient", "", "keep the photo as stored, not turned as its EXIF orientation says"});
    return specs;
}

std::string pictureOptionDetails(bool withFormat) {
    std::string text =
        "Pictures read: JPEG, PNG, BMP, GIF, TIFF, WebP, and HEIC and AVIF where libheif decodes them; the content\n"
        "decides, not the name. A photo is turned upright as its EXIF orientation says and converted to sRGB\n"
        "from its colour profile. The output keeps the photo's camera data (orientation reset, no thumbnail)\n"
        "in JPEG, TIFF and WebP, its resolution, and is tagged sRGB.\n";
    if (withFormat)
        text += "The output's format follows its extension (.jpg .jpeg .png .bmp .tif .tiff .webp) or --format.\n"
                "INPUT - reads standard input; OUTPUT - writes standard output and needs --format.\n";
    return text;
}

PictureOptions pictureOptions(const ParsedArgs& args) {
    PictureOptions options;
    if (const auto q = args.value("quality")) options.quality = parseInt("quality", *q, 1, 100);
    if (const auto f = args.value("format")) {
        options.format = formatForName(*f);
        if (!options.format) throw UsageError("--format " + *f + ": expected jpeg, png, bmp, tiff or webp");
    }
    options.strip = args.flag("strip");
    options.autoOrient = !args.flag("no-auto-orient");
    return options;
}

PictureFormat outputFormat(const std::string& path, const PictureOptions& options) {
    std::optional<PictureFormat> format = options.format;
    if (!format && path == "-") throw UsageError("writing to standard output (-) needs --format");
    if (!format) format = formatForPath(path);
    if (!format)
        throw UsageError(path + ": unknown output format \"" + std::filesystem::path(path).extension().string() +
                         "\" (use .jpg, .jpeg, .png, .bmp, .tif, .tiff or .webp, or --format)");
    if (!canWrite(*format))
        throw UsageError(path + ": this build cannot write " + (*format == PictureFormat::Tiff ? "TIFF" : "WebP") +
                         " (Qt's image-format plugins are not installed)");
    return *format;
}

}  // namespace gt::cli
