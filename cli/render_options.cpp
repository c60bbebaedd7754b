// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/render_options.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "imaging/error.h"
#include "pipeline/drawing_options.h"
#include "pipeline/parameter_file.h"
#include "pipeline/presets.h"
#include "pipeline/styles.h"

namespace gt::cli {

namespace {

constexpr const char* kNumbered[kSliderCount] = {"t1", "t2", "t5", "t3", "t4"};  // by slot

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

// Which slider a named option is, by style ("slider 3 (--t5) of pencil, painting4; slider 5 (--t4)
// of pencil-colour"), and what the numbered ones are called, both from the one table of captions.
std::string namedSliderHelp(const std::string& name) {
    std::string help;
    for (int slot = 0; slot < kSliderCount; ++slot) {
        std::string styles;
        for (int style = 0; style < kStyleCount; ++style)
            if (sliderSlotByOption(style, name) == slot)
                styles += (styles.empty() ? "" : ", ") + styleCliName(static_cast<DrawingStyle>(style));
        if (!styles.empty())
            help += (help.empty() ? "" : "; ") + ("slider " + std::to_string(slot + 1) + " (--" + kNumbered[slot] + ") of ") + styles;
    }
    return help;
}

std::string numberedSliderHelp(int slot) {
    std::vector<std::string> names;
    for (int style = 0; style < kStyleCount; ++style) {
        const std::string_view caption = sliderCaption(style, slot);
        if (caption.empty()) continue;
        std::string name = "--" + sliderOptionName(caption);
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
    }
    std::string help = std::string(sliderName(slot)) + ", the window's slider " + std::to_string(slot + 1) + ": ";
    for (std::size_t i = 0; i < names.size(); ++i) help += (i ? ", " : "") + names[i];
    return help;
}

// The slot a slider option sets for a style, -1 for other options.
int sliderSlotOf(int style, const std::string& name) {
    for (int slot = 0; slot < kSliderCount; ++slot)
        if (name == kNumbered[slot]) return slot;
    return sliderSlotByOption(style, name);
}

// The settings of a preset in place of the options given before --preset; those given after it
// override it. A style given after it starts from that style's own sliders.
OptionValues withPreset(const ParsedArgs& args, const OptionValues& given, const std::string& preset,
                        std::vector<std::string>& warnings) {
    PresetRead read;
    const bool isFile = preset.find('/') != std::string::npos || preset.ends_with(kPresetExtension);
    if (isFile) {
        read = readPresetFile(preset);
    } else {
        const std::optional<PresetEntry> entry = findPreset(preset, userPresetFolder());
        if (!entry) throw UsageError("--preset " + preset + ": no such preset (graphitello-cli presets lists them)");
        read = readPreset(*entry);
    }
    for (std::string& w : read.warnings) warnings.push_back(std::move(w));
    const std::size_t at = args.positions.at("preset");
    auto after = [&](const std::string& name) {
        const auto p = args.positions.find(name);
        return p != args.positions.end() && p->second > at;
    };
    OptionValues values;
    for (const auto& [name, value] : given)
        if (!after(name) && name != "preset" && !isDrawingOption(name)) values[name] = value;
    const bool styleAfter = after("style");
    OptionValues later;
    for (const auto& [name, value] : given)
        if (after(name)) later[name] = value;
    const std::string styleName = styleAfter ? later["style"] : read.values.count("style") ? read.values.at("style") : "pencil";
    const std::optional<DrawingStyle> style = styleFromCliName(styleName);
    const int index = style ? styleIndex(*style) : 0;
    for (const auto& [name, value] : read.values) {
        const std::vector<std::string> named = allSliderOptionNames();
        if (std::find(named.begin(), named.end(), name) != named.end() || (name.size() == 2 && name[0] == 't')) {
            if (styleAfter) continue;
            const int slot = sliderSlotOf(index, name);
            bool overridden = false;
            for (const auto& [laterName, laterValue] : later) overridden |= sliderSlotOf(index, laterName) == slot;
            if (overridden) continue;
        }
        values[name] = value;
    }
    for (auto& [name, value] : later) values[name] = value;
    return values;
}

}  // namespace

std::vector<OptionSpec> renderOptionSpecs() {
    std::vector<OptionSpec> specs = {
        {"style", "N|NAME", "the drawing style, by number 0..8 or name (default pencil)"},
        {"preset", "NAME|FILE", "start from a preset: its settings replace the options given before it, those after it win"},
        {"params", "FILE.gtl", "the sliders from a parameter file"},
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
        {"underline", "", "the text underlined"},
        {"strike-out", "", "the text struck out"},
    };
    // The sliders by the names the window gives them, then by the controls' numbers, after --params.
    std::size_t at = 3;
    for (const std::string& name : allSliderOptionNames())
        specs.insert(specs.begin() + std::ptrdiff_t(at++), OptionSpec{name, "N", namedSliderHelp(name)});
    for (const char* numbered : {"t1", "t2", "t3", "t4", "t5"})
        for (int slot = 0; slot < kSliderCount; ++slot)
            if (std::string(kNumbered[slot]) == numbered)
                specs.insert(specs.begin() + std::ptrdiff_t(at++), OptionSpec{numbered, "N", numberedSliderHelp(slot)});
    return specs;
}

std::string renderOptionDetails() {
    std::string text = "Styles: " + styleList() + ".\n";
    text += "A style's sliders go by the names the window shows (--edge-threshold) or by the controls'\n"
            "numbers (--t1 .. --t5, which do not follow the window's order: --t5 is slider 3 and --t3\n"
            "slider 4). A named slider the style does not show is refused; a numbered one it does not\n"
            "read is taken with a warning. graphitello-cli styles lists each style's sliders in the\n"
            "window's order with both names, their ranges and defaults.\n";
    return text;
}

RenderSetup renderSetup(const ParsedArgs& args) {
    RenderSetup setup;
    OptionValues values(args.values.begin(), args.values.end());
    for (const char* flag : {"shadow", "underline", "strike-out"})
        if (args.flag(flag)) values[flag] = "on";
    if (const auto preset = args.value("preset")) values = withPreset(args, values, *preset, setup.warnings);
    DrawingOptionsRead read;
    try {
        read = readDrawingOptions(values);
    } catch (const OptionError& e) {
        throw UsageError(e.what());
    }
    setup.parameters = read.parameters;
    setup.warnings = read.warnings;
    DrawingParameters& p = setup.parameters;
    if (const auto seed = args.value("seed")) setup.seed = parseSeed(*seed);
    if (const auto size = args.value("drawing-size")) {
        const Size s = parseSize("drawing-size", *size);
        if (s.width < 1 || s.height < 1 || s.width > kMaxWidth || s.height > kMaxWidth)
            throw UsageError("--drawing-size " + *size + ": each side must be 1.." + std::to_string(kMaxWidth));
        setup.drawingWidth = s.width;
        setup.drawingHeight = s.height;
    }
    if (const auto file = args.value("params")) loadParameters(*file, setup);
    applySliders(read, p);
    checkParameters(p);
    return setup;
}

}  // namespace gt::cli
