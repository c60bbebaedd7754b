#include "imaging/adjust.h"

#include <cstdint>
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

inline int contrastChannel(int c, int local, int mean, int p) {
    const int target = (2 * local + mean) / 3;
    return clampByte(c + ((c - target) * p) / 100);
}

}  // namespace

void AdjustBrightness(Bitmap& bitmap, int v) {
    mapChannels(bitmap, [v](int c) {
        const int d = v > 0 ? ((255 - c) * v) / 100 : (c * v) / 100;
        return clampByte(c + d);
    });
}

void LinearContrast(Bitmap& bitmap, int level, int percent) {
    mapChannels(bitmap, [=](int c) { return clampByte(c + ((c - level) * percent) / 100); });
}

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

namespace plain {

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

// Same results as the plain routine: 9 x 9 sums kept as running column sums (integers, so exact),
// rows in parallel bands.
void AdjustContrast(Bitmap& bitmap, int p) {
    if (plainPaths()) return plain::AdjustContrast(bitmap, p);
    const int W = bitmap.width(), H = bitmap.height();
    if (W < 2 || H < 2) return;  // only rows 0..H-2 and columns 0..W-2 change
    int mean[3];
    ChannelMeans(bitmap, mean);
    const Bitmap s = PaddedCopy9(bitmap);
    const int SW = s.width();
    parallelRows(0, H - 1, [&](int y0, int y1) {
        // colSum[k*3+ch]: sum over rows y+5..y+13 of s at column k, for the current y
        std::vector<int> colSum(static_cast<std::size_t>(SW) * 3, 0);
        for (int r = y0 + 5; r <= y0 + 13; ++r) {
            const std::uint8_t* row = s.row(r);
            for (std::size_t i = 0; i < colSum.size(); ++i) colSum[i] += row[i];
        }
        for (int y = y0; y < y1; ++y) {
            if (y > y0) {
                const std::uint8_t* out = s.row(y + 4);
                const std::uint8_t* in = s.row(y + 13);
                for (std::size_t i = 0; i < colSum.size(); ++i) colSum[i] += in[i] - out[i];
            }
            int sum[3] = {0, 0, 0};
            for (int k = 5; k <= 13; ++k)
                for (int ch = 0; ch < 3; ++ch) sum[ch] += colSum[static_cast<std::size_t>(k) * 3 + ch];
            const std::uint8_t* c = s.pixel(9, y + 9);
            std::uint8_t* o = bitmap.row(y);
            for (int x = 0; x <= W - 2; ++x, c += 3, o += 3) {
                if (x > 0) {
                    for (int ch = 0; ch < 3; ++ch)
                        sum[ch] += colSum[static_cast<std::size_t>(x + 13) * 3 + ch] - colSum[static_cast<std::size_t>(x + 4) * 3 + ch];
                }
                for (int ch = 0; ch < 3; ++ch) {
                    const int local = (sum[ch] - c[ch]) / 80;
                    o[ch] = static_cast<std::uint8_t>(contrastChannel(c[ch], local, mean[ch], p));
                }
            }
        }
    });
}

bool Invert(Bitmap& bitmap) {
    for (auto& b : bitmap.bytes()) b = static_cast<std::uint8_t>(255 - b);
    return true;
}

}  // namespace gt
