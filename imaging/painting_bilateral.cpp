// SPDX-License-Identifier: GPL-3.0-or-later
// Paintings 2 and 3, fast: the dabs, and the 2 x 2 merges on row-planar pictures.
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

// Painting 2's dabs: sequential, since every dab's colour is read from the picture as the earlier
// dabs left it and the generator's draws come in a fixed order.
void PaintDabs(Bitmap& d, const DrawingControls& c, RenderContext& ctx) {
    const int W = d.width(), H = d.height();
    const int size = std::min(8, (255 - c.TrackBar2) / 75 + (ctx.DrawingWidth + ctx.DrawingHeight) / 750);
    const std::int64_t count = std::int64_t(W / 30) * (H / 30) * (255 - c.TrackBar2);
    for (std::int64_t k = 0; k < count; ++k) {
        const int w = ctx.random.draw(size) + 1;
        const int h = ctx.random.draw(size) + 2;
        const int x0 = ctx.random.draw(W - w - 1);
        const int y0 = ctx.random.draw(H - h - 1);
        const Colour under = d.colourAt(x0 + w / 2, y0 + h / 2);
        const int shift = 2 * (h - w);
        const Colour paint{std::uint8_t(clampByte(under.b + shift)), std::uint8_t(clampByte(under.g + shift)),
                           std::uint8_t(clampByte(under.r + shift))};
        FillEllipse(d, x0, y0, w, h, paint);
    }
}

namespace {

// One merge block: P at p, Q at p + 3, R at r, S at r + 3 (channels blue, green, red).
inline void mergeBlock(std::uint8_t* p, std::uint8_t* r, int trackBar1) {
    std::uint8_t* X[3] = {p + 3, r, r + 3};
    const int tolerance = trackBar1 + (p[0] + p[1] + p[2]) / 30 - 25;
    bool added[3];
    int count = 1;
    for (int k = 0; k < 3; ++k) {
        const std::uint8_t* q = X[k];
        const int distance = std::max({2 * absInt(q[2] - p[2]), absInt(q[1] - p[1]), absInt(q[0] - p[0])});
        added[k] = tolerance > distance;
        count += added[k];
    }
    if (count == 1) return;  // P stays as it is
    for (int ch = 0; ch < 3; ++ch) {
        int sum = p[ch];
        for (int k = 0; k < 3; ++k)
            if (added[k]) sum += X[k][ch];
        int v = sum / count;
        if (sum % count > count / 2) ++v;
        const std::uint8_t mean = static_cast<std::uint8_t>(std::min(v, 255));
        p[ch] = mean;
        for (int k = 0; k < 3; ++k)
            if (added[k]) X[k][ch] = mean;
    }
}

// The rounded mean of a merge: sum div count, raised by one when the remainder is above count div
// 2. For the counts 1 to 4 that is sum, sum div 2, (sum + 1) div 3 and (sum + 1) div 4, never above
// 255.
inline int mergedMean(int sum, int count) {
    int v = sum / count;
    if (sum % count > count / 2) ++v;
    return std::min(v, 255);
}

// One row of merge blocks on a row-planar picture: tops at row `top`, bottoms at `bottom`, blocks
// at columns o + 2a, a = 0 .. blocks-1.
void mergePlanarRows(std::uint8_t* top, std::uint8_t* bottom, std::size_t w, int o, int blocks, int trackBar1) {
    int a = 0;
#if defined(__SSE2__)
    // Eight blocks at a time: the 16 bytes of a plane row from column o + 2a, read as eight 16-bit
    // lanes, hold P in the low bytes and Q in the high ones (R and S likewise below).
    const __m128i low = _mm_set1_epi16(0x00FF);
    const __m128i base = _mm_set1_epi16(std::int16_t(trackBar1 - 25));
    const __m128i by30 = _mm_set1_epi16(2185);    // (v * 2185) >> 16 == v div 30 for v <= 765
    const __m128i by3 = _mm_set1_epi16(21846);    // (v * 21846) >> 16 == v div 3 for v <= 766
    const __m128i one = _mm_set1_epi16(1), two = _mm_set1_epi16(2), three = _mm_set1_epi16(3), four = _mm_set1_epi16(4);
    auto load = [](const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
    auto store = [](std::uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); };
    auto absDiff = [](__m128i u, __m128i v) { return _mm_sub_epi16(_mm_max_epi16(u, v), _mm_min_epi16(u, v)); };
    auto select = [](__m128i mask, __m128i yes, __m128i no) { return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no)); };
    for (; a + 8 <= blocks; a += 8) {
        const std::size_t x = std::size_t(o) + 2 * std::size_t(a);
        __m128i P[3], Q[3], R[3], S[3];
        for (std::size_t c = 0; c < 3; ++c) {
            const __m128i t = load(top + c * w + x), b = load(bottom + c * w + x);
            P[c] = _mm_and_si128(t, low);
            Q[c] = _mm_srli_epi16(t, 8);
            R[c] = _mm_and_si128(b, low);
            S[c] = _mm_srli_epi16(b, 8);
        }
        const __m128i tolerance = _mm_add_epi16(base, _mm_mulhi_epu16(_mm_add_epi16(_mm_add_epi16(P[0], P[1]), P[2]), by30));
        auto within = [&](const __m128i (&X)[3]) {
            const __m128i red = absDiff(X[2], P[2]);
            const __m128i distance = _mm_max_epi16(_mm_add_epi16(red, red), _mm_max_epi16(absDiff(X[1], P[1]), absDiff(X[0], P[0])));
            return _mm_cmpgt_epi16(tolerance, distance);
        };
        const __m128i addQ = within(Q), addR = within(R), addS = within(S);
        const __m128i count = _mm_sub_epi16(_mm_sub_epi16(_mm_sub_epi16(one, addQ), addR), addS);
        const __m128i is2 = _mm_cmpeq_epi16(count, two), is3 = _mm_cmpeq_epi16(count, three), is4 = _mm_cmpeq_epi16(count, four);
        for (std::size_t c = 0; c < 3; ++c) {
            const __m128i sum = _mm_add_epi16(_mm_add_epi16(P[c], _mm_and_si128(Q[c], addQ)),
                                              _mm_add_epi16(_mm_and_si128(R[c], addR), _mm_and_si128(S[c], addS)));
            const __m128i sum1 = _mm_add_epi16(sum, one);
            __m128i m = select(is2, _mm_srli_epi16(sum, 1), sum);
            m = select(is3, _mm_mulhi_epu16(sum1, by3), m);
            m = select(is4, _mm_srli_epi16(sum1, 2), m);
            store(top + c * w + x, _mm_or_si128(m, _mm_slli_epi16(select(addQ, m, Q[c]), 8)));
            store(bottom + c * w + x, _mm_or_si128(select(addR, m, R[c]), _mm_slli_epi16(select(addS, m, S[c]), 8)));
        }
    }
#endif
    for (; a < blocks; ++a) {
        const std::size_t x = std::size_t(o) + 2 * std::size_t(a);
        std::uint8_t* px[4] = {top + x, top + x + 1, bottom + x, bottom + x + 1};  // P, Q, R, S in the blue plane
        const int tolerance = trackBar1 + (px[0][0] + px[0][w] + px[0][2 * w]) / 30 - 25;
        bool added[4] = {true, false, false, false};
        int count = 1;
        for (int k = 1; k < 4; ++k) {
            const int distance = std::max({2 * absInt(px[k][2 * w] - px[0][2 * w]), absInt(px[k][w] - px[0][w]), absInt(px[k][0] - px[0][0])});
            added[k] = tolerance > distance;
            count += added[k];
        }
        for (std::size_t c = 0; c < 3; ++c) {
            int sum = 0;
            for (int k = 0; k < 4; ++k)
                if (added[k]) sum += px[k][c * w];
            const std::uint8_t m = static_cast<std::uint8_t>(mergedMean(sum, count));
            for (int k = 0; k < 4; ++k)
                if (added[k]) px[k][c * w] = m;
        }
    }
}

// Merge iterations i0 .. i0+count-1 on a row-planar picture.
void mergeSweep(Bitmap& d, int i0, int count, int trackBar1) {
    const int blockRows = d.height() / 2 - 1, blockColumns = d.width() / 2 - 1;
    if (blockRows <= 0 || blockColumns <= 0) return;
    const std::size_t w = std::size_t(d.width());
    sweepIterations(count, 2, d.height(), [&](int t) {
        const int o = (i0 + t) % 2;
        return std::pair<int, int>(o, o + 2 * blockRows);
    }, [&] {
        return [&](int t, int y) { mergePlanarRows(d.row(y), d.row(y + 1), w, (i0 + t) % 2, blockColumns, trackBar1); };
    });
}

}  // namespace

// The blocks of one iteration never overlap and read only their own four pixels, so rows of blocks
// are independent.
void MergeIteration(Bitmap& drawing, int i, int trackBar1) {
    if (plainPaths()) return plain::MergeIteration(drawing, i, trackBar1);
    const int blockRows = drawing.height() / 2 - 1, blockColumns = drawing.width() / 2 - 1;
    if (blockRows <= 0 || blockColumns <= 0) return;
    const int o = i % 2;
    parallelRows(0, blockRows, [&](int b0, int b1) {
        for (int b = b0; b < b1; ++b) {
            std::uint8_t* p = drawing.pixel(o, 2 * b + o);
            std::uint8_t* r = drawing.pixel(o, 2 * b + o + 1);
            for (int a = 0; a < blockColumns; ++a, p += 6, r += 6) mergeBlock(p, r, trackBar1);
        }
    }, 8);
}

void BilateralPainting(Bitmap& source, Bitmap& destination, int stage, int stages, const DrawingControls& c, const Materials& m,
                       RenderContext& ctx) {
    if (plainPaths()) return plain::BilateralPainting(source, destination, stage, stages, c, m, ctx);
    if (&source == &destination) {
        Bitmap copy = source;
        return gt::BilateralPainting(copy, destination, stage, stages, c, m, ctx);
    }
    checkTexture(c, m);
    ctx.random.seed = kDrawingSeed;
    const int W = source.width(), H = source.height();
    // The white sheet is only ever seen after a stop during the preparation; otherwise it would be
    // filled and at once overwritten.
    Soften(source);
    AdjustSaturation(source, 15, &ctx);
    if (ctx.pumpedCancel()) {
        destination.setSize(W, H);
        return;
    }
    AdjustContrast(source, 25);
    if (ctx.pumpedCancel()) {
        destination.setSize(W, H);
        return;
    }
    // The merges work on row-planar rows from the first sweep on; the way back lays the brightness.
    // Without dabs the first sweep takes the destination straight from the source, row-planar.
    const bool dabs = c.ComboBox1 == 5;
    const bool merging = H / 2 - 1 > 0 && W / 2 - 1 > 0;
    if (dabs || !merging) destination = source;
    if (dabs) PaintDabs(destination, c, ctx);

    const int lift = c.TrackBar3 - 127;
    const int n = c.TrackBar5;
    bool planar = false;
    for (int done = 0; done <= n;) {
        int count = std::min(kIterationsPerSweep, n + 1 - done);
        bool cancelled = false;
        if (!ctx.parameterWindowVisible) {
            for (int j = 0; j < count; ++j) {
                ctx.ProgressReport(done + j, n, stage, stages);
                if (ctx.pumpedCancel()) {
                    count = j;
                    cancelled = true;
                    break;
                }
            }
        }
        if (count > 0 && merging) {
            if (!planar && dabs) {
                rearrangeRows(destination, 0, true);
            } else if (!planar) {
                destination.setSize(W, H);
                rearrangeInto(source, destination, 0, true);
            }
            planar = true;
            mergeSweep(destination, done, count, c.TrackBar1);
        }
        if (cancelled) {
            if (planar)
                rearrangeRows(destination, 0, false);
            else if (!dabs && merging)
                destination = source;
            return;
        }
        done += count;
    }
    if (planar) {
        rearrangeRows(destination, 0, false, &lift);
    } else {
        for (int y = 1; y < H; ++y) {
            std::uint8_t* d = destination.row(y);
            for (std::size_t i = 3, e = std::size_t(W) * 3; i < e; ++i) d[i] = static_cast<std::uint8_t>(clampByte(d[i] + lift));
        }
    }
    if (c.CheckBox2) Soften(destination);
    Sharpen(destination);
    Sharpen(destination);
    Sharpen(destination);
    layPaperTexture(destination, c, m, false);
}

}  // namespace gt
