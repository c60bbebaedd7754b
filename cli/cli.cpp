// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"

#include <new>
#include <span>

#include "cli/arguments.h"
#include "cli/session.h"
#include "imaging/error.h"
#include "version.h"

namespace gt::cli {

namespace {

const char* const kUsage =
    "Usage: graphitello-cli COMMAND [options] ...\n"
    "\n"
    "Turns photos into drawings and paintings from scripts, with the program's defaults.\n"
    "\n"
    "Commands:\n"
    "  render [options] INPUT OUTPUT                   one photo drawn in one style, frame and text included\n"
    "  batch [options] --out DIR [--overwrite] FILES   many photos, written as the batch window names them\n"
    "  adjust OP [options] INPUT OUTPUT                the source-image commands (soften, sharpen, resize ...)\n"
    "  styles                                          the styles with their sliders' ranges and defaults\n"
    "  presets                                         the built-in presets and yours\n"
    "\n"
    "graphitello-cli COMMAND --help shows the options of a command; --version shows the version.\n"
    "Exit status: 0 done, 1 a picture could not be read, made or written, 2 wrong arguments,\n"
    "130 stopped by Ctrl-C, 143 by SIGTERM, 129 by SIGHUP (no file is written then).\n";

int dispatch(const std::vector<std::string>& args, Session& session) {
    if (args.empty()) throw UsageError("no command given");
    const std::string& command = args[0];
    const std::span<const std::string> rest(args.data() + 1, args.size() - 1);
    if (command == "--help" || command == "-h" || command == "help") {
        session.out << kUsage;
        return kExitSuccess;
    }
    if (command == "--version") {
        session.out << "graphitello-cli " GT_VERSION "\n";
        return kExitSuccess;
    }
    if (command == "render") return runRender(rest, session);
    if (command == "batch") return runBatch(rest, session);
    if (command == "adjust") return runAdjust(rest, session);
    if (command == "styles") return runStyles(rest, session);
    if (command == "presets") return runPresets(rest, session);
    throw UsageError("unknown command \"" + command + "\"");
}

// The command named in a usage message, so the pointer to --help leads to the right page.
std::string commandOf(const std::vector<std::string>& args) {
    if (args.empty()) return "";
    if (args[0] == "render" || args[0] == "batch" || args[0] == "styles" || args[0] == "presets") return args[0];
    if (args[0] != "adjust") return "";
    return args.size() > 1 && isAdjustOp(args[1]) ? "adjust " + args[1] : "adjust";
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Environment& env) {
    Session session(out, err, env);
    try {
        return dispatch(args, session);
    } catch (const UsageError& e) {
        session.endProgress();
        const std::string command = commandOf(args);
        err << "graphitello-cli: " << e.what() << "\n"
            << "Try 'graphitello-cli " << (command.empty() ? "" : command + " ") << "--help'.\n";
        return kExitUsage;
    } catch (const Cancelled&) {
        session.endProgress();
        err << "graphitello-cli: cancelled; nothing was written\n";
        return kExitCancelled;
    } catch (const Error& e) {
        session.endProgress();
        err << "graphitello-cli: " << e.what() << "\n";
        return kExitFailure;
    } catch (const std::bad_alloc&) {
        session.endProgress();
        err << "graphitello-cli: not enough memory for this picture\n";
        return kExitFailure;
    } catch (const std::exception& e) {
        session.endProgress();
        err << "graphitello-cli: " << e.what() << "\n";
        return kExitFailure;
    }
}

}  // namespace gt::cli
