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

// The shift depends on the texel alone, so it is tabulated once per texel value; rows are independent.
void ApplyPaperTexture(Bitmap& bitmap, const Bitmap& texture, int strength, TexturePeriod period) {
    if (plainPaths()) return plain::ApplyPaperTexture(bitmap, texture, strength, period);
    const Tiling t = tiling(texture, strength, period);
    const int W = bitmap.width(), H = bitmap.height();
    if (W < 2 || H < 2) return;
    int shift[256];
    for (int v = 0; v < 256; ++v) shift[v] = strength - (v * t.k) / 10;
    parallelRows(1, H, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const std::uint8_t* texRow = texture.row(y % t.periodY);
            std::uint8_t* p = bitmap.pixel(1, y);
            int tx = 1 % t.periodX;
            for (int x = 1; x < W; ++x, p += 3) {
                const std::uint8_t* tex = texRow + std::size_t(tx) * 3;
                for (int ch = 0; ch < 3; ++ch) p[ch] = static_cast<std::uint8_t>(clampLowFirst(p[ch] + shift[tex[ch]]));
                if (++tx == t.periodX) tx = 0;
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
