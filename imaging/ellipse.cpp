// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/ellipse.h"

#include <algorithm>
#include <cstdint>

namespace gt {

bool EllipseCovers(int w, int h, int i, int j) {
    if (w < 1 || h < 1 || i < 0 || j < 0 || i >= w || j >= h) return false;
    const std::int64_t dx = 2 * std::int64_t(i) + 1 - w, dy = 2 * std::int64_t(j) + 1 - h;
    const std::int64_t W2 = std::int64_t(w) * w, H2 = std::int64_t(h) * h;
    return dx * dx * H2 + dy * dy * W2 <= W2 * H2;
}

void FillEllipse(Bitmap& bitmap, int left, int top, int w, int h, Colour colour) {
    if (w < 1 || h < 1) return;
    for (int j = 0; j < h; ++j) {
        const int y = top + j;
        if (y < 0 || y >= bitmap.height()) continue;
        // The run of row j: from the first covered column to its mirror image.
        int first = 0;
        while (first < w && !EllipseCovers(w, h, first, j)) ++first;
        const int last = w - 1 - first;
        const int x0 = std::max(left + first, 0), x1 = std::min(left + last, bitmap.width() - 1);
        for (int x = x0; x <= x1; ++x) bitmap.setColour(x, y, colour);
    }
}

}  // namespace gt
