// SPDX-License-Identifier: GPL-3.0-or-later
// graphitello-cli batch [render options] --out DIR [--overwrite] FILES...: the batch window's run.
// The drawings are named for the whole list before the first photo is read, as the batch window
// names them (pipeline/batch_plan.h): always JPEG, and two photos never share one drawing.
//
// Each photo starts from the generator state of --seed, so a photo comes out of a batch exactly as
// `render` draws it alone, whatever came before it in the list or was skipped.

#include <filesystem>
#include <string>

#include "cli/arguments.h"
#include "cli/render_options.h"
#include "cli/rendering.h"
#include "cli/session.h"
#include "imaging/error.h"
#include "imaging/io/picture_io.h"
#include "pipeline/batch_plan.h"

namespace gt::cli {

namespace fs = std::filesystem;

int runBatch(std::span<const std::string> args, Session& session) {
    CommandSpec spec;
    spec.name = "batch";
    spec.usage = "[options] --out DIR [--overwrite] FILES...";
    spec.summary = "Draws many photos with one set of options and writes each as JPEG (quality 90 or --quality) into DIR,\n"
                   "named \"Graphitello - \" and the photo's name (.jpg in place of any other extension).\n"
                   "When two photos would get one name, the one that keeps its own name goes first and the\n"
                   "other is named \"Graphitello - x.bmp.jpg\" (or numbered, \"x (2).jpg\").";
    spec.options = renderOptionSpecs();
    for (OptionSpec& o : pictureOptionSpecs(false)) spec.options.push_back(std::move(o));
    spec.options.insert(spec.options.begin(), {{"out", "DIR", "the folder the drawings go to (required)"},
                                                {"overwrite", "", "replace drawings that exist already (default: skip them)"}});
    spec.minPositionals = 1;
    spec.maxPositionals = -1;
    spec.details = renderOptionDetails() + pictureOptionDetails(false) +
                   "A photo that cannot be read or written is reported and the run goes on; the exit status is\n"
                   "then 1. The path of every drawing written is printed on standard output.\n";
    const ParsedArgs parsed = parseArguments(spec, args);
    if (parsed.help) {
        session.out << helpText(spec);
        return kExitSuccess;
    }
    const std::optional<std::string> out = parsed.value("out");
    if (!out) throw UsageError("batch needs --out DIR, the folder the drawings go to");
    std::error_code ec;
    if (!fs::is_directory(*out, ec)) throw UsageError("--out " + *out + ": no such folder");
    const bool overwrite = parsed.flag("overwrite");
    const PictureOptions pictures = pictureOptions(parsed);
    for (const std::string& input : parsed.positionals)
        if (input == "-") throw UsageError("batch reads files; give the photos' names, not -");
    const RenderSetup setup = renderSetup(parsed);
    printWarnings(setup, session);

    const BatchPlan plan = planBatch(parsed.positionals, *out);
    for (const std::string& twice : plan.duplicates)
        session.err << "graphitello-cli: " << twice << ": listed more than once, drawn once\n";
    int written = 0, skipped = 0, failed = 0;
    const int count = static_cast<int>(plan.items.size());
    for (int i = 0; i < count; ++i) {
        const std::string& input = plan.items[std::size_t(i)].input;
        const std::string& output = plan.items[std::size_t(i)].output;
        if (!overwrite && fs::exists(output, ec)) {
            session.err << "graphitello-cli: skipped " << output << ": it exists (--overwrite replaces it)\n";
            ++skipped;
            continue;
        }
        try {
            const LoadedPicture photo = session.read(input, pictures);
            const std::string label = "[" + std::to_string(i + 1) + "/" + std::to_string(count) + "] " +
                                      fs::path(input).filename().string();
            session.write(renderPicture(photo.bitmap, setup, session, label), output, pictures, &photo.metadata);
            session.out << output << "\n" << std::flush;
            ++written;
        } catch (const Cancelled&) {
            session.endProgress();
            session.err << "graphitello-cli: cancelled; " << written << " written before, nothing for " << input << "\n";
            return kExitCancelled;
        } catch (const Error& e) {
            session.endProgress();
            session.err << "graphitello-cli: " << e.what() << "\n";
            ++failed;
        }
    }
    session.err << "graphitello-cli: " << written << " written, " << skipped << " skipped, " << failed << " failed\n";
    return failed ? kExitFailure : kExitSuccess;
}

}  // namespace gt::cli
