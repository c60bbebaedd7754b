// SPDX-License-Identifier: GPL-3.0-or-later
// The paintings' plain routines: pixel by pixel, step by step, the reference the fast ones match.
#include "imaging/painting.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>
#include <vector>

#include "imaging/adjust.h"
#include "imaging/arithmetic.h"
#include "imaging/ellipse.h"
#include "imaging/filters.h"
#include "imaging/neighbourhood.h"
#include "imaging/parallel.h"
#include "imaging/painting_rows.h"
#include "imaging/painting_steps.h"
#include "imaging/texture.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gt {

using namespace painting_parts;

namespace plain {

void RecursivePainting(Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx) {
    if (&source == &destination) {
        Bitmap copy = source;
        return plain::RecursivePainting(copy, destination, c, m, ctx);
    }
    checkTexture(c, m);
    ctx.random.seed = kDrawingSeed;  // nothing is drawn from it here
    gt::Soften(source);
    const Bitmap O = source;
    destination = source;  // what the border pixels show
    preparePainting1(source, ctx, true);

    const int W = source.width(), H = source.height();
    const int n = c.TrackBar5;
    const int tolerance = c.TrackBar1 / 2;
    for (int i = 0; i <= n; ++i) {
        ctx.ProgressReport(i, n, 1, 1);
        if (ctx.CancelRequested()) return;
        for (int y = 2; y <= H - 2; ++y) {
            for (int x = 2; x <= W - 3; ++x) {
                int sum[3] = {0, 0, 0};
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -2; dx <= 2; ++dx) {
                        if (dx == 0 && dy == 0) continue;
                        const std::uint8_t* p = source.pixel(x + dx, y + dy);
                        for (int ch = 0; ch < 3; ++ch) sum[ch] += p[ch];
                    }
                const std::uint8_t* s = source.pixel(x, y);
                int mean[3], dev = 0;
                for (int ch = 0; ch < 3; ++ch) {
                    mean[ch] = sum[ch] / 14;
                    dev = std::max(dev, absInt(mean[ch] - s[ch]));
                }
                if (dev > tolerance)
                    destination.setColour(x, y, O.colourAt(x, y));
                else
                    destination.setColour(x, y, Colour{std::uint8_t(mean[0]), std::uint8_t(mean[1]), std::uint8_t(mean[2])});
            }
        }
        source = destination;
    }

    source = O;
    gt::Soften(source);
    const int e = 255 - c.TrackBar2;
    const int lift = c.TrackBar3 - 127;
    for (int y = 1; y <= H - 1; ++y) {
        for (int x = 1; x <= W - 1; ++x) {
            const Colour s = source.colourAt(x, y), left = source.colourAt(x - 1, y), up = source.colourAt(x, y - 1);
            const int gh = absInt(left.r - s.r) + absInt(left.g - s.g) + absInt(left.b - s.b);
            bool edge = gh >= e;
            if (!edge) {
                const int gv = absInt(s.r - up.r) + absInt(s.g - up.g) + absInt(s.b - up.b);
                edge = gv >= e;
            }
            std::uint8_t* d = destination.pixel(x, y);
            const std::uint8_t* sp = source.pixel(x, y);
            for (int ch = 0; ch < 3; ++ch)
                d[ch] = static_cast<std::uint8_t>(edge ? sp[ch] * 98 / 100 : clampByte(d[ch] + lift));
        }
    }
    gt::Soften(destination);
    layPaperTexture(destination, c, m, true);
}

void MergeIteration(Bitmap& destination, int i, int trackBar1) {
    const int W = destination.width(), H = destination.height();
    const int o = i % 2;
    for (int b = 0; b <= H / 2 - 2; ++b) {
        for (int a = 0; a <= W / 2 - 2; ++a) {
            const int x = 2 * a + o, y = 2 * b + o;
            const Colour P = destination.colourAt(x, y);
            const Colour others[3] = {destination.colourAt(x + 1, y), destination.colourAt(x, y + 1),
                                      destination.colourAt(x + 1, y + 1)};
            const int tolerance = trackBar1 + (P.r + P.g + P.b) / 30 - 25;
            bool added[3];
            int sum[3] = {P.b, P.g, P.r};
            int count = 1;
            for (int k = 0; k < 3; ++k) {
                const Colour& X = others[k];
                const int distance = std::max({2 * absInt(X.r - P.r), absInt(X.g - P.g), absInt(X.b - P.b)});
                added[k] = tolerance > distance;
                if (added[k]) {
                    sum[0] += X.b; sum[1] += X.g; sum[2] += X.r;
                    ++count;
                }
            }
            std::uint8_t mean[3];
            for (int ch = 0; ch < 3; ++ch) {
                int v = sum[ch] / count;
                if (sum[ch] % count > count / 2) ++v;
                mean[ch] = static_cast<std::uint8_t>(std::min(v, 255));
            }
            const Colour M{mean[0], mean[1], mean[2]};
            destination.setColour(x, y, M);
            if (added[0]) destination.setColour(x + 1, y, M);
            if (added[1]) destination.setColour(x, y + 1, M);
            if (added[2]) destination.setColour(x + 1, y + 1, M);
        }
    }
}

void BilateralPainting(Bitmap& source, Bitmap& destination, int stage, int stages, const DrawingControls& c, const Materials& m,
                       RenderContext& ctx) {
    if (&source == &destination) {
        Bitmap copy = source;
        return plain::BilateralPainting(copy, destination, stage, stages, c, m, ctx);
    }
    checkTexture(c, m);
    ctx.random.seed = kDrawingSeed;
    const int W = source.width(), H = source.height();
    destination.setSize(W, H);
    gt::Soften(source);
    gt::AdjustSaturation(source, 15, &ctx);
    if (ctx.pumpedCancel()) return;
    plain::AdjustContrast(source, 25);
    if (ctx.pumpedCancel()) return;
    destination = source;
    if (c.ComboBox1 == 5) PaintDabs(destination, c, ctx);

    const int n = c.TrackBar5;
    for (int i = 0; i <= n; ++i) {
        if (!ctx.parameterWindowVisible) {
            ctx.ProgressReport(i, n, stage, stages);
            if (ctx.pumpedCancel()) return;
        }
        plain::MergeIteration(destination, i, c.TrackBar1);
    }

    const int lift = c.TrackBar3 - 127;
    for (int y = 1; y <= H - 1; ++y)
        for (int x = 1; x <= W - 1; ++x) {
            std::uint8_t* d = destination.pixel(x, y);
            for (int ch = 0; ch < 3; ++ch) d[ch] = static_cast<std::uint8_t>(clampByte(d[ch] + lift));
        }
    if (c.CheckBox2) gt::Soften(destination);
    gt::Sharpen(destination);
    gt::Sharpen(destination);
    gt::Sharpen(destination);
    layPaperTexture(destination, c, m, true);
}

void Painting4Contrast(Bitmap& bitmap, int a) {
    const int W = bitmap.width(), H = bitmap.height();
    if (W == 0 || H == 0) return;
    int tolerance[3];
    contrastTolerances(bitmap, tolerance);
    const Bitmap C = PaddedCopy9(bitmap);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            int sum[3] = {0, 0, 0};
            for (int v = y + 5; v <= y + 13; ++v)
                for (int u = x + 5; u <= x + 13; ++u) {
                    const std::uint8_t* p = C.pixel(u, v);
                    for (int ch = 0; ch < 3; ++ch) sum[ch] += p[ch];
                }
            contrastPixel(C.pixel(x + 9, y + 9), sum, tolerance, a, bitmap.pixel(x, y));
        }
    }
}

}  // namespace plain

}  // namespace gt
