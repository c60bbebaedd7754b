// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/adjust.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "imaging/arithmetic.h"
#include "imaging/neighbourhood.h"
#include "imaging/parallel.h"

namespace gt {

namespace {

// Applies f to every channel of every pixel, rows in parallel; each channel depends only on itself.
template <class F>
void mapChannels(Bitmap& bitmap, F f) {
    // One table of 256 results is exact and far cheaper than the formula per byte.
    std::uint8_t table[256];
    for (int c = 0; c < 256; ++c) table[c] = static_cast<std::uint8_t>(f(c));
    parallelRows(0, bitmap.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* p = bitmap.row(y);
            for (std::size_t i = 0, n = bitmap.stride(); i < n; ++i) p[i] = table[p[i]];
        }
    });
}

// The brightness step: toward white by v percent of the distance to 255 for v > 0, toward black by
// |v| percent otherwise.
std::array<std::uint8_t, 256> brightnessTable(int v) {
    std::array<std::uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) table[std::size_t(c)] = static_cast<std::uint8_t>(clampByte(c + (v > 0 ? ((255 - c) * v) / 100 : (c * v) / 100)));
    return table;
}

inline int contrastChannel(int c, int local, int mean, int p) {
    const int target = (2 * local + mean) / 3;
    return clampByte(c + ((c - target) * p) / 100);
}

}  // namespace

void AdjustBrightness(Bitmap& bitmap, int v) {
    const std::array<std::uint8_t, 256> table = brightnessTable(v);
    mapChannels(bitmap, [&](int c) { return table[std::size_t(c)]; });
}

void LinearContrast(Bitmap& bitmap, int level, int percent) {
    mapChannels(bitmap, [=](int c) { return clampByte(c + ((c - level) * percent) / 100); });
}

namespace plain {

bool AdjustSaturation(Bitmap& bitmap, int p, const RenderContext* ctx) {
    const int W = bitmap.width();
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint8_t* q = bitmap.row(y);
        for (int x = 0; x < W; ++x, q += 3) {
            const int grey = (q[0] + q[1] + q[2]) / 3;
            for (int ch = 0; ch < 3; ++ch) q[ch] = static_cast<std::uint8_t>(clampByte(q[ch] + ((q[ch] - grey) * p) / 100));
        }
        // Rows done stay done: the scratch copy of the original routine is copied back whole.
        if (ctx && ctx->CancelRequested()) return false;
    }
    return true;
}

void AdjustContrast(Bitmap& bitmap, int p) {
    const int W = bitmap.width(), H = bitmap.height();
    if (W == 0 || H == 0) return;
    int mean[3];
    ChannelMeans(bitmap, mean);
    const Bitmap s = PaddedCopy9(bitmap);
    for (int y = 0; y <= H - 2; ++y) {
        for (int x = 0; x <= W - 2; ++x) {
            int sum[3] = {0, 0, 0};
            for (int dy = -4; dy <= 4; ++dy) {
                const std::uint8_t* r = s.pixel(x + 9 - 4, y + 9 + dy);
                for (int dx = 0; dx < 9; ++dx, r += 3) {
                    sum[0] += r[0]; sum[1] += r[1]; sum[2] += r[2];
                }
            }
            const std::uint8_t* c = s.pixel(x + 9, y + 9);
            std::uint8_t* out = bitmap.pixel(x, y);
            for (int ch = 0; ch < 3; ++ch) {
                const int local = (sum[ch] - c[ch]) / 80;
                out[ch] = static_cast<std::uint8_t>(contrastChannel(c[ch], local, mean[ch], p));
            }
        }
    }
}

}  // namespace plain

namespace {

// AdjustSaturation, each channel first passed through `before` when brightening (a brightness step
// done in the same pass). The new value of a channel depends only on the channel and the
// pixel's grey level: one table of 256 x 256 results. Rows are independent; they go in blocks, and the
// cancel flag is looked at after the first row (as the plain routine does when the flag is already
// set) and after each block. Returns the number of rows done.
template <bool Brighten>
int saturateRows(Bitmap& bitmap, int p, const std::array<std::uint8_t, 256>& before, const RenderContext* ctx) {
    const int W = bitmap.width(), H = bitmap.height();
    if (H == 0) return 0;
    std::vector<std::uint8_t> table(256 * 256);
    for (int grey = 0; grey < 256; ++grey)
        for (int c = 0; c < 256; ++c)
            table[std::size_t(grey) * 256 + std::size_t(c)] = static_cast<std::uint8_t>(clampByte(c + ((c - grey) * p) / 100));
    auto rows = [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* q = bitmap.row(y);
            for (int x = 0; x < W; ++x, q += 3) {
                const std::uint8_t b = Brighten ? before[q[0]] : q[0], g = Brighten ? before[q[1]] : q[1], r = Brighten ? before[q[2]] : q[2];
                const std::uint8_t* t = table.data() + std::size_t((b + g + r) / 3) * 256;
                q[0] = t[b];
                q[1] = t[g];
                q[2] = t[r];
            }
        }
    };
    rows(0, 1);
    if (ctx && ctx->CancelRequested()) return 1;
    const int block = std::max(256, 64 * workerCount());
    for (int y0 = 1; y0 < H; y0 += block) {
        const int y1 = std::min(H, y0 + block);
        parallelRows(y0, y1, rows, 32);
        if (ctx && ctx->CancelRequested()) return y1;
    }
    return H;
}

}  // namespace

bool AdjustSaturation(Bitmap& bitmap, int p, const RenderContext* ctx) {
    if (plainPaths()) return plain::AdjustSaturation(bitmap, p, ctx);
    return saturateRows<false>(bitmap, p, {}, ctx) == bitmap.height();
}

// After a stop the rows not saturated still get their brightness, as the two steps one after the
// other leave them.
bool AdjustBrightnessAndSaturation(Bitmap& bitmap, int brightness, int saturation, const RenderContext* ctx) {
    if (plainPaths()) {
        AdjustBrightness(bitmap, brightness);
        return plain::AdjustSaturation(bitmap, saturation, ctx);
    }
    const std::array<std::uint8_t, 256> bright = brightnessTable(brightness);
    const int done = saturateRows<true>(bitmap, saturation, bright, ctx);
    if (done == bitmap.height()) return true;
    parallelRows(done, bitmap.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* q = bitmap.row(y);
            for (std::size_t i = 0, n = bitmap.stride(); i < n; ++i) q[i] = bright[q[i]];
        }
    });
    return false;
}

void AdjustContrast(Bitmap& bitmap, int p) {
    if (plainPaths()) return plain::AdjustContrast(bitmap, p);
    int mean[3];
    ChannelMeans(bitmap, mean);  // also refuses an oversized picture before any pixel changes
    AdjustContrast(bitmap, p, mean);
}

// In place without the padded copy: each band keeps its nine padded rows in a ring and running
// 16-bit column sums over them (at most 9 * 255); the rows a band reads but a neighbouring band may
// rewrite first are copied before any band starts. The 9 x 9 sums (at most 81 * 255), the local
// means and the targets are whole-row loops the compiler vectorises; the last step is one table of
// 256 x 256 results.
void AdjustContrast(Bitmap& bitmap, int p, const int mean[3]) {
    const int W = bitmap.width(), H = bitmap.height();
    if (W < 2 || H < 2) return;  // only rows 0..H-2 and columns 0..W-2 change
    const std::size_t stride = bitmap.stride(), padded = stride + 54, out = std::size_t(W - 1) * 3;
    std::vector<std::uint8_t> result(256 * 256);
    for (int c = 0; c < 256; ++c)
        for (int target = 0; target < 256; ++target)
            result[std::size_t(c) * 256 + std::size_t(target)] = static_cast<std::uint8_t>(clampByte(c + ((c - target) * p) / 100));
    std::vector<std::uint16_t> meanRow(out);
    for (std::size_t i = 0; i < out; ++i) meanRow[i] = static_cast<std::uint16_t>(mean[i % 3]);

    // Row bands over 0..H-2. A band [a, b) reads picture rows a-4 .. b+3, and rows 5..8, which
    // stand above the picture, at its start.
    const std::vector<int> edge = inPlaceBands(0, H - 1, 32);
    std::vector<int> slot(std::size_t(H), -1);
    int kept = 0;
    auto keep = [&](int r0, int r1) {
        for (int r = std::max(0, r0); r < std::min(H, r1); ++r)
            if (slot[std::size_t(r)] < 0) slot[std::size_t(r)] = kept++;
    };
    for (std::size_t i = 1; i + 1 < edge.size(); ++i) keep(edge[i] - 4, edge[i] + 4);
    keep(5, 9);
    std::vector<std::uint8_t> copies(std::size_t(kept) * stride);
    for (int r = 0; r < H; ++r)
        if (slot[std::size_t(r)] >= 0) std::memcpy(copies.data() + std::size_t(slot[std::size_t(r)]) * stride, bitmap.row(r), stride);
    auto original = [&](int r) -> const std::uint8_t* {
        const int k = slot[std::size_t(r)];
        return k < 0 ? bitmap.row(r) : copies.data() + std::size_t(k) * stride;
    };

    runInPlaceBands(edge, [&](int band) {
        std::vector<std::uint8_t> ring(9 * padded);
        std::vector<std::uint16_t> colSum(padded, 0), three(out + 18), target(out);
        auto ringRow = [&](int r) { return ring.data() + std::size_t((r + 18) % 9) * padded; };
        auto padRow = [&](int r, std::uint8_t* row) {
            const int source = paddedSourceRow(r + 9, H);
            PaddedRow9(source < 0 ? nullptr : original(source), W, row);
        };
        const int a = edge[std::size_t(band)], b = edge[std::size_t(band) + 1];
        for (int r = a - 4; r <= a + 4; ++r) {
            std::uint8_t* row = ringRow(r);
            padRow(r, row);
            for (std::size_t i = 0; i < padded; ++i) colSum[i] = static_cast<std::uint16_t>(colSum[i] + row[i]);
        }
        for (int y = a; y < b; ++y) {
            if (y > a) {
                std::uint8_t* row = ringRow(y + 4);  // where row y - 5 was
                for (std::size_t i = 0; i < padded; ++i) colSum[i] = static_cast<std::uint16_t>(colSum[i] - row[i]);
                padRow(y + 4, row);
                for (std::size_t i = 0; i < padded; ++i) colSum[i] = static_cast<std::uint16_t>(colSum[i] + row[i]);
            }
            // Column x's window covers padded columns x + 5 .. x + 13.
            const std::uint16_t* cs = colSum.data() + 15;
            for (std::size_t i = 0; i < out + 18; ++i) three[i] = static_cast<std::uint16_t>(cs[i] + cs[i + 3] + cs[i + 6]);
            const std::uint8_t* c = ringRow(y) + 27;
            for (std::size_t i = 0; i < out; ++i) {
                const std::uint16_t sum = static_cast<std::uint16_t>(three[i] + three[i + 9] + three[i + 18]);
                const std::uint16_t local = static_cast<std::uint16_t>(static_cast<std::uint16_t>(sum - c[i]) / 80);
                target[i] = static_cast<std::uint16_t>(static_cast<std::uint16_t>(2 * local + meanRow[i]) / 3);
            }
            std::uint8_t* o = bitmap.row(y);
            for (std::size_t i = 0; i < out; ++i) o[i] = result[std::size_t(c[i]) * 256 + target[i]];
        }
    });
}

bool Invert(Bitmap& bitmap) {
    for (auto& b : bitmap.bytes()) b = static_cast<std::uint8_t>(255 - b);
    return true;
}

}  // namespace gt
