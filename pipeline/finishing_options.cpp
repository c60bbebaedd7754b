// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/finishing_options.h"

#include <array>
#include <cctype>
#include <charconv>
#include <vector>

namespace gt {

namespace {

std::string quoted(std::string_view value) { return "\"" + std::string(value) + "\""; }

std::vector<std::string_view> splitCommas(std::string_view value) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        parts.push_back(value.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return parts;
}

std::string trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return std::string(s);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

Colour parseColourOption(std::string_view option, std::string_view value) {
    std::string_view v = value;
    if (!v.empty() && v.front() == '#') v.remove_prefix(1);
    bool ok = v.size() == 6;
    for (std::size_t i = 0; ok && i < 6; ++i) ok = hexDigit(v[i]) >= 0;
    if (!ok)
        throw OptionError(std::string(option) + ": expected a colour as six hexadecimal digits RRGGBB (such as F2FBFC), got " +
                          quoted(value));
    auto byteAt = [&](std::size_t i) { return std::uint8_t(hexDigit(v[i]) * 16 + hexDigit(v[i + 1])); };
    Colour c;
    c.r = byteAt(0);
    c.g = byteAt(2);
    c.b = byteAt(4);
    return c;
}

int parseIntOption(std::string_view option, std::string_view value, int min, int max) {
    const std::string v = trimmed(value);
    int result = 0;
    const char* begin = v.data();
    const char* end = v.data() + v.size();
    if (begin != end && *begin == '+') ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, result);
    if (v.empty() || ec != std::errc() || ptr != end || result < min || result > max)
        throw OptionError(std::string(option) + ": expected a whole number from " + std::to_string(min) + " to " +
                          std::to_string(max) + ", got " + quoted(value));
    return result;
}

int parseFrameStyleOption(std::string_view option, std::string_view value) {
    static constexpr std::array<std::string_view, 5> kNames = {"none", "simple", "lined", "realistic", "coloured"};
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (value == kNames[i]) return int(i) - 1;
    if (value == "colored") return kFrameColoured;
    throw OptionError(std::string(option) + ": expected none, simple, lined, realistic or coloured, got " + quoted(value));
}

void applyFinishingOptions(const FinishingOptionValues& o, DrawingParameters& p) {
    FrameSettings& frame = p.frame;
    TextSettings& text = p.text;

    if (o.frame) {
        const int style = parseFrameStyleOption("--frame", *o.frame);
        p.CheckBox1 = style >= 0;
        if (style >= 0) frame.style = style;
    }
    if (o.margin) frame.margin = parseIntOption("--margin", *o.margin, 0, 1000);
    if (o.frameNumber) {
        if (!p.CheckBox1 || frame.style < kFrameRealistic)
            throw OptionError("--frame-number: only the realistic and coloured frames have numbered pictures");
        if (frame.style == kFrameRealistic)
            frame.realisticNumber = parseIntOption("--frame-number", *o.frameNumber, 1, 7);
        else
            frame.colouredNumber = parseIntOption("--frame-number", *o.frameNumber, 1, 5);
    }
    if (o.fill) frame.FillColour = parseColourOption("--fill", *o.fill);
    if (o.line) frame.LineColour = parseColourOption("--line", *o.line);
    if (o.tint) {
        const std::vector<std::string_view> parts = splitCommas(*o.tint);
        if (parts.size() != 3)
            throw OptionError("--tint: expected three shifts R,G,B from -255 to 255 (such as 40,0,-40), got " +
                              quoted(*o.tint));
        frame.tintRed = parseIntOption("--tint (red)", parts[0], -255, 255);
        frame.tintGreen = parseIntOption("--tint (green)", parts[1], -255, 255);
        frame.tintBlue = parseIntOption("--tint (blue)", parts[2], -255, 255);
    }

    if (!o.text) {
        const char* stray = o.textPosition ? "--text-position"
                            : o.textAt     ? "--text-at"
                            : o.font       ? "--font"
                            : o.fontSize   ? "--font-size"
                            : o.fontStyle  ? "--font-style"
                            : o.textColour ? "--text-colour"
                            : o.shadow     ? "--shadow"
                            : o.underline  ? "--underline"
                            : o.strikeOut  ? "--strike-out"
                                           : nullptr;
        if (stray) throw OptionError(std::string(stray) + ": needs --text TEXT, the text to write");
        return;
    }
    p.CheckBox4 = true;
    text.text = *o.text;
    if (o.textPosition && o.textAt)
        throw OptionError("--text-position and --text-at: give one of them, not both");
    if (o.textPosition) text.position = parseIntOption("--text-position", *o.textPosition, 1, 9);
    if (o.textAt) {
        const std::vector<std::string_view> parts = splitCommas(*o.textAt);
        if (parts.size() != 2)
            throw OptionError("--text-at: expected a position X,Y in pixels (such as 40,30), got " + quoted(*o.textAt));
        text.position = kPlaceCustom;
        text.x = parseIntOption("--text-at (x)", parts[0], -kMaxWidth, kMaxWidth);
        text.y = parseIntOption("--text-at (y)", parts[1], -kMaxWidth, kMaxWidth);
    }
    if (o.font) {
        const std::string family = trimmed(*o.font);
        if (family.empty()) throw OptionError("--font: expected a font family name, got an empty text");
        text.fontFamily = family;
    }
    if (o.fontSize) text.fontSize = parseIntOption("--font-size", *o.fontSize, 1, 400);
    if (o.fontStyle) {
        const std::string& s = *o.fontStyle;
        if (s == "regular") {
            text.bold = false; text.italic = false;
        } else if (s == "bold") {
            text.bold = true; text.italic = false;
        } else if (s == "italic") {
            text.bold = false; text.italic = true;
        } else if (s == "bold-italic") {
            text.bold = true; text.italic = true;
        } else {
            throw OptionError("--font-style: expected regular, bold, italic or bold-italic, got " + quoted(s));
        }
    }
    if (o.textColour) text.colour = parseColourOption("--text-colour", *o.textColour);
    if (o.shadow) text.shadow = true;
    if (o.underline) text.underline = true;
    if (o.strikeOut) text.strikeOut = true;
}

}  // namespace gt
