// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fast paintings' row machinery: rows rearranged into colour planes and back, and the sweep that
// runs several iterations over the picture as a wavefront. Only imaging/painting*.cpp include this.

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/parallel.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gt::painting_parts {

// Iterations handed to one sweep (see sweepIterations). The progress reports and cancel checks of
// a group's iterations come together before it starts, so a cancel still stops the run after
// exactly the iterations reported before it.
constexpr int kIterationsPerSweep = 8;

// Row-planar rows: the smoothing and merge iterations work on rows rearranged into all their blue
// bytes, then all their green, then all their red, so every channel is a plain array and the
// per-pixel arithmetic, largest-of-three-channels tests included, vectorises.
#if defined(__SSE2__)
// 32 pixels at a time: five rounds of byte unpacking turn 96 interleaved bytes into the three
// 32-byte planes; five rounds of the inverse (even and odd bytes apart) turn them back.
inline void unpackRound(__m128i (&v)[6]) {
    const __m128i n[6] = {_mm_unpacklo_epi8(v[0], v[3]), _mm_unpackhi_epi8(v[0], v[3]), _mm_unpacklo_epi8(v[1], v[4]),
                          _mm_unpackhi_epi8(v[1], v[4]), _mm_unpacklo_epi8(v[2], v[5]), _mm_unpackhi_epi8(v[2], v[5])};
    for (int k = 0; k < 6; ++k) v[k] = n[k];
}

inline void splitRound(__m128i (&v)[6]) {
    const __m128i low = _mm_set1_epi16(0x00FF);
    auto even = [&](__m128i a, __m128i b) { return _mm_packus_epi16(_mm_and_si128(a, low), _mm_and_si128(b, low)); };
    auto odd = [](__m128i a, __m128i b) { return _mm_packus_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(b, 8)); };
    const __m128i n[6] = {even(v[0], v[1]), even(v[2], v[3]), even(v[4], v[5]), odd(v[0], v[1]), odd(v[2], v[3]), odd(v[4], v[5])};
    for (int k = 0; k < 6; ++k) v[k] = n[k];
}
#endif

inline void planarRow(const std::uint8_t* __restrict in, std::uint8_t* __restrict out, int W) {
    int x = 0;
#if defined(__SSE2__)
    for (; x + 32 <= W; x += 32) {
        __m128i v[6];
        for (int k = 0; k < 6; ++k) v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * x + 16 * k));
        for (int r = 0; r < 5; ++r) unpackRound(v);
        for (int k = 0; k < 6; ++k) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (k / 2) * W + x + 16 * (k % 2)), v[k]);
    }
#endif
    for (; x < W; ++x) {
        out[x] = in[3 * x];
        out[W + x] = in[3 * x + 1];
        out[2 * W + x] = in[3 * x + 2];
    }
}

inline void interleavedRow(const std::uint8_t* __restrict in, std::uint8_t* __restrict out, int W) {
    int x = 0;
#if defined(__SSE2__)
    for (; x + 32 <= W; x += 32) {
        __m128i v[6];
        for (int k = 0; k < 6; ++k) v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + (k / 2) * W + x + 16 * (k % 2)));
        for (int r = 0; r < 5; ++r) splitRound(v);
        for (int k = 0; k < 6; ++k) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x + 16 * k), v[k]);
    }
#endif
    for (; x < W; ++x) {
        out[3 * x] = in[x];
        out[3 * x + 1] = in[W + x];
        out[3 * x + 2] = in[2 * W + x];
    }
}

// Rows [y0, H) of b rearranged in place, either way. With `lift`, rows 1.. from column 1 on are
// brightened on the way back (painting 2's brightness, while the row is at hand).
inline void rearrangeRows(Bitmap& b, int y0, bool toPlanar, const int* lift = nullptr) {
    const int W = b.width();
    const std::size_t w = std::size_t(W);
    parallelRows(y0, b.height(), [&](int r0, int r1) {
        std::vector<std::uint8_t> scratch(b.stride());
        std::uint8_t* __restrict row = scratch.data();
        for (int y = r0; y < r1; ++y) {
            std::uint8_t* p = b.row(y);
            std::copy(p, p + b.stride(), row);
            if (toPlanar) {
                planarRow(row, p, W);
                continue;
            }
            if (lift && y >= 1) {
                const int v = *lift;
                for (std::size_t c = 0; c < 3; ++c)
                    for (std::size_t x = c * w + 1; x < (c + 1) * w; ++x) row[x] = std::uint8_t(std::clamp(row[x] + v, 0, 255));
            }
            interleavedRow(row, p, W);
        }
    }, 32);
}

// Iterations t = 0 .. count-1 of a sweep over positions (rows, or the top rows of 2-row blocks):
// iteration t visits the positions of span(t) = [first, end) in steps of `stride`, and its step at
// position p reads and writes only what iteration t-1 left at positions p-1 .. p+1 (and its own p).
// Running them one after the other would stream the whole picture through memory once per
// iteration; instead each band of rows runs all of them as a wavefront, iteration t following one
// step behind t-1, so a few rows stay in cache across the iterations. At an inner band edge
// iteration t stops t positions short on either side (the band's work is a trapezoid); the
// triangles left around each edge are finished afterwards in iteration order. Every step thus
// sees exactly what the iterations one after the other would have shown it, for any number of
// bands. makeStep() gives each worker its own step(t, p), with its scratch.
template <class Span, class MakeStep>
inline void sweepIterations(int count, int stride, int positions, Span span, MakeStep makeStep) {
    if (count <= 0) return;
    const int bands = std::max(1, std::min(workerCount(), positions / (2 * count + 8)));
    std::vector<int> edge(std::size_t(bands) + 1);
    for (int k = 0; k <= bands; ++k) edge[std::size_t(k)] = int(std::int64_t(positions) * k / bands);
    // The first position of iteration t at or after lo.
    auto firstFrom = [&](int t, int lo) {
        const int first = span(t).first;
        return lo <= first ? first : first + (lo - first + stride - 1) / stride * stride;
    };
    parallelRows(0, bands, [&](int k0, int k1) {
        auto step = makeStep();
        std::vector<int> next(static_cast<std::size_t>(count)), limit(static_cast<std::size_t>(count));
        for (int k = k0; k < k1; ++k) {
            for (int t = 0; t < count; ++t) {
                const int lo = k == 0 ? span(t).first : edge[std::size_t(k)] + t;
                const int hi = k == bands - 1 ? span(t).second : std::min(span(t).second, edge[std::size_t(k) + 1] - t);
                next[std::size_t(t)] = firstFrom(t, lo);
                limit[std::size_t(t)] = hi;
            }
            for (bool moved = true; moved;) {
                moved = false;
                for (int t = 0; t < count; ++t) {
                    int& p = next[std::size_t(t)];
                    const int end = limit[std::size_t(t)];
                    if (t == 0) {
                        if (p < end) {
                            step(0, p);
                            p += stride;
                            moved = true;
                        }
                        continue;
                    }
                    const int before = next[std::size_t(t) - 1], beforeEnd = limit[std::size_t(t) - 1];
                    while (p < end && (before >= beforeEnd || before > p + 1)) {
                        step(t, p);
                        p += stride;
                        moved = true;
                    }
                }
            }
        }
    }, 1);
    if (bands > 1)
        parallelRows(1, bands, [&](int k0, int k1) {
            auto step = makeStep();
            for (int k = k0; k < k1; ++k)
                for (int t = 0; t < count; ++t) {
                    const int hi = std::min(span(t).second, edge[std::size_t(k)] + t);
                    for (int p = firstFrom(t, edge[std::size_t(k)] - t); p < hi; p += stride) step(t, p);
                }
        }, 1);
}

// Rows [y0, H) of `from` rearranged into the same rows of `to` (same size), either way.
inline void rearrangeInto(const Bitmap& from, Bitmap& to, int y0, bool toPlanar) {
    const int W = from.width();
    parallelRows(y0, from.height(), [&](int r0, int r1) {
        for (int y = r0; y < r1; ++y) {
            if (toPlanar)
                planarRow(from.row(y), to.row(y), W);
            else
                interleavedRow(from.row(y), to.row(y), W);
        }
    }, 32);
}

}  // namespace gt::painting_parts
