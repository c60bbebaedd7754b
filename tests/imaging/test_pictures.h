// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small pictures built in code for the imaging tests.

#include <cstdint>

#include "imaging/bitmap.h"
#include "imaging/random.h"

namespace gt::testing {

inline Bitmap flat(int w, int h, Colour c) {
    Bitmap b(w, h);
    b.fill(c);
    return b;
}

inline Bitmap grey(int w, int h, int v) { return flat(w, h, Colour{std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)}); }

// Noise with a little structure (gradients plus noise), reproducible from the seed.
inline Bitmap noisy(int w, int h, std::uint32_t seed) {
    Bitmap b(w, h);
    Random r;
    r.seed = seed;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = b.pixel(x, y);
            p[0] = std::uint8_t((x * 7 + static_cast<int>(r.draw(64u))) & 255);
            p[1] = std::uint8_t((y * 5 + static_cast<int>(r.draw(64u))) & 255);
            p[2] = std::uint8_t(r.draw(256u));
        }
    return b;
}

}  // namespace gt::testing
