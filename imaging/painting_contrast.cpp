// SPDX-License-Identifier: GPL-3.0-or-later
// Painting 4's contrast, fast: running 9 x 9 column sums, rows in parallel bands.
#include "imaging/painting.h"

#include <algorithm>
#include <climits>
#include <mutex>
#include <cstdint>
#include <utility>
#include <vector>

#include "imaging/adjust.h"
#include "imaging/arithmetic.h"
#include "imaging/ellipse.h"
#include "imaging/filters.h"
#include "imaging/neighbourhood.h"
#include "imaging/parallel.h"
#include "imaging/painting_rows.h"
#include "imaging/painting_steps.h"
#include "imaging/texture.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gt {

using namespace painting_parts;

// 9 x 9 sums kept as running column sums (integers, so exact), rows in parallel bands, each row's
// arithmetic in plain arrays the vectoriser takes. The padded copy is never built: its pixel
// (u, v) is the picture's (u < 9 ? u : u - 9, v < 9 ? v : v - 9) where that lies inside the
// picture, white elsewhere (the four draws leave exactly that), so a copy of the picture serves.
void Painting4Contrast(Bitmap& bitmap, int a) {
    // |diff| <= 255, so |diff| * a stays within 16 bits for the strengths the program uses
    if (plainPaths() || a < 0 || a > 257) return plain::Painting4Contrast(bitmap, a);
    const int W = bitmap.width(), H = bitmap.height();
    if (W == 0 || H == 0) return;
    // The tolerances from the channel sums, added up in parallel bands (integers: the same whatever
    // the bands); pictures whose pixel count does not fit the mean's arithmetic go the plain way,
    // which refuses them.
    if (std::int64_t(W) * H > INT32_MAX) return plain::Painting4Contrast(bitmap, a);
    std::mutex sumsLock;
    std::int64_t sums[3] = {0, 0, 0};
    parallelRows(0, H, [&](int y0, int y1) {
        std::int64_t band[3] = {0, 0, 0};
        for (int y = y0; y < y1; ++y) {
            std::uint32_t row[3] = {0, 0, 0};  // at most 65535 * 255 per channel
            const std::uint8_t* p = bitmap.row(y);
            for (int x = 0; x < W; ++x, p += 3) {
                row[0] += p[0];
                row[1] += p[1];
                row[2] += p[2];
            }
            for (int ch = 0; ch < 3; ++ch) band[ch] += row[ch];
        }
        const std::lock_guard<std::mutex> hold(sumsLock);
        for (int ch = 0; ch < 3; ++ch) sums[ch] += band[ch];
    }, 32);
    int tolerance[3];
    for (int ch = 0; ch < 3; ++ch) tolerance[ch] = int(sums[ch] / (std::int64_t(W) * H)) / 2;
    const Bitmap original = bitmap;
    const std::size_t bytes = std::size_t(W) * 3;
    const std::size_t span = bytes + 24;  // the padded copy's columns 5 .. W+12, those the windows reach
    parallelRows(0, H, [&](int y0, int y1) {
        const std::size_t n = bytes;  // a local: the byte stores below could alias a captured one
        std::vector<std::uint8_t> entering(span), leaving(span);
        std::vector<std::uint16_t> columnSums(span, 0), windowSums(n);
        std::vector<std::int16_t> diffs(n), limits(n);
        std::vector<std::uint8_t> within(n);
        for (std::size_t i = 0; i < n; ++i) limits[i] = std::int16_t(tolerance[i % 3]);
        // Row v of the padded copy, columns 5 .. W+12, into `into`.
        auto paddedRow = [&](int v, std::vector<std::uint8_t>& into) {
            std::uint8_t* out = into.data();
            const int r = v < 9 ? v : v - 9;
            if (r >= H) {
                std::fill(out, out + span, 255);
                return;
            }
            const std::uint8_t* row = original.row(r);
            for (std::size_t i = 0; i < 12; ++i) out[i] = 15 + i < n ? row[15 + i] : 255;
            std::copy(row, row + n, out + 12);
            std::fill(out + 12 + n, out + span, 255);
        };
        std::uint16_t* __restrict column = columnSums.data();
        for (int v = y0 + 5; v <= y0 + 13; ++v) {
            paddedRow(v, entering);
            for (std::size_t i = 0; i < span; ++i) column[i] = std::uint16_t(column[i] + entering[i]);
        }
        for (int y = y0; y < y1; ++y) {
            if (y > y0) {
                paddedRow(y + 13, entering);
                paddedRow(y + 4, leaving);
                const std::uint8_t* __restrict in = entering.data();
                const std::uint8_t* __restrict out = leaving.data();
                for (std::size_t i = 0; i < span; ++i) column[i] = std::uint16_t(column[i] + in[i] - out[i]);
            }
            const std::uint8_t* __restrict centre = original.row(y);
            std::uint16_t* __restrict sum = windowSums.data();
            std::int16_t* __restrict diff = diffs.data();
            const std::int16_t* __restrict limit = limits.data();
            std::uint8_t* __restrict ok = within.data();
            for (std::size_t i = 0; i < n; ++i)
                sum[i] = std::uint16_t(column[i] + column[i + 3] + column[i + 6] + column[i + 9] + column[i + 12] + column[i + 15] +
                                       column[i + 18] + column[i + 21] + column[i + 24]);
            for (std::size_t i = 0; i < n; ++i) {
                // the 80 neighbours' sum is at most 80 * 255, so 16 bits hold it
                const std::uint16_t others = std::uint16_t(sum[i] - centre[i]);
                const std::int16_t d = std::int16_t(centre[i] - others / 80);
                diff[i] = d;
                const std::int16_t magnitude = d < 0 ? std::int16_t(-d) : d;
                ok[i] = magnitude <= limit[i] ? 1 : 0;
            }
            // A pixel is pulled only when all three channels are within their tolerance.
            for (std::size_t i = 0; i < n; i += 3) {
                const std::uint8_t all = ok[i] & ok[i + 1] & ok[i + 2];
                ok[i] = ok[i + 1] = ok[i + 2] = all;
            }
            std::uint8_t* __restrict result = bitmap.row(y);
            const std::uint16_t strength = std::uint16_t(a);
            for (std::size_t i = 0; i < n; ++i) {
                const std::int16_t d = diff[i];
                const std::uint16_t magnitude = std::uint16_t(d < 0 ? -d : d);
                const std::int16_t s = std::int16_t(std::uint16_t(magnitude * strength) / 100);  // (d * a) div 100, without its sign
                const std::int16_t step = d < 0 ? std::int16_t(-s) : s;
                const int v = ok[i] ? centre[i] - step : centre[i] + step;
                result[i] = std::uint8_t(std::clamp(v, 0, 255));
            }
        }
    }, 8);
}

}  // namespace gt
