// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/ink.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "imaging/adjust.h"
#include "imaging/arithmetic.h"
#include "imaging/error.h"
#include "imaging/filters.h"
#include "imaging/parallel.h"
#include "imaging/texture.h"

namespace gt {

namespace {

constexpr int kTileWidth = 100, kTileHeight = 200;

using Tiles = std::array<const Bitmap*, 9>;

Tiles inkTiles(const Materials& m) {
    for (std::size_t k = 0; k < m.InkToneTiles.size(); ++k) {
        const Bitmap* t = m.InkToneTiles[k];
        if (!t) throw Error("ink tile " + std::to_string(k) + " is missing");
        if (t->width() < kTileWidth || t->height() < kTileHeight)
            throw Error("ink tile " + std::to_string(k) + " is " + std::to_string(t->width()) + " x " + std::to_string(t->height()) +
                        " pixels; it must be at least 100 x 200");
    }
    return m.InkToneTiles;
}

struct InkControls {
    int threshold, darkness, brightness;
};

InkControls inkControls(const DrawingControls& c) {
    return {std::clamp(c.TrackBar1, 0, 255), std::clamp(c.TrackBar2, 0, 255), std::clamp(c.TrackBar3, 0, 255)};
}

// Blur3x3, then AdjustBrightness 10 and AdjustSaturation 25, on the source itself.
void prepare(Bitmap& source, const RenderContext& ctx) {
    Blur3x3(source);
    AdjustBrightnessAndSaturation(source, 10, 25, &ctx);
}

// The paper grain of the ink drawing: twice the usual strengths, repeating every texture size.
void layPaperTexture(Bitmap& drawing, const DrawingControls& c, const Materials& m, bool plainPath) {
    LayPaperTexture(drawing, m.PaperTexture, c.ComboBox2, TexturePeriod::Size, 2, plainPath);
}

// Draws row y (1..H-1) of the destination, columns 1..W-1.
void inkRow(const Bitmap& s, Bitmap& d, const Tiles& tiles, const InkControls& p, const std::uint8_t (&hatch)[256], int y) {
    const int W = s.width();
    const int r = y % kTileHeight;
    const std::uint8_t* tileRow[9];
    for (int k = 0; k < 9; ++k) tileRow[k] = tiles[std::size_t(k)]->row(r);
    const std::uint8_t* above = s.row(y - 1);
    const std::uint8_t* row = s.row(y);
    std::uint8_t* o = d.row(y);
    for (int x = 1, tx = 1; x < W; ++x, tx = tx == kTileWidth - 1 ? 0 : tx + 1) {
        const std::uint8_t* c = row + std::size_t(x) * 3;
        const std::uint8_t* up = above + std::size_t(x) * 3;
        const std::uint8_t* left = c - 3;
        const int level = ((c[0] + c[1] + c[2]) / 3) / 25;
        const int gv = absInt(up[0] - c[0]) + absInt(up[1] - c[1]) + absInt(up[2] - c[2]);
        const int gh = absInt(left[0] - c[0]) + absInt(left[1] - c[1]) + absInt(left[2] - c[2]);
        std::uint8_t* q = o + std::size_t(x) * 3;
        if (gv > p.threshold || gh > p.threshold) {
            q[0] = q[1] = q[2] = static_cast<std::uint8_t>(clampByte(level - (gv + gh) + 255 - p.darkness));
        } else if (level <= 8) {
            const std::uint8_t* t = tileRow[level] + std::size_t(tx) * 3;
            q[0] = hatch[t[0]];
            q[1] = hatch[t[1]];
            q[2] = hatch[t[2]];
        }
    }
}

}  // namespace

namespace plain {

void PenAndInkSketch(Bitmap& source, Bitmap& destination, const DrawingControls& controls, const Materials& m, RenderContext& ctx) {
    if (&source == &destination) {
        Bitmap copy = source;
        return plain::PenAndInkSketch(copy, destination, controls, m, ctx);
    }
    const InkControls p = inkControls(controls);
    const Tiles tiles = inkTiles(m);
    ctx.random.seed = kDrawingSeed;  // nothing is drawn from it here
    const int W = source.width(), H = source.height();
    destination.setSize(W, H);
    prepare(source, ctx);
    for (int y = 1; y <= H - 1; ++y) {
        ctx.ProgressReport(y - 1, H - 2, 1, 1);
        if (ctx.CancelRequested()) return;
        const int r = y % kTileHeight;
        for (int x = 1; x <= W - 1; ++x) {
            const Colour c = source.colourAt(x, y), up = source.colourAt(x, y - 1), left = source.colourAt(x - 1, y);
            const int level = ((c.r + c.g + c.b) / 3) / 25;
            const int gv = absInt(up.r - c.r) + absInt(up.g - c.g) + absInt(up.b - c.b);
            const int gh = absInt(left.r - c.r) + absInt(left.g - c.g) + absInt(left.b - c.b);
            if (gv > p.threshold || gh > p.threshold) {
                const std::uint8_t v = static_cast<std::uint8_t>(clampByte(level - (gv + gh) + 255 - p.darkness));
                destination.setColour(x, y, Colour{v, v, v});
            } else if (level <= 8) {
                const Colour t = tiles[std::size_t(level)]->colourAt(x % kTileWidth, r);
                const int add = 2 * p.brightness - 255;
                destination.setColour(x, y, Colour{std::uint8_t(clampByte(t.b + add)), std::uint8_t(clampByte(t.g + add)),
                                                   std::uint8_t(clampByte(t.r + add))});
            }
        }
    }
    if (controls.CheckBox2) Soften(destination);
    if (controls.CheckBox3) layPaperTexture(destination, controls, m, true);
}

}  // namespace plain

void PenAndInkSketch(Bitmap& source, Bitmap& destination, const DrawingControls& controls, const Materials& m, RenderContext& ctx) {
    if (plainPaths()) return plain::PenAndInkSketch(source, destination, controls, m, ctx);
    if (&source == &destination) {
        Bitmap copy = source;
        return gt::PenAndInkSketch(copy, destination, controls, m, ctx);
    }
    const InkControls p = inkControls(controls);
    const Tiles tiles = inkTiles(m);
    ctx.random.seed = kDrawingSeed;
    const int W = source.width(), H = source.height();
    destination.setSize(W, H);
    prepare(source, ctx);
    std::uint8_t hatch[256];
    for (int t = 0; t < 256; ++t) hatch[t] = static_cast<std::uint8_t>(clampByte(t + 2 * p.brightness - 255));
    // Rows are independent once the source is prepared. They go in chunks: each row of a chunk is
    // reported and checked for cancellation in order, then the rows that passed are drawn together.
    const int chunk = std::max(64, 32 * workerCount());
    for (int y0 = 1; y0 <= H - 1; y0 += chunk) {
        const int y1 = std::min(H, y0 + chunk);
        int reached = y0;
        bool cancelled = false;
        for (int y = y0; y < y1; ++y) {
            ctx.ProgressReport(y - 1, H - 2, 1, 1);
            if (ctx.CancelRequested()) {
                cancelled = true;
                break;
            }
            reached = y + 1;
        }
        parallelRows(y0, reached, [&](int a, int b) {
            for (int y = a; y < b; ++y) inkRow(source, destination, tiles, p, hatch, y);
        }, 8);
        if (cancelled) return;
    }
    if (controls.CheckBox2) Soften(destination);
    if (controls.CheckBox3) layPaperTexture(destination, controls, m, false);
}

}  // namespace gt
