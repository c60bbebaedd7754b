#pragma once
// What every command gets: where to print, the cancel flag and the progress bar.

#include <memory>
#include <ostream>
#include <span>
#include <string>

#include "cli/cli.h"
#include "cli/progress_bar.h"
#include "imaging/bitmap.h"
#include "imaging/context.h"

namespace gt::cli {

// Thrown when Ctrl-C stopped the work; nothing has been written.
struct Cancelled {};

class Session {
public:
    Session(std::ostream& toOut, std::ostream& toErr, const Environment& env) : out(toOut), err(toErr), env_(env) {}

    std::ostream& out;
    std::ostream& err;

    bool cancelRequested() const { return env_.cancel && env_.cancel->load(); }
    void throwIfCancelled() const {
        if (cancelRequested()) throw Cancelled{};
    }
    // A context whose progress goes to the bar (when standard error is a terminal) under `label`.
    RenderContext context(const std::string& label);
    void endProgress();

    Bitmap read(const std::string& path);
    // Writes unless Ctrl-C came first; throws Cancelled then.
    void write(const Bitmap& picture, const std::string& path);

private:
    const Environment& env_;
    std::unique_ptr<ProgressBar> bar_;
};

// The usage error for an output whose extension names no format we write.
void checkOutputName(const std::string& path);

bool isAdjustOp(const std::string& name);
int runAdjust(std::span<const std::string> args, Session& session);

}  // namespace gt::cli
