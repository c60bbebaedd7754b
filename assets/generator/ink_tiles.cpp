// SPDX-License-Identifier: GPL-3.0-or-later
// The nine ink tiles, 100 x 200 each, that the ink drawing lays down by tone: dense cross-hatching for
// the darkest tones, lighter cross-hatching and grids of thin lines in the middle, and ever sparser
// horizontal pen strokes on white for the lightest. Every line is periodic with the tile, so the
// tiles repeat without a seam; the stroke width of each tile is calibrated to its mean tone.

#include "generators.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace gt::assets {

namespace {

constexpr int kW = 100, kH = 200;
constexpr int kSub = 4;  // samples per pixel across and down
constexpr double kPi = 3.14159265358979;
constexpr double kFar = std::numeric_limits<double>::infinity();

// A family of parallel pen lines, the level sets of p * x / 100 + q * y / 200 at whole numbers; with
// whole p and q every line closes on itself across the tile's edges.
struct LineFamily {
    int p, q;
    double width;   // pen width in pixels at calibration factor 1
    double gaps;    // share of the line's length left blank, 0 for unbroken lines
};

struct Dash {
    double x, y, length, width, tilt;
};

struct TileDesign {
    int mean;
    std::vector<LineFamily> lines;
    int rows = 0;            // rows of horizontal strokes down the tile
    double rowCover = 0;     // share of a row's length the strokes cover (0: one short stroke a row)
    double dashWidth = 0;
};

const TileDesign kDesigns[9] = {
    {31, {{9, 18, 2.0, 0}, {9, -20, 2.0, 0}, {0, 26, 1.6, 0}}},
    {56, {{10, 20, 2.0, 0}, {10, -21, 2.0, 0}, {0, 30, 1.2, 0.04}}},
    {86, {{11, 22, 2.0, 0.02}, {11, -23, 2.0, 0.02}, {0, 32, 0.7, 0.12}}},
    {159, {{10, 20, 1.0, 0.06}, {9, -20, 1.0, 0.06}}},
    {185, {{14, 1, 1.0, 0.05}, {1, 28, 1.0, 0.05}}},
    {204, {{10, 1, 1.0, 0.08}, {1, 20, 1.0, 0.08}}},
    {225, {}, 50, 0.38, 1.3},
    {244, {}, 30, 0.22, 1.1},
    {253, {}, 16, 0.0, 0.9},
};

double sampleAt(int x, int i) { return x + (i + 0.5) / kSub - 0.5; }

}  // namespace

QImage makeInkTile(int index) {
    const TileDesign& d = kDesigns[index];
    const int samples = kW * kH * kSub * kSub;
    std::uint64_t seed = 4000 + std::uint64_t(index) * 97;

    // For every sample: its distance to the nearest pen line in units of that line's half width, so
    // the sample is inked when the value is below the calibration factor.
    std::vector<double> reach(std::size_t(samples), kFar);
    auto sampleIndex = [](int sx, int sy) { return std::size_t(sy) * kW * kSub + sx; };

    for (std::size_t f = 0; f < d.lines.size(); ++f) {
        const LineFamily& lf = d.lines[f];
        PeriodicNoise wobble(4, 8, seed + f * 11 + 1);
        PeriodicNoise pressure(10, 20, seed + f * 11 + 2);
        PeriodicNoise breaks(20, 40, seed + f * 11 + 3);
        PeriodicNoise tremor(10, 20, seed + f * 11 + 4);
        double gx = lf.p / double(kW), gy = lf.q / double(kH);
        double slope = std::sqrt(gx * gx + gy * gy);
        for (int sy = 0; sy < kH * kSub; ++sy)
            for (int sx = 0; sx < kW * kSub; ++sx) {
                double x = sampleAt(sx / kSub, sx % kSub), y = sampleAt(sy / kSub, sy % kSub);
                double u = x / kW, v = y / kH;
                double phase = gx * x + gy * y + 0.11 * wobble.at(u * 4, v * 8) + 0.05 * tremor.at(u * 10, v * 20);
                double dist = std::fabs(phase - std::floor(phase + 0.5)) / slope;
                double w = lf.width * (1.0 + 0.28 * pressure.at(u * 10, v * 20));
                if (lf.gaps > 0 && breaks.at(u * 20, v * 40) > 1.0 - 2.2 * lf.gaps) continue;
                double r = dist / (w / 2.0);
                std::size_t k = sampleIndex(sx, sy);
                reach[k] = std::min(reach[k], r);
            }
    }

    if (d.rows > 0) {
        Rng rng(seed + 500);
        std::vector<Dash> dashes;
        // Rows of strokes as a hand lays them: roughly even spacing down the tile, each row broken
        // into strokes of random length with gaps between them.
        for (int i = 0; i < d.rows; ++i) {
            double row = (i + 0.5) * kH / d.rows + rng.bell() * 0.8;
            if (d.rowCover <= 0.0) {
                dashes.push_back({rng.range(0, kW), row, rng.range(5, 10), d.dashWidth * rng.range(0.8, 1.2), rng.bell() * 0.02});
                continue;
            }
            double x = rng.range(0, kW), end = x + kW;
            while (x < end - 4) {
                double len = rng.range(6, 34) * (0.5 + d.rowCover);
                double gap = len * (1.0 - d.rowCover) / d.rowCover * rng.range(0.5, 1.5);
                len = std::min(len, end - x - 2);
                if (len > 3)
                    dashes.push_back({x + len / 2, row + rng.bell() * 0.4, len, d.dashWidth * rng.range(0.75, 1.25),
                                      rng.bell() * 0.025});
                x += len + gap;
            }
        }
        const double maxFactor = 4.0;
        for (const Dash& ds : dashes) {
            double hx = ds.length / 2 * std::cos(ds.tilt), hy = ds.length / 2 * std::sin(ds.tilt);
            double ext = ds.width * maxFactor / 2 + 1;
            int x0 = int(std::floor((ds.x - std::fabs(hx) - ext) * kSub)), x1 = int(std::ceil((ds.x + std::fabs(hx) + ext) * kSub));
            int y0 = int(std::floor((ds.y - std::fabs(hy) - ext) * kSub)), y1 = int(std::ceil((ds.y + std::fabs(hy) + ext) * kSub));
            for (int sy = y0; sy <= y1; ++sy)
                for (int sx = x0; sx <= x1; ++sx) {
                    int wx = ((sx % (kW * kSub)) + kW * kSub) % (kW * kSub);
                    int wy = ((sy % (kH * kSub)) + kH * kSub) % (kH * kSub);
                    double x = (sx + 0.5) / kSub - 0.5, y = (sy + 0.5) / kSub - 0.5;
                    // Distance to the segment; the pen swells a little in the middle of the stroke.
                    double dx = 2 * hx, dy = 2 * hy;
                    double t = clamp01(((x - (ds.x - hx)) * dx + (y - (ds.y - hy)) * dy) / (dx * dx + dy * dy));
                    double ex = x - (ds.x - hx + t * dx), ey = y - (ds.y - hy + t * dy);
                    double dist = std::sqrt(ex * ex + ey * ey);
                    double w = ds.width * (0.55 + 0.45 * std::sin(kPi * (0.15 + 0.7 * t)));
                    double r = dist / (w / 2.0);
                    std::size_t k = sampleIndex(wx, wy);
                    reach[k] = std::min(reach[k], r);
                }
        }
    }

    // The ink itself is not uniformly black: it pools and thins along the strokes.
    PeriodicNoise density(5, 10, seed + 900);
    Plane inkTone(kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) inkTone.at(x, y) = 18.0 + 14.0 * density.at(x * 5.0 / kW, y * 10.0 / kH);

    auto render = [&](double factor) {
        Plane out(kW, kH);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                int inked = 0;
                for (int j = 0; j < kSub; ++j)
                    for (int i = 0; i < kSub; ++i)
                        if (reach[sampleIndex(x * kSub + i, y * kSub + j)] < factor) ++inked;
                double cover = double(inked) / (kSub * kSub);
                out.at(x, y) = toByte(255.0 - cover * (255.0 - inkTone.at(x, y)));
            }
        return out;
    };
    double lo = 0.0, hi = 4.0;
    for (int i = 0; i < 40; ++i) {
        double mid = 0.5 * (lo + hi);
        if (render(mid).mean() > d.mean) lo = mid; else hi = mid;
    }
    Plane a = render(lo), b = render(hi);
    return greyImage(std::fabs(a.mean() - d.mean) < std::fabs(b.mean() - d.mean) ? a : b);
}

}  // namespace gt::assets
