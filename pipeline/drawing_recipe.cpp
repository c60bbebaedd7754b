// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/drawing_recipe.h"

#include <array>

#include "pipeline/drawing_options.h"

namespace gt {

namespace {

// The numbered slider options and the control each slot is, by slot.
constexpr std::array<const char*, kSliderCount> kNumbered = {"t1", "t2", "t5", "t3", "t4"};
constexpr std::array<unsigned, kSliderCount> kSlotBits = {kReadsTrackBar1, kReadsTrackBar2, kReadsTrackBar5, kReadsTrackBar3,
                                                          kReadsTrackBar4};

// The lossless picture the steps hand on.
constexpr const char* kBetweenSteps = "bmp";

std::string commandText(const std::vector<std::string>& words) {
    // Built by appending: GCC 12 sees a false overlap in the concatenated form.
    std::string text;
    for (const std::string& w : words) {
        if (!text.empty()) text += ' ';
        text += shellWord(w);
    }
    return text;
}

}  // namespace

RecipeStep enhancementStep(std::string_view operation) { return RecipeStep{{"adjust", std::string(operation)}, {}}; }

RecipeStep resizeStep(int width, int height) {
    return RecipeStep{{"adjust", "resize", "--size", std::to_string(width) + "x" + std::to_string(height)}, {}};
}

RecipeStep retouchStep(const RetouchSettings& s) {
    RecipeStep step{{"adjust", "retouch"}, {}};
    // The command line's defaults are the window's middle positions: only the moved sliders are said.
    const std::pair<const char*, int> options[] = {{"--brightness", s.TrackBar1}, {"--contrast", s.TrackBar2},
                                                   {"--saturation", s.TrackBar3}, {"--sharpness", s.TrackBar4},
                                                   {"--simplify", s.TrackBar5}};
    for (const auto& [name, value] : options)
        if (value != 0) {
            step.command.emplace_back(name);
            step.command.push_back(std::to_string(value));
        }
    return step;
}

RecipeStep stepWithoutCommand(std::string_view what) { return RecipeStep{{}, std::string(what)}; }

std::vector<std::string> renderOptions(const DrawingRecipe& drawing) {
    const DrawingParameters& p = drawing.parameters;
    std::vector<std::string> words;
    for (const auto& [name, value] : drawingOptionsOf(p)) {
        if (name == "shadow" || name == "underline" || name == "strike-out") {
            if (value == "on") words.push_back("--" + name);  // switches on the command line
            continue;
        }
        words.push_back("--" + name);
        words.push_back(value);
    }
    // A style may read a slider it does not show; the window's value of it is given by number.
    const unsigned reads = controlsRead(static_cast<DrawingStyle>(p.ComboBox1));
    for (int slot = 0; slot < kSliderCount; ++slot)
        if ((reads & kSlotBits[std::size_t(slot)]) && sliderCaption(p.ComboBox1, slot).empty()) {
            words.push_back(std::string("--") + kNumbered[std::size_t(slot)]);
            words.push_back(std::to_string(sliderValue(p, slot)));
        }
    if (drawing.seed != 0) {
        words.emplace_back("--seed");
        words.push_back(std::to_string(drawing.seed));
    }
    const bool paneIsPhoto = (drawing.drawingWidth <= 0 || drawing.drawingHeight <= 0) ||
                             (drawing.drawingWidth == drawing.photoWidth && drawing.drawingHeight == drawing.photoHeight);
    if (!paneIsPhoto) {
        words.emplace_back("--drawing-size");
        words.push_back(std::to_string(drawing.drawingWidth) + "x" + std::to_string(drawing.drawingHeight));
    }
    return words;
}

RecipeStep renderStep(const DrawingRecipe& drawing) {
    RecipeStep step{{"render"}, {}};
    for (std::string& w : renderOptions(drawing)) step.command.push_back(std::move(w));
    return step;
}

SourceRecipe recipeOfDrawing(const DrawingOrigin& drawing) {
    switch (drawing.kind) {
        case DrawingOrigin::Kind::Photo: return drawing.recipe.source;
        case DrawingOrigin::Kind::Rendering: {
            SourceRecipe recipe = drawing.recipe.source;
            recipe.push_back(renderStep(drawing.recipe));
            return recipe;
        }
        case DrawingOrigin::Kind::WithoutCommand: break;
    }
    return {stepWithoutCommand(drawing.withoutCommand)};
}

std::string shellWord(std::string_view word) {
    static constexpr std::string_view kPlain =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_./,:=+@%";
    if (!word.empty() && word.find_first_not_of(kPlain) == std::string_view::npos) return std::string(word);
    return shellPath(word);
}

std::string shellPath(std::string_view word) {
    // Inside single quotes nothing is special but the quote itself, which closes, is escaped and reopens.
    std::string quoted = "'";
    for (const char c : word) {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    return quoted + "'";
}

const RecipeStep* firstStepWithoutCommand(const SourceRecipe& recipe) {
    for (const RecipeStep& step : recipe)
        if (step.command.empty()) return &step;
    return nullptr;
}

std::string drawingCommandLine(const std::string& photo, const DrawingRecipe& drawing, const CommandOutput& output) {
    std::string text;
    std::string input = photo;
    for (const RecipeStep& step : drawing.source) {
        std::vector<std::string> words = {"graphitello-cli"};
        words.insert(words.end(), step.command.begin(), step.command.end());
        for (const char* w : {"--format", kBetweenSteps}) words.emplace_back(w);
        text += commandText(words) + " " + (input == "-" ? "-" : shellPath(input)) + " - | ";
        input = "-";
    }
    std::vector<std::string> words = {"graphitello-cli", "render"};
    for (std::string& w : renderOptions(drawing)) words.push_back(std::move(w));
    // A picture between the steps carries no camera data; the output takes the photo's, as the save does.
    const std::string metadataFrom = drawing.source.empty() ? std::string() : " --metadata-from " + shellPath(photo);
    for (const std::string& w : {std::string("--format"), output.format}) words.push_back(w);
    text += commandText(words) + metadataFrom + " " + (input == "-" ? "-" : shellPath(input)) + " " + shellPath(output.path);
    return text;
}

}  // namespace gt
