// SPDX-License-Identifier: GPL-3.0-or-later
// graphitello-cli: the arguments, Ctrl-C (and SIGTERM, SIGHUP) and the terminal; everything else is in the core library.

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
std::atomic<int> stoppedBy{0};  // the first signal that asked the work to stop
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "the flags are set from a signal handler");

// The first Ctrl-C, SIGTERM or SIGHUP asks the work to stop at its next check, and no file is
// written; a second one ends the program at once.
void onStopSignal(int number) {
    int none = 0;
    stoppedBy.compare_exchange_strong(none, number);
    if (cancelRequested.exchange(true)) {
        ::signal(number, SIG_DFL);
        ::raise(number);
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
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(number, &action, nullptr);

    qInstallMessageHandler(qtMessage);

    gt::cli::Environment env;
    env.cancel = &cancelRequested;
    env.progressBar = ::isatty(STDERR_FILENO) != 0;
    env.in = &std::cin;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = gt::cli::runCli(args, std::cout, std::cerr, env);
    // A stopped run ends as the shell reports a process the signal ended: 128 + the signal.
    if (status == gt::cli::kExitCancelled && stoppedBy.load() != 0) return 128 + stoppedBy.load();
    return status;
}
