// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/painting.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <mutex>
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

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// ---------------------------------------------------------------------------------------------------
// The fast routines: the same results, with running sums, rows in parallel bands, several
// iterations per pass over the picture and no copies between iterations.

namespace {

// Iterations handed to one sweep (see sweepIterations). The progress reports and cancel checks of
// a group's iterations come together before it starts, so a cancel still stops the run after
// exactly the iterations reported before it.
constexpr int kIterationsPerSweep = 8;

// Row-planar rows: the smoothing and merge iterations work on rows rearranged into all their blue
// bytes, then all their green, then all their red, so every channel is a plain array and the
// per-pixel arithmetic, largest-of-three-channels tests included, vectorises.
#if defined(__SSE2__)
// 32 pixels at a time: five rounds of byte unpacking turn 96 interleaved bytes into the three
// 32-byte planes; five rounds of the inverse (even and odd bytes apart) turn them back.
inline void unpackRound(__m128i (&v)[6]) {
    const __m128i n[6] = {_mm_unpacklo_epi8(v[0], v[3]), _mm_unpackhi_epi8(v[0], v[3]), _mm_unpacklo_epi8(v[1], v[4]),
                          _mm_unpackhi_epi8(v[1], v[4]), _mm_unpacklo_epi8(v[2], v[5]), _mm_unpackhi_epi8(v[2], v[5])};
    for (int k = 0; k < 6; ++k) v[k] = n[k];
}

inline void splitRound(__m128i (&v)[6]) {
    const __m128i low = _mm_set1_epi16(0x00FF);
    auto even = [&](__m128i a, __m128i b) { return _mm_packus_epi16(_mm_and_si128(a, low), _mm_and_si128(b, low)); };
    auto odd = [](__m128i a, __m128i b) { return _mm_packus_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(b, 8)); };
    const __m128i n[6] = {even(v[0], v[1]), even(v[2], v[3]), even(v[4], v[5]), odd(v[0], v[1]), odd(v[2], v[3]), odd(v[4], v[5])};
    for (int k = 0; k < 6; ++k) v[k] = n[k];
}
#endif

void planarRow(const std::uint8_t* __restrict in, std::uint8_t* __restrict out, int W) {
    int x = 0;
#if defined(__SSE2__)
    for (; x + 32 <= W; x += 32) {
        __m128i v[6];
        for (int k = 0; k < 6; ++k) v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * x + 16 * k));
        for (int r = 0; r < 5; ++r) unpackRound(v);
        for (int k = 0; k < 6; ++k) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (k / 2) * W + x + 16 * (k % 2)), v[k]);
    }
#endif
    for (; x < W; ++x) {
        out[x] = in[3 * x];
        out[W + x] = in[3 * x + 1];
        out[2 * W + x] = in[3 * x + 2];
    }
}

void interleavedRow(const std::uint8_t* __restrict in, std::uint8_t* __restrict out, int W) {
    int x = 0;
#if defined(__SSE2__)
    for (; x + 32 <= W; x += 32) {
        __m128i v[6];
        for (int k = 0; k < 6; ++k) v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + (k / 2) * W + x + 16 * (k % 2)));
        for (int r = 0; r < 5; ++r) splitRound(v);
        for (int k = 0; k < 6; ++k) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x + 16 * k), v[k]);
    }
#endif
    for (; x < W; ++x) {
        out[3 * x] = in[x];
        out[3 * x + 1] = in[W + x];
        out[3 * x + 2] = in[2 * W + x];
    }
}

// Rows [y0, H) of b rearranged in place, either way. With `lift`, rows 1.. from column 1 on are
// brightened on the way back (painting 2's brightness, while the row is at hand).
void rearrangeRows(Bitmap& b, int y0, bool toPlanar, const int* lift = nullptr) {
    const int W = b.width();
    const std::size_t w = std::size_t(W);
    parallelRows(y0, b.height(), [&](int r0, int r1) {
        std::vector<std::uint8_t> scratch(b.stride());
        std::uint8_t* __restrict row = scratch.data();
        for (int y = r0; y < r1; ++y) {
            std::uint8_t* p = b.row(y);
            std::copy(p, p + b.stride(), row);
            if (toPlanar) {
                planarRow(row, p, W);
                continue;
            }
            if (lift && y >= 1) {
                const int v = *lift;
                for (std::size_t c = 0; c < 3; ++c)
                    for (std::size_t x = c * w + 1; x < (c + 1) * w; ++x) row[x] = std::uint8_t(std::clamp(row[x] + v, 0, 255));
            }
            interleavedRow(row, p, W);
        }
    }, 32);
}

// Iterations t = 0 .. count-1 of a sweep over positions (rows, or the top rows of 2-row blocks):
// iteration t visits the positions of span(t) = [first, end) in steps of `stride`, and its step at
// position p reads and writes only what iteration t-1 left at positions p-1 .. p+1 (and its own p).
// Running them one after the other would stream the whole picture through memory once per
// iteration; instead each band of rows runs all of them as a wavefront, iteration t following one
// step behind t-1, so a few rows stay in cache across the iterations. At an inner band edge
// iteration t stops t positions short on either side (the band's work is a trapezoid); the
// triangles left around each edge are finished afterwards in iteration order. Every step thus
// sees exactly what the iterations one after the other would have shown it, for any number of
// bands. makeStep() gives each worker its own step(t, p), with its scratch.
template <class Span, class MakeStep>
void sweepIterations(int count, int stride, int positions, Span span, MakeStep makeStep) {
    if (count <= 0) return;
    const int bands = std::max(1, std::min(workerCount(), positions / (2 * count + 8)));
    std::vector<int> edge(std::size_t(bands) + 1);
    for (int k = 0; k <= bands; ++k) edge[std::size_t(k)] = int(std::int64_t(positions) * k / bands);
    // The first position of iteration t at or after lo.
    auto firstFrom = [&](int t, int lo) {
        const int first = span(t).first;
        return lo <= first ? first : first + (lo - first + stride - 1) / stride * stride;
    };
    parallelRows(0, bands, [&](int k0, int k1) {
        auto step = makeStep();
        std::vector<int> next(static_cast<std::size_t>(count)), limit(static_cast<std::size_t>(count));
        for (int k = k0; k < k1; ++k) {
            for (int t = 0; t < count; ++t) {
                const int lo = k == 0 ? span(t).first : edge[std::size_t(k)] + t;
                const int hi = k == bands - 1 ? span(t).second : std::min(span(t).second, edge[std::size_t(k) + 1] - t);
                next[std::size_t(t)] = firstFrom(t, lo);
                limit[std::size_t(t)] = hi;
            }
            for (bool moved = true; moved;) {
                moved = false;
                for (int t = 0; t < count; ++t) {
                    int& p = next[std::size_t(t)];
                    const int end = limit[std::size_t(t)];
                    if (t == 0) {
                        if (p < end) {
                            step(0, p);
                            p += stride;
                            moved = true;
                        }
                        continue;
                    }
                    const int before = next[std::size_t(t) - 1], beforeEnd = limit[std::size_t(t) - 1];
                    while (p < end && (before >= beforeEnd || before > p + 1)) {
                        step(t, p);
                        p += stride;
                        moved = true;
                    }
                }
            }
        }
    }, 1);
    if (bands > 1)
        parallelRows(1, bands, [&](int k0, int k1) {
            auto step = makeStep();
            for (int k = k0; k < k1; ++k)
                for (int t = 0; t < count; ++t) {
                    const int hi = std::min(span(t).second, edge[std::size_t(k)] + t);
                    for (int p = firstFrom(t, edge[std::size_t(k)] - t); p < hi; p += stride) step(t, p);
                }
        }, 1);
}

// One row of painting 1's smoothing on row-planar pictures: row y of `to` from rows y-1 .. y+1 of
// `from`, each pixel against the mean of its 5 x 3 window without its centre. The pixels the
// smoothing never reaches (columns 0, 1, W-2, W-1, and rows 1 and H-1, written along with the
// first and last smoothed rows) are O's, as every iteration after the first finds them.
struct SmoothScratch {
    std::vector<std::uint16_t> column;
    std::vector<std::uint8_t> mean, diff, dev;
    explicit SmoothScratch(int W)
        : column(std::size_t(W) * 3), mean(std::size_t(W) * 3), diff(std::size_t(W) * 3), dev(std::size_t(W)) {}
};

void smoothPlanarRow(const Bitmap& from, const Bitmap& O, Bitmap& to, int y, int tolerance, SmoothScratch& s) {
    const int W = from.width(), H = from.height();
    const std::size_t w = std::size_t(W), n = 3 * w;
    // The three planes of a row lie one after the other, so each step runs once over all of them;
    // the few values worked out across a plane's end (its columns 0, 1, W-2, W-1) are never read.
    std::uint16_t* __restrict column = s.column.data();
    std::uint8_t* __restrict mean = s.mean.data();
    std::uint8_t* __restrict diff = s.diff.data();
    std::uint8_t* __restrict dev = s.dev.data();
    const std::uint8_t* __restrict above = from.row(y - 1);
    const std::uint8_t* __restrict centre = from.row(y);
    const std::uint8_t* __restrict below = from.row(y + 1);
    for (std::size_t i = 0; i < n; ++i) column[i] = std::uint16_t(above[i] + centre[i] + below[i]);
    for (std::size_t i = 2; i + 2 < n; ++i) {
        // at most 14 * 255, so 16 bits hold it
        const std::uint16_t sum = std::uint16_t(column[i - 2] + column[i - 1] + column[i] + column[i + 1] + column[i + 2] - centre[i]);
        const std::uint8_t m = std::uint8_t(sum / 14);
        mean[i] = m;
        diff[i] = std::uint8_t(std::max(m, centre[i]) - std::min(m, centre[i]));
    }
    const std::uint8_t limit = std::uint8_t(tolerance);
    for (std::size_t x = 2; x + 2 < w; ++x)  // 0xFF: O's pixel wanted
        dev[x] = std::uint8_t(std::max(std::max(diff[x], diff[w + x]), diff[2 * w + x]) > limit ? 0xFF : 0);
    for (std::size_t c = 0; c < 3; ++c) {
        const std::uint8_t* __restrict o = O.row(y) + c * w;
        const std::uint8_t* __restrict planeMean = mean + c * w;
        std::uint8_t* __restrict out = to.row(y) + c * w;
        out[0] = o[0];
        out[1] = o[1];
        for (std::size_t x = 2; x + 2 < w; ++x) out[x] = std::uint8_t((o[x] & dev[x]) | (planeMean[x] & ~dev[x]));
        out[w - 2] = o[w - 2];
        out[w - 1] = o[w - 1];
    }
    if (y == 2) std::copy(O.row(1), O.row(1) + O.stride(), to.row(1));
    if (y == H - 2) std::copy(O.row(H - 1), O.row(H - 1) + O.stride(), to.row(H - 1));
}

// Smoothing iterations i0 .. i0+count-1 of painting 1 on row-planar pictures: iteration i reads
// buffer[i mod 2] and writes the other.
void smoothingSweep(Bitmap* const (&buffer)[2], const Bitmap& O, int i0, int count, int tolerance) {
    const int H = O.height(), W = O.width();
    sweepIterations(count, 1, H, [&](int) { return std::pair<int, int>(2, H - 1); }, [&] {
        return [&, scratch = SmoothScratch(W)](int t, int y) mutable {
            const int i = i0 + t;
            smoothPlanarRow(*buffer[i % 2], O, *buffer[(i + 1) % 2], y, tolerance, scratch);
        };
    });
}

// Rows [y0, H) of `from` rearranged into the same rows of `to` (same size), either way.
void rearrangeInto(const Bitmap& from, Bitmap& to, int y0, bool toPlanar) {
    const int W = from.width();
    parallelRows(y0, from.height(), [&](int r0, int r1) {
        for (int y = r0; y < r1; ++y) {
            if (toPlanar)
                planarRow(from.row(y), to.row(y), W);
            else
                interleavedRow(from.row(y), to.row(y), W);
        }
    }, 32);
}

// Painting 1's edge and brightness pass over rows y0..y1-1 (from 1), columns 1..W-1: the channel
// differences and both outcomes in byte arrays the vectoriser takes; only the per-pixel test, which
// adds three channels, goes pixel by pixel.
void edgeRows(const Bitmap& s, Bitmap& d, int e, int lift, int y0, int y1) {
    const std::size_t n = s.stride();
    std::vector<std::uint8_t> leftDiffs(n), upDiffs(n), edges(n);
    for (int y = y0; y < y1; ++y) {
        const std::uint8_t* __restrict row = s.row(y);
        const std::uint8_t* __restrict up = s.row(y - 1);
        std::uint8_t* __restrict out = d.row(y);
        std::uint8_t* __restrict left = leftDiffs.data();
        std::uint8_t* __restrict above = upDiffs.data();
        std::uint8_t* __restrict edge = edges.data();
        for (std::size_t i = 3; i < n; ++i) {
            left[i] = std::uint8_t(std::max(row[i - 3], row[i]) - std::min(row[i - 3], row[i]));
            above[i] = std::uint8_t(std::max(up[i], row[i]) - std::min(up[i], row[i]));
        }
        for (std::size_t i = 3; i < n; i += 3) {
            const bool isEdge = (left[i] + left[i + 1] + left[i + 2] >= e) | (above[i] + above[i + 1] + above[i + 2] >= e);
            edge[i] = edge[i + 1] = edge[i + 2] = isEdge ? 0xFF : 0;
        }
        for (std::size_t i = 3; i < n; ++i) {
            const std::uint8_t darkened = std::uint8_t(std::uint16_t(row[i] * 98) / 100);
            const std::uint8_t lifted = std::uint8_t(std::clamp(out[i] + lift, 0, 255));
            out[i] = std::uint8_t((darkened & edge[i]) | (lifted & ~edge[i]));
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

// The rounded mean of a merge: sum div count, raised by one when the remainder is above count div
// 2. For the counts 1 to 4 that is sum, sum div 2, (sum + 1) div 3 and (sum + 1) div 4, never above
// 255.
inline int mergedMean(int sum, int count) {
    int v = sum / count;
    if (sum % count > count / 2) ++v;
    return std::min(v, 255);
}

// One row of merge blocks on a row-planar picture: tops at row `top`, bottoms at `bottom`, blocks
// at columns o + 2a, a = 0 .. blocks-1.
void mergePlanarRows(std::uint8_t* top, std::uint8_t* bottom, std::size_t w, int o, int blocks, int trackBar1) {
    int a = 0;
#if defined(__SSE2__)
    // Eight blocks at a time: the 16 bytes of a plane row from column o + 2a, read as eight 16-bit
    // lanes, hold P in the low bytes and Q in the high ones (R and S likewise below).
    const __m128i low = _mm_set1_epi16(0x00FF);
    const __m128i base = _mm_set1_epi16(std::int16_t(trackBar1 - 25));
    const __m128i by30 = _mm_set1_epi16(2185);    // (v * 2185) >> 16 == v div 30 for v <= 765
    const __m128i by3 = _mm_set1_epi16(21846);    // (v * 21846) >> 16 == v div 3 for v <= 766
    const __m128i one = _mm_set1_epi16(1), two = _mm_set1_epi16(2), three = _mm_set1_epi16(3), four = _mm_set1_epi16(4);
    auto load = [](const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
    auto store = [](std::uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); };
    auto absDiff = [](__m128i u, __m128i v) { return _mm_sub_epi16(_mm_max_epi16(u, v), _mm_min_epi16(u, v)); };
    auto select = [](__m128i mask, __m128i yes, __m128i no) { return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no)); };
    for (; a + 8 <= blocks; a += 8) {
        const std::size_t x = std::size_t(o) + 2 * std::size_t(a);
        __m128i P[3], Q[3], R[3], S[3];
        for (std::size_t c = 0; c < 3; ++c) {
            const __m128i t = load(top + c * w + x), b = load(bottom + c * w + x);
            P[c] = _mm_and_si128(t, low);
            Q[c] = _mm_srli_epi16(t, 8);
            R[c] = _mm_and_si128(b, low);
            S[c] = _mm_srli_epi16(b, 8);
        }
        const __m128i tolerance = _mm_add_epi16(base, _mm_mulhi_epu16(_mm_add_epi16(_mm_add_epi16(P[0], P[1]), P[2]), by30));
        auto within = [&](const __m128i (&X)[3]) {
            const __m128i red = absDiff(X[2], P[2]);
            const __m128i distance = _mm_max_epi16(_mm_add_epi16(red, red), _mm_max_epi16(absDiff(X[1], P[1]), absDiff(X[0], P[0])));
            return _mm_cmpgt_epi16(tolerance, distance);
        };
        const __m128i addQ = within(Q), addR = within(R), addS = within(S);
        const __m128i count = _mm_sub_epi16(_mm_sub_epi16(_mm_sub_epi16(one, addQ), addR), addS);
        const __m128i is2 = _mm_cmpeq_epi16(count, two), is3 = _mm_cmpeq_epi16(count, three), is4 = _mm_cmpeq_epi16(count, four);
        for (std::size_t c = 0; c < 3; ++c) {
            const __m128i sum = _mm_add_epi16(_mm_add_epi16(P[c], _mm_and_si128(Q[c], addQ)),
                                              _mm_add_epi16(_mm_and_si128(R[c], addR), _mm_and_si128(S[c], addS)));
            const __m128i sum1 = _mm_add_epi16(sum, one);
            __m128i m = select(is2, _mm_srli_epi16(sum, 1), sum);
            m = select(is3, _mm_mulhi_epu16(sum1, by3), m);
            m = select(is4, _mm_srli_epi16(sum1, 2), m);
            store(top + c * w + x, _mm_or_si128(m, _mm_slli_epi16(select(addQ, m, Q[c]), 8)));
            store(bottom + c * w + x, _mm_or_si128(select(addR, m, R[c]), _mm_slli_epi16(select(addS, m, S[c]), 8)));
        }
    }
#endif
    for (; a < blocks; ++a) {
        const std::size_t x = std::size_t(o) + 2 * std::size_t(a);
        std::uint8_t* px[4] = {top + x, top + x + 1, bottom + x, bottom + x + 1};  // P, Q, R, S in the blue plane
        const int tolerance = trackBar1 + (px[0][0] + px[0][w] + px[0][2 * w]) / 30 - 25;
        bool added[4] = {true, false, false, false};
        int count = 1;
        for (int k = 1; k < 4; ++k) {
            const int distance = std::max({2 * absInt(px[k][2 * w] - px[0][2 * w]), absInt(px[k][w] - px[0][w]), absInt(px[k][0] - px[0][0])});
            added[k] = tolerance > distance;
            count += added[k];
        }
        for (std::size_t c = 0; c < 3; ++c) {
            int sum = 0;
            for (int k = 0; k < 4; ++k)
                if (added[k]) sum += px[k][c * w];
            const std::uint8_t m = static_cast<std::uint8_t>(mergedMean(sum, count));
            for (int k = 0; k < 4; ++k)
                if (added[k]) px[k][c * w] = m;
        }
    }
}

// Merge iterations i0 .. i0+count-1 on a row-planar picture.
void mergeSweep(Bitmap& d, int i0, int count, int trackBar1) {
    const int blockRows = d.height() / 2 - 1, blockColumns = d.width() / 2 - 1;
    if (blockRows <= 0 || blockColumns <= 0) return;
    const std::size_t w = std::size_t(d.width());
    sweepIterations(count, 2, d.height(), [&](int t) {
        const int o = (i0 + t) % 2;
        return std::pair<int, int>(o, o + 2 * blockRows);
    }, [&] {
        return [&](int t, int y) { mergePlanarRows(d.row(y), d.row(y + 1), w, (i0 + t) % 2, blockColumns, trackBar1); };
    });
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
    destination = source;  // what the border pixels show, and until the smoothing starts also O
    preparePainting1(source, ctx, false);

    const int W = source.width(), H = source.height();
    const int n = c.TrackBar5;
    const int tolerance = c.TrackBar1 / 2;
    const bool smoothing = H >= 4 && W >= 5;
    // O, the softened photo, row-planar, taken from the destination only once the preparation's
    // scratch pictures are gone; then the prepared source, row-planar, goes into the destination.
    // From there on iteration i reads buffer[i mod 2] and writes the other, and after `done`
    // iterations the result is in buffer[done mod 2]. Nothing is rearranged in place, so no row
    // needs a copy on the way.
    Bitmap O;
    Bitmap* const buffer[2] = {&destination, &source};
    int done = 0;
    bool cancelled = false;
    while (done <= n && !cancelled) {
        int count = std::min(kIterationsPerSweep, n + 1 - done);
        for (int j = 0; j < count; ++j) {
            ctx.ProgressReport(done + j, n, 1, 1);
            if (ctx.CancelRequested()) {
                count = j;
                cancelled = true;
                break;
            }
        }
        if (count > 0 && smoothing) {
            if (O.empty()) {
                O.setSize(W, H);
                rearrangeInto(destination, O, 0, true);
                rearrangeInto(source, destination, 0, true);
            }
            smoothingSweep(buffer, O, done, count, tolerance);
        }
        done += count;
    }
    if (done == 0) return;  // cancelled before the first iteration: nothing changed yet
    if (!O.empty()) {
        // Every row from 1 on of the result was written by the iterations; row 0 is O's. The
        // result goes back to interleaved pixels in the other buffer, which then becomes the
        // destination.
        Bitmap& result = *buffer[done % 2];
        Bitmap& other = *buffer[(done + 1) % 2];
        rearrangeInto(result, other, 1, false);
        interleavedRow(O.row(0), other.row(0), W);
        if (&other != &destination) std::swap(source, destination);
    }
    if (cancelled) {
        source = destination;  // as the plain run leaves it
        return;
    }
    if (O.empty()) {
        source = destination;  // nothing smoothed: the destination still is the softened photo
    } else {
        rearrangeInto(O, source, 0, false);
        O = Bitmap();
    }
    Soften(source);
    const int e = 255 - c.TrackBar2;
    parallelRows(1, H, [&](int y0, int y1) { edgeRows(source, destination, e, c.TrackBar3 - 127, y0, y1); }, 16);
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
    // The white sheet is only ever seen after a stop during the preparation; otherwise it would be
    // filled and at once overwritten.
    Soften(source);
    AdjustSaturation(source, 15, &ctx);
    if (ctx.pumpedCancel()) {
        destination.setSize(W, H);
        return;
    }
    AdjustContrast(source, 25);
    if (ctx.pumpedCancel()) {
        destination.setSize(W, H);
        return;
    }
    // The merges work on row-planar rows from the first sweep on; the way back lays the brightness.
    // Without dabs the first sweep takes the destination straight from the source, row-planar.
    const bool dabs = c.ComboBox1 == 5;
    const bool merging = H / 2 - 1 > 0 && W / 2 - 1 > 0;
    if (dabs || !merging) destination = source;
    if (dabs) PaintDabs(destination, c, ctx);

    const int lift = c.TrackBar3 - 127;
    const int n = c.TrackBar5;
    bool planar = false;
    for (int done = 0; done <= n;) {
        int count = std::min(kIterationsPerSweep, n + 1 - done);
        bool cancelled = false;
        if (!ctx.parameterWindowVisible) {
            for (int j = 0; j < count; ++j) {
                ctx.ProgressReport(done + j, n, stage, stages);
                if (ctx.pumpedCancel()) {
                    count = j;
                    cancelled = true;
                    break;
                }
            }
        }
        if (count > 0 && merging) {
            if (!planar && dabs) {
                rearrangeRows(destination, 0, true);
            } else if (!planar) {
                destination.setSize(W, H);
                rearrangeInto(source, destination, 0, true);
            }
            planar = true;
            mergeSweep(destination, done, count, c.TrackBar1);
        }
        if (cancelled) {
            if (planar)
                rearrangeRows(destination, 0, false);
            else if (!dabs && merging)
                destination = source;
            return;
        }
        done += count;
    }
    if (planar) {
        rearrangeRows(destination, 0, false, &lift);
    } else {
        for (int y = 1; y < H; ++y) {
            std::uint8_t* d = destination.row(y);
            for (std::size_t i = 3, e = std::size_t(W) * 3; i < e; ++i) d[i] = static_cast<std::uint8_t>(clampByte(d[i] + lift));
        }
    }
    if (c.CheckBox2) Soften(destination);
    Sharpen(destination);
    Sharpen(destination);
    Sharpen(destination);
    layPaperTexture(destination, c, m, false);
}

// 9 x 9 sums kept as running column sums (integers, so exact), rows in parallel bands, each row's
// arithmetic in plain arrays the vectoriser takes. The padded copy is never built: its pixel
// (u, v) is the picture's (u < 9 ? u : u - 9, v < 9 ? v : v - 9) where that lies inside the
// picture, white elsewhere (the four draws leave exactly that), so a copy of the picture serves.
void Painting4Contrast(Bitmap& bitmap, int a) {
    // |diff| <= 255, so |diff| * a stays within 16 bits for the strengths the program uses
    if (plainPaths() || a < 0 || a > 257) return plain::Painting4Contrast(bitmap, a);
    const int W = bitmap.width(), H = bitmap.height();
    if (W == 0 || H == 0) return;
    // The tolerances from the channel sums, added up in parallel bands (integers: the same whatever
    // the bands); pictures whose pixel count does not fit the mean's arithmetic go the plain way,
    // which refuses them.
    if (std::int64_t(W) * H > INT32_MAX) return plain::Painting4Contrast(bitmap, a);
    std::mutex sumsLock;
    std::int64_t sums[3] = {0, 0, 0};
    parallelRows(0, H, [&](int y0, int y1) {
        std::int64_t band[3] = {0, 0, 0};
        for (int y = y0; y < y1; ++y) {
            std::uint32_t row[3] = {0, 0, 0};  // at most 65535 * 255 per channel
            const std::uint8_t* p = bitmap.row(y);
            for (int x = 0; x < W; ++x, p += 3) {
                row[0] += p[0];
                row[1] += p[1];
                row[2] += p[2];
            }
            for (int ch = 0; ch < 3; ++ch) band[ch] += row[ch];
        }
        const std::lock_guard<std::mutex> hold(sumsLock);
        for (int ch = 0; ch < 3; ++ch) sums[ch] += band[ch];
    }, 32);
    int tolerance[3];
    for (int ch = 0; ch < 3; ++ch) tolerance[ch] = int(sums[ch] / (std::int64_t(W) * H)) / 2;
    const Bitmap original = bitmap;
    const std::size_t bytes = std::size_t(W) * 3;
    const std::size_t span = bytes + 24;  // the padded copy's columns 5 .. W+12, those the windows reach
    parallelRows(0, H, [&](int y0, int y1) {
        const std::size_t n = bytes;  // a local: the byte stores below could alias a captured one
        std::vector<std::uint8_t> entering(span), leaving(span);
        std::vector<std::uint16_t> columnSums(span, 0), windowSums(n);
        std::vector<std::int16_t> diffs(n), limits(n);
        std::vector<std::uint8_t> within(n);
        for (std::size_t i = 0; i < n; ++i) limits[i] = std::int16_t(tolerance[i % 3]);
        // Row v of the padded copy, columns 5 .. W+12, into `into`.
        auto paddedRow = [&](int v, std::vector<std::uint8_t>& into) {
            std::uint8_t* out = into.data();
            const int r = v < 9 ? v : v - 9;
            if (r >= H) {
                std::fill(out, out + span, 255);
                return;
            }
            const std::uint8_t* row = original.row(r);
            for (std::size_t i = 0; i < 12; ++i) out[i] = 15 + i < n ? row[15 + i] : 255;
            std::copy(row, row + n, out + 12);
            std::fill(out + 12 + n, out + span, 255);
        };
        std::uint16_t* __restrict column = columnSums.data();
        for (int v = y0 + 5; v <= y0 + 13; ++v) {
            paddedRow(v, entering);
            for (std::size_t i = 0; i < span; ++i) column[i] = std::uint16_t(column[i] + entering[i]);
        }
        for (int y = y0; y < y1; ++y) {
            if (y > y0) {
                paddedRow(y + 13, entering);
                paddedRow(y + 4, leaving);
                const std::uint8_t* __restrict in = entering.data();
                const std::uint8_t* __restrict out = leaving.data();
                for (std::size_t i = 0; i < span; ++i) column[i] = std::uint16_t(column[i] + in[i] - out[i]);
            }
            const std::uint8_t* __restrict centre = original.row(y);
            std::uint16_t* __restrict sum = windowSums.data();
            std::int16_t* __restrict diff = diffs.data();
            const std::int16_t* __restrict limit = limits.data();
            std::uint8_t* __restrict ok = within.data();
            for (std::size_t i = 0; i < n; ++i)
                sum[i] = std::uint16_t(column[i] + column[i + 3] + column[i + 6] + column[i + 9] + column[i + 12] + column[i + 15] +
                                       column[i + 18] + column[i + 21] + column[i + 24]);
            for (std::size_t i = 0; i < n; ++i) {
                // the 80 neighbours' sum is at most 80 * 255, so 16 bits hold it
                const std::uint16_t others = std::uint16_t(sum[i] - centre[i]);
                const std::int16_t d = std::int16_t(centre[i] - others / 80);
                diff[i] = d;
                const std::int16_t magnitude = d < 0 ? std::int16_t(-d) : d;
                ok[i] = magnitude <= limit[i] ? 1 : 0;
            }
            // A pixel is pulled only when all three channels are within their tolerance.
            for (std::size_t i = 0; i < n; i += 3) {
                const std::uint8_t all = ok[i] & ok[i + 1] & ok[i + 2];
                ok[i] = ok[i + 1] = ok[i + 2] = all;
            }
            std::uint8_t* __restrict result = bitmap.row(y);
            const std::uint16_t strength = std::uint16_t(a);
            for (std::size_t i = 0; i < n; ++i) {
                const std::int16_t d = diff[i];
                const std::uint16_t magnitude = std::uint16_t(d < 0 ? -d : d);
                const std::int16_t s = std::int16_t(std::uint16_t(magnitude * strength) / 100);  // (d * a) div 100, without its sign
                const std::int16_t step = d < 0 ? std::int16_t(-s) : s;
                const int v = ok[i] ? centre[i] - step : centre[i] + step;
                result[i] = std::uint8_t(std::clamp(v, 0, 255));
            }
        }
    }, 8);
}

}  // namespace gt
