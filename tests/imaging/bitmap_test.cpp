// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <utility>

#include "imaging/bitmap.h"
#include "test_pictures.h"

namespace gt {
namespace {

using testing::noisy;

TEST(Bitmap, CopiesMovesAndSizes) {
    // 1200 x 1200 is past the size from which pictures get pages of their own.
    for (auto [w, h] : {std::pair{5, 3}, {1200, 1200}}) {
        const Bitmap n = noisy(w, h, 3);
        Bitmap copy = n;
        EXPECT_EQ(copy, n);
        copy.pixel(w - 1, h - 1)[2] ^= 1;
        EXPECT_FALSE(copy == n);

        Bitmap moved = std::move(copy);
        EXPECT_EQ(moved.pixel(w - 1, h - 1)[2], n.pixel(w - 1, h - 1)[2] ^ 1);
        Bitmap assigned(2, 2);
        assigned = n;
        EXPECT_EQ(assigned, n);
        assigned = std::move(moved);
        EXPECT_EQ(assigned.width(), w);
        const Bitmap& self = assigned;
        assigned = self;
        EXPECT_EQ(assigned.pixel(w - 1, h - 1)[2], n.pixel(w - 1, h - 1)[2] ^ 1);

        Bitmap white = n;
        white.setSize(w, h);  // same size: still painted white
        for (std::uint8_t v : white.bytes()) ASSERT_EQ(v, 255);
        Bitmap overwritten;
        overwritten.setSizeForOverwrite(w, h);
        EXPECT_EQ(overwritten.bytes().size(), std::size_t(w) * h * 3);
    }
    Bitmap empty;
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(Bitmap(), Bitmap(0, 0));
    EXPECT_THROW(empty.setSizeForOverwrite(-1, 2), std::invalid_argument);
}

}  // namespace
}  // namespace gt
