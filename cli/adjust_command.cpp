// SPDX-License-Identifier: GPL-3.0-or-later
// graphitello-cli adjust OP [options] INPUT OUTPUT: the main window's source-image commands, each
// running the same composition as its menu entry (pipeline/source_commands.h).

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/session.h"
#include "imaging/error.h"
#include "imaging/io/picture_io.h"
#include "pipeline/source_commands.h"

namespace gt::cli {

namespace {

// Changes the picture; false when Ctrl-C stopped it (the picture is then thrown away).
using Adjustment = std::function<bool(Bitmap& picture, RenderContext& ctx)>;

struct AdjustOp {
    std::string name;
    std::string summary;
    std::vector<OptionSpec> options;
    // Checks the options and returns the work to do; throws UsageError.
    std::function<Adjustment(const ParsedArgs&)> prepare;
};

Adjustment fixed(std::function<void(Bitmap&)> f) {
    return [f](Bitmap& b, RenderContext&) {
        f(b);
        return true;
    };
}

Adjustment resizeTo(const ParsedArgs& args) {
    const std::optional<std::string> text = args.value("size");
    if (!text) throw UsageError("resize needs --size WIDTHxHEIGHT");
    const Size size = parseSize("size", *text);
    // The window ignores such a size; a script is better told.
    if (size.width <= 1 || size.height <= 1)
        throw UsageError("--size " + *text + ": each side must be at least 2 pixels");
    try {
        checkPictureSize(size.width, size.height, PictureLimits{}, "--size " + *text);
    } catch (const Error& e) {
        throw UsageError(e.what());
    }
    return fixed([size](Bitmap& b) { b = ResizedPicture(b, size.width, size.height); });
}

// The retouch window's chain on the whole picture, in its order.
Adjustment retouch(const ParsedArgs& args) {
    auto option = [&](const char* name, int min, int max) {
        const auto v = args.value(name);
        return v ? parseInt(name, *v, min, max) : 0;
    };
    RetouchSettings s;
    s.TrackBar1 = option("brightness", -100, 100);
    s.TrackBar2 = option("contrast", -100, 100);
    s.TrackBar3 = option("saturation", -100, 100);
    s.TrackBar4 = option("sharpness", -5, 5);
    s.TrackBar5 = option("simplify", 0, 9);
    return [s](Bitmap& t, RenderContext& ctx) { return RetouchPicture(t, s, ctx); };
}

const std::vector<AdjustOp>& adjustOps() {
    static const std::vector<AdjustOp> ops = {
        {"soften", "soften the picture once", {}, [](const ParsedArgs&) { return fixed(SoftenPicture); }},
        {"sharpen", "sharpen the picture twice", {}, [](const ParsedArgs&) { return fixed(SharpenPicture); }},
        {"saturation", "increase the colour saturation by 10 %, twice", {},
         [](const ParsedArgs&) -> Adjustment { return SaturatePicture; }},
        {"brightness", "increase the brightness by 5 %", {}, [](const ParsedArgs&) { return fixed(BrightenPicture); }},
        {"contrast", "increase the contrast by 30 % against the local and global means", {},
         [](const ParsedArgs&) -> Adjustment { return ContrastPicture; }},
        {"old-contrast", "increase the contrast by 10 % around the middle grey (127)", {},
         [](const ParsedArgs&) { return fixed(OldContrastPicture); }},
        {"simplify", "simplify the picture: blur, 5 x 5 median, sharpen", {}, [](const ParsedArgs&) -> Adjustment { return SimplifyPicture; }},
        {"resize", "resample the picture to a new size (bilinear)",
         {{"size", "WxH", "the new width and height in pixels, each at least 2 (required)"}}, resizeTo},
        {"retouch", "the retouch window's adjustments, applied to the whole picture",
         {{"brightness", "B", "-100..100 (default 0)"},
          {"contrast", "C", "-100..100; below 0 around the middle grey, above against the local means (default 0)"},
          {"saturation", "S", "-100..100 (default 0)"},
          {"sharpness", "N", "-5..5: sharpen N times, or soften (-4 and -5 blur harder) (default 0)"},
          {"simplify", "M", "0..9: a median filter of window M + 2 first (default 0)"}},
         retouch},
    };
    return ops;
}

CommandSpec opSpec(const AdjustOp& op) {
    CommandSpec spec;
    spec.name = "adjust " + op.name;
    spec.usage = "[options] INPUT OUTPUT";
    spec.summary = "Adjust: " + op.summary + ".";
    spec.options = op.options;
    for (OptionSpec& o : pictureOptionSpecs(true)) spec.options.push_back(std::move(o));
    spec.minPositionals = spec.maxPositionals = 2;
    spec.details = pictureOptionDetails(true);
    return spec;
}

std::string opNames() {
    std::string names;
    for (const AdjustOp& op : adjustOps()) names += (names.empty() ? "" : ", ") + op.name;
    return names;
}

std::string adjustHelp() {
    std::ostringstream out;
    out << "Usage: graphitello-cli adjust OP [options] INPUT OUTPUT\n\n"
           "Applies one of the source-image commands to a picture and writes the result.\n\nOperations:\n";
    std::size_t width = 0;
    for (const AdjustOp& op : adjustOps()) width = std::max(width, op.name.size());
    for (const AdjustOp& op : adjustOps())
        out << "  " << op.name << std::string(width - op.name.size() + 2, ' ') << op.summary << "\n";
    out << "\nThe output's format follows its extension (.jpg .jpeg .png .bmp .tif .tiff .webp) or --format;\n"
           "INPUT and OUTPUT may be - for standard input and output.\n"
           "graphitello-cli adjust OP --help shows the options of one operation.\n";
    return out.str();
}

}  // namespace

bool isAdjustOp(const std::string& name) {
    for (const AdjustOp& op : adjustOps())
        if (op.name == name) return true;
    return false;
}

int runAdjust(std::span<const std::string> args, Session& session) {
    if (args.empty()) throw UsageError("adjust needs an operation (one of " + opNames() + ")");
    if (args[0] == "--help" || args[0] == "-h") {
        session.out << adjustHelp();
        return kExitSuccess;
    }
    const AdjustOp* op = nullptr;
    for (const AdjustOp& candidate : adjustOps())
        if (candidate.name == args[0]) op = &candidate;
    if (!op) throw UsageError("unknown operation \"" + args[0] + "\" (one of " + opNames() + ")");

    const CommandSpec spec = opSpec(*op);
    const ParsedArgs parsed = parseArguments(spec, args.subspan(1));
    if (parsed.help) {
        session.out << helpText(spec);
        return kExitSuccess;
    }
    const Adjustment adjust = op->prepare(parsed);
    const std::string& input = parsed.positionals[0];
    const std::string& output = parsed.positionals[1];
    const PictureOptions pictures = pictureOptions(parsed);
    checkOutputName(output, pictures);
    checkOutputPlace(output);

    LoadedPicture loaded = session.read(input, pictures);
    Bitmap& picture = loaded.bitmap;
    RenderContext ctx = session.context(op->name);
    if (!adjust(picture, ctx)) throw Cancelled{};
    session.write(picture, output, pictures, &loaded.metadata);
    return kExitSuccess;
}

}  // namespace gt::cli
