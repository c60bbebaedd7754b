// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Row bands in parallel: split [begin, end) into contiguous bands, one per worker, and run
// body(bandBegin, bandEnd) on each. Only for work whose rows are independent, so the result never
// depends on the number of workers.

#include <functional>

namespace gt {

// Workers used by parallelRows (at least 1); setWorkerCount(1) gives the plain single-threaded run.
int workerCount();
void setWorkerCount(int n);

// When set, every routine that has a fast path runs its plain one instead (the benchmark's and the
// tests' reference). Set it before a run, not during one.
bool plainPaths();
void setPlainPaths(bool plain);

void parallelRows(int begin, int end, const std::function<void(int, int)>& body, int minRowsPerBand = 16);

}  // namespace gt
