// SPDX-License-Identifier: GPL-3.0-or-later
// Painting 1, fast: the recursive smoothing on row-planar pictures, several iterations a sweep.
#include "imaging/painting.h"

#include <algorithm>
#include <climits>
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

namespace {

// One row of painting 1's smoothing on row-planar pictures: row y of `to` from rows y-1 .. y+1 of
// `from`, each pixel against the mean of its 5 x 3 window without its centre. The pixels the
// smoothing never reaches (columns 0, 1, W-2, W-1, and rows 1 and H-1, written along with the
// first and last smoothed rows) are O's, as every iteration after the first finds them.
struct SmoothScratch {
    std::vector<std::uint16_t> column;
    std::vector<std::uint8_t> mean, diff, dev;
    explicit SmoothScratch(int W)
        : column(std::size_t(W) * 3), mean(std::size_t(W) * 3), diff(std::size_t(W) * 3), dev(std::size_t(W)) {}
};

void smoothPlanarRow(const Bitmap& from, const Bitmap& O, Bitmap& to, int y, int tolerance, SmoothScratch& s) {
    const int W = from.width(), H = from.height();
    const std::size_t w = std::size_t(W), n = 3 * w;
    // The three planes of a row lie one after the other, so each step runs once over all of them;
    // the few values worked out across a plane's end (its columns 0, 1, W-2, W-1) are never read.
    std::uint16_t* __restrict column = s.column.data();
    std::uint8_t* __restrict mean = s.mean.data();
    std::uint8_t* __restrict diff = s.diff.data();
    std::uint8_t* __restrict dev = s.dev.data();
    const std::uint8_t* __restrict above = from.row(y - 1);
    const std::uint8_t* __restrict centre = from.row(y);
    const std::uint8_t* __restrict below = from.row(y + 1);
    for (std::size_t i = 0; i < n; ++i) column[i] = std::uint16_t(above[i] + centre[i] + below[i]);
    for (std::size_t i = 2; i + 2 < n; ++i) {
        // at most 14 * 255, so 16 bits hold it
        const std::uint16_t sum = std::uint16_t(column[i - 2] + column[i - 1] + column[i] + column[i + 1] + column[i + 2] - centre[i]);
        const std::uint8_t m = std::uint8_t(sum / 14);
        mean[i] = m;
        diff[i] = std::uint8_t(std::max(m, centre[i]) - std::min(m, centre[i]));
    }
    const std::uint8_t limit = std::uint8_t(tolerance);
    for (std::size_t x = 2; x + 2 < w; ++x)  // 0xFF: O's pixel wanted
        dev[x] = std::uint8_t(std::max(std::max(diff[x], diff[w + x]), diff[2 * w + x]) > limit ? 0xFF : 0);
    for (std::size_t c = 0; c < 3; ++c) {
        const std::uint8_t* __restrict o = O.row(y) + c * w;
        const std::uint8_t* __restrict planeMean = mean + c * w;
        std::uint8_t* __restrict out = to.row(y) + c * w;
        out[0] = o[0];
        out[1] = o[1];
        for (std::size_t x = 2; x + 2 < w; ++x) out[x] = std::uint8_t((o[x] & dev[x]) | (planeMean[x] & ~dev[x]));
        out[w - 2] = o[w - 2];
        out[w - 1] = o[w - 1];
    }
    if (y == 2) std::copy(O.row(1), O.row(1) + O.stride(), to.row(1));
    if (y == H - 2) std::copy(O.row(H - 1), O.row(H - 1) + O.stride(), to.row(H - 1));
}

// Smoothing iterations i0 .. i0+count-1 of painting 1 on row-planar pictures: iteration i reads
// buffer[i mod 2] and writes the other.
void smoothingSweep(Bitmap* const (&buffer)[2], const Bitmap& O, int i0, int count, int tolerance) {
    const int H = O.height(), W = O.width();
    sweepIterations(count, 1, H, [&](int) { return std::pair<int, int>(2, H - 1); }, [&] {
        return [&, scratch = SmoothScratch(W)](int t, int y) mutable {
            const int i = i0 + t;
            smoothPlanarRow(*buffer[i % 2], O, *buffer[(i + 1) % 2], y, tolerance, scratch);
        };
    });
}

// Painting 1's edge and brightness pass over rows y0..y1-1 (from 1), columns 1..W-1: the channel
// differences and both outcomes in byte arrays the vectoriser takes; only the per-pixel test, which
// adds three channels, goes pixel by pixel.
void edgeRows(const Bitmap& s, Bitmap& d, int e, int lift, int y0, int y1) {
    const std::size_t n = s.stride();
    std::vector<std::uint8_t> leftDiffs(n), upDiffs(n), edges(n);
    for (int y = y0; y < y1; ++y) {
        const std::uint8_t* __restrict row = s.row(y);
        const std::uint8_t* __restrict up = s.row(y - 1);
        std::uint8_t* __restrict out = d.row(y);
        std::uint8_t* __restrict left = leftDiffs.data();
        std::uint8_t* __restrict above = upDiffs.data();
        std::uint8_t* __restrict edge = edges.data();
        for (std::size_t i = 3; i < n; ++i) {
            left[i] = std::uint8_t(std::max(row[i - 3], row[i]) - std::min(row[i - 3], row[i]));
            above[i] = std::uint8_t(std::max(up[i], row[i]) - std::min(up[i], row[i]));
        }
        for (std::size_t i = 3; i < n; i += 3) {
            const bool isEdge = (left[i] + left[i + 1] + left[i + 2] >= e) | (above[i] + above[i + 1] + above[i + 2] >= e);
            edge[i] = edge[i + 1] = edge[i + 2] = isEdge ? 0xFF : 0;
        }
        for (std::size_t i = 3; i < n; ++i) {
            const std::uint8_t darkened = std::uint8_t(std::uint16_t(row[i] * 98) / 100);
            const std::uint8_t lifted = std::uint8_t(std::clamp(out[i] + lift, 0, 255));
            out[i] = std::uint8_t((darkened & edge[i]) | (lifted & ~edge[i]));
        }
    }
}

}  // namespace

void RecursivePainting(Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx) {
    if (plainPaths()) return plain::RecursivePainting(source, destination, c, m, ctx);
    if (&source == &destination) {
        Bitmap copy = source;
        return gt::RecursivePainting(copy, destination, c, m, ctx);
    }
    checkTexture(c, m);
    ctx.random.seed = kDrawingSeed;
    Soften(source);
    destination = source;  // what the border pixels show, and until the smoothing starts also O
    preparePainting1(source, ctx, false);

    const int W = source.width(), H = source.height();
    const int n = c.TrackBar5;
    const int tolerance = c.TrackBar1 / 2;
    const bool smoothing = H >= 4 && W >= 5;
    // O, the softened photo, row-planar, taken from the destination only once the preparation's
    // scratch pictures are gone; then the prepared source, row-planar, goes into the destination.
    // From there on iteration i reads buffer[i mod 2] and writes the other, and after `done`
    // iterations the result is in buffer[done mod 2]. Nothing is rearranged in place, so no row
    // needs a copy on the way.
    Bitmap O;
    Bitmap* const buffer[2] = {&destination, &source};
    int done = 0;
    bool cancelled = false;
    while (done <= n && !cancelled) {
        int count = std::min(kIterationsPerSweep, n + 1 - done);
        for (int j = 0; j < count; ++j) {
            ctx.ProgressReport(done + j, n, 1, 1);
            if (ctx.CancelRequested()) {
                count = j;
                cancelled = true;
                break;
            }
        }
        if (count > 0 && smoothing) {
            if (O.empty()) {
                O.setSize(W, H);
                rearrangeInto(destination, O, 0, true);
                rearrangeInto(source, destination, 0, true);
            }
            smoothingSweep(buffer, O, done, count, tolerance);
        }
        done += count;
    }
    if (done == 0) return;  // cancelled before the first iteration: nothing changed yet
    if (!O.empty()) {
        // Every row from 1 on of the result was written by the iterations; row 0 is O's. The
        // result goes back to interleaved pixels in the other buffer, which then becomes the
        // destination.
        Bitmap& result = *buffer[done % 2];
        Bitmap& other = *buffer[(done + 1) % 2];
        rearrangeInto(result, other, 1, false);
        interleavedRow(O.row(0), other.row(0), W);
        if (&other != &destination) std::swap(source, destination);
    }
    if (cancelled) {
        source = destination;  // as the plain run leaves it
        return;
    }
    if (O.empty()) {
        source = destination;  // nothing smoothed: the destination still is the softened photo
    } else {
        rearrangeInto(O, source, 0, false);
        O = Bitmap();
    }
    Soften(source);
    const int e = 255 - c.TrackBar2;
    parallelRows(1, H, [&](int y0, int y1) { edgeRows(source, destination, e, c.TrackBar3 - 127, y0, y1); }, 16);
    Soften(destination);
    layPaperTexture(destination, c, m, false);
}

}  // namespace gt
