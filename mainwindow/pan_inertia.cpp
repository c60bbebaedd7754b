// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/pan_inertia.h"

#include <cstdlib>

namespace gt {

bool flingStartsInertia(int vx, int vy, bool drawingPane) {
    const int ax = std::abs(vx), ay = std::abs(vy);
    return drawingPane ? ax >= 8 && ay >= 8 : ax > 10 && ay > 10;
}

bool inertiaEnds(int vx, int vy) { return std::abs(vx) <= 1 && std::abs(vy) <= 1; }

}  // namespace gt
