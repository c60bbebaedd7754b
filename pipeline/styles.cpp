// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/styles.h"

#include <algorithm>
#include <charconv>

namespace gt {

namespace {

constexpr std::array<std::string_view, kSliderCount> kSliderNames = {"TrackBar1", "TrackBar2", "TrackBar5", "TrackBar3",
                                                                      "TrackBar4"};

// Slots 0..4 of the default rows: TrackBar1, TrackBar2, TrackBar5, TrackBar3, TrackBar4.
constexpr std::array<std::array<int, kSliderCount>, kStoredRows> kDefaultRows = {{
    {25, 100, 80, 160, 100},  // PencilDrawing
    {7, 127, 30, 127, 0},     // PencilDrawingGrey
    {10, 200, 20, 50, 50},    // PencilDrawingColour
    {30, 110, 90, 140, 0},    // InkDrawing
    {40, 230, 20, 150, 0},    // Painting1
    {35, 255, 30, 140, 0},    // Painting2
    {35, 5, 30, 140, 0},      // Painting3
    {5, 30, 60, 140, 0},      // Painting4
}};

// The English captions of the sliders each style shows, in slot order.
constexpr std::array<std::array<std::string_view, kSliderCount>, kStoredRows> kCaptions = {{
    {"Edge threshold", "Edge strength", "Colour strength", "Darken/Lighten", "Contrast level"},  // PencilDrawing
    {"Edge threshold", "Stroke strength", "Stroke length", "Darken/Lighten", ""},               // PencilDrawingGrey
    {"Edge threshold", "Stroke strength", "Stroke length", "Darken/Lighten", "Colour strength"},  // PencilDrawingColour
    {"Edge threshold", "Edge strength", "", "Darken/Lighten", ""},                              // InkDrawing
    {"Colour blending", "Edge strength", "Effect strength", "Darken/Lighten", ""},              // Painting1
    {"Colour blending", "Brush precision", "Effect strength", "Darken/Lighten", ""},            // Painting2
    {"Colour blending", "Brush size", "Effect strength", "Darken/Lighten", ""},                 // Painting3
    {"Effect strength", "Contrast", "Colour strength", "Darken/Lighten", ""},                   // Painting4
}};

constexpr std::array<std::array<bool, kSliderCount>, kStyleCount> kVisible = {{
    {true, true, true, true, true},       // PencilDrawing
    {true, true, true, true, false},      // PencilDrawingGrey
    {true, true, true, true, true},       // PencilDrawingColour
    {true, true, false, true, false},     // InkDrawing: no TrackBar5
    {true, true, true, true, false},      // Painting1
    {true, true, true, true, false},      // Painting2
    {true, true, true, true, false},      // Painting3
    {true, true, true, true, false},      // Painting4
    {false, false, false, false, false},  // FrameAndTextureOnly
}};

constexpr std::array<std::string_view, kStyleCount> kCliNames = {
    "pencil", "pencil-grey", "pencil-colour", "ink", "painting1", "painting2", "painting3", "painting4", "frame-only",
};

const StyleNames kFrenchNames = {
    "Dessin au crayon",
    "Dessin au crayon 2 (n&b)",
    "Dessin au crayon 3 (couleur)",
    "Dessin à l'encre",
    "Peinture 1 (filtre récursif)",
    "Peinture 2 (filtre bilatéral)",
    "Peinture 3 (filtre median + bilatéral)",
    "Peinture 4 (filtre médian récursif)",
    "Cadre et texture seulement",
};

const StyleNames kChineseNames = {
    "鉛筆素描",
    "鉛筆素描 2 (黑白)",
    "鉛筆素描 3 (彩色)",
    "鋼筆素描(&I)",
    "油畫 1 (遞迴濾鏡)",
    "油畫 2 (對稱濾鏡)",
    "油畫 3 (中間值 +對稱濾鏡)",
    "油畫 4 (遞迴中間值濾鏡)",
    "只有畫框與質材",
};

const StyleNames kEnglishNames = {
    "Pencil drawing",
    "Pencil drawing 2 (black and white)",
    "Pencil drawing 3 (colour)",
    "Ink drawing",
    "Painting 1 (recursive filter)",
    "Painting 2 (bilateral filter)",
    "Painting 3 (median + bilateral filter)",
    "Painting 4 (recursive median filter)",
    "Frame and texture only",
};

constexpr unsigned kTexture = kReadsCheckBox3 | kReadsComboBox2 | kReadsUpDown1;
constexpr unsigned kStrokes = kReadsTrackBar1 | kReadsTrackBar2 | kReadsTrackBar5 | kReadsTrackBar3;
constexpr unsigned kBilateral = kReadsComboBox1 | kStrokes | kReadsCheckBox2 | kTexture;
constexpr unsigned kNoFilter = kReadsCheckBox2 | kTexture;

constexpr std::array<unsigned, kStyleCount> kReads = {
    kStrokes | kReadsTrackBar4 | kReadsCheckBox2 | kTexture,  // PencilSketch
    kStrokes | kReadsCheckBox2 | kTexture,                    // SobelFilter
    kStrokes | kReadsTrackBar4 | kReadsCheckBox2 | kTexture,  // ColourSobel
    kReadsTrackBar1 | kReadsTrackBar2 | kReadsTrackBar3 | kReadsCheckBox2 | kTexture,  // PenAndInkSketch
    kStrokes | kTexture,                                       // RecursivePainting: its softening is not optional
    kBilateral,                                                // BilateralPainting
    kBilateral,                                                // median window TrackBar2 + 1, then BilateralPainting
    kReadsTrackBar5 | kReadsTrackBar3 | kReadsTrackBar1 | kReadsTrackBar2 | kNoFilter,  // its own steps, then NoFilter
    kNoFilter,
};

}  // namespace

std::string_view sliderName(int slot) {
    if (slot < 0 || slot >= kSliderCount) return {};
    return kSliderNames[static_cast<std::size_t>(slot)];
}

std::string_view sliderCaption(int style, int slot) {
    if (style < 0 || style >= kStoredRows || slot < 0 || slot >= kSliderCount) return {};
    return kCaptions[static_cast<std::size_t>(style)][static_cast<std::size_t>(slot)];
}

std::string sliderOptionName(std::string_view caption) {
    std::string name;
    for (const char c : caption) {
        if (c >= 'A' && c <= 'Z') name += static_cast<char>(c - 'A' + 'a');
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) name += c;
        else if (!name.empty() && name.back() != '-') name += '-';
    }
    while (!name.empty() && name.back() == '-') name.pop_back();
    return name;
}

int sliderSlotByOption(int style, std::string_view option) {
    for (int slot = 0; slot < kSliderCount; ++slot) {
        const std::string_view caption = sliderCaption(style, slot);
        if (!caption.empty() && sliderOptionName(caption) == option) return slot;
    }
    return -1;
}

std::vector<std::string> allSliderOptionNames() {
    std::vector<std::string> names;
    for (int style = 0; style < kStoredRows; ++style)
        for (int slot = 0; slot < kSliderCount; ++slot) {
            const std::string_view caption = sliderCaption(style, slot);
            if (caption.empty()) continue;
            std::string name = sliderOptionName(caption);
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
        }
    return names;
}

SliderRange sliderRange(int style, int slot) {
    if (style == styleIndex(DrawingStyle::Painting3) && slot == kSlotTrackBar2) return {1, 10, 1};
    if (style == styleIndex(DrawingStyle::Painting4) && slot == kSlotTrackBar1) return {0, 10, 1};
    if (slot == kSlotTrackBar5) return {0, 100, 5};
    return {0, 255, 5};
}

ParameterTable defaultParameterTable() {
    ParameterTable table{};
    for (std::size_t row = 0; row < kDefaultRows.size(); ++row)
        for (std::size_t slot = 0; slot < kSliderCount; ++slot) table[row][slot] = kDefaultRows[row][slot];
    return table;
}

std::array<bool, kSliderCount> sliderVisibility(int style) {
    if (style < 0 || style >= kStyleCount) return {};
    return kVisible[static_cast<std::size_t>(style)];
}

const StyleNames& styleNames(Language language) {
    switch (language) {
        case Language::French: return kFrenchNames;
        case Language::Chinese: return kChineseNames;
        case Language::English: break;
    }
    return kEnglishNames;
}

std::string styleCliName(DrawingStyle s) {
    const int i = styleIndex(s);
    if (i < 0 || i >= kStyleCount) return {};
    return std::string(kCliNames[static_cast<std::size_t>(i)]);
}

std::optional<DrawingStyle> styleFromCliName(std::string_view name) {
    for (int i = 0; i < kStyleCount; ++i)
        if (name == kCliNames[static_cast<std::size_t>(i)]) return static_cast<DrawingStyle>(i);
    int index = -1;
    const char* end = name.data() + name.size();
    auto [ptr, ec] = std::from_chars(name.data(), end, index);
    if (name.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return styleFromIndex(index);
}

unsigned controlsRead(DrawingStyle s) {
    const int i = styleIndex(s);
    if (i < 0 || i >= kStyleCount) return 0;
    return kReads[static_cast<std::size_t>(i)];
}

}  // namespace gt
