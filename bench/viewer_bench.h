// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// graphitello-bench --viewer (mainwindow/bench/viewer_bench.cpp).

#include <string>

// Times the main window's viewer on an 8000 x 6000 photo made from the sample photo; prints the table
// and its last line. Returns the program's exit code.
int viewerBenchmark(const std::string& samplePath);
