// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/filters.h"
#include "imaging/filters_plain.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "imaging/arithmetic.h"
#include "imaging/error.h"
#include "imaging/neighbourhood.h"
#include "imaging/parallel.h"

namespace gt {

// ---------------------------------------------------------------------------------------------------
// The plain routines: a scratch copy holds the unchanged input, every pixel computed on its own.

namespace plain {

namespace {

int sum9(const Bitmap& in, int x, int y, int ch) {
    int s = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) s += in.pixel(x + dx, y + dy)[ch];
    return s;
}

template <class Channel>
void interior(Bitmap& bitmap, Channel channel) {
    const Bitmap in = bitmap;
    for (int y = 1; y <= bitmap.height() - 2; ++y)
        for (int x = 1; x <= bitmap.width() - 2; ++x)
            for (int ch = 0; ch < 3; ++ch) bitmap.pixel(x, y)[ch] = static_cast<std::uint8_t>(channel(in, x, y, ch));
}

}  // namespace

void Soften(Bitmap& bitmap) {
    const int W = bitmap.width(), H = bitmap.height();
    const Bitmap in = bitmap;
    interior(bitmap, [](const Bitmap& s, int x, int y, int ch) { return (s.pixel(x, y)[ch] + 2 * (sum9(s, x, y, ch) / 9)) / 3; });
    for (int y : {0, H - 1})
        for (int x = 1; x <= W - 2; ++x)
            for (int ch = 0; ch < 3; ++ch)
                bitmap.pixel(x, y)[ch] = static_cast<std::uint8_t>((in.pixel(x - 1, y)[ch] + in.pixel(x, y)[ch] + in.pixel(x + 1, y)[ch]) / 3);
    for (int x : {0, W - 1})
        for (int y = 1; y <= H - 2; ++y)
            for (int ch = 0; ch < 3; ++ch)
                bitmap.pixel(x, y)[ch] = static_cast<std::uint8_t>((in.pixel(x, y - 1)[ch] + in.pixel(x, y)[ch] + in.pixel(x, y + 1)[ch]) / 3);
}

void Blur3x3(Bitmap& bitmap) {
    interior(bitmap, [](const Bitmap& s, int x, int y, int ch) { return sum9(s, x, y, ch) / 9; });
}

void Sharpen(Bitmap& bitmap) {
    interior(bitmap, [](const Bitmap& s, int x, int y, int ch) {
        const int c = s.pixel(x, y)[ch];
        const int n = (sum9(s, x, y, ch) - c) / 8;
        int v = 5 * c - n;
        if (v < 0) v = 0;
        v /= 4;
        return v > 255 ? 255 : v;
    });
}

void ResizeBilinear(const Bitmap& source, Bitmap& destination) {
    if (source.width() == destination.width() && source.height() == destination.height()) {
        destination = source;
        return;
    }
    const int Ws = source.width(), Hs = source.height(), Wd = destination.width(), Hd = destination.height();
    if (Wd == 0 || Hd == 0) return;
    if (Ws == 0 || Hs == 0) throw Error("cannot resize an empty picture");
    const int sx = mulDiv(Ws - 1, 65536, Wd);
    const int sy = mulDiv(Hs - 1, 65536, Hd);
    long long Y = 0;
    for (int k = 0; k < Hd; ++k, Y += sy) {
        const int r = std::min(static_cast<int>(Y >> 16), Hs - 1);
        const int fy = static_cast<int>(Y & 0xFFFF);
        const int wB = fy + 1, wA = 65536 - fy;
        const int rB = r < Hs - 1 ? r + 1 : r;
        long long X = 0;
        for (int x = 0; x < Wd; ++x, X += sx) {
            const int t = std::min(static_cast<int>(X >> 16), Ws - 1);
            const int fx = static_cast<int>(X & 0xFFFF);
            const int w2 = mulDiv(fx, wA, 65536), w1 = wA - w2;
            const int w4 = mulDiv(fx, wB, 65536), w3 = wB - w4;
            // The right-hand sample stays inside the row: on the last column it is the column itself.
            const int t2 = t < Ws - 1 ? t + 1 : t;
            for (int ch = 0; ch < 3; ++ch) {
                const long long v = static_cast<long long>(source.pixel(t, r)[ch]) * w1 + static_cast<long long>(source.pixel(t2, r)[ch]) * w2 +
                                    static_cast<long long>(source.pixel(t, rB)[ch]) * w3 + static_cast<long long>(source.pixel(t2, rB)[ch]) * w4;
                destination.pixel(x, k)[ch] = static_cast<std::uint8_t>(v >> 16);
            }
        }
    }
}

}  // namespace plain

// ---------------------------------------------------------------------------------------------------
// The fast routines.
//
// The 3 x 3 filters work on the picture itself: a band of rows goes down its rows keeping the original
// of the row above in a small buffer and saving each row before overwriting it. The rows just outside
// each band belong to a neighbouring band, which may overwrite them at any time, so they are saved for
// every band before any band starts. The row kernels are written as plain loops over 16-bit sums,
// which the compiler turns into vector code.

namespace {

using Row16 = std::vector<std::uint16_t>;

// v[i] = a[i] + b[i] + c[i]: the vertical sums of one row, three rows at most 765.
inline void columnSums(const std::uint8_t* a, const std::uint8_t* c, const std::uint8_t* b, std::uint16_t* v, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint16_t>(a[i] + c[i] + b[i]);
}

// Runs kernel(above, centre, below, out, W, scratch) for rows 1..H-2, the three input rows unchanged.
// out is the picture's own row, holding the original when the kernel starts.
template <class Kernel>
void inPlaceRows(Bitmap& bitmap, Kernel kernel) {
    const int W = bitmap.width(), H = bitmap.height();
    if (W < 1 || H < 3) return;
    const std::size_t stride = bitmap.stride();
    const std::vector<int> edge = inPlaceBands(1, H - 1, 32);
    const std::size_t bands = edge.size() - 1;
    // For band i: the row above its first row and the row below its last one.
    std::vector<std::uint8_t> outside(bands * 2 * stride);
    for (std::size_t i = 0; i < bands; ++i) {
        std::memcpy(outside.data() + 2 * i * stride, bitmap.row(edge[i] - 1), stride);
        std::memcpy(outside.data() + (2 * i + 1) * stride, bitmap.row(edge[i + 1]), stride);
    }
    runInPlaceBands(edge, [&](int band) {
        const std::size_t i = std::size_t(band);
        std::vector<std::uint8_t> saved(2 * stride);
        Row16 scratch(stride);
        const std::uint8_t* above = outside.data() + 2 * i * stride;
        const std::uint8_t* belowLast = outside.data() + (2 * i + 1) * stride;
        for (int y = edge[i]; y < edge[i + 1]; ++y) {
            std::uint8_t* centre = saved.data() + std::size_t(y & 1) * stride;
            std::memcpy(centre, bitmap.row(y), stride);
            const std::uint8_t* below = y + 1 < edge[i + 1] ? bitmap.row(y + 1) : belowLast;
            kernel(above, centre, below, bitmap.row(y), W, scratch.data());
            above = centre;
        }
    });
}

// The kernels write columns 1..W-2 (bytes 3 .. 3W-4) from the 3 x 3 sums v[i-3] + v[i] + v[i+3].

void blurKernel(const std::uint8_t* a, const std::uint8_t* c, const std::uint8_t* b, std::uint8_t* o, int W, std::uint16_t* v) {
    if (W < 3) return;
    const std::size_t n = std::size_t(W) * 3;
    columnSums(a, c, b, v, n);
    for (std::size_t i = 3; i < n - 3; ++i) o[i] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(v[i - 3] + v[i] + v[i + 3]) / 9);
}

void sharpenKernel(const std::uint8_t* a, const std::uint8_t* c, const std::uint8_t* b, std::uint8_t* o, int W, std::uint16_t* v) {
    if (W < 3) return;
    const std::size_t n = std::size_t(W) * 3;
    columnSums(a, c, b, v, n);
    for (std::size_t i = 3; i < n - 3; ++i) {
        const std::int16_t neighbours = static_cast<std::int16_t>((v[i - 3] + v[i] + v[i + 3] - c[i]) >> 3);
        std::int16_t s = static_cast<std::int16_t>(5 * c[i] - neighbours);
        s = s < 0 ? std::int16_t(0) : s;
        s = static_cast<std::int16_t>(s >> 2);
        o[i] = static_cast<std::uint8_t>(s > 255 ? 255 : s);
    }
}

// Interior pixels, and the left and right columns with their two vertical neighbours.
void softenKernel(const std::uint8_t* a, const std::uint8_t* c, const std::uint8_t* b, std::uint8_t* o, int W, std::uint16_t* v) {
    const std::size_t n = std::size_t(W) * 3;
    columnSums(a, c, b, v, n);
    if (W >= 3)
        for (std::size_t i = 3; i < n - 3; ++i) {
            const std::uint16_t m = static_cast<std::uint16_t>(static_cast<std::uint16_t>(v[i - 3] + v[i] + v[i + 3]) / 9);
            o[i] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(c[i] + 2 * m) / 3);
        }
    for (std::size_t i = 0; i < 3; ++i) {
        o[i] = static_cast<std::uint8_t>(v[i] / 3);
        o[n - 3 + i] = static_cast<std::uint8_t>(v[n - 3 + i] / 3);
    }
}

// The top or bottom row of Soften: columns 1..W-2 with their two horizontal neighbours.
void softenEdgeRow(const std::uint8_t* c, std::uint8_t* o, int W) {
    if (W < 3) return;
    const std::size_t n = std::size_t(W) * 3;
    for (std::size_t i = 3; i < n - 3; ++i) o[i] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(c[i - 3] + c[i] + c[i + 3]) / 3);
}

}  // namespace

void Soften(Bitmap& bitmap) {
    if (plainPaths()) return plain::Soften(bitmap);
    const int W = bitmap.width(), H = bitmap.height();
    if (W == 0 || H == 0) return;
    // The top and bottom rows are worked out first and put in place last: the bands read them unchanged.
    const std::size_t stride = bitmap.stride();
    std::vector<std::uint8_t> top(bitmap.row(0), bitmap.row(0) + stride), bottom(bitmap.row(H - 1), bitmap.row(H - 1) + stride);
    softenEdgeRow(bitmap.row(0), top.data(), W);
    softenEdgeRow(bitmap.row(H - 1), bottom.data(), W);
    inPlaceRows(bitmap, softenKernel);
    std::memcpy(bitmap.row(0), top.data(), stride);
    std::memcpy(bitmap.row(H - 1), bottom.data(), stride);
}

// Straight from the source, nothing to save: every row of the destination is written whole.
void Soften(const Bitmap& source, Bitmap& destination) {
    if (&source == &destination) return Soften(destination);
    if (plainPaths()) {
        destination = source;
        return plain::Soften(destination);
    }
    const int W = source.width(), H = source.height();
    destination.setSizeForOverwrite(W, H);
    if (W == 0 || H == 0) return;
    const std::size_t stride = source.stride();
    for (int y : {0, H - 1}) {
        std::memcpy(destination.row(y), source.row(y), stride);
        softenEdgeRow(source.row(y), destination.row(y), W);
    }
    parallelRows(1, H - 1, [&](int y0, int y1) {
        Row16 scratch(stride);
        for (int y = y0; y < y1; ++y) softenKernel(source.row(y - 1), source.row(y), source.row(y + 1), destination.row(y), W, scratch.data());
    });
}

void Blur3x3(Bitmap& bitmap) {
    if (plainPaths()) return plain::Blur3x3(bitmap);
    inPlaceRows(bitmap, blurKernel);
}

void Sharpen(Bitmap& bitmap) {
    if (plainPaths()) return plain::Sharpen(bitmap);
    inPlaceRows(bitmap, sharpenKernel);
}

void ResizeBilinear(const Bitmap& source, Bitmap& destination) { ResizeBilinearAround(source, destination, Rect{}); }

// Destination rows are independent: row k starts at Y = k * sy, exactly as the running sum gives; the
// columns' sample positions are the same on every row and worked out once.
void ResizeBilinearAround(const Bitmap& source, Bitmap& destination, const Rect& hole) {
    if (plainPaths()) return plain::ResizeBilinear(source, destination);
    if (source.width() == destination.width() && source.height() == destination.height()) {
        destination = source;
        return;
    }
    const int Ws = source.width(), Hs = source.height(), Wd = destination.width(), Hd = destination.height();
    if (Wd == 0 || Hd == 0) return;
    if (Ws == 0 || Hs == 0) throw Error("cannot resize an empty picture");
    const int sx = mulDiv(Ws - 1, 65536, Wd);
    const int sy = mulDiv(Hs - 1, 65536, Hd);

    // Columns in runs that share their two samples (an enlargement repeats each sample column).
    struct Run {
        int x0, x1;
        std::uint32_t left, right;  // byte offsets of the two samples in a source row
    };
    std::vector<Run> runs;
    std::vector<std::uint32_t> fxs(static_cast<std::size_t>(Wd));
    long long X = 0;
    for (int x = 0; x < Wd; ++x, X += sx) {
        const int t = std::min(static_cast<int>(X >> 16), Ws - 1);
        // The right-hand sample stays inside the row: on the last column it is the column itself.
        const int t2 = t < Ws - 1 ? t + 1 : t;
        fxs[std::size_t(x)] = std::uint32_t(X & 0xFFFF);
        if (runs.empty() || runs.back().left != std::uint32_t(t) * 3)
            runs.push_back({x, x + 1, std::uint32_t(t) * 3, std::uint32_t(t2) * 3});
        else
            runs.back().x1 = x + 1;
    }
    const int holeLeft = std::clamp(hole.left, 0, Wd), holeRight = std::clamp(hole.right, holeLeft, Wd);

    parallelRows(0, Hd, [&](int k0, int k1) {
        for (int k = k0; k < k1; ++k) {
            const long long Y = static_cast<long long>(k) * sy;
            const int r = std::min(static_cast<int>(Y >> 16), Hs - 1);
            const std::uint32_t fy = static_cast<std::uint32_t>(Y & 0xFFFF);
            const std::uint8_t* A = source.row(r);
            const std::uint8_t* B = source.row(r < Hs - 1 ? r + 1 : r);
            const std::uint32_t wB = fy + 1, wA = 65536 - fy;
            std::uint8_t* row = destination.row(k);
            // With w1 = wA - w2 and w3 = wB - w4 the sum is a0 wA + b0 wB + (a1 - a0) w2 + (b1 - b0) w4, the
            // same integer; its first two terms are the run's own. Every term and partial sum stays within
            // +-2^25, so 32 signed bits hold it exactly.
            auto span = [&](int x0, int x1) {
                auto first = std::upper_bound(runs.begin(), runs.end(), x0, [](int x, const Run& run) { return x < run.x1; });
                for (auto it = first; it != runs.end() && it->x0 < x1; ++it) {
                    const Run& run = *it;
                    const int from = std::max(run.x0, x0), to = std::min(run.x1, x1);
                    const std::uint8_t *a0 = A + run.left, *a1 = A + run.right, *b0 = B + run.left, *b1 = B + run.right;
                    std::int32_t base[3], dA[3], dB[3];
                    for (int ch = 0; ch < 3; ++ch) {
                        base[ch] = static_cast<std::int32_t>(a0[ch] * wA + b0[ch] * wB);
                        dA[ch] = a1[ch] - a0[ch];
                        dB[ch] = b1[ch] - b0[ch];
                    }
                    std::uint8_t* d = row + std::size_t(from) * 3;
                    for (int x = from; x < to; ++x, d += 3) {
                        const std::int32_t w2 = static_cast<std::int32_t>(resampleWeight(fxs[std::size_t(x)], wA));
                        const std::int32_t w4 = static_cast<std::int32_t>(resampleWeight(fxs[std::size_t(x)], wB));
                        const std::int32_t v0 = base[0] + dA[0] * w2 + dB[0] * w4;
                        const std::int32_t v1 = base[1] + dA[1] * w2 + dB[1] * w4;
                        const std::int32_t v2 = base[2] + dA[2] * w2 + dB[2] * w4;
                        d[0] = static_cast<std::uint8_t>(v0 >> 16);
                        d[1] = static_cast<std::uint8_t>(v1 >> 16);
                        d[2] = static_cast<std::uint8_t>(v2 >> 16);
                    }
                }
            };
            if (k >= hole.top && k < hole.bottom && holeLeft < holeRight) {
                span(0, holeLeft);
                span(holeRight, Wd);
            } else {
                span(0, Wd);
            }
        }
    });
}

}  // namespace gt
