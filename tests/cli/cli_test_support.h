// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the command line in-process and keeps what it printed.

#include <atomic>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace gt::cli::testing {

struct Outcome {
    int status = -1;
    std::string out, err;
};

// `input` is what standard input holds.
inline Outcome run(const std::vector<std::string>& args, std::atomic<bool>* cancel = nullptr, const std::string& input = "") {
    std::ostringstream out, err;
    std::istringstream in(input);
    Environment env;
    env.cancel = cancel;
    env.in = &in;
    Outcome r;
    r.status = runCli(args, out, err, env);
    r.out = out.str();
    r.err = err.str();
    return r;
}

}  // namespace gt::cli::testing
