// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <vector>

#include "imaging/median.h"
#include "imaging/parallel.h"
#include "test_pictures.h"

namespace gt {
namespace {

using testing::grey;
using testing::noisy;

struct ProgressLog {
    std::vector<std::array<int, 4>> calls;
    std::atomic<bool> cancel{false};
    int cancelAtCall = -1;  // sets the cancel flag inside this call (0-based)

    RenderContext context() {
        RenderContext ctx;
        ctx.cancel = &cancel;
        ctx.progress = [this](int step, int lastStep, int pass, int passes) {
            if (static_cast<int>(calls.size()) == cancelAtCall) cancel = true;
            calls.push_back({step, lastStep, pass, passes});
        };
        return ctx;
    }
};

Bitmap median(const Bitmap& source, int size) {
    RenderContext quiet;
    Bitmap d;
    MedianFilter(source, d, size, 1, 1, quiet);
    return d;
}

// The median rule, computed by sorting: the window of (X, Y) starts s div 2 up and left; a
// neighbour beyond the right or bottom edge is white, one beyond the left or top edge reads the
// picture s further on (white if that is outside too); the result is the ((s*s-1) div 2)-th smallest.
Bitmap sortedRank(const Bitmap& src, int s) {
    const int W = src.width(), H = src.height();
    Bitmap out(W, H);
    auto value = [&](int u, int v, int ch) -> int {
        if (u >= W || v >= H) return 255;
        if (u < 0) u += s;
        if (v < 0) v += s;
        if (u >= W || v >= H) return 255;
        return src.pixel(u, v)[ch];
    };
    const int rank = (s * s - 1) / 2 - 1;
    std::vector<int> window;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            for (int ch = 0; ch < 3; ++ch) {
                window.clear();
                for (int v = Y - s / 2; v < Y - s / 2 + s; ++v)
                    for (int u = X - s / 2; u < X - s / 2 + s; ++u) window.push_back(value(u, v, ch));
                std::nth_element(window.begin(), window.begin() + rank, window.end());
                out.pixel(X, Y)[ch] = static_cast<std::uint8_t>(window[static_cast<std::size_t>(rank)]);
            }
    return out;
}

TEST(HistogramMedian, CountsFromTheMinimumToTheRank) {
    const std::uint16_t nine[9] = {90, 10, 50, 30, 70, 20, 80, 40, 60};
    EXPECT_EQ(HistogramMedian(nine, 8, 10, 4), 40);  // the 4th smallest of 9
    EXPECT_EQ(HistogramMedian(nine, 8, 10, 1), 10);
    const std::uint16_t four[4] = {7, 7, 3, 200};
    EXPECT_EQ(HistogramMedian(four, 3, 3, 1), 3);   // s = 2: the smallest
    EXPECT_EQ(HistogramMedian(four, 3, 3, 3), 7);   // duplicates count once each
    // Only a threshold above the number of values walks past 255; the filter's threshold
    // (s*s - 1) div 2 never exceeds s*s.
    EXPECT_EQ(HistogramMedian(four, 3, 3, 5), 0);
}

TEST(MedianFilter, WindowSideIsClampedTo2Through11) {
    const Bitmap n = noisy(13, 14, 21);
    const Bitmap two = median(n, 2), eleven = median(n, 11);
    EXPECT_EQ(median(n, 1), two);
    EXPECT_EQ(median(n, 0), two);
    EXPECT_EQ(median(n, -5), two);
    EXPECT_EQ(median(n, 12), eleven);
    EXPECT_EQ(median(n, 1000), eleven);
    EXPECT_NE(two, eleven);
}

TEST(MedianFilter, WhiteEntersOnlyAcrossTheRightAndBottomEdges) {
    const Bitmap dark = grey(9, 8, 40);
    EXPECT_EQ(median(dark, 3), dark);  // the corner window holds 5 white values of 9, the rank is the 4th

    const Bitmap five = median(dark, 5);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 9; ++x) {
            const bool corner = x == 8 && y == 7;  // 16 white values of 25; its neighbours see 13 or fewer
            EXPECT_EQ(five.colourAt(x, y), corner ? kWhite : dark.colourAt(0, 0)) << x << "," << y;
        }
}

TEST(MedianFilter, TwoByTwoTakesTheMinimumOfTheWindowUpAndLeft) {
    const Bitmap n = noisy(6, 5, 4);
    const Bitmap m = median(n, 2);
    for (int ch = 0; ch < 3; ++ch) {
        EXPECT_EQ(m.pixel(3, 2)[ch], std::min({n.pixel(2, 1)[ch], n.pixel(3, 1)[ch], n.pixel(2, 2)[ch], n.pixel(3, 2)[ch]}));
        // Column -1 reads column 1 (shifted by s = 2), row -1 reads row 1.
        EXPECT_EQ(m.pixel(0, 0)[ch], std::min({n.pixel(1, 1)[ch], n.pixel(0, 1)[ch], n.pixel(1, 0)[ch], n.pixel(0, 0)[ch]}));
    }
}

TEST(MedianFilter, SingleLightPixelDisappearsForEverySide) {
    Bitmap b = grey(27, 25, 30);
    b.setColour(11, 10, kWhite);
    for (int s = 2; s <= 11; ++s) {
        const Bitmap m = median(b, s);
        EXPECT_EQ(m.colourAt(11, 10), b.colourAt(0, 0)) << "s = " << s;
        EXPECT_EQ(m.colourAt(12, 11), b.colourAt(0, 0)) << "s = " << s;
    }
}

TEST(MedianFilter, MatchesTheRankOfTheSortedWindowOnTinyAndOddPictures) {
    for (auto [w, h] : {std::pair{1, 1}, {2, 2}, {3, 7}, {7, 3}, {1, 12}, {12, 1}, {10, 9}}) {
        const Bitmap n = noisy(w, h, static_cast<std::uint32_t>(w * 31 + h));
        for (int s = 2; s <= 11; ++s) {
            RenderContext quiet;
            Bitmap d;
            plain::MedianFilter(n, d, s, 1, 1, quiet);
            EXPECT_EQ(d, sortedRank(n, s)) << w << "x" << h << " s=" << s;
        }
    }
}

TEST(MedianFilter, FastPathMatchesThePlainOneByteForByte) {
    const int saved = workerCount();
    std::uint32_t seed = 77;
    for (int workers : {1, 2, 3}) {
        setWorkerCount(workers);
        for (auto [w, h] : {std::pair{1, 1}, {2, 2}, {3, 17}, {17, 3}, {1, 40}, {40, 1}, {31, 70}, {64, 45}}) {
            for (int s = 2; s <= 11; ++s) {
                Bitmap n = noisy(w, h, ++seed);
                if (seed % 3 == 0) n = grey(w, h, static_cast<int>(seed % 256));  // long runs of equal values
                RenderContext quiet;
                Bitmap fast, reference;
                MedianFilter(n, fast, s, 1, 1, quiet);
                plain::MedianFilter(n, reference, s, 1, 1, quiet);
                ASSERT_EQ(fast, reference) << w << "x" << h << " s=" << s << " workers=" << workers;
            }
        }
    }
    setWorkerCount(saved);
}

// Small windows go through byte networks run over 256-byte stretches of a row: widths around and
// across those stretches (85 pixels is 255 bytes), with the white and shifted borders on both sides.
TEST(MedianFilter, FastPathMatchesThePlainOneAcrossLongRows) {
    const int saved = workerCount();
    std::uint32_t seed = 901;
    for (int workers : {1, 2, 3}) {
        setWorkerCount(workers);
        for (auto [w, h] : {std::pair{85, 6}, {86, 13}, {87, 5}, {171, 9}, {300, 4}, {5, 300}}) {
            for (int s = 2; s <= 11; ++s) {
                Bitmap n = noisy(w, h, ++seed);
                if (seed % 4 == 0) n.fill(Colour{0, 128, 255});
                if (seed % 4 == 1) n.setColour(w - 1, h - 1, kBlack);
                RenderContext quiet;
                Bitmap fast, reference;
                MedianFilter(n, fast, s, 1, 1, quiet);
                plain::MedianFilter(n, reference, s, 1, 1, quiet);
                ASSERT_EQ(fast, reference) << w << "x" << h << " s=" << s << " workers=" << workers;
            }
        }
    }
    setWorkerCount(saved);
}

TEST(MedianFilter, ReportsEveryRowAndCanWorkInPlace) {
    const Bitmap n = noisy(8, 12, 9);
    ProgressLog log;
    Bitmap same = n;
    MedianFilter(same, same, 3, 2, 3, log.context());
    EXPECT_EQ(same, median(n, 3));
    ASSERT_EQ(log.calls.size(), 12u + 3u);  // rows 0 .. Hs + s - 1 of the padded copy
    EXPECT_EQ(log.calls.front(), (std::array<int, 4>{0, 8, 2, 3}));
    EXPECT_EQ(log.calls.back(), (std::array<int, 4>{14, 8, 2, 3}));

    ProgressLog off;
    Bitmap d;
    MedianFilter(n, d, 3, 1, 0, off.context());
    EXPECT_TRUE(off.calls.empty());  // passes = 0: the strip is left alone

    // A picture no higher than the window: the last step would be 0 or negative, a divisor of the bar.
    ProgressLog low;
    MedianFilter(noisy(5, 4, 1), d, 7, 1, 2, low.context());
    for (const auto& c : low.calls) EXPECT_GE(c[1], 1);
}

TEST(MedianFilter, CancelLeavesTheDestinationUntouched) {
    const Bitmap n = noisy(30, 40, 12);
    for (bool plainPath : {true, false}) {
        for (int at : {0, 1, 17, 44}) {
            ProgressLog log;
            log.cancelAtCall = at;
            Bitmap d = grey(3, 2, 99), before = d;
            if (plainPath) plain::MedianFilter(n, d, 5, 1, 1, log.context());
            else MedianFilter(n, d, 5, 1, 1, log.context());
            EXPECT_EQ(d, before) << "cancelled at row " << at;
            EXPECT_EQ(log.calls.size(), static_cast<std::size_t>(at) + 1);  // stopped right after that row's report
        }
    }

    // Taller pictures run in several blocks of rows; a cancel anywhere, with any number of workers,
    // stops right after that row's report and leaves the destination as it was.
    const int saved = workerCount();
    Random pick;
    pick.seed = 5;
    const Bitmap tall = noisy(23, 400, 13);
    for (int workers : {1, 2, 3})
        for (int s : {3, 5, 8}) {
            setWorkerCount(workers);
            const int at = static_cast<int>(pick.draw(400u + static_cast<std::uint32_t>(s)));
            ProgressLog log;
            log.cancelAtCall = at;
            Bitmap d = tall;
            MedianFilter(tall, d, s, 1, 1, log.context());
            EXPECT_EQ(d, tall) << "s=" << s << " cancelled at row " << at;
            EXPECT_EQ(log.calls.size(), static_cast<std::size_t>(at) + 1);
        }
    setWorkerCount(saved);
}

}  // namespace
}  // namespace gt
