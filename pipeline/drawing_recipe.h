// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the photo and the drawing the main window shows were made from the opened file, as the steps
// of graphitello-cli: the window keeps these recipes beside its pictures, and "Copy as command line"
// writes them out as one shell command that makes the same bytes.
//
//   graphitello-cli adjust OP ... --format bmp 'photo.jpg' - | graphitello-cli adjust ... --format bmp - -
//     | graphitello-cli render OPTIONS --format jpeg --metadata-from 'photo.jpg' - 'OUT'
//
// (one line, without the break).
//
// Pure text work, no Qt: the window hands in the paths and its texts.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pipeline/parameters.h"
#include "pipeline/source_commands.h"

namespace gt {

// One change that made the photo from the one before it.
struct RecipeStep {
    // The command's words after graphitello-cli, without its input and output
    // ({"adjust", "resize", "--size", "640x480"}); empty when no command makes the change.
    std::vector<std::string> command{};
    // When no command makes it: what the change was, as a key the window words in its language
    // ("Paste").
    std::string withoutCommand{};

    friend bool operator==(const RecipeStep&, const RecipeStep&) = default;
};

// The steps from the opened file to the photo, oldest first; empty for the file itself.
using SourceRecipe = std::vector<RecipeStep>;

// The steps of the source commands.
RecipeStep enhancementStep(std::string_view operation);  // soften, sharpen, saturation, brightness, contrast, simplify
RecipeStep resizeStep(int width, int height);
RecipeStep retouchStep(const RetouchSettings& settings);
RecipeStep stepWithoutCommand(std::string_view what);

// A rendering: the photo it read (by its recipe) and everything else it read.
struct DrawingRecipe {
    SourceRecipe source{};
    DrawingParameters parameters{};
    std::uint32_t seed = 0;  // the program-wide generator as the rendering started
    int drawingWidth = 0;    // the drawing pane's size the rendering read (it sizes the paint dabs)
    int drawingHeight = 0;
    int photoWidth = 0;      // the photo's size, which the command line takes when no pane size is given
    int photoHeight = 0;
};

// What the drawing pane shows, and how it was made.
struct DrawingOrigin {
    enum class Kind {
        Photo,           // a copy of the photo `recipe.source` makes: no rendering since
        Rendering,       // the rendering `recipe` describes
        WithoutCommand,  // something no command makes (`withoutCommand` says what)
    } kind = Kind::Photo;
    DrawingRecipe recipe{};
    std::string withoutCommand{};
};

// The recipe of the drawing taken as the new photo: the photo's own, the rendering chained after
// its photo's, or one step without a command.
SourceRecipe recipeOfDrawing(const DrawingOrigin& drawing);

// The render options that give this rendering back: the style, its sliders by name (and those it
// reads without showing by number), the texture, the frame, the text, the generator and the pane's
// size when they are not the command line's defaults.
std::vector<std::string> renderOptions(const DrawingRecipe& drawing);

// The step that takes a drawing as the new photo: a rendering chained like the source commands.
RecipeStep renderStep(const DrawingRecipe& drawing);

// A word for the shell: single-quoted unless it is made only of characters the shell leaves alone.
std::string shellWord(std::string_view word);
// A path for the shell: always single-quoted, so it reads the same whatever it holds.
std::string shellPath(std::string_view path);

// The first step that no command makes, or null.
const RecipeStep* firstStepWithoutCommand(const SourceRecipe& recipe);

// The output of a command line, as the window's save writes it.
struct CommandOutput {
    std::string path;
    std::string format;  // jpeg or png
};

// One command line: the source steps, each reading the previous one's lossless picture on its
// standard input, then the rendering into `output`, carrying the photo's camera data like the
// window's save. Every step must have its command (see firstStepWithoutCommand).
std::string drawingCommandLine(const std::string& photo, const DrawingRecipe& drawing, const CommandOutput& output);

}  // namespace gt
