// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/drawing_options.h"

#include <charconv>
#include <cstdio>

namespace gt {

namespace {

constexpr const char* kNumbered[kSliderCount] = {"t1", "t2", "t5", "t3", "t4"};  // by slot
constexpr unsigned kSlotBits[kSliderCount] = {kReadsTrackBar1, kReadsTrackBar2, kReadsTrackBar5, kReadsTrackBar3,
                                              kReadsTrackBar4};

constexpr const char* kOtherOptions[] = {"style", "soften", "texture", "strength", "frame", "margin", "frame-number", "fill",
                                         "line", "tint", "text", "text-position", "text-at", "font", "font-size",
                                         "font-style", "text-colour", "shadow", "underline",
                                         "strike-out"};

std::string styleList() {
    std::string names;
    for (int i = 0; i < kStyleCount; ++i) names += (i ? ", " : "") + styleCliName(static_cast<DrawingStyle>(i));
    return names;
}

std::optional<std::string> valueOf(const OptionValues& values, std::string_view name) {
    const auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

int wholeNumber(std::string_view option, const std::string& value, int min, int max) {
    int v = 0;
    const char* end = value.data() + value.size();
    const auto [ptr, ec] = std::from_chars(value.data() + (value.size() > 1 && value[0] == '+' ? 1 : 0), end, v);
    if (value.empty() || ec != std::errc() || ptr != end)
        throw OptionError("--" + std::string(option) + " " + value + ": not a whole number");
    if (v < min || v > max)
        throw OptionError("--" + std::string(option) + " " + value + ": out of range " + std::to_string(min) + ".." +
                          std::to_string(max));
    return v;
}

bool onOff(std::string_view option, const std::string& value) {
    if (value == "on") return true;
    if (value == "off") return false;
    throw OptionError("--" + std::string(option) + " " + value + ": expected on or off");
}

std::string styleSliderList(int style) {
    std::string list;
    for (int slot = 0; slot < kSliderCount; ++slot) {
        const std::string_view caption = sliderCaption(style, slot);
        if (!caption.empty()) list += (list.empty() ? "--" : ", --") + sliderOptionName(caption);
    }
    return list.empty() ? "it has none" : "its sliders are " + list;
}

// One slider value, checked against the chosen style's range.
int sliderOption(std::string_view option, const std::string& text, int style, int slot) {
    const int v = wholeNumber(option, text, -(1 << 30), 1 << 30);
    try {
        checkSlider(style, slot, v);
    } catch (const Error& e) {
        throw OptionError("--" + std::string(option) + ": " + e.what());
    }
    return v;
}

std::string hexColour(Colour c) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", unsigned(c.r), unsigned(c.g), unsigned(c.b));
    return text;
}

}  // namespace

bool isDrawingOption(std::string_view name) {
    for (const char* n : kNumbered)
        if (name == n) return true;
    for (const char* n : kOtherOptions)
        if (name == n) return true;
    for (const std::string& n : allSliderOptionNames())
        if (name == n) return true;
    return false;
}

DrawingOptionsRead readDrawingOptions(const OptionValues& values) {
    DrawingOptionsRead read;
    DrawingStyle style = DrawingStyle::PencilDrawing;
    if (const auto name = valueOf(values, "style")) {
        const std::optional<DrawingStyle> s = styleFromCliName(*name);
        if (!s) throw OptionError("--style " + *name + ": no such style (0..8, or one of " + styleList() + ")");
        style = *s;
    }
    DrawingParameters& p = read.parameters;
    p = defaultParameters(style);
    const int index = styleIndex(style);

    // The numbered sliders are the controls' own numbers, whatever the style shows.
    std::array<const char*, kSliderCount> givenAs{};
    for (int slot = 0; slot < kSliderCount; ++slot) {
        const auto value = valueOf(values, kNumbered[slot]);
        if (!value) continue;
        read.sliders[std::size_t(slot)] = sliderOption(kNumbered[slot], *value, index, slot);
        givenAs[std::size_t(slot)] = kNumbered[slot];
        if (!(controlsRead(style) & kSlotBits[slot]))
            read.warnings.push_back("--" + std::string(kNumbered[slot]) + ": style " + styleCliName(style) + " does not read it");
    }
    // The named sliders exist only for the styles that show them.
    for (const std::string& name : allSliderOptionNames()) {
        const auto value = valueOf(values, name);
        if (!value) continue;
        const int slot = sliderSlotByOption(index, name);
        if (slot < 0)
            throw OptionError("--" + name + ": style " + styleCliName(style) + " has no such slider (" + styleSliderList(index) + ")");
        const int v = sliderOption(name, *value, index, slot);
        const auto& twin = read.sliders[std::size_t(slot)];
        if (twin && *twin != v)
            throw OptionError("--" + name + " and --" + givenAs[std::size_t(slot)] + " are the same slider; give one of them");
        read.sliders[std::size_t(slot)] = v;
    }

    if (const auto soften = valueOf(values, "soften")) p.CheckBox2 = onOff("soften", *soften);
    if (const auto texture = valueOf(values, "texture")) {
        p.CheckBox3 = *texture != "off";
        if (p.CheckBox3) p.UpDown1 = wholeNumber("texture", *texture, 1, 10) - 1;
    }
    if (const auto strength = valueOf(values, "strength")) {
        if (*strength == "light") p.ComboBox2 = 0;
        else if (*strength == "normal") p.ComboBox2 = 1;
        else if (*strength == "strong") p.ComboBox2 = 2;
        else throw OptionError("--strength " + *strength + ": expected light, normal or strong");
    }

    FinishingOptionValues finishing;
    finishing.frame = valueOf(values, "frame");
    finishing.margin = valueOf(values, "margin");
    finishing.frameNumber = valueOf(values, "frame-number");
    finishing.fill = valueOf(values, "fill");
    finishing.line = valueOf(values, "line");
    finishing.tint = valueOf(values, "tint");
    finishing.text = valueOf(values, "text");
    finishing.textPosition = valueOf(values, "text-position");
    finishing.textAt = valueOf(values, "text-at");
    finishing.font = valueOf(values, "font");
    finishing.fontSize = valueOf(values, "font-size");
    finishing.fontStyle = valueOf(values, "font-style");
    finishing.textColour = valueOf(values, "text-colour");
    if (const auto shadow = valueOf(values, "shadow")) finishing.shadow = onOff("shadow", *shadow);
    if (const auto underline = valueOf(values, "underline")) finishing.underline = onOff("underline", *underline);
    if (const auto strikeOut = valueOf(values, "strike-out")) finishing.strikeOut = onOff("strike-out", *strikeOut);
    applyFinishingOptions(finishing, p);
    return read;
}

void applySliders(const DrawingOptionsRead& read, DrawingControls& controls) {
    for (int slot = 0; slot < kSliderCount; ++slot)
        if (read.sliders[std::size_t(slot)]) setSliderValue(controls, slot, *read.sliders[std::size_t(slot)]);
}

std::vector<std::pair<std::string, std::string>> drawingOptionsOf(const DrawingParameters& p) {
    std::vector<std::pair<std::string, std::string>> o;
    const int style = p.ComboBox1;
    o.emplace_back("style", styleCliName(static_cast<DrawingStyle>(style)));
    for (int slot = 0; slot < kSliderCount; ++slot) {
        const std::string_view caption = sliderCaption(style, slot);
        if (!caption.empty()) o.emplace_back(sliderOptionName(caption), std::to_string(sliderValue(p, slot)));
    }
    static constexpr const char* kStrengths[] = {"light", "normal", "strong"};
    o.emplace_back("soften", p.CheckBox2 ? "on" : "off");
    o.emplace_back("texture", p.CheckBox3 ? std::to_string(p.UpDown1 + 1) : "off");
    o.emplace_back("strength", kStrengths[p.ComboBox2 >= 0 && p.ComboBox2 <= 2 ? p.ComboBox2 : 1]);

    static constexpr const char* kFrames[] = {"simple", "lined", "realistic", "coloured"};
    const FrameSettings& f = p.frame;
    o.emplace_back("frame", p.CheckBox1 && f.style >= 0 && f.style <= 3 ? kFrames[f.style] : "none");
    o.emplace_back("margin", std::to_string(f.margin));
    if (p.CheckBox1 && f.style == kFrameRealistic) o.emplace_back("frame-number", std::to_string(f.realisticNumber));
    if (p.CheckBox1 && f.style == kFrameColoured) o.emplace_back("frame-number", std::to_string(f.colouredNumber));
    o.emplace_back("fill", hexColour(f.FillColour));
    o.emplace_back("line", hexColour(f.LineColour));
    o.emplace_back("tint", std::to_string(f.tintRed) + "," + std::to_string(f.tintGreen) + "," + std::to_string(f.tintBlue));

    if (!p.CheckBox4) return o;
    const TextSettings& t = p.text;
    o.emplace_back("text", t.text);
    if (t.position == kPlaceCustom) o.emplace_back("text-at", std::to_string(t.x) + "," + std::to_string(t.y));
    else o.emplace_back("text-position", std::to_string(t.position));
    o.emplace_back("font", t.fontFamily);
    o.emplace_back("font-size", std::to_string(t.fontSize));
    o.emplace_back("font-style", t.bold && t.italic ? "bold-italic" : t.bold ? "bold" : t.italic ? "italic" : "regular");
    o.emplace_back("text-colour", hexColour(t.colour));
    o.emplace_back("shadow", t.shadow ? "on" : "off");
    // Said only when on, so that files written before these existed read the same.
    if (t.underline) o.emplace_back("underline", "on");
    if (t.strikeOut) o.emplace_back("strike-out", "on");
    return o;
}

}  // namespace gt
