// graphitello-cli adjust OP [options] INPUT OUTPUT: the main window's source-image commands, each
// running the same routines with the same values as its menu entry.

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/session.h"
#include "imaging/adjust.h"
#include "imaging/error.h"
#include "imaging/filters.h"
#include "imaging/io/picture_io.h"
#include "imaging/median.h"

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
    return fixed([size](Bitmap& b) {
        Bitmap resized(size.width, size.height);
        ResizeBilinear(b, resized);
        b = std::move(resized);
    });
}

// Blur twice, take the median of the original through a 5 x 5 window into the blurred copy, then
// sharpen twice; a cancelled median leaves the picture as it was.
bool simplify(Bitmap& picture, RenderContext& ctx) {
    Bitmap work = picture;
    Blur3x3(work);
    Blur3x3(work);
    MedianFilter(picture, work, 5, 1, 1, ctx);
    if (ctx.CancelRequested()) return false;
    picture = std::move(work);
    Sharpen(picture);
    Sharpen(picture);
    return true;
}

// The retouch window's chain on the whole picture, in its order.
Adjustment retouch(const ParsedArgs& args) {
    auto option = [&](const char* name, int min, int max) {
        const auto v = args.value(name);
        return v ? parseInt(name, *v, min, max) : 0;
    };
    const int brightness = option("brightness", -100, 100);
    const int contrast = option("contrast", -100, 100);
    const int saturation = option("saturation", -100, 100);
    const int sharpness = option("sharpness", -5, 5);
    const int simplification = option("simplify", 0, 9);
    return [=](Bitmap& t, RenderContext& ctx) {
        if (simplification > 0) {
            MedianFilter(t, t, simplification + 2, 1, 1, ctx);
            if (ctx.CancelRequested()) return false;
        }
        AdjustBrightness(t, brightness);
        if (contrast < 0) {
            LinearContrast(t, 127, contrast);
        } else {
            AdjustContrast(t, 2 * contrast);
        }
        if (!AdjustSaturation(t, saturation, &ctx)) return false;
        for (int i = 0; i < sharpness; ++i) Sharpen(t);
        // Softening: the steps from -5 and -4 are box blurs, the three nearest to 0 gentle ones.
        for (int i = sharpness; i <= -1; ++i) {
            if (i <= -4) {
                Blur3x3(t);
            } else {
                Soften(t);
            }
        }
        return true;
    };
}

const std::vector<AdjustOp>& adjustOps() {
    static const std::vector<AdjustOp> ops = {
        {"soften", "soften the picture once", {}, [](const ParsedArgs&) { return fixed([](Bitmap& b) { Soften(b); }); }},
        {"sharpen", "sharpen the picture twice", {}, [](const ParsedArgs&) {
             return fixed([](Bitmap& b) {
                 Sharpen(b);
                 Sharpen(b);
             });
         }},
        {"saturation", "increase the colour saturation by 10 %, twice", {}, [](const ParsedArgs&) -> Adjustment {
             return [](Bitmap& b, RenderContext& ctx) { return AdjustSaturation(b, 10, &ctx) && AdjustSaturation(b, 10, &ctx); };
         }},
        {"brightness", "increase the brightness by 5 %", {}, [](const ParsedArgs&) {
             return fixed([](Bitmap& b) { AdjustBrightness(b, 5); });
         }},
        {"contrast", "increase the contrast by 30 % against the local and global means", {}, [](const ParsedArgs&) {
             return fixed([](Bitmap& b) { AdjustContrast(b, 30); });
         }},
        {"old-contrast", "increase the contrast by 10 % around the middle grey (127)", {}, [](const ParsedArgs&) {
             return fixed([](Bitmap& b) { LinearContrast(b, 127, 10); });
         }},
        {"simplify", "simplify the picture: blur, 5 x 5 median, sharpen", {}, [](const ParsedArgs&) -> Adjustment { return simplify; }},
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
    spec.minPositionals = spec.maxPositionals = 2;
    spec.details = "The output's format follows its extension: .jpg or .jpeg (JPEG, quality 90), .bmp, .png.\n";
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
    out << "\nThe output's format follows its extension: .jpg or .jpeg (JPEG, quality 90), .bmp, .png.\n"
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
    checkOutputName(output);

    Bitmap picture = session.read(input);
    RenderContext ctx = session.context(op->name);
    if (!adjust(picture, ctx)) throw Cancelled{};
    session.write(picture, output);
    return kExitSuccess;
}

}  // namespace gt::cli
