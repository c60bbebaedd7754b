// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/render_options.h"

#include <charconv>
#include <optional>

#include "imaging/error.h"
#include "pipeline/finishing_options.h"
#include "pipeline/parameter_file.h"
#include "pipeline/styles.h"

namespace gt::cli {

namespace {

struct SliderOption {
    const char* name;
    int slot;
    unsigned readBit;
};

constexpr SliderOption kSliders[] = {
    {"t1", kSlotTrackBar1, kReadsTrackBar1}, {"t2", kSlotTrackBar2, kReadsTrackBar2}, {"t3", kSlotTrackBar3, kReadsTrackBar3},
    {"t4", kSlotTrackBar4, kReadsTrackBar4}, {"t5", kSlotTrackBar5, kReadsTrackBar5},
};

std::string styleList() {
    std::string names;
    for (int i = 0; i < kStyleCount; ++i) names += (i ? ", " : "") + styleCliName(static_cast<DrawingStyle>(i));
    return names;
}

std::uint32_t parseSeed(const std::string& value) {
    std::uint32_t v = 0;
    const char* end = value.data() + value.size();
    const auto [ptr, ec] = std::from_chars(value.data(), end, v);
    if (value.empty() || ec != std::errc() || ptr != end)
        throw UsageError("--seed " + value + ": expected a whole number from 0 to 4294967295");
    return v;
}

bool parseOnOff(const std::string& option, const std::string& value) {
    if (value == "on") return true;
    if (value == "off") return false;
    throw UsageError("--" + option + " " + value + ": expected on or off");
}

// The table row of the style from a parameter file, as the window's load command leaves it.
void loadParameters(const std::string& path, RenderSetup& setup) {
    ParameterTable table = defaultParameterTable();
    StyleNames names = styleNames(Language::French);
    ParameterFileLoad load;
    try {
        load = loadParameterFile(path, Language::French, table, names);
    } catch (const ParameterFileNotFound&) {
        throw Error(path + ": no such file");
    }
    if (!load.warning.empty()) setup.warnings.push_back(path + ": " + load.warning);
    for (const std::string& line : load.clamped) setup.warnings.push_back(path + ", " + line);
    loadSlidersFromTable(setup.parameters, table);
}

}  // namespace

std::vector<OptionSpec> renderOptionSpecs() {
    return {
        {"style", "N|NAME", "the drawing style, by number 0..8 or name (default pencil)"},
        {"params", "FILE.gtl", "the sliders from a parameter file"},
        {"t1", "N", "TrackBar1 of the style"},
        {"t2", "N", "TrackBar2 of the style"},
        {"t3", "N", "TrackBar3 of the style"},
        {"t4", "N", "TrackBar4 of the style"},
        {"t5", "N", "TrackBar5 of the style"},
        {"soften", "on|off", "soften the edges (default on)"},
        {"texture", "1..10|off", "the paper texture (default 1)"},
        {"strength", "light|normal|strong", "the texture's strength (default normal)"},
        {"seed", "N", "the random generator's state at the start (default 0)"},
        {"drawing-size", "WxH", "the drawing pane's size, which sizes the paint dabs (default: the photo's)"},
        {"frame", "none|simple|lined|realistic|coloured", "the frame (default realistic)"},
        {"margin", "M", "the frame's margin in pixels, 0..1000 (default 150)"},
        {"frame-number", "N", "the frame picture: 1..7 realistic, 1..5 coloured (default 1)"},
        {"fill", "RRGGBB", "the margin's colour (default FCFBF2)"},
        {"line", "RRGGBB", "the colour of the lined frame's line (default 000000)"},
        {"tint", "R,G,B", "shifts of the coloured frame's colours, -255..255 each (default 0,0,0)"},
        {"text", "TEXT", "write this text on the drawing"},
        {"text-position", "1..9", "where: 1 top left .. 9 bottom right (default 9)"},
        {"text-at", "X,Y", "or exactly where, in pixels"},
        {"font", "FAMILY", "the text's font (default Tahoma, or the closest present)"},
        {"font-size", "N", "in points (default 15)"},
        {"font-style", "regular|bold|italic|bold-italic", "(default regular)"},
        {"text-colour", "RRGGBB", "(default FFFFFF)"},
        {"shadow", "", "a black shadow under the text"},
    };
}

std::string renderOptionDetails() {
    std::string text = "Styles: " + styleList() + ".\n";
    text += "graphitello-cli styles lists them with the ranges and defaults of their sliders.\n";
    return text;
}

RenderSetup renderSetup(const ParsedArgs& args) {
    RenderSetup setup;
    DrawingStyle style = DrawingStyle::PencilDrawing;
    if (const auto name = args.value("style")) {
        const std::optional<DrawingStyle> s = styleFromCliName(*name);
        if (!s) throw UsageError("--style " + *name + ": no such style (0..8, or one of " + styleList() + ")");
        style = *s;
    }
    DrawingParameters& p = setup.parameters;
    p = defaultParameters(style);
    const int index = styleIndex(style);

    // Checked in full before the parameter file is read, so a typing error is reported first.
    std::optional<int> sliders[std::size(kSliders)];
    for (std::size_t i = 0; i < std::size(kSliders); ++i) {
        const auto value = args.value(kSliders[i].name);
        if (!value) continue;
        const int v = parseInt(kSliders[i].name, *value, -(1 << 30), 1 << 30);
        try {
            checkSlider(index, kSliders[i].slot, v);
        } catch (const Error& e) {
            throw UsageError("--" + std::string(kSliders[i].name) + ": " + e.what());
        }
        if (!(controlsRead(style) & kSliders[i].readBit))
            setup.warnings.push_back("--" + std::string(kSliders[i].name) + ": style " + styleCliName(style) + " does not read it");
        sliders[i] = v;
    }
    if (const auto soften = args.value("soften")) p.CheckBox2 = parseOnOff("soften", *soften);
    if (const auto texture = args.value("texture")) {
        p.CheckBox3 = *texture != "off";
        if (p.CheckBox3) p.UpDown1 = parseInt("texture", *texture, 1, 10) - 1;
    }
    if (const auto strength = args.value("strength")) {
        if (*strength == "light") p.ComboBox2 = 0;
        else if (*strength == "normal") p.ComboBox2 = 1;
        else if (*strength == "strong") p.ComboBox2 = 2;
        else throw UsageError("--strength " + *strength + ": expected light, normal or strong");
    }
    if (const auto seed = args.value("seed")) setup.seed = parseSeed(*seed);
    if (const auto size = args.value("drawing-size")) {
        const Size s = parseSize("drawing-size", *size);
        if (s.width < 1 || s.height < 1 || s.width > kMaxWidth || s.height > kMaxWidth)
            throw UsageError("--drawing-size " + *size + ": each side must be 1.." + std::to_string(kMaxWidth));
        setup.drawingWidth = s.width;
        setup.drawingHeight = s.height;
    }

    FinishingOptionValues finishing;
    finishing.frame = args.value("frame");
    finishing.margin = args.value("margin");
    finishing.frameNumber = args.value("frame-number");
    finishing.fill = args.value("fill");
    finishing.line = args.value("line");
    finishing.tint = args.value("tint");
    finishing.text = args.value("text");
    finishing.textPosition = args.value("text-position");
    finishing.textAt = args.value("text-at");
    finishing.font = args.value("font");
    finishing.fontSize = args.value("font-size");
    finishing.fontStyle = args.value("font-style");
    finishing.textColour = args.value("text-colour");
    finishing.shadow = args.flag("shadow");
    try {
        applyFinishingOptions(finishing, p);
    } catch (const OptionError& e) {
        throw UsageError(e.what());
    }

    if (const auto file = args.value("params")) loadParameters(*file, setup);
    for (std::size_t i = 0; i < std::size(kSliders); ++i)
        if (sliders[i]) setSliderValue(p, kSliders[i].slot, *sliders[i]);
    checkParameters(p);
    return setup;
}

}  // namespace gt::cli
