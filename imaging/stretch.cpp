// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/stretch.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/parallel.h"

namespace gt {

namespace {

// Source index for every destination index of one axis, or -1 where the source falls outside.
std::vector<int> sampleMap(int srcStart, int srcLength, int srcLimit, int dstLength) {
    std::vector<int> map(std::size_t(dstLength), -1);
    const long long num = srcLength, den = 2LL * dstLength;
    for (int d = 0; d < dstLength; ++d) {
        const long long s = srcStart + ((2LL * d + 1) * num) / den;
        if (s >= 0 && s < srcLimit) map[std::size_t(d)] = int(s);
    }
    return map;
}

}  // namespace

void StretchCopy(const Bitmap& source, const Rect& sourceRect, Bitmap& target, const Rect& targetRect) {
    const int sw = sourceRect.width(), sh = sourceRect.height();
    const int dw = targetRect.width(), dh = targetRect.height();
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    if (sw == dw && sh == dh) {
        CopyRect(source, sourceRect.left, sourceRect.top, target, targetRect.left, targetRect.top, dw, dh);
        return;
    }
    // Only the part of the target rectangle inside the target picture is visited.
    const int x0 = std::max(targetRect.left, 0), x1 = std::min(targetRect.right, target.width());
    const int y0 = std::max(targetRect.top, 0), y1 = std::min(targetRect.bottom, target.height());
    if (x0 >= x1 || y0 >= y1) return;
    const std::vector<int> cols = sampleMap(sourceRect.left, sw, source.width(), dw);
    const std::vector<int> rows = sampleMap(sourceRect.top, sh, source.height(), dh);
    // A temporary keeps a copy of a picture onto itself from reading pixels it has just written.
    const Bitmap* src = &source;
    Bitmap copy;
    if (&source == &target) {
        copy = source;
        src = &copy;
    }
    parallelRows(y0, y1, [&](int b0, int b1) {
        for (int y = b0; y < b1; ++y) {
            const int sy = rows[std::size_t(y - targetRect.top)];
            if (sy < 0) continue;
            const std::uint8_t* s = src->row(sy);
            std::uint8_t* d = target.pixel(x0, y);
            for (int x = x0; x < x1; ++x, d += 3) {
                const int sx = cols[std::size_t(x - targetRect.left)];
                if (sx < 0) continue;
                const std::uint8_t* p = s + std::size_t(sx) * 3;
                d[0] = p[0]; d[1] = p[1]; d[2] = p[2];
            }
        }
    }, 64);
}

void CopyRect(const Bitmap& source, int sx, int sy, Bitmap& target, int tx, int ty, int w, int h) {
    // Clip the pair of rectangles against both pictures at once.
    int dx0 = std::max({tx, 0, tx - sx}), dy0 = std::max({ty, 0, ty - sy});
    int dx1 = std::min({tx + w, target.width(), tx - sx + source.width()});
    int dy1 = std::min({ty + h, target.height(), ty - sy + source.height()});
    if (dx0 >= dx1 || dy0 >= dy1) return;
    const std::size_t bytes = std::size_t(dx1 - dx0) * 3;
    if (&source == &target) {
        Bitmap copy = source;
        for (int y = dy0; y < dy1; ++y) std::memcpy(target.pixel(dx0, y), copy.pixel(dx0 - tx + sx, y - ty + sy), bytes);
        return;
    }
    // Large copies are shared out by rows; small ones (the corner patch) are not worth a thread.
    const int minRows = static_cast<int>(std::max<std::size_t>(16, (std::size_t(1) << 20) / std::max<std::size_t>(bytes, 1)));
    parallelRows(dy0, dy1, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) std::memcpy(target.pixel(dx0, y), source.pixel(dx0 - tx + sx, y - ty + sy), bytes);
    }, minRows);
}

}  // namespace gt
