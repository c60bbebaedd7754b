// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line's frame and text options, parsed into the finishing settings. Pure text work:
// the command line only collects the values and hands them here.
//
//   --frame none|simple|lined|realistic|coloured   --margin 0..1000   --frame-number N
//   --fill RRGGBB   --line RRGGBB   --tint R,G,B (-255..255 each)
//   --text TEXT   --text-position 1..9 | --text-at X,Y   --font FAMILY   --font-size N
//   --font-style regular|bold|italic|bold-italic   --text-colour RRGGBB   --shadow   --underline
//   --strike-out

#include <optional>
#include <string>
#include <string_view>

#include "imaging/bitmap.h"
#include "imaging/error.h"
#include "pipeline/parameters.h"

namespace gt {

// A value the user typed wrongly; the message names the option and says what it takes.
class OptionError : public Error {
public:
    using Error::Error;
};

// The option values as typed; an empty optional is an option not given.
struct FinishingOptionValues {
    std::optional<std::string> frame;
    std::optional<std::string> margin;
    std::optional<std::string> frameNumber;
    std::optional<std::string> fill;
    std::optional<std::string> line;
    std::optional<std::string> tint;
    std::optional<std::string> text;
    std::optional<std::string> textPosition;
    std::optional<std::string> textAt;
    std::optional<std::string> font;
    std::optional<std::string> fontSize;
    std::optional<std::string> fontStyle;
    std::optional<std::string> textColour;
    bool shadow = false;
    bool underline = false;
    bool strikeOut = false;
};

// Applies the given options over the frame and text switches and settings of `p` (normally the
// defaults). The text is written only when
// --text is given; the other text options without it are an error, as are --text-position with
// --text-at, and --frame-number for a frame without pictures. Throws OptionError.
void applyFinishingOptions(const FinishingOptionValues& values, DrawingParameters& p);

// The single values, for the command line's own use; each throws OptionError naming `option`.
Colour parseColourOption(std::string_view option, std::string_view value);   // RRGGBB, '#' allowed
int parseIntOption(std::string_view option, std::string_view value, int min, int max);
// "none" turns the frame off (returns -1); otherwise the style index 0..3.
int parseFrameStyleOption(std::string_view option, std::string_view value);

}  // namespace gt
