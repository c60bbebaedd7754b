// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "imaging/arithmetic.h"
#include "imaging/parallel.h"
#include "imaging/rotate.h"
#include "test_context.h"
#include "test_pictures.h"

namespace gt {
namespace {

using testing::Recorder;
using testing::Report;

using testing::noisy;


// A context that records every progress step and raises the cancel flag after `cancelAfter` steps.

TEST(RotateGeometry, TinyPicturesGiveTinyOrEmptyCanvases) {
    const TurnGeometry one = turnGeometry(1, 1, 40);
    EXPECT_EQ(one.Wp, 2);
    EXPECT_EQ(one.Hp, 2);
    EXPECT_EQ(one.Wd, 0);
    EXPECT_EQ(one.Hd, 0);
    const TurnGeometry two = turnGeometry(2, 2, 40);  // |round(-1.29)| + |round(1.53)| = 3
    EXPECT_EQ(two.Wp, 3);
    EXPECT_EQ(two.Wd, 1);
    EXPECT_EQ(two.Hd, 1);
    // 1 x 2 turns to W' = 2 and H' = 3: a canvas 0 wide is empty in both directions, never negative.
    const TurnGeometry thin = turnGeometry(1, 2, 40);
    EXPECT_EQ(thin.Wd, 0);
    EXPECT_EQ(thin.Hd, 0);
    EXPECT_EQ(turnGeometry(0, 0, -40).Wd, 0);

    RenderContext ctx;
    Bitmap d(5, 5);
    RotateBitmapByAngle(Bitmap(1, 1), d, 40, ctx);
    EXPECT_TRUE(d.empty());
    RotateBitmapByAngle(Bitmap(), d, -40, ctx);
    EXPECT_EQ(d.width(), 0);
    EXPECT_EQ(d.height(), 0);
}

TEST(RotateGeometry, FortyDegreesOnA4x4) {
    // s = sin(-40 deg) = -0.6428, c = 0.7660: W' = |round(-2.571)| + |round(3.064)| = 6, ox = oy = 1, hx = hy = 2.
    const TurnGeometry t = turnGeometry(4, 4, 40);
    EXPECT_NEAR(t.s, -0.6427876096865393, 1e-15);
    EXPECT_NEAR(t.c, 0.7660444431189780, 1e-15);
    EXPECT_EQ(t.Wp, 6);
    EXPECT_EQ(t.Hp, 6);
    EXPECT_EQ(t.ox, 1);
    EXPECT_EQ(t.hx, 2);
    EXPECT_EQ(t.stage, 1);
    EXPECT_EQ(turnGeometry(4, 4, -40).stage, 3);
    EXPECT_EQ(turnGeometry(4, 4, 0).stage, 3);

    const Bitmap src = noisy(4, 4, 11);
    RenderContext ctx;
    for (bool plainPath : {true, false}) {
        const testing::PlainPaths paths(plainPath);
        Bitmap d;
        RotateBitmapByAngle(src, d, 40, ctx);
        ASSERT_EQ(d.width(), 4);
        ASSERT_EQ(d.height(), 4);
        // (0,0): e = a = -5, u = round(-7.04) = -7, sx = 2 + (-8) div 2 = -2: outside, white.
        EXPECT_EQ(d.colourAt(0, 0), kWhite);
        // (2,2): e = a = -1, u = round(-1.41) = -1, v = round(-0.12) = 0: sx = 1, sy = 2 + (-1) div 2 = 2.
        EXPECT_EQ(d.colourAt(2, 2), src.colourAt(1, 2));
        // (3,3): e = a = 1, u = round(1.41) = 1, v = round(0.12) = 0: source (2, 2).
        EXPECT_EQ(d.colourAt(3, 3), src.colourAt(2, 2));
    }
}

TEST(RotateBitmapByAngle, ZeroAndHalfTurns) {
    const Bitmap src = noisy(6, 4, 3);
    RenderContext ctx;
    Bitmap d;
    RotateBitmapByAngle(src, d, 0, ctx);  // the canvas is the source less two columns and two rows
    ASSERT_EQ(d.width(), 4);
    ASSERT_EQ(d.height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(d.colourAt(x, y), src.colourAt(x, y));
    RotateBitmapByAngle(src, d, 180, ctx);  // u = -e: sx = 2 hx - x - 1, a mirror for even sizes
    ASSERT_EQ(d.width(), 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(d.colourAt(x, y), src.colourAt(5 - x, 3 - y));
}

TEST(RotateBitmapByAngle, SourceMayBeTheDestination) {
    const Bitmap src = noisy(9, 7, 4);
    RenderContext ctx;
    Bitmap expected, d = src;
    RotateBitmapByAngle(src, expected, 40, ctx);
    RotateBitmapByAngle(d, d, 40, ctx);
    EXPECT_EQ(d, expected);
}

TEST(RotateBitmapByAngle, ReportsRowsFromTheBottomAndStopsOnCancel) {
    const Bitmap src = noisy(10, 8, 5);
    const TurnGeometry t = turnGeometry(10, 8, -40);
    Recorder all;
    Bitmap d;
    RotateBitmapByAngle(src, d, -40, all.ctx);
    ASSERT_EQ(static_cast<int>(all.reports.size()), t.Hd);
    for (int i = 0; i < t.Hd; ++i) EXPECT_EQ(all.reports[i], (Report{i, t.Hd - 1, 3, 3}));

    for (bool plainPath : {true, false}) {
        const testing::PlainPaths paths(plainPath);
        Recorder r(4);  // the flag rises during the fourth row's report: four rows are turned
        Bitmap c;
        RotateBitmapByAngle(src, c, -40, r.ctx);
        EXPECT_EQ(r.reports.size(), 4u);
        for (int y = 0; y < t.Hd; ++y)
            for (int x = 0; x < t.Wd; ++x)
                EXPECT_EQ(c.colourAt(x, y), y >= t.Hd - 4 ? d.colourAt(x, y) : kWhite) << x << "," << y;
    }
}

TEST(RotateBitmapByAngle, OneRowCanvasNeverReportsALastStepOfZeroMidRun) {
    Recorder r;
    Bitmap d;
    RotateBitmapByAngle(Bitmap(2, 2), d, 40, r.ctx);
    ASSERT_EQ(r.reports.size(), 1u);
    EXPECT_EQ(r.reports[0], (Report{0, 1, 1, 3}));
}

TEST(RotateBitmapByAngle, FastEqualsPlain) {
    const int angles[] = {40, -40, 0, 90, -90, 180, 45, 60, 30, -135, 360, 7, 271};
    int seed = 1;
    for (int w = 1; w <= 37; w += 4)
        for (int h = 1; h <= 41; h += 5) {
            const Bitmap src = noisy(w, h, static_cast<std::uint32_t>(seed++));
            for (int angle : angles) {
                RenderContext ctx;
                Bitmap fast, slow;
                {
                    const testing::PlainPaths paths;
                    plain::RotateBitmapByAngle(src, slow, angle, ctx);
                }
                RotateBitmapByAngle(src, fast, angle, ctx);
                ASSERT_EQ(fast, slow) << w << "x" << h << " angle " << angle;
            }
        }
    // Large enough for several bands and chunks, with several workers.
    const int saved = workerCount();
    setWorkerCount(3);
    const Bitmap big = noisy(170, 130, 77);
    for (int angle : {40, -40, 123}) {
        RenderContext ctx;
        Bitmap fast, slow;
        plain::RotateBitmapByAngle(big, slow, angle, ctx);
        RotateBitmapByAngle(big, fast, angle, ctx);
        ASSERT_EQ(fast, slow) << angle;
        for (int cancelAfter : {1, 70, 150}) {
            Recorder a(cancelAfter), b(cancelAfter);
            plain::RotateBitmapByAngle(big, slow, angle, a.ctx);
            RotateBitmapByAngle(big, fast, angle, b.ctx);
            EXPECT_EQ(fast, slow) << angle << " cancelled after " << cancelAfter;
            EXPECT_EQ(a.reports, b.reports);
        }
    }
    setWorkerCount(saved);
}

// Columns wholly outside the source are filled white without being turned; a part of the canvas,
// written at an offset into another picture, must still match the whole turn there.
TEST(RotateRegion, PartOfTheCanvasMatchesTheWholeTurn) {
    const Bitmap src = noisy(61, 47, 5);
    for (int angle : {40, -40, 90, 200}) {
        RenderContext ctx;
        Bitmap whole;
        plain::RotateBitmapByAngle(src, whole, angle, ctx);
        const TurnGeometry t = turnGeometry(src.width(), src.height(), angle);
        for (auto [x0, x1, y0, y1] : {std::array{0, t.Wd, 0, t.Hd}, {5, 30, 3, 40}, {-4, 12, 20, 90}, {t.Wd - 9, t.Wd + 6, -3, 9}}) {
            Bitmap part(t.Wd + 20, t.Hd + 20);
            part.fill(Colour{1, 2, 3});
            ASSERT_TRUE(RotateRegion(src, t, x0, x1, y0, y1, part, 7, 9, ctx));
            for (int y = 0; y < part.height(); ++y)
                for (int x = 0; x < part.width(); ++x) {
                    const int cx = x - 7, cy = y - 9;
                    const bool inside = cx >= std::max(x0, 0) && cx < std::min(x1, t.Wd) && cy >= std::max(y0, 0) && cy < std::min(y1, t.Hd);
                    ASSERT_EQ(part.colourAt(x, y), inside ? whole.colourAt(cx, cy) : (Colour{1, 2, 3}))
                        << "angle " << angle << " at " << cx << "," << cy;
                }
        }
    }
}

}  // namespace
}  // namespace gt

namespace gt {
namespace {

// The exact value of e p - a q rounded to nearest, ties to even, by 128-bit integers: p and q as
// their 53-bit mantissas times powers of two.
__extension__ typedef __int128 Wide;  // gcc and clang only, as the test is

long long nearestByIntegers(int e, double p, int a, double q) {
    int ep = 0, eq = 0;
    const auto mp = static_cast<Wide>(std::ldexp(std::frexp(p, &ep), 53));
    const auto mq = static_cast<Wide>(std::ldexp(std::frexp(q, &eq), 53));
    ep -= 53;
    eq -= 53;
    const int low = std::min(p != 0 ? ep : eq, q != 0 ? eq : ep);
    const Wide x = e * mp * (Wide(1) << (p != 0 ? ep - low : 0)) - a * mq * (Wide(1) << (q != 0 ? eq - low : 0));
    if (low >= 0) return static_cast<long long>(x << low);
    const Wide unit = Wide(1) << -low;
    Wide floor = x >= 0 ? x / unit : -((-x + unit - 1) / unit);
    const Wide rest = x - floor * unit;  // 0 <= rest < unit
    if (2 * rest > unit || (2 * rest == unit && (floor & 1) != 0)) ++floor;
    return static_cast<long long>(floor);
}

TEST(NearestOfDifference, ExactAtHalvesAndBesideThem) {
    EXPECT_EQ(nearestOfDifference(1, 0.5, 0, 0.0), 0);
    EXPECT_EQ(nearestOfDifference(3, 0.5, 0, 0.0), 2);
    EXPECT_EQ(nearestOfDifference(-5, 0.5, 0, 0.0), -2);
    EXPECT_EQ(nearestOfDifference(1, std::nextafter(0.5, 1.0), 0, 0.0), 1);
    EXPECT_EQ(nearestOfDifference(3, std::nextafter(0.5, 0.0), 0, 0.0), 1);
    // A half made of two products whose rounded difference is not a half.
    const double third = 1.0 / 3.0;
    for (int e : {3, 7, 1001, 524287})
        for (int a : {-524287, -3, 1, 999})
            for (double p : {third, 0.5 + 1e-16, std::nextafter(third, 1.0), 0.6427876096865393})
                for (double q : {0.7660444431189780, -third, std::nextafter(0.5, 0.0)})
                    EXPECT_EQ(nearestOfDifference(e, p, a, q), nearestByIntegers(e, p, a, q)) << e << " " << p << " " << a << " " << q;
    std::uint32_t seed = 1969;
    auto draw = [&] { return seed = seed * 134775813u + 1u; };
    for (int i = 0; i < 200000; ++i) {
        const int e = int(draw() % 1048575) - 524287, a = int(draw() % 1048575) - 524287;
        const double p = std::ldexp(double(draw() >> 1), -31), q = -std::ldexp(double(draw() >> 1), -31);
        ASSERT_EQ(nearestOfDifference(e, p, a, q), nearestByIntegers(e, p, a, q)) << e << " " << p << " " << a << " " << q;
    }
}

// The turn's sine and cosine come from a table of whole degrees: each the double nearest the true
// value, as an extended-precision sine rounded to double gives it.
TEST(RotateGeometry, SinesOfWholeDegreesAreTheNearestDoubles) {
    for (int d = -360; d <= 360; ++d) {
        const TurnGeometry t = turnGeometry(100, 100, d);
        const double radians = -d * 3.14159265358979323846 / 180.0;
        // The angle in double radians is itself off by up to 1e-15 near a whole turn.
        EXPECT_NEAR(t.s, std::sin(radians), 1.5e-15) << d;
        EXPECT_NEAR(t.c, std::cos(radians), 1.5e-15) << d;
        if (d % 90 == 0) {
            EXPECT_TRUE(t.s == 0 || t.c == 0) << d;
        }
        if constexpr (std::numeric_limits<long double>::digits >= 64) {
            const long double x = -static_cast<long double>(d) * 3.14159265358979323846264338327950288L / 180.0L;
            if (d % 90 != 0) {
                EXPECT_EQ(t.s, static_cast<double>(std::sin(x))) << d;
                EXPECT_EQ(t.c, static_cast<double>(std::cos(x))) << d;
            }
        }
    }
    const TurnGeometry forty = turnGeometry(3000, 2000, 40);
    EXPECT_EQ(forty.s, -0x1.491b7523c161dp-1);
    EXPECT_EQ(forty.c, 0x1.8836fa2cf5039p-1);
}

}  // namespace
}  // namespace gt
