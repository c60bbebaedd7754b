// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/pencil.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "imaging/adjust.h"
#include "imaging/arithmetic.h"
#include "imaging/error.h"
#include "imaging/filters.h"
#include "imaging/parallel.h"
#include "imaging/texture.h"
#include "imaging/rotate.h"

namespace gt {

namespace {

// A two- or three-row picture makes lastStep 0, and the strip divides by lastStep while a run goes
// on: such a step is shown as the start of a one-step pass instead.
void reportRow(const RenderContext& ctx, int step, int lastStep, int pass, int passes) {
    if (lastStep == 0 && pass < passes) lastStep = 1;
    ctx.ProgressReport(step, lastStep, pass, passes);
}

// The sliders as the strokes read them, held to their ranges so that no sum can overflow.
struct StrokeControls {
    int t, tb2, tb3, tb4, k;
    bool softEdges;
    const Bitmap* strip;
    int stripHeight;
};

StrokeControls strokeControls(const DrawingControls& c, const Bitmap& strip) {
    // Grey level 255 reads column 510; row (y mod (height - 2)) + 1 must exist.
    if (strip.width() < 511 || strip.height() < 3)
        throw Error("the pencil tone strip is " + std::to_string(strip.width()) + " x " + std::to_string(strip.height()) +
                    " pixels; it must be at least 511 x 3");
    return {std::clamp(c.TrackBar1, 0, 255), std::clamp(c.TrackBar2, 0, 255), std::clamp(c.TrackBar3, 0, 255),
            std::clamp(c.TrackBar4, 0, 255), std::clamp(c.TrackBar5, 0, 100), c.CheckBox2, &strip, strip.height()};
}

const Bitmap& toneStrip(const Materials& m) {
    if (!m.PencilToneStrip) throw Error("the pencil tone strip is missing");
    return *m.PencilToneStrip;
}

// The paper grain of the pencil drawing: the texture repeats every texture width and height.
void layPaperTexture(Bitmap& drawing, const DrawingControls& c, const Materials& m, bool plainPath) {
    LayPaperTexture(drawing, m.PaperTexture, c.ComboBox2, TexturePeriod::Size, 1, plainPath);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The plain routines: one pixel after another, exactly in the order of their description.

namespace plain {

bool PencilStrokes(const Bitmap& source, Bitmap& destination, const DrawingControls& controls, const Bitmap& strip,
                   RenderContext& ctx) {
    if (&source == &destination) {
        const Bitmap copy = source;
        return plain::PencilStrokes(copy, destination, controls, strip, ctx);
    }
    const StrokeControls p = strokeControls(controls, strip);
    const int W = source.width(), H = source.height();
    Random& random = ctx.random;
    random.seed = kDrawingSeed;
    bool lighten = false;
    destination.setSize(W, H);
    const int stripHeight = p.stripHeight;
    for (int y = 1; y <= H - 2; ++y) {
        reportRow(ctx, y - 1, H - 3, 2, 3);
        if (ctx.CancelRequested()) return false;
        int stripRow = (y % (stripHeight - 2)) + 1;
        for (int x = 1; x <= W - 2; ++x) {
            const Colour c = source.colourAt(x, y), l = source.colourAt(x - 1, y);
            const Colour nw = source.colourAt(x - 1, y - 1), n = source.colourAt(x, y - 1), sw = source.colourAt(x - 1, y + 1);
            const int grey = (3 * c.r + 6 * c.g + c.b) / 10;
            if (random.draw(100) >= 92) {
                stripRow = 1 + random.draw(stripHeight - 3);
                lighten = random.draw(100) > 50;
            }
            const int D1 = (absInt(c.r - l.r) + absInt(c.g - l.g) + absInt(c.b - l.b) + absInt(c.r - nw.r) + absInt(c.g - nw.g) +
                            absInt(c.b - nw.b)) / 4;
            const int D2 = (absInt(c.r - n.r) + absInt(c.g - n.g) + absInt(c.b - n.b) + absInt(c.r - sw.r) + absInt(c.g - sw.g) +
                            absInt(c.b - sw.b)) / 4;
            const int k = p.k;
            int out[3];  // red, green, blue
            if (D1 < p.t && D2 < p.t) {
                const Colour s1 = strip.colourAt(2 * grey + random.draw(1), stripRow);
                const Colour s2 = strip.colourAt(2 * grey + random.draw(1), stripRow);
                const Colour s3 = strip.colourAt(2 * grey + random.draw(1), stripRow);
                const int T = (s1.b + s2.r + s3.g) / 3;
                const int q[3] = {(l.r / 10) * 10, (l.g / 10) * 10, (l.b / 10) * 10};
                int delta = grey - T + 2 * (p.tb3 - 127);
                if (lighten && !p.softEdges) delta += grey / 2;
                delta += (p.tb4 * grey) / 64 - p.tb4;
                const int m = (q[0] + q[1] + q[2]) / 3;
                for (int ch = 0; ch < 3; ++ch) {
                    const int a = clampByte(q[ch] + delta), g = clampByte(m + delta);
                    out[ch] = (a * k + (100 - k) * g) / 100;
                }
            } else {
                lighten = random.draw(100) > 50;
                stripRow = 1 + random.draw(stripHeight - 3);
                const int v[3] = {clampByte(l.r - 2 * p.tb2 + 255 - D1 - D2), clampByte(l.g - 2 * p.tb2 + 255 - D1 - D2),
                                  clampByte(l.b - 2 * p.tb2 + 255 - D1 - D2)};
                const int sum = v[0] + v[1] + v[2];
                for (int ch = 0; ch < 3; ++ch) out[ch] = ((100 - k) * sum / 3 + k * v[ch]) / 100;
            }
            destination.setColour(x - 1, y - 1, Colour{std::uint8_t(out[2]), std::uint8_t(out[1]), std::uint8_t(out[0])});
        }
    }
    return true;
}

void PencilSoften(Bitmap& d) {
    for (int y = 1; y <= d.height() - 2; ++y)
        for (int x = 1; x <= d.width() - 2; ++x) {
            std::uint8_t* P = d.pixel(x, y);
            const int avg = (P[0] + P[1] + P[2]) / 3;
            if (avg != 1 && avg < 254) continue;
            for (int ch = 0; ch < 3; ++ch) {
                int sum = 2 * P[ch];
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (dx != 0 || dy != 0) sum += d.pixel(x + dx, y + dy)[ch];
                P[ch] = static_cast<std::uint8_t>(sum / 10);
            }
        }
}

void PencilSketch(const Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx) {
    if (!plain::PencilStrokes(source, destination, c, toneStrip(m), ctx)) return;
    if (c.CheckBox2) plain::PencilSoften(destination);
    gt::Sharpen(destination);
    plain::AdjustContrast(destination, 25);
    if (c.CheckBox3) layPaperTexture(destination, c, m, true);
}

void PencilPipeline(const Bitmap& photo, Bitmap& result, const DrawingControls& c, const Materials& m, RenderContext& ctx) {
    const int W = photo.width(), H = photo.height();
    Bitmap A, B;
    plain::RotateBitmapByAngle(photo, A, 40, ctx);
    if (ctx.CancelRequested()) return;
    gt::Blur3x3(A);
    plain::PencilSketch(A, B, c, m, ctx);
    if (ctx.CancelRequested()) return;
    plain::RotateBitmapByAngle(B, A, -40, ctx);
    if (ctx.CancelRequested()) return;
    // The turned-back canvas is larger than the photo (but for the thinnest photos): keep its centre.
    B.setSize(W, H);
    B.draw(A, (W - A.width()) / 2, (H - A.height()) / 2);
    gt::Blur3x3(B);
    result = std::move(B);
}

}  // namespace plain

// ---------------------------------------------------------------------------------------------
// The fast routines.

namespace {

// The generator jumped ahead by k draws: seed -> mul * seed + add (mod 2^32).
struct Jump {
    std::uint32_t mul = 1, add = 0;
    std::uint32_t operator()(std::uint32_t s) const { return mul * s + add; }
};

constexpr Jump jump(int k) {
    Jump j;
    for (int i = 0; i < k; ++i) j = {j.mul * 134775813u, j.add * 134775813u + 1u};
    return j;
}

// A draw of range n returns at least v exactly when the advanced seed is at least this.
constexpr std::uint32_t drawsAtLeast(std::uint32_t n, std::uint32_t v) {
    return static_cast<std::uint32_t>(((static_cast<std::uint64_t>(v) << 32) + n - 1) / n);
}

constexpr Jump kJ1 = jump(1), kJ2 = jump(2), kJ3 = jump(3), kJ4 = jump(4), kJ5 = jump(5), kJ6 = jump(6);
constexpr std::uint32_t kNewStroke = drawsAtLeast(100, 92);  // random(100) >= 92
constexpr std::uint32_t kLighten = drawsAtLeast(100, 51);    // random(100) > 50

// Where the draws of a row start: the generator and the lightening flag. The strip row starts
// afresh on every row.
struct StrokeState {
    std::uint32_t seed = kDrawingSeed;
    bool lighten = false;
};

// The two gradient sums of the pixel at byte offset i of row C, before their division by 4.
inline void gradientSums(const std::uint8_t* N, const std::uint8_t* C, const std::uint8_t* S, std::size_t i, int& g1, int& g2) {
    const std::uint8_t* c = C + i;
    const std::uint8_t* l = c - 3;
    const std::uint8_t* nw = N + i - 3;
    const std::uint8_t* n = N + i;
    const std::uint8_t* sw = S + i - 3;
    g1 = absInt(c[0] - l[0]) + absInt(c[1] - l[1]) + absInt(c[2] - l[2]) + absInt(c[0] - nw[0]) + absInt(c[1] - nw[1]) +
         absInt(c[2] - nw[2]);
    g2 = absInt(c[0] - n[0]) + absInt(c[1] - n[1]) + absInt(c[2] - n[2]) + absInt(c[0] - sw[0]) + absInt(c[1] - sw[1]) +
         absInt(c[2] - sw[2]);
}

// Which pixels of a row (columns 1..W-2) are lines: a gradient sum reaches the threshold. Rows
// are independent, so the marks of a chunk of rows are found in parallel ahead of the draws.
void markLines(const StrokeControls& p, const std::uint8_t* N, const std::uint8_t* C, const std::uint8_t* S, int W,
               std::uint8_t* line, std::vector<std::uint16_t>& scratch) {
    if (W < 3) return;
    const int t4 = 4 * p.t;  // D < t exactly when the sum is below 4t
    // Each byte's two differences first, in a loop the vectoriser takes; then per pixel the sums of
    // its three channels.
    const std::size_t end = std::size_t(W - 1) * 3;
    scratch.resize(2 * end);
    std::uint16_t* d1 = scratch.data();
    std::uint16_t* d2 = d1 + end;
    for (std::size_t i = 3; i < end; ++i) {
        const int c = C[i];
        d1[i] = static_cast<std::uint16_t>(absInt(c - C[i - 3]) + absInt(c - N[i - 3]));
        d2[i] = static_cast<std::uint16_t>(absInt(c - N[i]) + absInt(c - S[i - 3]));
    }
    for (int x = 1; x <= W - 2; ++x) {
        const std::size_t i = std::size_t(x) * 3;
        const int g1 = d1[i] + d1[i + 1] + d1[i + 2], g2 = d2[i] + d2[i + 1] + d2[i + 2];
        line[x] = static_cast<std::uint8_t>((g1 >= t4) | (g2 >= t4));
    }
}

// Runs through the draws of one row without drawing: a pixel draws 1 number, 2 more when it starts a
// new stroke, then 3 when it is shaded or 2 when it is a line. Only the flag's last setting matters.
// The new-stroke draw is unpredictable, so both next seeds are computed straight from the pixel's
// first seed, alongside that draw, and one is chosen: the chain from pixel to pixel is one step.
StrokeState skipRow(const std::uint8_t* line, int W, StrokeState st) {
    std::uint32_t seed = st.seed;
    bool lighten = st.lighten;
    for (int x = 1; x <= W - 2; ++x) {
        const bool isLine = line[x] != 0;
        const bool newStroke = kJ1(seed) >= kNewStroke;
        const Jump same = isLine ? kJ3 : kJ4, stroke = isLine ? kJ5 : kJ6;
        // a new stroke draws its flag third; a line draws its own flag after that
        const Jump flag = newStroke ? (isLine ? kJ4 : kJ3) : kJ2;
        if (newStroke || isLine) lighten = flag(seed) >= kLighten;
        seed = newStroke ? stroke(seed) : same(seed);
    }
    return {seed, lighten};
}

// The shading offset per grey level (all but the tone and the lightening), each channel value
// posterised to a multiple of 10, and the tone T of every strip row and grey level: a sixth of the
// strip's bytes, so that the random strip rows are read from a near cache.
struct ShadeTables {
    int offset[256];
    std::uint8_t posterised[256];
    std::vector<std::uint8_t> tone;
    explicit ShadeTables(const StrokeControls& p) : tone(std::size_t(p.stripHeight) * 256) {
        for (int g = 0; g < 256; ++g) {
            offset[g] = g + 2 * (p.tb3 - 127) + (p.tb4 * g) / 64 - p.tb4;
            posterised[g] = static_cast<std::uint8_t>((g / 10) * 10);
        }
        for (int r = 0; r < p.stripHeight; ++r)
            for (int g = 0; g < 256; ++g) {
                const std::uint8_t* s = p.strip->pixel(2 * g, r);
                tone[std::size_t(r) * 256 + std::size_t(g)] = static_cast<std::uint8_t>((s[0] + s[2] + s[1]) / 3);
            }
    }
    const std::uint8_t* toneRow(int r) const { return tone.data() + std::size_t(r) * 256; }
};

// Draws one row into O (destination row y - 1) from its start state.
void strokeRow(const StrokeControls& p, const ShadeTables& tables, const std::uint8_t* N, const std::uint8_t* C,
               const std::uint8_t* S, const std::uint8_t* line, std::uint8_t* O, int W, int y, StrokeState st) {
    Random random;
    random.seed = st.seed;
    bool lighten = st.lighten;
    const std::uint8_t* toneRow = tables.toneRow((y % (p.stripHeight - 2)) + 1);
    const int k = p.k, k1 = 100 - p.k;
    const int lineBase = 255 - 2 * p.tb2;
    const bool mayLighten = !p.softEdges;
    for (std::size_t i = 3, e = std::size_t(W - 1) * 3; i < e; i += 3) {
        const std::uint8_t* c = C + i;
        const std::uint8_t* l = c - 3;
        std::uint8_t* o = O + i - 3;
        const int grey = (3 * c[2] + 6 * c[1] + c[0]) / 10;
        if (random.draw(100u) >= 92) {
            toneRow = tables.toneRow(1 + static_cast<int>(random.draw(static_cast<std::uint32_t>(p.stripHeight - 3))));
            lighten = random.draw(100u) > 50;
        }
        if (!line[i / 3]) {
            // The three tone samples draw random(1), which is always 0: one column, three channels.
            random.seed = kJ3(random.seed);
            const int T = toneRow[grey];
            const int qb = tables.posterised[l[0]], qg = tables.posterised[l[1]], qr = tables.posterised[l[2]];
            int delta = tables.offset[grey] - T;
            if (lighten && mayLighten) delta += grey / 2;
            const int g = clampByte((qr + qg + qb) / 3 + delta) * k1;
            o[0] = static_cast<std::uint8_t>((clampByte(qb + delta) * k + g) / 100);
            o[1] = static_cast<std::uint8_t>((clampByte(qg + delta) * k + g) / 100);
            o[2] = static_cast<std::uint8_t>((clampByte(qr + delta) * k + g) / 100);
        } else {
            lighten = random.draw(100u) > 50;
            toneRow = tables.toneRow(1 + static_cast<int>(random.draw(static_cast<std::uint32_t>(p.stripHeight - 3))));
            int g1, g2;
            gradientSums(N, C, S, i, g1, g2);
            const int base = lineBase - g1 / 4 - g2 / 4;
            const int vb = clampByte(l[0] + base), vg = clampByte(l[1] + base), vr = clampByte(l[2] + base);
            const int grey3 = k1 * (vb + vg + vr) / 3;
            o[0] = static_cast<std::uint8_t>((grey3 + k * vb) / 100);
            o[1] = static_cast<std::uint8_t>((grey3 + k * vg) / 100);
            o[2] = static_cast<std::uint8_t>((grey3 + k * vr) / 100);
        }
    }
}

// Softens the pixels of row y from column x0 to x1 (inclusive) in place.
inline void softenSpan(const std::uint8_t* above, std::uint8_t* row, const std::uint8_t* below, int x0, int x1) {
    for (std::size_t i = std::size_t(x0) * 3, e = std::size_t(x1 + 1) * 3; i < e; i += 3) {
        const int sum = row[i] + row[i + 1] + row[i + 2];
        // mean 1 (sum 3..5) or mean 254 and above (sum 762 and above)
        if (sum < 762 && static_cast<unsigned>(sum - 3) > 2u) continue;
        for (std::size_t j = i; j < i + 3; ++j) {
            const int s = 2 * row[j] + above[j - 3] + above[j] + above[j + 3] + row[j - 3] + row[j + 3] + below[j - 3] + below[j] +
                          below[j + 3];
            row[j] = static_cast<std::uint8_t>(s / 10);
        }
    }
}

// The strokes of rows 1..H-2 of `source` into `destination`, which has the source's size and is
// white unless `inPlace`. With `inPlace` the two are the same picture: a chunk's source rows are
// copied aside before it is drawn, and a chunk writes only rows above them that no later chunk
// reads; what the strokes did not reach is made white at the end.
// The draws run in pixel order, so a light pass first finds where each row's draws start; the rows
// are then drawn in parallel bands. Rows go in chunks: the line marks of a chunk are found in
// parallel, then each row is reported, checked for cancellation and run through in order, then the
// rows that passed are drawn.
bool drawStrokes(const Bitmap& source, Bitmap& destination, bool inPlace, const StrokeControls& p, RenderContext& ctx) {
    const ShadeTables tables(p);
    const int W = source.width(), H = source.height();
    const std::size_t stride = source.stride();
    const int chunk = std::max(64, 32 * workerCount());
    std::vector<StrokeState> start(static_cast<std::size_t>(chunk));
    std::vector<std::uint8_t> lines(static_cast<std::size_t>(chunk) * static_cast<std::size_t>(W));
    std::vector<std::uint8_t> window(inPlace && H >= 3 ? std::size_t(std::min(chunk, H - 2) + 2) * stride : 0);
    auto linesOf = [&](int y, int y0) { return lines.data() + std::size_t(y - y0) * std::size_t(W); };
    StrokeState st;
    bool cancelled = false;
    int drawn = 0;  // destination rows [0, drawn) hold strokes
    for (int y0 = 1; y0 <= H - 2 && !cancelled; y0 += chunk) {
        const int y1 = std::min(H - 1, y0 + chunk);
        // source rows y0 - 1 .. y1
        if (inPlace) std::memcpy(window.data(), source.row(y0 - 1), std::size_t(y1 - y0 + 2) * stride);
        auto rowOf = [&](int r) { return inPlace ? window.data() + std::size_t(r - (y0 - 1)) * stride : source.row(r); };
        parallelRows(y0, y1, [&](int a, int b) {
            std::vector<std::uint16_t> scratch;
            for (int y = a; y < b; ++y) markLines(p, rowOf(y - 1), rowOf(y), rowOf(y + 1), W, linesOf(y, y0), scratch);
        }, 8);
        int reached = y0;
        for (int y = y0; y < y1; ++y) {
            reportRow(ctx, y - 1, H - 3, 2, 3);
            if (ctx.CancelRequested()) {
                cancelled = true;
                break;
            }
            start[std::size_t(y - y0)] = st;
            st = skipRow(linesOf(y, y0), W, st);
            reached = y + 1;
        }
        parallelRows(y0, reached, [&](int a, int b) {
            for (int y = a; y < b; ++y)
                strokeRow(p, tables, rowOf(y - 1), rowOf(y), rowOf(y + 1), linesOf(y, y0), destination.row(y - 1), W, y,
                          start[std::size_t(y - y0)]);
        }, 8);
        drawn = reached - 1;
    }
    ctx.random.seed = st.seed;
    if (inPlace) {
        // white as a fresh destination would be, a cancelled run's undrawn rows included
        const std::size_t keep = std::size_t(std::max(0, W - 2)) * 3;
        for (int y = 0; y < H; ++y) {
            const std::size_t from = y < drawn ? keep : 0;
            std::memset(destination.row(y) + from, 255, stride - from);
        }
    }
    return !cancelled;
}

}  // namespace

bool PencilStrokes(const Bitmap& source, Bitmap& destination, const DrawingControls& controls, const Bitmap& strip,
                   RenderContext& ctx) {
    if (plainPaths()) return plain::PencilStrokes(source, destination, controls, strip, ctx);
    const StrokeControls p = strokeControls(controls, strip);
    if (&source == &destination) return drawStrokes(destination, destination, true, p, ctx);
    destination.setSize(source.width(), source.height());
    return drawStrokes(source, destination, false, p, ctx);
}

// Each pixel reads the row above as already softened and the row below as not yet softened, so the
// rows run as a wavefront: one worker per row in turn, each a block behind the row above it.
void PencilSoften(Bitmap& d) {
    if (plainPaths()) return plain::PencilSoften(d);
    const int W = d.width(), H = d.height();
    if (W < 3 || H < 3) return;
    const int rows = H - 2, last = W - 2;
    const int workers = std::min(workerCount(), rows);
    constexpr int kBlock = 256;
    if (workers <= 1 || static_cast<long long>(W) * H < 4096) {
        for (int y = 1; y <= H - 2; ++y) softenSpan(d.row(y - 1), d.row(y), d.row(y + 1), 1, last);
        return;
    }
    // done[y]: the last column of row y already softened (rows 0 and H - 1 are never softened).
    std::vector<std::atomic<int>> done(static_cast<std::size_t>(H));
    for (auto& v : done) v.store(last, std::memory_order_relaxed);
    for (int y = 1; y <= H - 2; ++y) done[std::size_t(y)].store(0, std::memory_order_relaxed);
    auto worker = [&](int w) {
        for (int y = 1 + w; y <= H - 2; y += workers) {
            const std::uint8_t* above = d.row(y - 1);
            std::uint8_t* row = d.row(y);
            const std::uint8_t* below = d.row(y + 1);
            std::atomic<int>& ready = done[std::size_t(y - 1)];
            for (int x0 = 1; x0 <= last; x0 += kBlock) {
                const int x1 = std::min(last, x0 + kBlock - 1);
                // The block reads the row above up to column x1 + 1, softened.
                const int need = std::min(x1 + 1, last);
                for (int spins = 0; ready.load(std::memory_order_acquire) < need; ++spins)
                    if (spins > 64) std::this_thread::yield();
                softenSpan(above, row, below, x0, x1);
                done[std::size_t(y)].store(x1, std::memory_order_release);
            }
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(static_cast<std::size_t>(workers - 1));
    for (int w = 1; w < workers; ++w) threads.emplace_back(worker, w);
    worker(0);
    for (auto& t : threads) t.join();
}

namespace {

// The stages after the strokes, all in place: soften, Sharpen, AdjustContrast 25, paper texture.
void finishSketch(Bitmap& drawing, const DrawingControls& c, const Materials& m) {
    if (c.CheckBox2) gt::PencilSoften(drawing);
    gt::Sharpen(drawing);
    gt::AdjustContrast(drawing, 25);
    if (c.CheckBox3) layPaperTexture(drawing, c, m, false);
}

}  // namespace

void PencilSketch(const Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx) {
    if (plainPaths()) return plain::PencilSketch(source, destination, c, m, ctx);
    if (!gt::PencilStrokes(source, destination, c, toneStrip(m), ctx)) return;
    finishSketch(destination, c, m);
}

namespace {

// One canvas carries the turned photo, its blur, the drawing and the later stages, each in place;
// the turn back computes only the centre the result keeps, straight into it. At most the canvas
// (about twice the photo) and the result are alive at once, besides a photo not given over.
void pencilPipeline(const Bitmap& photo, Bitmap* givenOver, Bitmap& result, const DrawingControls& c, const Materials& m,
                    RenderContext& ctx) {
    if (plainPaths()) return plain::PencilPipeline(photo, result, c, m, ctx);
    const int W = photo.width(), H = photo.height();
    // The turn writes every pixel of the canvas, white or copied: no need to paint it white first.
    const TurnGeometry turn = turnGeometry(W, H, 40);
    Bitmap canvas;
    canvas.setSizeForOverwrite(turn.Wd, turn.Hd);
    RotateRegion(photo, turn, 0, turn.Wd, 0, turn.Hd, canvas, 0, 0, ctx);
    if (givenOver) *givenOver = Bitmap();  // from here on only its size is read
    if (ctx.CancelRequested()) return;
    gt::Blur3x3(canvas);
    const Bitmap& strip = toneStrip(m);
    if (!drawStrokes(canvas, canvas, true, strokeControls(c, strip), ctx)) return;
    finishSketch(canvas, c, m);
    if (ctx.CancelRequested()) return;
    // Every row of the turn back is still reported and checked for cancellation.
    const TurnGeometry back = turnGeometry(canvas.width(), canvas.height(), -40);
    const int ox = (W - back.Wd) / 2, oy = (H - back.Hd) / 2;
    Bitmap out;
    // The turned-back canvas covers the result but for the thinnest photos, where the rest stays white.
    if (ox <= 0 && oy <= 0 && W - ox <= back.Wd && H - oy <= back.Hd)
        out.setSizeForOverwrite(W, H);
    else
        out.setSize(W, H);
    const bool done = RotateRegion(canvas, back, -ox, W - ox, -oy, H - oy, out, ox, oy, ctx);
    canvas = Bitmap();
    if (!done) return;
    gt::Blur3x3(out);
    result = std::move(out);
}

}  // namespace

void PencilPipeline(const Bitmap& photo, Bitmap& result, const DrawingControls& c, const Materials& m, RenderContext& ctx) {
    pencilPipeline(photo, nullptr, result, c, m, ctx);
}

void PencilPipelineGivenOver(Bitmap&& photo, Bitmap& result, const DrawingControls& c, const Materials& m, RenderContext& ctx) {
    pencilPipeline(photo, &photo, result, c, m, ctx);
}

}  // namespace gt
