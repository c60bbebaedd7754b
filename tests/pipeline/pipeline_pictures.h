// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small photos built in code, and the built-in pictures read once from the sources' asset folder.

#include <cstdint>

#include "imaging/bitmap.h"
#include "imaging/io/builtin_pictures.h"
#include "imaging/random.h"
#include "imaging/resources.h"

namespace gt::testing {

// A photo-like picture: gradients, a disc with hard edges, some noise; reproducible from the seed.
inline Bitmap photo(int w, int h, std::uint32_t seed = 5) {
    Bitmap b(w, h);
    Random r;
    r.seed = seed;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = b.pixel(x, y);
            const bool inside = 8 * ((x - w / 2) * (x - w / 2) + (y - h / 2) * (y - h / 2)) < w * h;
            p[0] = std::uint8_t(((inside ? 40 : 180) + x * 2 + static_cast<int>(r.draw(24u))) & 255);
            p[1] = std::uint8_t(((inside ? 90 : 120) + y * 3 + static_cast<int>(r.draw(24u))) & 255);
            p[2] = std::uint8_t(((inside ? 200 : 60) + (x + y) + static_cast<int>(r.draw(24u))) & 255);
        }
    return b;
}

inline const Resources& builtinResources() {
    static const Resources resources = loadBuiltinPicturesFrom(GT_ASSET_DIR);
    return resources;
}

}  // namespace gt::testing
