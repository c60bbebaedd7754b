// graphitello-cli batch [render options] --out DIR [--overwrite] FILES...: the batch window's run.
// Each output is named as the batch window names it, "Graphitello - " and the input's name, and is
// always JPEG; an input whose name does not end in .jpg or .jpeg gets ".jpg" in place of its
// extension, so that no output's name lies about its content.
//
// Each photo starts from the generator state of --seed, so a photo comes out of a batch exactly as
// `render` draws it alone, whatever came before it in the list or was skipped.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <string>

#include "cli/arguments.h"
#include "cli/render_options.h"
#include "cli/rendering.h"
#include "cli/session.h"
#include "imaging/error.h"
#include "imaging/io/picture_io.h"

namespace gt::cli {

namespace fs = std::filesystem;

std::string batchOutputName(const std::string& input) {
    fs::path name = fs::path(input).filename();
    if (formatForPath(name.string()) != PictureFormat::Jpeg) name.replace_extension(".jpg");
    return "Graphitello - " + name.string();
}

int runBatch(std::span<const std::string> args, Session& session) {
    CommandSpec spec;
    spec.name = "batch";
    spec.usage = "[options] --out DIR [--overwrite] FILES...";
    spec.summary = "Draws many photos with one set of options and writes each as JPEG (quality 90) into DIR,\n"
                   "named \"Graphitello - \" and the photo's name (.jpg in place of any other extension).";
    spec.options = renderOptionSpecs();
    spec.options.insert(spec.options.begin(), {{"out", "DIR", "the folder the drawings go to (required)"},
                                                {"overwrite", "", "replace drawings that exist already (default: skip them)"}});
    spec.minPositionals = 1;
    spec.maxPositionals = -1;
    spec.details = renderOptionDetails() +
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
    const RenderSetup setup = renderSetup(parsed);
    printWarnings(setup, session);

    int written = 0, skipped = 0, failed = 0;
    std::map<std::string, std::string> claimed;  // output name -> the input it was made from in this run
    const int count = static_cast<int>(parsed.positionals.size());
    for (int i = 0; i < count; ++i) {
        const std::string& input = parsed.positionals[std::size_t(i)];
        const std::string output = (fs::path(*out) / batchOutputName(input)).string();
        const auto [earlier, first] = claimed.emplace(output, input);
        if (!first) {
            session.err << "graphitello-cli: " << input << ": not drawn, its drawing's name " << output
                        << " is taken by " << earlier->second << "\n";
            ++failed;
            continue;
        }
        if (!overwrite && fs::exists(output, ec)) {
            session.err << "graphitello-cli: skipped " << output << ": it exists (--overwrite replaces it)\n";
            ++skipped;
            continue;
        }
        try {
            const Bitmap photo = session.read(input);
            const std::string label = "[" + std::to_string(i + 1) + "/" + std::to_string(count) + "] " +
                                      fs::path(input).filename().string();
            session.write(renderPicture(photo, setup, session, label), output);
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
