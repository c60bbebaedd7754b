// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/rotate.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/arithmetic.h"
#include "imaging/parallel.h"

namespace gt {

namespace {

// sin(d degrees) for d = 0..90, each the double nearest the true value. A table rather than a
// library call: the whole turn follows from these numbers, and sine routines differ by a last bit
// between systems and compilers.
constexpr double kSineOfDegrees[91] = {
    0x0p+0,    0x1.1df0b2b89dd1ep-6,    0x1.1de58c9f7dc27p-5,
    0x1.acbc748efc90ep-5,    0x1.1db8f6d6a5128p-4,    0x1.64fd6b8c28103p-4,
    0x1.ac2609b3c576cp-4,    0x1.f32d44c4f62d3p-4,    0x1.1d06c968d9e19p-3,
    0x1.4060b67a85375p-3,    0x1.63a1a7e0b738ap-3,    0x1.86c6ddd76624fp-3,
    0x1.a9cd9ac4258f6p-3,    0x1.ccb3236cdc675p-3,    0x1.ef74bf2e4b91dp-3,
    0x1.0907dc193069p-2,    0x1.1a40add328e29p-2,    0x1.2b637cf83d5c7p-2,
    0x1.3c6ef372fe95p-2,    0x1.4d61bd000cddbp-2,    0x1.5e3a8748a0bf5p-2,
    0x1.6ef801fced33cp-2,    0x1.7f98deee59681p-2,    0x1.901bd2298ffabp-2,
    0x1.a07f921061ad1p-2,    0x1.b0c2d77379853p-2,    0x1.c0e45dabe05c8p-2,
    0x1.d0e2e2b44de01p-2,    0x1.e0bd274245078p-2,    0x1.f071eedefa0ecp-2,
    0x1p-1,    0x1.07b3120fddf13p-1,    0x1.0f5193eacdd2ap-1,
    0x1.16daed770771dp-1,    0x1.1e4e88411fd12p-1,    0x1.25abcf87c4978p-1,
    0x1.2cf2304755a5ep-1,    0x1.342119455beb6p-1,    0x1.3b37fb1bdc939p-1,
    0x1.4236484487abep-1,    0x1.491b7523c161dp-1,    0x1.4fe6f81384fd4p-1,
    0x1.5698496e20bd8p-1,    0x1.5d2ee398c9c2bp-1,    0x1.63aa430e0731p-1,
    0x1.6a09e667f3bcdp-1,    0x1.704d4e6a54d39p-1,    0x1.7673fe0c86982p-1,
    0x1.7c7d7a833bec2p-1,    0x1.82694b4a11c37p-1,    0x1.8836fa2cf5039p-1,
    0x1.8de613515a328p-1,    0x1.9376253f463d1p-1,    0x1.98e6c0ea27a14p-1,
    0x1.9e3779b97f4a8p-1,    0x1.a367e59158747p-1,    0x1.a8779cda8eea5p-1,
    0x1.ad663a8ae2fdcp-1,    0x1.b2335c2cda945p-1,    0x1.b6dea1e76eadep-1,
    0x1.bb67ae8584caap-1,    0x1.bfce277d339c7p-1,    0x1.c411b4f6d2708p-1,
    0x1.c83201d3d2c6dp-1,    0x1.cc2ebbb5638cap-1,    0x1.d0079302dd767p-1,
    0x1.d3bc3aeff7f95p-1,    0x1.d74c6982c666fp-1,    0x1.dab7d7997cb58p-1,
    0x1.ddfe40effb805p-1,    0x1.e11f642522d1cp-1,    0x1.e41b02bfeb4cbp-1,
    0x1.e6f0e134454ffp-1,    0x1.e9a0c6e7bdb1fp-1,    0x1.ec2a7e35e7b8p-1,
    0x1.ee8dd4748bf15p-1,    0x1.f0ca99f79ba25p-1,    0x1.f2e0a214e870fp-1,
    0x1.f4cfc327a008p-1,    0x1.f697d6938b6c2p-1,    0x1.f838b8c811c17p-1,
    0x1.f9b24942fe45cp-1,    0x1.fb046a930947ap-1,    0x1.fc2f025a23e8bp-1,
    0x1.fd31f94f867c6p-1,    0x1.fe0d3b41815a2p-1,    0x1.fec0b7170fff6p-1,
    0x1.ff4c5ed12e61dp-1,    0x1.ffb0278bf0567p-1,    0x1.ffec097f5af8ap-1,
    0x1p+0,
};

// The sine of a whole number of degrees, from the table by the quadrant's symmetry.
double sineOfDegrees(int degrees) {
    const int d = ((degrees % 360) + 360) % 360;
    if (d <= 90) return kSineOfDegrees[d];
    if (d <= 180) return kSineOfDegrees[180 - d];
    if (d <= 270) return -kSineOfDegrees[d - 180];
    return -kSineOfDegrees[360 - d];
}

// A one-row canvas makes lastStep 0, and the strip divides by lastStep while a run goes on: such a
// step is shown as the start of a one-step pass instead.
void reportRow(const RenderContext& ctx, int step, int lastStep, int pass, int passes) {
    if (lastStep == 0 && pass < passes) lastStep = 1;
    ctx.ProgressReport(step, lastStep, pass, passes);
}

// |nearest(n * p)|, exactly.
int absRound(int n, double p) { return static_cast<int>(std::llabs(nearestOfDifference(n, p, 0, 0.0))); }

// nearest(e * p - a * q), exactly. The double computation is within 1e-9 of the exact value for any
// coordinate a canvas can have (|e|, |a| < 2^19), so away from a half-integer both round alike, and
// only near one (about one pixel in a hundred million) is the exact computation needed.
inline int nearestCoordinate(int e, double p, int a, double aq, double q) {
    constexpr double kMagic = 6755399441055744.0;  // 1.5 * 2^52: adding and subtracting it rounds to nearest, ties to even
    const double d = static_cast<double>(e) * p - aq;
    const double n = (d + kMagic) - kMagic;
    if (std::fabs(d - n) < 0.4999999) return static_cast<int>(n);
    return static_cast<int>(nearestOfDifference(e, p, a, q));
}

// The canvas columns of row coordinate a whose pixels may come from the source, as [lo, hi]; every
// other column of the row is white. The doubled coordinates u and v are linear in the column, so each
// gives an interval; outside it u or v lies more than 10 beyond the values that reach the source
// (-2hx - 1 < u < 2(W - hx) + 1, likewise v), far more than rounding can move them. The interval is
// widened by two columns more.
void sourceColumns(const TurnGeometry& t, int a, int& lo, int& hi) {
    double xlo = -1e18, xhi = 1e18;
    auto clip = [&](double slope, double offset, double low, double high) {
        // low <= slope * x + offset <= high
        if (std::fabs(slope) < 1e-9) {
            if (offset < low || offset > high) xlo = 1, xhi = 0;
            return;
        }
        double x0 = (low - offset) / slope, x1 = (high - offset) / slope;
        if (x0 > x1) std::swap(x0, x1);
        xlo = std::max(xlo, x0);
        xhi = std::min(xhi, x1);
    };
    const double e0 = 1.0 - 2.0 * (t.ox + t.hx);  // e = 2x + e0
    clip(2 * t.c, e0 * t.c - a * t.s, -2.0 * t.hx - 10, 2.0 * (t.W - t.hx) + 10);
    clip(2 * t.s, e0 * t.s + a * t.c, -2.0 * t.hy - 10, 2.0 * (t.H - t.hy) + 10);
    if (xlo > xhi) {
        lo = 1;
        hi = 0;
        return;
    }
    lo = static_cast<int>(std::max(-1e9, std::floor(xlo))) - 2;
    hi = static_cast<int>(std::min(1e9, std::ceil(xhi))) + 2;
}

// Canvas rows [y0, y1), columns [x0, x1) of the turn into out(x + dx, y + dy), in tiles of 64
// columns: a tile reads a small patch of the source, where whole rows would wander across it.
void turnRows(const Bitmap& source, const TurnGeometry& t, int x0, int x1, int y0, int y1, Bitmap& out, int dx, int dy) {
    const int W = t.W, H = t.H;
    constexpr int kTile = 64;
    std::vector<int> span(2 * std::size_t(std::max(0, y1 - y0)));
    for (int y = y0; y < y1; ++y) {
        int lo, hi;
        sourceColumns(t, 2 * (y - t.oy - t.hy) + 1, lo, hi);
        // columns outside [lo, hi] are white
        lo = std::max(lo, x0);
        hi = std::min(hi, x1 - 1);
        std::uint8_t* o = out.pixel(x0 + dx, y + dy);
        if (lo > hi) {
            std::memset(o, 255, std::size_t(x1 - x0) * 3);
        } else {
            std::memset(o, 255, std::size_t(lo - x0) * 3);
            std::memset(o + std::size_t(hi + 1 - x0) * 3, 255, std::size_t(x1 - 1 - hi) * 3);
        }
        span[2 * std::size_t(y - y0)] = lo;
        span[2 * std::size_t(y - y0) + 1] = hi + 1;
    }
    for (int tx = x0; tx < x1; tx += kTile) {
        const int tx1 = std::min(x1, tx + kTile);
        for (int y = y0; y < y1; ++y) {
            const int from = std::max(tx, span[2 * std::size_t(y - y0)]), to = std::min(tx1, span[2 * std::size_t(y - y0) + 1]);
            if (from >= to) continue;
            const int a = 2 * (y - t.oy - t.hy) + 1;
            const double as = static_cast<double>(a) * t.s;
            const double negAc = static_cast<double>(a) * -t.c;
            std::uint8_t* o = out.pixel(from + dx, y + dy);
            for (int x = from; x < to; ++x, o += 3) {
                const int e = 2 * (x - t.ox - t.hx) + 1;
                const int u = nearestCoordinate(e, t.c, a, as, t.s);
                const int v = nearestCoordinate(e, t.s, a, negAc, -t.c);  // e*s + a*c, the same in extended precision
                const int sx = t.hx + (u - 1) / 2, sy = t.hy + (v - 1) / 2;
                if (sx >= 0 && sx <= W - 1 && sy >= 0 && sy <= H - 1) {
                    const std::uint8_t* p = source.pixel(sx, sy);
                    o[0] = p[0]; o[1] = p[1]; o[2] = p[2];
                } else {
                    o[0] = o[1] = o[2] = 255;
                }
            }
        }
    }
}

}  // namespace

TurnGeometry turnGeometry(int width, int height, int angle) {
    TurnGeometry t;
    t.s = sineOfDegrees(-angle);
    t.c = sineOfDegrees(90 - angle);  // cos(-angle)
    t.W = width;
    t.H = height;
    t.Wp = absRound(height, t.s) + absRound(width, t.c);
    t.Hp = absRound(width, t.s) + absRound(height, t.c);
    // Two pixels smaller than the ideal canvas; a tiny source leaves nothing, never a negative size.
    t.Wd = t.Wp - 2;
    t.Hd = t.Hp - 2;
    if (t.Wd <= 0 || t.Hd <= 0) t.Wd = t.Hd = 0;
    t.ox = (t.Wp - width) / 2;
    t.oy = (t.Hp - height) / 2;
    t.hx = width / 2;
    t.hy = height / 2;
    t.stage = angle > 0 ? 1 : 3;
    return t;
}

namespace plain {

void RotateBitmapByAngle(const Bitmap& source, Bitmap& destination, int angle, RenderContext& ctx) {
    if (&source == &destination) {
        const Bitmap copy = source;
        return plain::RotateBitmapByAngle(copy, destination, angle, ctx);
    }
    const TurnGeometry t = turnGeometry(source.width(), source.height(), angle);
    destination.setSize(t.Wd, t.Hd);
    for (int y = t.Hd - 1; y >= 0; --y) {
        if (ctx.CancelRequested()) return;
        reportRow(ctx, t.Hd - 1 - y, t.Hd - 1, t.stage, 3);
        const int a = 2 * (y - t.oy - t.hy) + 1;
        for (int x = t.Wd - 1; x >= 0; --x) {
            const int e = 2 * (x - t.ox - t.hx) + 1;
            const long long u = nearestOfDifference(e, t.c, a, t.s);   // e c - a s
            const long long v = nearestOfDifference(e, t.s, -a, t.c);  // e s + a c
            const long long sx = t.hx + (u - 1) / 2, sy = t.hy + (v - 1) / 2;
            if (sx >= 0 && sx <= t.W - 1 && sy >= 0 && sy <= t.H - 1)
                destination.setColour(x, y, source.colourAt(static_cast<int>(sx), static_cast<int>(sy)));
            else
                destination.setColour(x, y, kWhite);
        }
    }
}

}  // namespace plain

bool RotateRegion(const Bitmap& source, const TurnGeometry& t, int x0, int x1, int y0, int y1, Bitmap& out, int dx, int dy,
                  RenderContext& ctx) {
    x0 = std::max(x0, 0);
    x1 = std::min(x1, t.Wd);
    y0 = std::max(y0, 0);
    y1 = std::min(y1, t.Hd);
    // Rows go from the bottom up in chunks: the chunk's rows are first checked for cancellation and
    // reported one by one, exactly as a row-by-row turn does, then those that passed are turned
    // together in parallel bands.
    const int chunk = std::max(64, 32 * workerCount());
    for (int top = t.Hd; top > 0;) {
        const int bottom = std::max(0, top - chunk);
        int reached = top;  // rows [reached, top) passed their check
        bool cancelled = false;
        for (int y = top - 1; y >= bottom; --y) {
            if (ctx.CancelRequested()) {
                cancelled = true;
                break;
            }
            reportRow(ctx, t.Hd - 1 - y, t.Hd - 1, t.stage, 3);
            reached = y;
        }
        const int r0 = std::max(reached, y0), r1 = std::min(top, y1);
        if (r0 < r1 && x0 < x1)
            parallelRows(r0, r1, [&](int a, int b) { turnRows(source, t, x0, x1, a, b, out, dx, dy); }, 8);
        if (cancelled) return false;
        top = bottom;
    }
    return true;
}

void RotateBitmapByAngle(const Bitmap& source, Bitmap& destination, int angle, RenderContext& ctx) {
    if (plainPaths()) return plain::RotateBitmapByAngle(source, destination, angle, ctx);
    if (&source == &destination) {
        const Bitmap copy = source;
        return gt::RotateBitmapByAngle(copy, destination, angle, ctx);
    }
    const TurnGeometry t = turnGeometry(source.width(), source.height(), angle);
    destination.setSize(t.Wd, t.Hd);
    RotateRegion(source, t, 0, t.Wd, 0, t.Hd, destination, 0, 0, ctx);
}

}  // namespace gt
