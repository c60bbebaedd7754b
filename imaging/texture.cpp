// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/texture.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/arithmetic.h"
#include "imaging/error.h"
#include "imaging/parallel.h"

namespace gt {

namespace {

struct Tiling {
    int periodX = 1, periodY = 1;
    int k = 0;
};

Tiling tiling(const Bitmap& texture, int strength, TexturePeriod period) {
    if (texture.empty()) throw Error("the paper texture is empty");
    // Beyond this the shifted value would leave the 32-bit range.
    if (strength < -(1 << 20) || strength > (1 << 20))
        throw Error("paper texture strength " + std::to_string(strength) + " is out of range");
    Tiling t;
    const int less = period == TexturePeriod::SizeLessOne ? 1 : 0;
    // A texture 1 pixel wide or high would give a period of 0 with the size-less-one rule: it
    // repeats every pixel instead.
    t.periodX = std::max(1, texture.width() - less);
    t.periodY = std::max(1, texture.height() - less);
    t.k = (strength * 10) / 128;
    return t;
}

inline int texturedChannel(int c, int t, int strength, int k) { return clampLowFirst(c + strength - (t * k) / 10); }

}  // namespace

namespace plain {

void ApplyPaperTexture(Bitmap& bitmap, const Bitmap& texture, int strength, TexturePeriod period) {
    const Tiling t = tiling(texture, strength, period);
    for (int y = 1; y < bitmap.height(); ++y)
        for (int x = 1; x < bitmap.width(); ++x) {
            const std::uint8_t* tex = texture.pixel(x % t.periodX, y % t.periodY);
            std::uint8_t* p = bitmap.pixel(x, y);
            for (int ch = 0; ch < 3; ++ch) p[ch] = static_cast<std::uint8_t>(texturedChannel(p[ch], tex[ch], strength, t.k));
        }
}

}  // namespace plain

// The shift depends on the texel alone, so it is tabulated once per texel value, and each row's
// shifts are laid out once per texture row; the picture row then takes them in runs of one texture
// period, loops the compiler vectorises. Shifts beyond +-256 give 255 or 0 whatever the channel, so
// they are held at +-256 and fit 16 bits. Rows are independent.
void ApplyPaperTexture(Bitmap& bitmap, const Bitmap& texture, int strength, TexturePeriod period) {
    if (plainPaths()) return plain::ApplyPaperTexture(bitmap, texture, strength, period);
    const Tiling t = tiling(texture, strength, period);
    const int W = bitmap.width(), H = bitmap.height();
    if (W < 2 || H < 2) return;
    std::int16_t shift[256];
    for (int v = 0; v < 256; ++v) shift[v] = static_cast<std::int16_t>(std::clamp(strength - (v * t.k) / 10, -256, 256));
    const std::size_t periodBytes = std::size_t(t.periodX) * 3;
    parallelRows(1, H, [&](int y0, int y1) {
        std::vector<std::int16_t> shifts(periodBytes);
        int laidOut = -1;
        for (int y = y0; y < y1; ++y) {
            const int ty = y % t.periodY;
            if (ty != laidOut) {
                const std::uint8_t* texRow = texture.row(ty);
                for (std::size_t i = 0; i < periodBytes; ++i) shifts[i] = shift[texRow[i]];
                laidOut = ty;
            }
            std::uint8_t* p = bitmap.pixel(1, y);
            std::size_t left = std::size_t(W - 1) * 3;
            std::size_t from = std::size_t(1 % t.periodX) * 3;
            while (left > 0) {
                const std::size_t n = std::min(left, periodBytes - from);
                const std::int16_t* s = shifts.data() + from;
                for (std::size_t i = 0; i < n; ++i) {
                    const int v = p[i] + s[i];
                    p[i] = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
                }
                p += n;
                left -= n;
                from = 0;
            }
        }
    }, 64);
}

void LayPaperTexture(Bitmap& drawing, const Bitmap* texture, int comboBox2, TexturePeriod period, int factor, bool plainPath) {
    if (!texture) throw Error("the paper texture is missing");
    const int strength = factor * textureStrength(comboBox2);
    if (plainPath)
        plain::ApplyPaperTexture(drawing, *texture, strength, period);
    else
        ApplyPaperTexture(drawing, *texture, strength, period);
}

}  // namespace gt
