// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "imaging/random.h"

namespace gt {
namespace {

TEST(Random, FollowsTheLinearCongruence) {
    Random r;
    r.seed = 1969;
    // seed := 1969 * 134775813 + 1 mod 2^32, result = upper 32 bits of seed * 100
    const std::uint32_t next = 1969u * 134775813u + 1u;
    EXPECT_EQ(r.draw(100u), static_cast<std::uint32_t>((std::uint64_t(next) * 100) >> 32));
    EXPECT_EQ(r.seed, next);
}

TEST(Random, RangeZeroAndOneReturnZeroButAdvance) {
    Random r;
    r.seed = 7;
    EXPECT_EQ(r.draw(0u), 0u);
    EXPECT_EQ(r.seed, 7u * 134775813u + 1u);
    EXPECT_EQ(r.draw(1u), 0u);
    EXPECT_NE(r.seed, 7u * 134775813u + 1u);
}

TEST(Random, StaysInRange) {
    Random r;
    r.seed = 1969;
    for (int i = 0; i < 10000; ++i) EXPECT_LT(r.draw(163u), 163u);
}

}  // namespace
}  // namespace gt
