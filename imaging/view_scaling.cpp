// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/view_scaling.h"

#include <algorithm>

#include "imaging/parallel.h"

namespace gt {

int viewLevelSize(int size, int level) {
    for (int k = 0; k < level; ++k) size = std::max(1, size / 2);
    return size;
}

int viewLevel(int W, int H, int dw, int dh) {
    if (dw > W || dh > H) return 0;
    int k = 0;
    while (k + 1 < kViewLevels && viewLevelSize(W, k + 1) >= dw && viewLevelSize(H, k + 1) >= dh) ++k;
    return k;
}

std::size_t ViewPyramid::bytes() const {
    std::size_t n = 0;
    for (const Bitmap& level : levels) n += level.bytes().size();
    return n;
}

namespace {

// Where displayed column (or row) X samples a level of `size` shown at `shown`: the level pixel and
// the weight of the next one, in 256ths. (X + 1/2) * size / shown - 1/2, never negative because the
// level is at least as large as the displayed picture.
struct Sample {
    int at;
    int weight;
};
inline Sample sampleOf(long long X, int size, int shown) {
    const long long s = ((2 * X + 1) * size - shown) * 256 / (2LL * shown);
    return {int(s >> 8), int(s & 255)};
}

// The rounded mean of a factor x factor block of `source`, clamped at its edges, for level pixels
// [c0, c1) of row r.
void reduceRow(const Bitmap& source, int factor, int r, int c0, int c1, std::uint8_t* out) {
    const int W = source.width(), H = source.height();
    const std::uint8_t* rows[4];
    for (int j = 0; j < factor; ++j) rows[j] = source.row(std::min(r * factor + j, H - 1));
    const int shift = factor == 4 ? 4 : 2;
    const int half = 1 << (shift - 1);
    for (int c = c0; c < c1; ++c) {
        int x[4];
        for (int i = 0; i < factor; ++i) x[i] = std::min(c * factor + i, W - 1) * 3;
        for (int ch = 0; ch < 3; ++ch) {
            int sum = half;
            for (int j = 0; j < factor; ++j)
                for (int i = 0; i < factor; ++i) sum += rows[j][x[i] + ch];
            *out++ = std::uint8_t(sum >> shift);
        }
    }
}

// The same for the common case of a block wholly inside the picture, written for the vectoriser.
void reduceRowInside(const Bitmap& source, int factor, int r, int c0, int c1, std::uint8_t* out) {
    const int W = source.width(), H = source.height();
    const int inside = std::min(c1, W / factor);  // blocks that need no clamping on the right
    if (r * factor + factor - 1 >= H || inside <= c0) return reduceRow(source, factor, r, c0, c1, out);
    if (factor == 2) {
        const std::uint8_t* a = source.row(2 * r);
        const std::uint8_t* b = source.row(2 * r + 1);
        for (int c = c0; c < inside; ++c, out += 3) {
            const int x = c * 6;
            for (int ch = 0; ch < 3; ++ch) out[ch] = std::uint8_t((a[x + ch] + a[x + 3 + ch] + b[x + ch] + b[x + 3 + ch] + 2) >> 2);
        }
    } else {
        const std::uint8_t* a = source.row(4 * r);
        const std::uint8_t* b = source.row(4 * r + 1);
        const std::uint8_t* c2 = source.row(4 * r + 2);
        const std::uint8_t* d = source.row(4 * r + 3);
        for (int c = c0; c < inside; ++c, out += 3) {
            const int x = c * 12;
            for (int ch = 0; ch < 3; ++ch) {
                int sum = 8;
                for (int i = 0; i < 12; i += 3) sum += a[x + i + ch] + b[x + i + ch] + c2[x + i + ch] + d[x + i + ch];
                out[ch] = std::uint8_t(sum >> 4);
            }
        }
    }
    if (inside < c1) reduceRow(source, factor, r, inside, c1, out);
}

Bitmap reduced(const Bitmap& source, int factor, int width, int height) {
    Bitmap level;
    level.setSizeForOverwrite(width, height);
    parallelRows(0, height, [&](int r0, int r1) {
        for (int r = r0; r < r1; ++r) reduceRowInside(source, factor, r, 0, width, level.row(r));
    });
    return level;
}

inline std::uint32_t rgb32(const std::uint8_t* bgr) {
    return 0xff000000u | (std::uint32_t(bgr[2]) << 16) | (std::uint32_t(bgr[1]) << 8) | bgr[0];
}

void renderEnlarged(const Bitmap& picture, int dw, int dh, int x0, int y0, int w, int h, std::uint32_t* out, std::ptrdiff_t stride) {
    const int W = picture.width(), H = picture.height();
    std::vector<std::uint32_t> offsets(static_cast<std::size_t>(w));
    for (int i = 0; i < w; ++i) offsets[std::size_t(i)] = std::uint32_t((long long)(x0 + i) * W / dw) * 3;
    parallelRows(0, h, [&](int j0, int j1) {
        int lastRow = -1;
        for (int j = j0; j < j1; ++j) {
            std::uint32_t* o = out + j * stride;
            const int r = int((long long)(y0 + j) * H / dh);
            if (r == lastRow) {
                std::copy(o - stride, o - stride + w, o);
                continue;
            }
            lastRow = r;
            const std::uint8_t* src = picture.row(r);
            for (int i = 0; i < w; ++i) o[i] = rgb32(src + offsets[std::size_t(i)]);
        }
    }, 32);
}

}  // namespace

ViewPyramid buildViewPyramid(const Bitmap& picture) {
    ViewPyramid p;
    if (picture.empty()) return p;
    p.width = picture.width();
    p.height = picture.height();
    p.levels[2] = reduced(picture, 4, viewLevelSize(p.width, 2), viewLevelSize(p.height, 2));
    for (int k = 3; k < kViewLevels; ++k)
        p.levels[k] = reduced(p.levels[k - 1], 2, viewLevelSize(p.width, k), viewLevelSize(p.height, k));
    return p;
}

void renderView(const Bitmap& picture, const ViewPyramid* pyramid, int dw, int dh, int x0, int y0, int w, int h,
                std::uint32_t* out, std::ptrdiff_t stride) {
    if (w <= 0 || h <= 0 || dw <= 0 || dh <= 0 || picture.empty()) return;
    const int W = picture.width(), H = picture.height();
    if (dw > W || dh > H) return renderEnlarged(picture, dw, dh, x0, y0, w, h, out, stride);

    int k = viewLevel(W, H, dw, dh);
    const Bitmap* level = &picture;
    if (k >= 2) {
        if (pyramid && pyramid->matches(picture)) level = &pyramid->levels[k];
        else k = 0;
    }
    const bool halfOnTheFly = k == 1;
    const int wl = viewLevelSize(W, k), hl = viewLevelSize(H, k);

    std::vector<std::uint32_t> left(static_cast<std::size_t>(w)), right(static_cast<std::size_t>(w));
    std::vector<std::uint16_t> weight(static_cast<std::size_t>(w));
    const int cmin = sampleOf(x0, wl, dw).at;
    const int cmax = std::min(sampleOf(x0 + w - 1, wl, dw).at + 1, wl - 1);
    const int span = cmax - cmin + 1;
    for (int i = 0; i < w; ++i) {
        const Sample s = sampleOf(x0 + i, wl, dw);
        left[std::size_t(i)] = std::uint32_t(s.at - cmin) * 3;
        right[std::size_t(i)] = std::uint32_t(std::min(s.at + 1, wl - 1) - cmin) * 3;
        weight[std::size_t(i)] = std::uint16_t(s.weight);
    }

    parallelRows(0, h, [&](int j0, int j1) {
        std::vector<std::uint16_t> mixed(std::size_t(span) * 3);
        // Level 1 rows made for this band, the last two kept: neighbouring displayed rows share them.
        std::vector<std::uint8_t> made[2] = {std::vector<std::uint8_t>(std::size_t(span) * 3),
                                             std::vector<std::uint8_t>(std::size_t(span) * 3)};
        int madeRow[2] = {-1, -1};
        auto rowOf = [&](int r) -> const std::uint8_t* {
            if (!halfOnTheFly) return level->row(r) + std::size_t(cmin) * 3;
            for (int s = 0; s < 2; ++s)
                if (madeRow[s] == r) return made[s].data();
            const int s = madeRow[0] == -1 || (madeRow[1] != -1 && madeRow[0] < madeRow[1]) ? 0 : 1;
            reduceRowInside(picture, 2, r, cmin, cmax + 1, made[s].data());
            madeRow[s] = r;
            return made[s].data();
        };
        for (int j = j0; j < j1; ++j) {
            const Sample s = sampleOf(y0 + j, hl, dh);
            const std::uint8_t* a = rowOf(s.at);
            const std::uint8_t* b = rowOf(std::min(s.at + 1, hl - 1));
            const int fb = s.weight, fa = 256 - fb;
            for (int i = 0; i < span * 3; ++i) mixed[std::size_t(i)] = std::uint16_t(a[i] * fa + b[i] * fb);
            std::uint32_t* o = out + j * stride;
            for (int i = 0; i < w; ++i) {
                const std::uint16_t* p = mixed.data() + left[std::size_t(i)];
                const std::uint16_t* q = mixed.data() + right[std::size_t(i)];
                const int f = weight[std::size_t(i)], g = 256 - f;
                const std::uint32_t blue = std::uint32_t(p[0] * g + q[0] * f + 32768) >> 16;
                const std::uint32_t green = std::uint32_t(p[1] * g + q[1] * f + 32768) >> 16;
                const std::uint32_t red = std::uint32_t(p[2] * g + q[2] * f + 32768) >> 16;
                o[i] = 0xff000000u | (red << 16) | (green << 8) | blue;
            }
        }
    }, 32);
}

namespace plain {

namespace {

Bitmap meanOfBlocks(const Bitmap& source, int factor, int width, int height) {
    Bitmap level(width, height);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c)
            for (int ch = 0; ch < 3; ++ch) {
                int sum = 0;
                for (int j = 0; j < factor; ++j)
                    for (int i = 0; i < factor; ++i)
                        sum += source.pixel(std::min(c * factor + i, source.width() - 1), std::min(r * factor + j, source.height() - 1))[ch];
                level.pixel(c, r)[ch] = std::uint8_t((sum + factor * factor / 2) / (factor * factor));
            }
    return level;
}

}  // namespace

Bitmap viewOf(const Bitmap& picture, int dw, int dh) {
    Bitmap shown(dw, dh);
    if (picture.empty() || dw <= 0 || dh <= 0) return shown;
    const int W = picture.width(), H = picture.height();
    if (dw > W || dh > H) {
        for (int Y = 0; Y < dh; ++Y)
            for (int X = 0; X < dw; ++X)
                shown.setColour(X, Y, picture.colourAt(int((long long)X * W / dw), int((long long)Y * H / dh)));
        return shown;
    }
    Bitmap levels[kViewLevels];
    levels[1] = meanOfBlocks(picture, 2, viewLevelSize(W, 1), viewLevelSize(H, 1));
    levels[2] = meanOfBlocks(picture, 4, viewLevelSize(W, 2), viewLevelSize(H, 2));
    for (int k = 3; k < kViewLevels; ++k) levels[k] = meanOfBlocks(levels[k - 1], 2, viewLevelSize(W, k), viewLevelSize(H, k));
    const int k = viewLevel(W, H, dw, dh);
    const Bitmap& level = k == 0 ? picture : levels[k];
    const int wl = level.width(), hl = level.height();
    for (int Y = 0; Y < dh; ++Y) {
        const Sample sy = sampleOf(Y, hl, dh);
        for (int X = 0; X < dw; ++X) {
            const Sample sx = sampleOf(X, wl, dw);
            const int xa = sx.at, xb = std::min(sx.at + 1, wl - 1), ya = sy.at, yb = std::min(sy.at + 1, hl - 1);
            for (int ch = 0; ch < 3; ++ch) {
                const int v = level.pixel(xa, ya)[ch] * (256 - sx.weight) * (256 - sy.weight) + level.pixel(xb, ya)[ch] * sx.weight * (256 - sy.weight) +
                              level.pixel(xa, yb)[ch] * (256 - sx.weight) * sy.weight + level.pixel(xb, yb)[ch] * sx.weight * sy.weight;
                shown.pixel(X, Y)[ch] = std::uint8_t((v + 32768) >> 16);
            }
        }
    }
    return shown;
}

}  // namespace plain

}  // namespace gt
