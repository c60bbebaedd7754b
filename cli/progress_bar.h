// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The progress bar on standard error while a long routine runs, fed from RenderContext::progress.
// Redrawn only when the percentage changes; erased at the end so the next line starts clean.

#include <mutex>
#include <ostream>
#include <string>

namespace gt::cli {

class ProgressBar {
public:
    ProgressBar(std::ostream& out, std::string label) : out_(out), label_(std::move(label)) {}
    ~ProgressBar() { finish(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // The ProgressReport arguments: step 0..lastStep of pass 1..passes.
    void report(int step, int lastStep, int pass, int passes);
    // The label of the next part of the work ("reading", "simplify", ...).
    void setLabel(std::string label);
    void finish();

    // The percentage a report stands for, 0..100.
    static int percent(int step, int lastStep, int pass, int passes);

private:
    void draw(int percent);

    std::ostream& out_;
    std::string label_;
    std::mutex mutex_;
    int shown_ = -1;
    std::size_t drawnWidth_ = 0;
};

}  // namespace gt::cli
