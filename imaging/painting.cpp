#include "imaging/painting.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "imaging/adjust.h"
#include "imaging/arithmetic.h"
#include "imaging/ellipse.h"
#include "imaging/error.h"
#include "imaging/filters.h"
#include "imaging/neighbourhood.h"
#include "imaging/parallel.h"
#include "imaging/texture.h"

namespace gt {

namespace {

// Fails before any work when the paper grain is asked for and there is no texture to lay.
void checkTexture(const DrawingControls& c, const Materials& m) {
    if (c.CheckBox3 && !m.PaperTexture) throw Error("the paper texture is missing");
}

// The paintings' grain: the usual strengths, repeating every texture size less one.
void layPaperTexture(Bitmap& drawing, const DrawingControls& c, const Materials& m, bool plainPath) {
    if (c.CheckBox3) LayPaperTexture(drawing, m.PaperTexture, c.ComboBox2, TexturePeriod::SizeLessOne, 1, plainPath);
}

// Painting 1's preparation of the twice-softened photo the smoothing starts from.
void preparePainting1(Bitmap& source, const RenderContext& ctx, bool plainPath) {
    Soften(source);
    AdjustSaturation(source, 15, &ctx);
    AdjustSaturation(source, 15, &ctx);
    if (plainPath)
        plain::AdjustContrast(source, 100);
    else
        AdjustContrast(source, 100);
    AdjustBrightness(source, 25);
}

// Painting4Contrast's tolerance: half of each channel's mean over the whole picture, kept for every
// pixel. (Halving it again before each pixel would leave 0 after the first few pixels of the top
// row, so that only a pixel exactly equal to its neighbourhood mean could ever be pulled; that is a
// defect, not a choice of look.)
void contrastTolerances(const Bitmap& b, int tolerance[3]) {
    ChannelMeans(b, tolerance);
    for (int ch = 0; ch < 3; ++ch) tolerance[ch] /= 2;
}

// One pixel of Painting4Contrast, channels in blue, green, red order.
inline void contrastPixel(const std::uint8_t* c, const int sum[3], const int tolerance[3], int a, std::uint8_t* out) {
    int diff[3];
    bool pull = true;
    for (int ch = 0; ch < 3; ++ch) {
        diff[ch] = c[ch] - (sum[ch] - c[ch]) / 80;
        if (absInt(diff[ch]) > tolerance[ch]) pull = false;
    }
    for (int ch = 0; ch < 3; ++ch) {
        const int step = (diff[ch] * a) / 100;
        out[ch] = static_cast<std::uint8_t>(clampByte(pull ? c[ch] - step : c[ch] + step));
    }
}

}  // namespace

// Painting 2's dabs: sequential, since every dab's colour is read from the picture as the earlier
// dabs left it and the generator's draws come in a fixed order.
void PaintDabs(Bitmap& d, const DrawingControls& c, RenderContext& ctx) {
    const int W = d.width(), H = d.height();
    const int size = std::min(8, (255 - c.TrackBar2) / 75 + (ctx.DrawingWidth + ctx.DrawingHeight) / 750);
    const std::int64_t count = std::int64_t(W / 30) * (H / 30) * (255 - c.TrackBar2);
    for (std::int64_t k = 0; k < count; ++k) {
        const int w = ctx.random.draw(size) + 1;
        const int h = ctx.random.draw(size) + 2;
        const int x0 = ctx.random.draw(W - w - 1);
        const int y0 = ctx.random.draw(H - h - 1);
        const Colour under = d.colourAt(x0 + w / 2, y0 + h / 2);
        const int shift = 2 * (h - w);
        const Colour paint{std::uint8_t(clampByte(under.b + shift)), std::uint8_t(clampByte(under.g + shift)),
                           std::uint8_t(clampByte(under.r + shift))};
        FillEllipse(d, x0, y0, w, h, paint);
    }
}

// ---------------------------------------------------------------------------------------------------
// The plain routines: pixel by pixel, step by step.

namespace plain {

void RecursivePainting(Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx) {
    if (&source == &destination) {
        Bitmap copy = source;
        return plain::RecursivePainting(copy, destination, c, m, ctx);
    }
    checkTexture(c, m);
    ctx.random.seed = kDrawingSeed;  // nothing is drawn from it here
    Soften(source);
    const Bitmap O = source;
    destination = source;  // what the border pixels show
    preparePainting1(source, ctx, true);

    const int W = source.width(), H = source.height();
    const int n = c.TrackBar5;
    const int tolerance = c.TrackBar1 / 2;
    for (int i = 0; i <= n; ++i) {
        ctx.ProgressReport(i, n, 1, 1);
        if (ctx.pumpAndCheckCancel()) return;
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
    Soften(source);
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
    Soften(destination);
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
    Soften(source);
    AdjustSaturation(source, 15, &ctx);
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
    if (c.CheckBox2) Soften(destination);
    Sharpen(destination);
    Sharpen(destination);
    Sharpen(destination);
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

// ---------------------------------------------------------------------------------------------------
// The fast routines: the same results, with running sums, rows in parallel bands and no copies
// between iterations.

namespace {

// One row of painting 1's smoothing: each pixel against the mean of its 5 x 3 window without its
// centre, read from `from`, written to `to` (columns 2..W-3). The window sum is the sliding sum of
// five 3-row column sums, less the centre. `column` is scratch for 3 * W sums.
void smoothRow(const Bitmap& from, const Bitmap& O, Bitmap& to, int y, int tolerance, std::vector<int>& column) {
    const int W = from.width();
    const std::uint8_t* above = from.row(y - 1);
    const std::uint8_t* centre = from.row(y);
    const std::uint8_t* below = from.row(y + 1);
    const std::size_t n = std::size_t(W) * 3;
    for (std::size_t i = 0; i < n; ++i) column[i] = above[i] + centre[i] + below[i];
    int window[3] = {0, 0, 0};
    for (int x = 0; x < 5; ++x)
        for (int ch = 0; ch < 3; ++ch) window[ch] += column[std::size_t(x) * 3 + ch];
    const std::uint8_t* o = O.row(y);
    std::uint8_t* d = to.row(y);
    for (int x = 2; x <= W - 3; ++x) {
        const std::size_t i = std::size_t(x) * 3;
        if (x > 2)
            for (int ch = 0; ch < 3; ++ch) window[ch] += column[i + 6 + ch] - column[i - 9 + ch];
        int mean[3], dev = 0;
        for (int ch = 0; ch < 3; ++ch) {
            mean[ch] = (window[ch] - centre[i + ch]) / 14;
            dev = std::max(dev, absInt(mean[ch] - centre[i + ch]));
        }
        if (dev > tolerance) {
            d[i] = o[i]; d[i + 1] = o[i + 1]; d[i + 2] = o[i + 2];
        } else {
            d[i] = std::uint8_t(mean[0]); d[i + 1] = std::uint8_t(mean[1]); d[i + 2] = std::uint8_t(mean[2]);
        }
    }
}

// Painting 1's edge and brightness pass over rows y0..y1-1 (from 1), columns 1..W-1.
void edgeRows(const Bitmap& s, Bitmap& d, int e, const std::uint8_t (&lifted)[256], int y0, int y1) {
    const int W = s.width();
    for (int y = y0; y < y1; ++y) {
        const std::uint8_t* row = s.row(y);
        const std::uint8_t* up = s.row(y - 1);
        std::uint8_t* out = d.row(y);
        for (std::size_t i = 3, n = std::size_t(W) * 3; i < n; i += 3) {
            const std::uint8_t* p = row + i;
            const int gh = absInt(p[-3] - p[0]) + absInt(p[-2] - p[1]) + absInt(p[-1] - p[2]);
            bool edge = gh >= e;
            if (!edge) {
                const std::uint8_t* q = up + i;
                edge = absInt(p[0] - q[0]) + absInt(p[1] - q[1]) + absInt(p[2] - q[2]) >= e;
            }
            if (edge) {
                for (int ch = 0; ch < 3; ++ch) out[i + ch] = static_cast<std::uint8_t>(p[ch] * 98 / 100);
            } else {
                for (int ch = 0; ch < 3; ++ch) out[i + ch] = lifted[out[i + ch]];
            }
        }
    }
}

// One merge block: P at p, Q at p + 3, R at r, S at r + 3 (channels blue, green, red).
inline void mergeBlock(std::uint8_t* p, std::uint8_t* r, int trackBar1) {
    std::uint8_t* X[3] = {p + 3, r, r + 3};
    const int tolerance = trackBar1 + (p[0] + p[1] + p[2]) / 30 - 25;
    bool added[3];
    int count = 1;
    for (int k = 0; k < 3; ++k) {
        const std::uint8_t* q = X[k];
        const int distance = std::max({2 * absInt(q[2] - p[2]), absInt(q[1] - p[1]), absInt(q[0] - p[0])});
        added[k] = tolerance > distance;
        count += added[k];
    }
    if (count == 1) return;  // P stays as it is
    for (int ch = 0; ch < 3; ++ch) {
        int sum = p[ch];
        for (int k = 0; k < 3; ++k)
            if (added[k]) sum += X[k][ch];
        int v = sum / count;
        if (sum % count > count / 2) ++v;
        const std::uint8_t mean = static_cast<std::uint8_t>(std::min(v, 255));
        p[ch] = mean;
        for (int k = 0; k < 3; ++k)
            if (added[k]) X[k][ch] = mean;
    }
}

}  // namespace

void RecursivePainting(Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx) {
    if (plainPaths()) return plain::RecursivePainting(source, destination, c, m, ctx);
    if (&source == &destination) {
        Bitmap copy = source;
        return gt::RecursivePainting(copy, destination, c, m, ctx);
    }
    checkTexture(c, m);
    ctx.random.seed = kDrawingSeed;
    Soften(source);
    Bitmap O = source;
    destination = source;
    preparePainting1(source, ctx, false);

    const int W = source.width(), H = source.height();
    const int n = c.TrackBar5;
    const int tolerance = c.TrackBar1 / 2;
    // Iteration 0 reads the prepared source and writes the destination; after it the source is a
    // copy of the destination once. From then on the two alternate as input and output: both carry
    // the same unsmoothed border and every smoothed pixel is rewritten, so no more copies are needed.
    Bitmap* from = &source;
    Bitmap* to = &destination;
    for (int i = 0; i <= n; ++i) {
        ctx.ProgressReport(i, n, 1, 1);
        if (ctx.pumpAndCheckCancel()) {
            // As the plain run leaves them: both hold the last iteration done (before the first,
            // the destination still shows the softened photo and the source its prepared copy).
            if (i > 0) *to = *from;
            return;
        }
        if (H >= 4 && W >= 5) {
            parallelRows(2, H - 1, [&](int y0, int y1) {
                std::vector<int> column(std::size_t(W) * 3);
                for (int y = y0; y < y1; ++y) smoothRow(*from, O, *to, y, tolerance, column);
            }, 8);
        }
        if (i == 0) source = destination;
        std::swap(from, to);
    }
    // The last result is in `from` (after no iteration at all, the destination keeps the softened
    // photo); the source is overwritten next, whatever it holds.
    if (n >= 0 && from != &destination) std::swap(source, destination);

    source = std::move(O);
    Soften(source);
    std::uint8_t lifted[256];
    for (int v = 0; v < 256; ++v) lifted[v] = static_cast<std::uint8_t>(clampByte(v + c.TrackBar3 - 127));
    const int e = 255 - c.TrackBar2;
    parallelRows(1, H, [&](int y0, int y1) { edgeRows(source, destination, e, lifted, y0, y1); }, 16);
    Soften(destination);
    layPaperTexture(destination, c, m, false);
}

// The blocks of one iteration never overlap and read only their own four pixels, so rows of blocks
// are independent.
void MergeIteration(Bitmap& drawing, int i, int trackBar1) {
    if (plainPaths()) return plain::MergeIteration(drawing, i, trackBar1);
    const int blockRows = drawing.height() / 2 - 1, blockColumns = drawing.width() / 2 - 1;
    if (blockRows <= 0 || blockColumns <= 0) return;
    const int o = i % 2;
    parallelRows(0, blockRows, [&](int b0, int b1) {
        for (int b = b0; b < b1; ++b) {
            std::uint8_t* p = drawing.pixel(o, 2 * b + o);
            std::uint8_t* r = drawing.pixel(o, 2 * b + o + 1);
            for (int a = 0; a < blockColumns; ++a, p += 6, r += 6) mergeBlock(p, r, trackBar1);
        }
    }, 8);
}

void BilateralPainting(Bitmap& source, Bitmap& destination, int stage, int stages, const DrawingControls& c, const Materials& m,
                       RenderContext& ctx) {
    if (plainPaths()) return plain::BilateralPainting(source, destination, stage, stages, c, m, ctx);
    if (&source == &destination) {
        Bitmap copy = source;
        return gt::BilateralPainting(copy, destination, stage, stages, c, m, ctx);
    }
    checkTexture(c, m);
    ctx.random.seed = kDrawingSeed;
    const int W = source.width(), H = source.height();
    destination.setSize(W, H);
    Soften(source);
    AdjustSaturation(source, 15, &ctx);
    if (ctx.pumpedCancel()) return;
    AdjustContrast(source, 25);
    if (ctx.pumpedCancel()) return;
    destination = source;
    if (c.ComboBox1 == 5) PaintDabs(destination, c, ctx);

    const int n = c.TrackBar5;
    for (int i = 0; i <= n; ++i) {
        if (!ctx.parameterWindowVisible) {
            ctx.ProgressReport(i, n, stage, stages);
            if (ctx.pumpedCancel()) return;
        }
        MergeIteration(destination, i, c.TrackBar1);
    }

    std::uint8_t lifted[256];
    for (int v = 0; v < 256; ++v) lifted[v] = static_cast<std::uint8_t>(clampByte(v + c.TrackBar3 - 127));
    parallelRows(1, H, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* d = destination.row(y);
            for (std::size_t i = 3, e = std::size_t(W) * 3; i < e; ++i) d[i] = lifted[d[i]];
        }
    }, 32);
    if (c.CheckBox2) Soften(destination);
    Sharpen(destination);
    Sharpen(destination);
    Sharpen(destination);
    layPaperTexture(destination, c, m, false);
}

// 9 x 9 sums kept as running column sums (integers, so exact), rows in parallel bands.
void Painting4Contrast(Bitmap& bitmap, int a) {
    if (plainPaths()) return plain::Painting4Contrast(bitmap, a);
    const int W = bitmap.width(), H = bitmap.height();
    if (W == 0 || H == 0) return;
    int tolerance[3];
    contrastTolerances(bitmap, tolerance);
    const Bitmap C = PaddedCopy9(bitmap);
    const std::size_t columns = std::size_t(C.width()) * 3;
    parallelRows(0, H, [&](int y0, int y1) {
        // column[u*3+ch]: the sum over rows y+5..y+13 of C at column u, for the current y
        std::vector<int> column(columns, 0);
        for (int v = y0 + 5; v <= y0 + 13; ++v) {
            const std::uint8_t* row = C.row(v);
            for (std::size_t i = 0; i < columns; ++i) column[i] += row[i];
        }
        for (int y = y0; y < y1; ++y) {
            if (y > y0) {
                const std::uint8_t* leaving = C.row(y + 4);
                const std::uint8_t* entering = C.row(y + 13);
                for (std::size_t i = 0; i < columns; ++i) column[i] += entering[i] - leaving[i];
            }
            int sum[3] = {0, 0, 0};
            for (int u = 5; u <= 13; ++u)
                for (int ch = 0; ch < 3; ++ch) sum[ch] += column[std::size_t(u) * 3 + ch];
            const std::uint8_t* centre = C.pixel(9, y + 9);
            std::uint8_t* out = bitmap.row(y);
            for (int x = 0; x < W; ++x, centre += 3, out += 3) {
                if (x > 0)
                    for (int ch = 0; ch < 3; ++ch)
                        sum[ch] += column[std::size_t(x + 13) * 3 + ch] - column[std::size_t(x + 4) * 3 + ch];
                contrastPixel(centre, sum, tolerance, a, out);
            }
        }
    }, 8);
}

}  // namespace gt
