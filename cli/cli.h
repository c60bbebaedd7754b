// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// graphitello-cli as a function, so the tests run it exactly as the program does.

#include <atomic>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace gt::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;    // a processing error, one line on standard error
inline constexpr int kExitUsage = 2;      // something typed wrongly
inline constexpr int kExitCancelled = 130;  // Ctrl-C, as the shell reports a process it interrupted

struct Environment {
    std::atomic<bool>* cancel = nullptr;  // set by Ctrl-C; a cancelled run writes no file
    bool progressBar = false;             // standard error is a terminal
    std::istream* in = nullptr;           // standard input, for an INPUT given as "-"
};

// args: the arguments after the program's name. Help goes to `out`, messages and the progress bar
// to `err`. Returns the exit status.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Environment& env = {});

}  // namespace gt::cli
