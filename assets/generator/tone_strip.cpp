// SPDX-License-Identifier: GPL-3.0-or-later
// The pencil tone strip: 512 x 166 grey, column c the pencil tone for grey level c / 2. Every row is a
// variant of the same ramp, drawn as pencil hatching whose strokes thicken and multiply toward the
// dark end; each column is then calibrated so its mean follows the ramp.

#include "generators.h"

#include <cmath>

namespace gt::assets {

namespace {

constexpr int kWidth = 512;
constexpr int kHeight = 166;
constexpr double kPaper = 251.0;  // the lightest value: bare paper, no strokes
constexpr double kDarkest = 20.0;

// The mean tone of each column: knots measured from a real pencil ramp, straight between them.
double rampAt(double c) {
    static const double knots[][2] = {{0, 38},    {64, 49},   {128, 82},  {192, 121}, {256, 182},
                                      {320, 221}, {384, 243}, {416, 251}, {511, 251}};
    for (int i = 1; i < 9; ++i)
        if (c <= knots[i][0]) {
            double t = (c - knots[i - 1][0]) / (knots[i][0] - knots[i - 1][0]);
            return lerp(knots[i - 1][1], knots[i][1], t);
        }
    return kPaper;
}

// One family of pencil strokes: parallel lanes across the direction, each lane broken into strokes of
// random length that taper at both ends and wander a little sideways.
struct StrokeFamily {
    double angle;    // radians, the strokes' direction
    double spacing;  // lane width across the strokes
    double width;    // stroke width
    double length;   // slot length along the lane
    std::uint64_t seed;

    double coverage(double x, double y) const {
        double dx = std::cos(angle), dy = std::sin(angle);
        double t = x * dx + y * dy;    // along the strokes
        double u = -x * dy + y * dx;   // across
        int lane = int(std::floor(u / spacing));
        double best = 0.0;
        for (int k = lane - 1; k <= lane + 1; ++k) {
            double laneShift = hashUnit(seed, std::uint64_t(k + 100000), 1) * length;
            double ts = t + laneShift;
            int slot = int(std::floor(ts / length));
            double local = ts - slot * length;
            auto r = [&](int i) { return hashUnit(seed, std::uint64_t(k + 100000), std::uint64_t(slot * 8 + i + 1000000)); };
            double start = r(0) * 0.25 * length, end = length * (0.7 + 0.3 * r(1));
            if (local < start || local > end) continue;
            double along = (local - start) / (end - start);
            double bend = (r(2) - 0.5) * 1.6 * std::sin(3.14159265358979 * along);  // a gentle bow
            double centre = (k + 0.5 + (r(3) - 0.5) * 0.5) * spacing + bend;
            double w = width * (0.75 + 0.5 * r(4));
            double taper = smoothstep(0.0, 0.18, along) * smoothstep(1.0, 0.8, along);
            double pressure = 0.55 + 0.45 * r(5);
            double c = clamp01(w / 2.0 + 0.5 - std::fabs(u - centre)) * pressure * (0.35 + 0.65 * taper);
            if (c > best) best = c;
        }
        return best;
    }
};

}  // namespace

QImage makePencilToneStrip() {
    // Paper tooth: graphite catches on the grain, so strokes come out speckled.
    Plane tooth = fractalNoise(kWidth, kHeight, 128, 2, 0.6, 17);
    tooth.normalise(1.0);
    Plane film = fractalNoise(kWidth, kHeight, 32, 3, 0.55, 23);
    film.normalise(1.0);

    const StrokeFamily rising{-0.785398, 4.2, 1.7, 38.0, 101};
    const StrokeFamily falling{0.785398, 4.6, 1.5, 44.0, 202};
    const StrokeFamily flat{0.0, 3.0, 0.9, 70.0, 303};

    Plane ink(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            double need = (kPaper - rampAt(x)) / (kPaper - kDarkest);
            if (need <= 0.0) continue;
            double grain = clampTo(0.72 + 0.28 * tooth.at(x, y), 0.2, 1.0);
            double a = smoothstep(0.0, 0.10, need) * rising.coverage(x, y) * grain;
            double b = smoothstep(0.08, 0.32, need) * falling.coverage(x, y) * grain;
            double h = smoothstep(0.30, 0.60, need) * flat.coverage(x, y) * grain;
            double f = smoothstep(0.50, 0.95, need) * clamp01(0.8 + 0.12 * film.at(x, y) + 0.08 * tooth.at(x, y));
            ink.at(x, y) = 1.0 - (1.0 - a) * (1.0 - b) * (1.0 - h) * (1.0 - f);
        }

    // Calibrate each column: scale its ink so the mean of the rounded values meets the ramp.
    Plane out(kWidth, kHeight, kPaper);
    for (int x = 0; x < kWidth; ++x) {
        double target = rampAt(x);
        if (target >= kPaper) continue;
        auto columnMean = [&](double s) {
            double sum = 0.0;
            for (int y = 0; y < kHeight; ++y)
                sum += toByte(kPaper - (kPaper - kDarkest) * clamp01(ink.at(x, y) * s));
            return sum / kHeight;
        };
        double lo = 0.0, hi = 64.0;
        for (int i = 0; i < 60; ++i) {
            double mid = 0.5 * (lo + hi);
            if (columnMean(mid) > target) lo = mid; else hi = mid;
        }
        double s = std::fabs(columnMean(lo) - target) < std::fabs(columnMean(hi) - target) ? lo : hi;
        for (int y = 0; y < kHeight; ++y)
            out.at(x, y) = kPaper - (kPaper - kDarkest) * clamp01(ink.at(x, y) * s);
    }
    return greyImage(out);
}

}  // namespace gt::assets
