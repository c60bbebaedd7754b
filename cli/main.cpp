// graphitello-cli: the arguments, Ctrl-C and the terminal; everything else is in the core library.

#include <signal.h>
#include <unistd.h>

#include <QtGlobal>
#include <QString>

#include <atomic>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace {

std::atomic<bool> cancelRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from a signal handler");

// The first Ctrl-C asks the work to stop at its next check, and no file is written; a second one
// ends the program at once.
void onInterrupt(int) {
    if (cancelRequested.exchange(true)) {
        ::signal(SIGINT, SIG_DFL);
        ::raise(SIGINT);
    }
}

// Qt's own notices (the offscreen platform's, the font engine's) mean nothing to the user of a
// command line; only its errors are passed on.
void qtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "graphitello-cli: %s\n", message.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);

    qInstallMessageHandler(qtMessage);

    gt::cli::Environment env;
    env.cancel = &cancelRequested;
    env.progressBar = ::isatty(STDERR_FILENO) != 0;
    const std::vector<std::string> args(argv + 1, argv + argc);
    return gt::cli::runCli(args, std::cout, std::cerr, env);
}
