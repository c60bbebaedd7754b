// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program-wide pseudo-random generator: one 32-bit seed. A draw with range n sets
// seed := seed * 134775813 + 1 (mod 2^32) and returns the upper 32 bits of seed * n, so 0..n-1;
// a draw with range 0 or 1 returns 0 and still advances the seed.

#include <cstdint>

namespace gt {

class Random {
public:
    std::uint32_t seed = 0;

    std::uint32_t draw(std::uint32_t range) {
        advance();
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed) * range) >> 32);
    }
    int draw(int range) { return static_cast<int>(draw(static_cast<std::uint32_t>(range < 0 ? 0 : range))); }
    void advance() { seed = seed * 134775813u + 1u; }
};

inline constexpr std::uint32_t kDrawingSeed = 1969;

}  // namespace gt
