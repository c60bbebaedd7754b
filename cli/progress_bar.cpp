// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/progress_bar.h"

#include <algorithm>

namespace gt::cli {

int ProgressBar::percent(int step, int lastStep, int pass, int passes) {
    if (passes <= 0) return 0;
    pass = std::clamp(pass, 1, passes);
    const long long within = lastStep > 0 ? std::clamp(step, 0, lastStep) * 100LL / lastStep : 100;
    return static_cast<int>(((pass - 1) * 100LL + within) / passes);
}

void ProgressBar::report(int step, int lastStep, int pass, int passes) {
    const std::lock_guard lock(mutex_);
    const int p = percent(step, lastStep, pass, passes);
    if (p != shown_) draw(p);
}

void ProgressBar::setLabel(std::string label) {
    const std::lock_guard lock(mutex_);
    label_ = std::move(label);
    if (shown_ >= 0) draw(shown_);
}

void ProgressBar::draw(int p) {
    constexpr int kWidth = 30;
    const int filled = p * kWidth / 100;
    std::string line = "\r" + label_ + " [" + std::string(std::size_t(filled), '#') +
                       std::string(std::size_t(kWidth - filled), ' ') + "] " + std::to_string(p) + " %";
    const std::size_t width = line.size();
    if (width < drawnWidth_) line += std::string(drawnWidth_ - width, ' ');
    drawnWidth_ = std::max(drawnWidth_, width);
    out_ << line << std::flush;
    shown_ = p;
}

void ProgressBar::finish() {
    const std::lock_guard lock(mutex_);
    if (drawnWidth_ > 0) out_ << "\r" << std::string(drawnWidth_, ' ') << "\r" << std::flush;
    drawnWidth_ = 0;
    shown_ = -1;
}

}  // namespace gt::cli
