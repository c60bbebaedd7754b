// SPDX-License-Identifier: GPL-3.0-or-later
// graphitello-cli batch [render options] --out DIR [--overwrite] FILES...: the batch window's run.
// The drawings are named for the whole list before the first photo is read, as the batch window
// names them (pipeline/batch_plan.h): always JPEG, and two photos never share one drawing. The run
// is the batch window's own loop (pipeline/batch_run.h).
//
// Each photo starts from the generator state of --seed, so a photo comes out of a batch exactly as
// `render` draws it alone, whatever came before it in the list or was skipped.

#include <any>
#include <atomic>
#include <filesystem>
#include <string>

#include "cli/arguments.h"
#include "cli/render_options.h"
#include "cli/rendering.h"
#include "cli/session.h"
#include "imaging/error.h"
#include "imaging/io/picture_io.h"
#include "pipeline/batch_plan.h"
#include "pipeline/batch_run.h"

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
    switch (checkBatchFolder(*out)) {
    case FolderProblem::None: break;
    case FolderProblem::Missing: throw UsageError("--out " + *out + ": no such folder");
    case FolderProblem::NotAFolder: throw UsageError("--out " + *out + ": not a folder");
    case FolderProblem::NotWritable: throw UsageError("--out " + *out + ": this folder cannot be written in");
    }
    const bool overwrite = parsed.flag("overwrite");
    const PictureOptions pictures = pictureOptions(parsed);
    for (const std::string& input : parsed.positionals)
        if (input == "-") throw UsageError("batch reads files; give the photos' names, not -");
    const RenderSetup setup = renderSetup(parsed);
    printWarnings(setup, session);

    const BatchPlan plan = planBatch(parsed.positionals, *out);
    for (const std::string& twice : plan.duplicates)
        session.err << "graphitello-cli: " << twice << ": listed more than once, drawn once\n";

    BatchSettings settings;
    settings.parameters = setup.parameters;
    settings.random.seed = setup.seed;
    settings.drawingWidth = setup.drawingWidth;
    settings.drawingHeight = setup.drawingHeight;
    const std::size_t count = plan.items.size();
    BatchSteps steps;
    steps.skip = [&](std::size_t i) {
        std::error_code ec;
        if (overwrite || !fs::exists(plan.items[i].output, ec)) return false;
        session.err << "graphitello-cli: skipped " << plan.items[i].output << ": it exists (--overwrite replaces it)\n";
        return true;
    };
    steps.read = [&](std::size_t, const std::string& input) {
        LoadedPicture loaded = session.read(input, pictures);
        return BatchPhoto{std::move(loaded.bitmap), std::move(loaded.metadata)};
    };
    steps.write = [&](const Bitmap& drawing, const BatchPhoto& photo, const std::string& output) {
        session.write(drawing, output, pictures, std::any_cast<PictureMetadata>(&photo.carried));
    };
    steps.progress = [&](std::size_t i) {
        // Built by appending: GCC 12 at -O3 warns falsely about "[" + std::to_string(...).
        std::string label(1, '[');
        label.append(std::to_string(i + 1)).append(1, '/').append(std::to_string(count)).append("] ");
        label.append(fs::path(plan.items[i].input).filename().string());
        return session.context(label).progress;
    };
    std::size_t current = 0;
    steps.starting = [&](std::size_t i) { current = i; };
    steps.written = [&](std::size_t i) { session.out << plan.items[i].output << "\n" << std::flush; };
    steps.failed = [&](std::size_t, const BatchFailure& failure) {
        session.endProgress();
        session.err << "graphitello-cli: " << failure.message << "\n";
    };
    std::atomic<bool> never{false};
    std::atomic<bool>& cancel = session.cancelFlag() ? *session.cancelFlag() : never;
    GlyphRenderer* glyphs = setup.parameters.CheckBox4 ? &session.glyphs() : nullptr;
    const BatchOutcome outcome = runBatch(plan, settings, session.resources(), glyphs, cancel, steps);
    session.endProgress();
    if (outcome.cancelled) {
        session.err << "graphitello-cli: cancelled; " << outcome.written << " written before, nothing for "
                    << (count ? plan.items[current].input : std::string()) << "\n";
        return kExitCancelled;
    }
    const int failed = static_cast<int>(outcome.failures.size());
    session.err << "graphitello-cli: " << outcome.written << " written, " << outcome.skipped << " skipped, " << failed << " failed\n";
    return failed ? kExitFailure : kExitSuccess;
}

}  // namespace gt::cli
