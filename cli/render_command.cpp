// SPDX-License-Identifier: GPL-3.0-or-later
// graphitello-cli render [options] INPUT OUTPUT: one photo, one style, finishing pass included, as
// the program's rendering makes it.

#include <optional>
#include <string>
#include <utility>

#include "cli/arguments.h"
#include "cli/picture_options.h"
#include "cli/render_options.h"
#include "cli/rendering.h"
#include "cli/session.h"
#include "imaging/error.h"
#include "pipeline/render.h"

namespace gt::cli {

Bitmap renderPicture(Bitmap photo, const RenderSetup& setup, Session& session, const std::string& label) {
    RenderContext ctx = session.context(label);
    ctx.random.seed = setup.seed;
    ctx.DrawingWidth = setup.drawingWidth;
    ctx.DrawingHeight = setup.drawingHeight;
    GlyphRenderer* glyphs = setup.parameters.CheckBox4 ? &session.glyphs() : nullptr;
    RenderResult result = renderDrawing(std::move(photo), setup.parameters, session.resources(), ctx, glyphs);
    if (result.cancelled || session.cancelRequested()) throw Cancelled{};
    if (!result.rendered) throw Error("no style chosen");
    return std::move(result.drawing);
}

void printWarnings(const RenderSetup& setup, Session& session) {
    for (const std::string& w : setup.warnings) session.err << "graphitello-cli: warning: " << w << "\n";
}

int runRender(std::span<const std::string> args, Session& session) {
    CommandSpec spec;
    spec.name = "render";
    spec.usage = "[options] INPUT OUTPUT";
    spec.summary = "Draws one photo in one style, with the finishing pass (margin, frame, text), and writes it.\n"
                   "The output's format follows its extension or --format (JPEG at quality 90 by default).";
    spec.options = renderOptionSpecs();
    for (OptionSpec& o : pictureOptionSpecs(true)) spec.options.push_back(std::move(o));
    // A photo that comes through adjust steps on standard input has lost its camera data on the way.
    spec.options.push_back({"metadata-from", "FILE", "the camera data and resolution the output carries: FILE's, not INPUT's"});
    spec.minPositionals = spec.maxPositionals = 2;
    spec.details = renderOptionDetails() + pictureOptionDetails(true);
    const ParsedArgs parsed = parseArguments(spec, args);
    if (parsed.help) {
        session.out << helpText(spec);
        return kExitSuccess;
    }
    const std::string& input = parsed.positionals[0];
    const std::string& output = parsed.positionals[1];
    const PictureOptions pictures = pictureOptions(parsed);
    checkOutputName(output, pictures);
    const RenderSetup setup = renderSetup(parsed);
    printWarnings(setup, session);
    checkOutputPlace(output);

    std::optional<PictureMetadata> metadata;
    if (const auto from = parsed.value("metadata-from")) {
        if (*from == "-" && input == "-") throw UsageError("--metadata-from -: standard input is INPUT already");
        metadata = session.read(*from, pictures).metadata;
    }
    LoadedPicture photo = session.read(input, pictures);
    // The photo goes into the rendering, which draws on it: only its camera data is kept for the output.
    session.write(renderPicture(std::move(photo.bitmap), setup, session, styleCliName(static_cast<DrawingStyle>(setup.parameters.ComboBox1))),
                  output, pictures, metadata ? &*metadata : &photo.metadata);
    return kExitSuccess;
}

}  // namespace gt::cli
