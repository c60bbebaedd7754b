// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the imaging tests hand a long routine: a context that records every progress report and can
// raise the cancel flag on a given one, and a switch to the plain paths that goes back as it was
// however the test ends.

#include <gtest/gtest.h>

#include <atomic>
#include <ostream>
#include <vector>

#include "imaging/context.h"
#include "imaging/parallel.h"

namespace gt::testing {

struct Report {
    int step = 0, lastStep = 0, pass = 0, passes = 0;
    friend bool operator==(const Report&, const Report&) = default;
};

inline void PrintTo(const Report& r, std::ostream* os) {
    *os << "{" << r.step << ", " << r.lastStep << ", " << r.pass << ", " << r.passes << "}";
}

struct Recorder {
    std::atomic<bool> cancel{false};
    std::vector<Report> reports;
    int cancelAfter;  // the flag rises during this report, counted from 1; -1: never
    RenderContext ctx;

    explicit Recorder(int cancelOn = -1) : cancelAfter(cancelOn) {
        ctx.cancel = &cancel;
        ctx.progress = [this](int step, int lastStep, int pass, int passes) {
            // A run that goes on needs a last step above 0.
            EXPECT_TRUE(lastStep > 0 || pass >= passes) << step << " of " << lastStep << ", pass " << pass << " of " << passes;
            reports.push_back({step, lastStep, pass, passes});
            if (cancelAfter >= 0 && static_cast<int>(reports.size()) >= cancelAfter) cancel = true;
        };
    }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    int count() const { return static_cast<int>(reports.size()); }
    std::vector<int> passes() const {
        std::vector<int> p;
        for (const Report& r : reports) p.push_back(r.pass);
        return p;
    }
};

// The plain paths on (or off) while it lives.
class PlainPaths {
public:
    explicit PlainPaths(bool on = true) : was_(plainPaths()) { setPlainPaths(on); }
    ~PlainPaths() { setPlainPaths(was_); }
    PlainPaths(const PlainPaths&) = delete;
    PlainPaths& operator=(const PlainPaths&) = delete;

private:
    bool was_;
};

}  // namespace gt::testing
