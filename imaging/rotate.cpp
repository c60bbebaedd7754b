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

constexpr long double kPi = 3.14159265358979323846L;

// A one-row canvas makes lastStep 0, and the strip divides by lastStep while a run goes on: such a
// step is shown as the start of a one-step pass instead.
void reportRow(const RenderContext& ctx, int step, int lastStep, int pass, int passes) {
    if (lastStep == 0 && pass < passes) lastStep = 1;
    ctx.ProgressReport(step, lastStep, pass, passes);
}

int absRound(long double v) { return static_cast<int>(std::llabs(roundHalfEven(v))); }

// nearest(e * p - a * q) as the extended-precision arithmetic gives it. The double computation
// is within 1e-9 of the exact value for any coordinate a canvas can have (|e|, |a| < 2^19), while
// the extended one is closer still; so away from a half-integer both round alike, and only near one
// (about one pixel in a hundred million) is the extended computation needed.
inline int nearestCoordinate(int e, double p, int a, double aq, double q) {
    constexpr double kMagic = 6755399441055744.0;  // 1.5 * 2^52: adding and subtracting it rounds to nearest, ties to even
    const double d = static_cast<double>(e) * p - aq;
    const double n = (d + kMagic) - kMagic;
    if (std::fabs(d - n) < 0.4999999) return static_cast<int>(n);
    return static_cast<int>(roundHalfEven(static_cast<long double>(e) * p - static_cast<long double>(a) * q));
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
    const long double theta = -static_cast<long double>(angle) * kPi / 180.0L;
    t.s = static_cast<double>(std::sin(theta));
    t.c = static_cast<double>(std::cos(theta));
    t.W = width;
    t.H = height;
    t.Wp = absRound(static_cast<long double>(height) * t.s) + absRound(static_cast<long double>(width) * t.c);
    t.Hp = absRound(static_cast<long double>(width) * t.s) + absRound(static_cast<long double>(height) * t.c);
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
    const long double s = t.s, c = t.c;
    for (int y = t.Hd - 1; y >= 0; --y) {
        if (ctx.pumpAndCheckCancel()) return;
        reportRow(ctx, t.Hd - 1 - y, t.Hd - 1, t.stage, 3);
        const long double a = 2 * (y - t.oy - t.hy) + 1;
        for (int x = t.Wd - 1; x >= 0; --x) {
            const long double e = 2 * (x - t.ox - t.hx) + 1;
            const long long u = roundHalfEven(e * c - a * s);
            const long long v = roundHalfEven(e * s + a * c);
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
            if (ctx.pumpAndCheckCancel()) {
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
