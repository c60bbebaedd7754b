// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/edges.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stop_token>
#include <thread>
#include <vector>

#include "imaging/adjust.h"
#include "imaging/arithmetic.h"
#include "imaging/error.h"
#include "imaging/filters.h"
#include "imaging/median.h"
#include "imaging/parallel.h"
#include "imaging/texture.h"

namespace gt {

// The table and the colour drawing's direct computation must agree to the bit, so both come here.
double strokeAngle(int i, int j) {
    if (i == 0) return 3.14159;
    return std::atan(static_cast<double>(j) / static_cast<double>(i)) + 1.5707;
}

DirectionTable::DirectionTable() : angles_(std::size_t(511) * 511) {
    for (int i = -255; i <= 255; ++i)
        for (int j = -255; j <= 255; ++j) angles_[std::size_t(i + 255) * 511 + std::size_t(j + 255)] = strokeAngle(i, j);
}

const DirectionTable& directionTable() {
    static const DirectionTable table;
    return table;
}

namespace {

// The sliders as the controls hold them: a track bar never reports a position outside its range.
struct Sliders {
    int T1, T2, T3, T4, T5;
};

Sliders sliders(const DrawingControls& c) {
    return {std::clamp(c.TrackBar1, 0, 255), std::clamp(c.TrackBar2, 0, 255), std::clamp(c.TrackBar3, 0, 255),
            std::clamp(c.TrackBar4, 0, 255), std::clamp(c.TrackBar5, 0, 100)};
}

inline int greyLevel(const std::uint8_t* p) { return (30 * p[2] + 59 * p[1] + 11 * p[0]) / 100; }

int percentOfRows(int y, int H) { return static_cast<int>(y * 100LL / H); }

// The routines leave their source unchanged, even when the caller hands the same picture twice.
const Bitmap& readableSource(const Bitmap& source, const Bitmap& destination, Bitmap& copy) {
    if (&source != &destination) return source;
    copy = source;
    return copy;
}

void finishingOptions(Bitmap& drawing, const DrawingControls& c, const Materials& m) {
    if (c.CheckBox2) Soften(drawing);
    if (c.CheckBox3) LayPaperTexture(drawing, m.PaperTexture, c.ComboBox2, TexturePeriod::SizeLessOne);
}

// The colour drawing's tint, per channel: source s, stroke sheet d, smoothed photo m.
inline int tintedChannel(int s, int d, int m, int T4) {
    const int ink = ((255 - s) * (255 - d)) / 256;
    return clampLowFirst((((d * m) / 256) * T4 + (255 - T4) * (255 - ink)) / 256);
}

}  // namespace

void NoFilter(const Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext&) {
    if (&source == &destination) return finishingOptions(destination, c, m);
    // The softening reads the photo and writes the copy in one pass.
    if (c.CheckBox2)
        Soften(source, destination);
    else
        destination = source;
    if (c.CheckBox3) LayPaperTexture(destination, m.PaperTexture, c.ComboBox2, TexturePeriod::SizeLessOne);
}

// ---------------------------------------------------------------------------------------------------
// The plain routines: pixel by pixel, in the order the strokes are described.

namespace plain {

namespace {

void darken(Bitmap& sheet, int x, int y, int q) {
    if (!sheet.contains(x, y)) return;
    std::uint8_t* p = sheet.pixel(x, y);
    for (int ch = 0; ch < 3; ++ch) p[ch] = static_cast<std::uint8_t>(std::max(0, p[ch] - q));
}

// At r = 0 both points are the pixel itself, which is therefore darkened twice.
template <class Strength>
void stroke(Bitmap& sheet, int x, int y, double a, int n, Strength q) {
    for (int r = 0; r <= n; ++r) {
        const int qr = q(r);
        if (qr <= 0) return;
        const int dx = static_cast<int>(std::floor(std::cos(a) * r));
        const int dy = static_cast<int>(std::floor(std::sin(a) * r));
        darken(sheet, x - dx, y - dy, qr);
        darken(sheet, x + dx, y + dy, qr);
    }
}

enum class Angle { FromTable, Direct };

void edgePass(const Bitmap& source, Bitmap& sheet, int x, int y, const Sliders& t, Random& random, Angle angle) {
    auto g = [&](int u, int v) { return greyLevel(source.pixel(u, v)); };
    const int Gx = (g(x - 1, y - 1) + 2 * g(x - 1, y) + g(x - 1, y + 1)) - (g(x + 1, y - 1) + 2 * g(x + 1, y) + g(x + 1, y + 1));
    const int Gy = (g(x - 1, y - 1) + 2 * g(x, y - 1) + g(x + 1, y - 1)) - (g(x - 1, y + 1) + 2 * g(x, y + 1) + g(x + 1, y + 1));
    const int J = Gx / 4, K = Gy / 4;
    const int L = (absInt(J) + absInt(K)) / 2;
    if (L >= t.T1 && absInt(absInt(J) - absInt(K)) >= 2) {
        const double a = angle == Angle::FromTable ? directionTable()(J, K) : strokeAngle(J, K);
        const int n = ((L / 4) * t.T5) / 50;
        stroke(sheet, x, y, a, n, [&](int r) { return ((L / 2) * t.T5) / 50 - r - (150 - t.T2) / 4; });
    } else {
        const int grey = g(x, y);
        const int D = std::max(0, 382 - t.T3 - 2 * grey);
        const double a = random.draw(8 - grey / 32) + grey / 8;
        stroke(sheet, x, y, a, D / 32, [&](int r) { return D / 10 - r; });
    }
}

}  // namespace

void SobelFilter(const Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx) {
    const Sliders t = sliders(c);
    Bitmap copy;
    const Bitmap& src = readableSource(source, destination, copy);
    const int W = src.width(), H = src.height();
    destination.setSize(W, H);
    for (int y = 1; y <= H - 2; ++y) {
        for (int x = 1; x <= W - 2; ++x) edgePass(src, destination, x, y, t, ctx.random, Angle::FromTable);
        ctx.ProgressReport(percentOfRows(y, H), 99, 1, 1);
        if (y % 20 == 0 && ctx.pumpedCancel()) return;
    }
    finishingOptions(destination, c, m);
}

void ColourSobel(const Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx) {
    const Sliders t = sliders(c);
    Bitmap copy;
    const Bitmap& src = readableSource(source, destination, copy);
    const int W = src.width(), H = src.height();
    destination.setSize(W, H);
    Bitmap M(W, H);
    plain::MedianFilter(src, M, 7, 1, 2, ctx);
    for (int y = 1; y <= H - 2; ++y) {
        for (int x = 1; x <= W - 2; ++x) {
            const std::uint8_t* p = destination.pixel(x, y);
            if (p[0] + p[1] + p[2] == 0) continue;
            edgePass(src, destination, x, y, t, ctx.random, Angle::Direct);
        }
        ctx.ProgressReport(percentOfRows(y, H), 99, 2, 2);
        if (y % 20 == 0 && ctx.pumpedCancel()) return;
    }
    for (int y = 1; y <= H - 2; ++y)
        for (int x = 1; x <= W - 2; ++x) {
            const std::uint8_t* s = src.pixel(x, y);
            const std::uint8_t* mm = M.pixel(x, y);
            std::uint8_t* d = destination.pixel(x, y);
            for (int ch = 0; ch < 3; ++ch) d[ch] = static_cast<std::uint8_t>(tintedChannel(s[ch], d[ch], mm[ch], t.T4));
        }
    plain::AdjustSaturation(destination, 25, &ctx);
    finishingOptions(destination, c, m);
}

}  // namespace plain

// ---------------------------------------------------------------------------------------------------
// The fast routines. While strokes are drawn the three channels of the sheet are always equal (white
// darkened by the same amounts), so one byte per pixel holds it, and the grey levels of the source are
// computed once.
//
// Darkening commutes: darkening by q and then by q' gives max(0, max(0, v - q) - q') = max(0, v - q - q')
// for q, q' >= 0, whatever the order. So where nothing but the draws of the generator ties the pixels
// together (the grey drawing), rows can be drawn in any order once each row knows the generator's
// state at its start: one shading stroke draws exactly one number, and the gradients alone tell which
// pixels shade. A stroke reaches at most `reach` rows up or down, so bands of rows at least 2 * reach
// high, drawn even bands first and odd bands after, never write the same pixel at the same time.
// The colour drawing skips pixels already black, which ties every pixel to the strokes drawn before
// it; its strokes are drawn in order, on the one-byte sheet, beside the median filter.

namespace {

// Floor of a stroke offset (within -127..127): the truncation, one lower for negative non-whole values.
// Equal to std::floor there, without its library call on processors lacking a rounding instruction.
inline int floorToInt(double x) {
    const int t = static_cast<int>(x);
    return t > x ? t - 1 : t;
}

struct StrokeSheet {
    int W = 0, H = 0;
    PictureBytes level;  // 255 white; in a picture's storage, which large pages make cheap to fault in

    StrokeSheet(int w, int h) : W(w), H(h) {
        level.resize(std::size_t(w) * std::size_t(h));
        if (level.size()) std::memset(level.data(), 255, level.size());
    }
    std::uint8_t* row(int y) { return level.data() + std::size_t(y) * std::size_t(W); }

    void darken(int x, int y, int q) {
        if (x < 0 || y < 0 || x >= W || y >= H) return;
        std::uint8_t& p = level[std::size_t(y) * std::size_t(W) + std::size_t(x)];
        p = static_cast<std::uint8_t>(p > q ? p - q : 0);
    }
    // A stroke whose strength is q0 - r at step r, for r = 0..last (last < q0, so every step draws).
    void stroke(int x, int y, double cosA, double sinA, int last, int q0) {
        darken(x, y, q0);
        darken(x, y, q0);
        for (int r = 1; r <= last; ++r) {
            const int dx = floorToInt(cosA * r);
            const int dy = floorToInt(sinA * r);
            darken(x - dx, y - dy, q0 - r);
            darken(x + dx, y + dy, q0 - r);
        }
    }
    void copyTo(Bitmap& destination) const {
        parallelRows(0, H, [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y) {
                const std::uint8_t* s = level.data() + std::size_t(y) * std::size_t(W);
                std::uint8_t* d = destination.row(y);
                for (int x = 0; x < W; ++x, d += 3) d[0] = d[1] = d[2] = s[x];
            }
        });
    }
};

PictureBytes greyLevels(const Bitmap& source) {
    const int W = source.width();
    PictureBytes grey;
    grey.resize(std::size_t(W) * std::size_t(source.height()));
    parallelRows(0, source.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const std::uint8_t* p = source.row(y);
            std::uint8_t* g = grey.data() + std::size_t(y) * std::size_t(W);
            for (int x = 0; x < W; ++x, p += 3) g[x] = static_cast<std::uint8_t>(greyLevel(p));
        }
    });
    return grey;
}

struct EdgeStrokes {
    const std::uint8_t* grey;
    int W;
    Sliders t;
    const DirectionTable& table;
    // The shading angle is a whole number of radians, 0..31.
    double cosShade[40], sinShade[40];

    EdgeStrokes(const std::uint8_t* g, int w, const Sliders& s) : grey(g), W(w), t(s), table(directionTable()) {
        for (int a = 0; a < 40; ++a) {
            cosShade[a] = std::cos(static_cast<double>(a));
            sinShade[a] = std::sin(static_cast<double>(a));
        }
    }

    const std::uint8_t* greyRow(int y) const { return grey + std::size_t(y) * std::size_t(W); }

    // Sobel gradient at x of the row whose neighbours are `above` and `below`; true for an edge stroke.
    bool gradient(const std::uint8_t* above, const std::uint8_t* centre, const std::uint8_t* below, int x, int& J, int& K, int& L) const {
        const int Gx = (above[x - 1] + 2 * centre[x - 1] + below[x - 1]) - (above[x + 1] + 2 * centre[x + 1] + below[x + 1]);
        const int Gy = (above[x - 1] + 2 * above[x] + above[x + 1]) - (below[x - 1] + 2 * below[x] + below[x + 1]);
        J = Gx / 4;
        K = Gy / 4;
        L = (absInt(J) + absInt(K)) / 2;
        return L >= t.T1 && absInt(absInt(J) - absInt(K)) >= 2;
    }

    int shadingPixels(int y) const {
        const std::uint8_t *above = greyRow(y - 1), *centre = greyRow(y), *below = greyRow(y + 1);
        int count = 0, J, K, L;
        for (int x = 1; x <= W - 2; ++x) count += gradient(above, centre, below, x, J, K, L) ? 0 : 1;
        return count;
    }

    template <bool SkipBlack>
    void drawRow(StrokeSheet& sheet, int y, Random& random) const {
        const std::uint8_t *above = greyRow(y - 1), *centre = greyRow(y), *below = greyRow(y + 1);
        const std::uint8_t* sheetRow = sheet.row(y);
        for (int x = 1; x <= W - 2; ++x) {
            if (SkipBlack && sheetRow[x] == 0) continue;
            int J, K, L;
            if (gradient(above, centre, below, x, J, K, L)) {
                const int q0 = ((L / 2) * t.T5) / 50 - (150 - t.T2) / 4;
                const int last = std::min(((L / 4) * t.T5) / 50, q0 - 1);
                if (last < 0) continue;
                double cosA = 0, sinA = 0;
                if (last >= 1) {
                    const double a = table(J, K);
                    cosA = std::cos(a);
                    sinA = std::sin(a);
                }
                sheet.stroke(x, y, cosA, sinA, last, q0);
            } else {
                const int g = centre[x];
                const int D = std::max(0, 382 - t.T3 - 2 * g);
                const int a = random.draw(8 - g / 32) + g / 8;
                const int q0 = D / 10;
                const int last = std::min(D / 32, q0 - 1);
                if (last >= 0) sheet.stroke(x, y, cosShade[a], sinShade[a], last, q0);
            }
        }
    }
};

}  // namespace

namespace {

void sobelFilter(const Bitmap& source, Bitmap* givenOver, Bitmap& destination, const DrawingControls& c, const Materials& m,
                 RenderContext& ctx) {
    if (plainPaths()) return plain::SobelFilter(source, destination, c, m, ctx);
    const Sliders t = sliders(c);
    Bitmap copy;
    const Bitmap& src = readableSource(source, destination, copy);
    const int W = src.width(), H = src.height();
    const PictureBytes grey = greyLevels(src);
    // The strokes read only the grey levels.
    if (givenOver && givenOver != &destination) *givenOver = Bitmap();
    copy = Bitmap();
    StrokeSheet sheet(W, H);
    destination.setSize(W, H);
    const EdgeStrokes strokes(grey.data(), W, t);

    // The generator's seed at the start of each row 1..H-2, and after the last (index H - 1).
    std::vector<std::uint32_t> rowSeed(std::size_t(std::max(H, 2)), ctx.random.seed);
    if (H >= 3) {
        std::vector<int> shading(std::size_t(H), 0);
        parallelRows(1, H - 1, [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y) shading[std::size_t(y)] = strokes.shadingPixels(y);
        });
        Random r = ctx.random;
        for (int y = 1; y <= H - 2; ++y) {
            for (int i = 0; i < shading[std::size_t(y)]; ++i) r.advance();
            rowSeed[std::size_t(y) + 1] = r.seed;
        }
    }

    // An edge stroke steps at most ((255 div 4) * T5) div 50 pixels away, a shading stroke 382 div 32.
    const int reach = std::max(11, (63 * t.T5) / 50);
    const int bandRows = std::max(2 * reach, 16);
    const int chunkRows = 2 * std::max(1, workerCount()) * bandRows;
    auto drawRows = [&](int a, int b) {  // rows a..b-1, in bands, even bands first
        const int bands = (b - a + bandRows - 1) / bandRows;
        for (int phase = 0; phase < 2; ++phase) {
            parallelRows(0, (bands - phase + 1) / 2, [&](int i0, int i1) {
                for (int i = i0; i < i1; ++i) {
                    const int y0 = a + (2 * i + phase) * bandRows, y1 = std::min(b, y0 + bandRows);
                    Random random;
                    random.seed = rowSeed[std::size_t(y0)];
                    for (int y = y0; y < y1; ++y) strokes.drawRow<false>(sheet, y, random);
                }
            }, 1);
        }
    };

    // Progress and the cancel checks of a block of rows come first, in the plain routine's order; the
    // block is then drawn up to the row where a cancel was seen.
    for (int y = 1; y <= H - 2; y += chunkRows) {
        const int yEnd = std::min(H - 2, y + chunkRows - 1);
        int stop = -1;
        for (int k = y; k <= yEnd && stop < 0; ++k) {
            ctx.ProgressReport(percentOfRows(k, H), 99, 1, 1);
            if (k % 20 == 0 && ctx.pumpedCancel()) stop = k;
        }
        drawRows(y, (stop >= 0 ? stop : yEnd) + 1);
        if (stop >= 0) {
            ctx.random.seed = rowSeed[std::size_t(stop) + 1];
            sheet.copyTo(destination);
            return;
        }
    }
    if (H >= 3) ctx.random.seed = rowSeed[std::size_t(H) - 1];
    sheet.copyTo(destination);
    finishingOptions(destination, c, m);
}

}  // namespace

void SobelFilter(const Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx) {
    sobelFilter(source, nullptr, destination, c, m, ctx);
}

void SobelFilterGivenOver(Bitmap&& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx) {
    sobelFilter(source, &source, destination, c, m, ctx);
}

void ColourSobel(const Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx) {
    if (plainPaths()) return plain::ColourSobel(source, destination, c, m, ctx);
    const Sliders t = sliders(c);
    Bitmap copy;
    const Bitmap& src = readableSource(source, destination, copy);
    const int W = src.width(), H = src.height();
    // The median sizes M itself, and the destination is sized only when the sheet is copied into
    // it: besides the photo, the median's picture, the sheet and the grey levels (5 bytes a pixel)
    // are alive while the median runs, then M, the sheet and the destination (7), then M and the
    // destination (6) while the tint is laid.
    Bitmap M;
    PictureBytes grey = greyLevels(src);
    const EdgeStrokes strokes(grey.data(), W, t);

    // The strokes need nothing from the median, so they are drawn on a thread of their own while the
    // median runs. Its progress and cancel checks come first, as in the plain routine; the strokes'
    // are made afterwards, and a cancel seen among them draws the strokes again up to that row.
    const Random atEntry = ctx.random;
    StrokeSheet sheet(W, H);
    Random random = atEntry;
    {
        std::jthread drawing([&](std::stop_token stop) {
            for (int y = 1; y <= H - 2 && !stop.stop_requested(); ++y) strokes.drawRow<true>(sheet, y, random);
        });
        MedianFilter(src, M, 7, 1, 2, ctx);
        if (M.empty()) M.setSize(W, H);  // a cancelled median leaves it white
        for (int y = 1; y <= H - 2; ++y) {
            ctx.ProgressReport(percentOfRows(y, H), 99, 2, 2);
            if (y % 20 == 0 && ctx.pumpedCancel()) {
                drawing.request_stop();
                drawing.join();
                StrokeSheet upToHere(W, H);
                ctx.random = atEntry;
                for (int k = 1; k <= y; ++k) strokes.drawRow<true>(upToHere, k, ctx.random);
                destination.setSize(W, H);
                upToHere.copyTo(destination);
                return;
            }
        }
        drawing.join();  // leaving the block would ask the thread to stop first
    }
    ctx.random = random;
    grey = PictureBytes();
    destination.setSize(W, H);
    sheet.copyTo(destination);
    sheet.level = PictureBytes();

    if (W >= 3) parallelRows(1, H - 1, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const std::uint8_t* s = src.pixel(1, y);
            const std::uint8_t* mm = M.pixel(1, y);
            std::uint8_t* d = destination.pixel(1, y);
            for (int i = 0, n = (W - 2) * 3; i < n; ++i) d[i] = static_cast<std::uint8_t>(tintedChannel(s[i], d[i], mm[i], t.T4));
        }
    });
    M = Bitmap();
    AdjustSaturation(destination, 25, &ctx);
    finishingOptions(destination, c, m);
}

}  // namespace gt
