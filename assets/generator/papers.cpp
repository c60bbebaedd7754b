// SPDX-License-Identifier: GPL-3.0-or-later
// The ten paper textures, 256 x 256. Each is first drawn as the paper looks (its grain as light and
// shade around zero) from periodic noise, periodic cells and strokes that wrap, so it tiles every 256
// pixels. The drawing receives c + 128 - t, so the stored texture is 128 minus the look: the drawing
// then shows the paper as it looks.

#include "generators.h"

#include <cmath>

namespace gt::assets {

namespace {

constexpr int kSize = 256;
constexpr double kPi = 3.14159265358979;

struct Look {
    Plane r, g, b;
};

Look grey(const Plane& p) { return {p, p, p}; }

// Tints a grey look: each channel follows the same grain with its own weight.
Look tinted(const Plane& p, double kr, double kg, double kb) {
    Look l{p, p, p};
    l.r.scale(kr);
    l.g.scale(kg);
    l.b.scale(kb);
    return l;
}

Plane normalised(Plane p, double dev) {
    p.normalise(dev);
    return p;
}

// A warm tint: darker places lose more blue than red and lighter places gain more red than blue,
// as brown fibres and yellowed pulp do.
Look warm(const Plane& p, double strength) {
    Look l{p, p, p};
    for (std::size_t i = 0; i < p.v.size(); ++i) {
        double a = p.v[i];
        l.r.v[i] = a * (a > 0 ? 1.0 + 0.1 * strength : 1.0 - 0.35 * strength);
        l.g.v[i] = a * (a > 0 ? 1.0 - 0.05 * strength : 1.0 - 0.1 * strength);
        l.b.v[i] = a * (a > 0 ? 1.0 - 0.35 * strength : 1.0 + 0.2 * strength);
    }
    return l;
}

// Bilinear read of a plane that wraps.
double sampleWrapped(const Plane& p, double x, double y) {
    double fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    double tx = x - fx, ty = y - fy;
    return lerp(lerp(p.wrap(ix, iy), p.wrap(ix + 1, iy), tx), lerp(p.wrap(ix, iy + 1), p.wrap(ix + 1, iy + 1), tx), ty);
}

// Pushes a plane around by a smooth displacement of up to about `amount` pixels, keeping it periodic.
Plane warped(const Plane& p, double amount, std::uint64_t seed) {
    Plane dx = normalised(fractalNoise(kSize, kSize, 8, 2, 0.5, seed), amount / 2);
    Plane dy = normalised(fractalNoise(kSize, kSize, 8, 2, 0.5, seed + 1), amount / 2);
    Plane out(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) out.at(x, y) = sampleWrapped(p, x + dx.at(x, y), y + dy.at(x, y));
    return out;
}

QImage store(Look look) {
    QImage img(kSize, kSize, QImage::Format_RGB888);
    Plane* planes[3] = {&look.r, &look.g, &look.b};
    // Centre each channel exactly on 128 after rounding, so the paper neither lightens nor darkens
    // a drawing on the whole.
    std::vector<std::vector<int>> values(3, std::vector<int>(std::size_t(kSize) * kSize));
    for (int c = 0; c < 3; ++c) {
        double m = planes[c]->mean();
        double shift = 0.0;
        for (int pass = 0; pass < 4; ++pass) {
            long long sum = 0;
            for (int i = 0; i < kSize * kSize; ++i) {
                values[std::size_t(c)][std::size_t(i)] = toByte(128.0 - (planes[c]->v[std::size_t(i)] - m) + shift);
                sum += values[std::size_t(c)][std::size_t(i)];
            }
            shift += 128.0 - double(sum) / (kSize * kSize);
        }
    }
    for (int y = 0; y < kSize; ++y) {
        uchar* row = img.scanLine(y);
        for (int x = 0; x < kSize; ++x)
            for (int c = 0; c < 3; ++c) row[x * 3 + c] = uchar(values[std::size_t(c)][std::size_t(y) * kSize + x]);
    }
    return img;
}

// Fibres: short curved strokes that wrap around the edges, drawn into a coverage plane.
Plane fibres(int count, double minLen, double maxLen, double width, double amount, double curl, std::uint64_t seed,
             double angle = 0.0, double angleSpread = kPi) {
    Plane p(kSize, kSize);
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        double x = rng.range(0, kSize), y = rng.range(0, kSize);
        double a = angle + rng.range(-angleSpread, angleSpread);
        double len = rng.range(minLen, maxLen);
        double bend = rng.bell() * curl;
        int steps = std::max(2, int(len / 2.5));
        std::vector<double> xs, ys;
        for (int s = 0; s <= steps; ++s) {
            xs.push_back(x);
            ys.push_back(y);
            x += std::cos(a) * len / steps;
            y += std::sin(a) * len / steps;
            a += bend / steps;
        }
        strokePolyline(p, xs, ys, width * rng.range(0.7, 1.3), amount * rng.range(0.5, 1.0), true);
    }
    return p;
}

// Round specks that wrap: inclusions, bits of bark, dust.
Plane specks(int count, double minRadius, double maxRadius, std::uint64_t seed) {
    Plane p(kSize, kSize);
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        double x = rng.range(0, kSize), y = rng.range(0, kSize), r = rng.range(minRadius, maxRadius);
        double a = rng.range(0, kPi), stretch = rng.range(0.0, 1.5 * r);
        strokeSegment(p, x - std::cos(a) * stretch, y - std::sin(a) * stretch, x + std::cos(a) * stretch,
                      y + std::sin(a) * stretch, 2 * r, rng.range(0.5, 1.0), true);
    }
    return p;
}

// A woven cloth of `threads` threads each way: over-under, each thread with its own thickness and
// a slub here and there. Returns the height of the cloth.
Plane weave(int threads, double slubs, std::uint64_t seed) {
    Plane h(kSize, kSize);
    Rng rng(seed);
    std::vector<double> warpThick(static_cast<std::size_t>(threads)), weftThick(static_cast<std::size_t>(threads));
    std::vector<double> warpTone(warpThick.size()), weftTone(weftThick.size());
    for (auto& t : warpThick) t = rng.range(0.62, 0.95);
    for (auto& t : weftThick) t = rng.range(0.62, 0.95);
    for (auto& t : warpTone) t = rng.bell();
    for (auto& t : weftTone) t = rng.bell();
    PeriodicNoise wanderX(8, 8, seed + 1), wanderY(8, 8, seed + 2);
    PeriodicNoise slubX(threads, 16, seed + 3), slubY(16, threads, seed + 4);
    PeriodicNoise fibreX(threads * 4, 32, seed + 5), fibreY(32, threads * 4, seed + 6);
    double cell = double(kSize) / threads;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            double u = x / cell + 0.25 * wanderX.at(x * 8.0 / kSize, y * 8.0 / kSize);
            double v = y / cell + 0.25 * wanderY.at(x * 8.0 / kSize, y * 8.0 / kSize);
            int i = int(std::floor(u)), j = int(std::floor(v));
            double fu = u - i - 0.5, fv = v - j - 0.5;
            int wi = ((i % threads) + threads) % threads, wj = ((j % threads) + threads) % threads;
            // A slub: the thread swells for a stretch, and stands higher there.
            double slubW = slubs * std::max(0.0, slubX.at(wi + 0.5, y * 16.0 / kSize));
            double slubF = slubs * std::max(0.0, slubY.at(x * 16.0 / kSize, wj + 0.5));
            double warpW = warpThick[std::size_t(wi)] * (1.0 + slubW);
            double weftW = weftThick[std::size_t(wj)] * (1.0 + slubF);
            double pw = std::sqrt(std::max(0.0, 1.0 - std::pow(2.0 * fu / std::min(warpW, 1.0), 2)));
            double pf = std::sqrt(std::max(0.0, 1.0 - std::pow(2.0 * fv / std::min(weftW, 1.0), 2)));
            // Each thread rises where it passes over the crossing thread and dives where it passes
            // under; the cosine keeps it continuous from one crossing to the next.
            double hw = pw * (0.55 + 0.35 * std::cos(kPi * (v - 0.5 - i)));
            double hf = pf * (0.55 - 0.35 * std::cos(kPi * (u - 0.5 - j)));
            // Twisted yarn: fine slanting ridges along each thread.
            hw += 0.08 * pw * std::sin(2 * kPi * (3.0 * v + 1.2 * fu));
            hf += 0.08 * pf * std::sin(2 * kPi * (3.0 * u - 1.2 * fv));
            hw *= 1.0 + 0.5 * slubW + 0.12 * warpTone[std::size_t(wi)];
            hf *= 1.0 + 0.5 * slubF + 0.12 * weftTone[std::size_t(wj)];
            hw += 0.15 * pw * fibreX.at(x * threads * 4.0 / kSize, y * 32.0 / kSize);
            hf += 0.15 * pf * fibreY.at(x * 32.0 / kSize, y * threads * 4.0 / kSize);
            h.at(x, y) = std::max(hw, hf);
        }
    return h;
}

Look coldPress() {
    Plane f1, f2;
    cellular(kSize, kSize, 40, 40, 11, f1, f2);
    Plane bumps(kSize, kSize);
    for (std::size_t i = 0; i < bumps.v.size(); ++i) bumps.v[i] = -f1.v[i] * f1.v[i];
    Plane height = normalised(bumps, 1.0);
    height.add(normalised(fractalNoise(kSize, kSize, 16, 4, 0.55, 12), 1.0), 0.8);
    height = blurWrapped(height, 1, 1);
    Plane look = normalised(emboss(height), 1.0);
    look.add(normalised(height, 1.0), 0.35);
    look.add(normalised(fractalNoise(kSize, kSize, 4, 2, 0.5, 13), 1.0), 0.25);
    return grey(normalised(look, 6.5));
}

Look roughWatercolour() {
    // Rounded irregular domes, as the felt of the press leaves them, with finer tooth on top.
    Plane f1, f2;
    cellular(kSize, kSize, 15, 15, 21, f1, f2);
    Plane domes(kSize, kSize);
    for (std::size_t i = 0; i < domes.v.size(); ++i) domes.v[i] = -std::pow(f1.v[i], 1.3);
    Plane height = normalised(warped(domes, 9.0, 24), 1.0);
    height.add(normalised(fractalNoise(kSize, kSize, 8, 3, 0.6, 22), 1.0), 0.9);
    height = blurWrapped(height, 2, 2);
    height.add(normalised(fractalNoise(kSize, kSize, 48, 2, 0.5, 25), 1.0), 0.12);
    Plane look = normalised(emboss(height), 1.0);
    look.add(normalised(height, 1.0), 0.5);
    look.add(normalised(fractalNoise(kSize, kSize, 64, 2, 0.5, 23), 1.0), 0.15);
    return grey(normalised(look, 10.0));
}

Look laid() {
    PeriodicNoise wobble(16, 16, 31);
    Plane look(kSize, kSize);
    Rng rng(32);
    double chains[8];
    for (int k = 0; k < 8; ++k) chains[k] = k * 32.0 + 10.0 + rng.range(-2.0, 2.0);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            // Laid lines: the close horizontal wires of the mould, 64 across the tile.
            double phase = y / 4.0 + 0.12 * wobble.at(x * 16.0 / kSize, y * 16.0 / kSize);
            double laidLine = std::cos(2 * kPi * phase);
            // Chain lines: the sparse vertical wires that held them, a little thinner paper beside them.
            double chain = 0.0;
            for (double cx : chains) {
                double d = std::fabs(x - cx);
                d = std::min(d, kSize - d);
                chain += std::exp(-d * d / 3.0) - 0.35 * std::exp(-d * d / 30.0);
            }
            look.at(x, y) = 0.55 * laidLine + 0.9 * chain;
        }
    look = normalised(look, 1.0);
    look.add(normalised(fractalNoise(kSize, kSize, 32, 3, 0.5, 33), 1.0), 0.45);
    look.add(normalised(fractalNoise(kSize, kSize, 4, 3, 0.5, 34), 1.0), 0.3);
    look.add(normalised(fibres(220, 4, 12, 0.8, 0.5, 0.8, 35), 1.0), 0.15);
    return tinted(normalised(look, 6.0), 1.0, 0.98, 0.92);
}

Look canvas() {
    Plane height = weave(32, 0.35, 41);
    height = blurWrapped(height, 1, 1);
    Plane look = normalised(emboss(height, -0.6, -0.8), 1.0);
    look.add(normalised(height, 1.0), 0.7);
    look.add(normalised(fractalNoise(kSize, kSize, 4, 3, 0.5, 42), 1.0), 0.2);
    return tinted(normalised(look, 10.0), 1.0, 0.98, 0.93);
}

Look kraft() {
    // Machine-made: fibres lie mostly along the run of the paper machine, the pulp is mottled.
    Plane mottle = normalised(fractalNoise(kSize, kSize, 4, 4, 0.55, 51), 1.0);
    Plane dark = fibres(420, 6, 20, 0.7, 0.6, 0.6, 52, 0.0, 0.45);
    Plane light = fibres(300, 5, 16, 0.7, 0.5, 0.6, 53, 0.0, 0.45);
    Plane look = mottle;
    look.scale(0.7);
    look.add(normalised(light, 1.0), 0.35);
    look.add(normalised(dark, 1.0), -0.5);
    look.add(normalised(fractalNoise(kSize, kSize, 64, 2, 0.5, 54), 1.0), 0.35);
    return warm(normalised(look, 7.0), 1.0);
}

Look recycled() {
    Look l = grey(normalised(fractalNoise(kSize, kSize, 32, 3, 0.55, 61), 3.0));
    Plane mottle = normalised(fractalNoise(kSize, kSize, 4, 3, 0.5, 62), 1.5);
    l.r.add(mottle, 1.0);
    l.g.add(mottle, 1.0);
    l.b.add(mottle, 1.0);
    Plane greyFibres = fibres(260, 3, 9, 0.7, 0.6, 1.5, 63);
    Plane darkSpecks = specks(160, 0.35, 0.9, 64);
    Plane blueFibres = fibres(45, 4, 11, 0.7, 0.9, 1.2, 65);
    Plane redFibres = fibres(30, 4, 10, 0.7, 0.9, 1.2, 66);
    Plane lightFlecks = specks(120, 0.5, 1.2, 67);
    auto apply = [&](const Plane& p, double r, double g, double b) {
        l.r.add(p, r);
        l.g.add(p, g);
        l.b.add(p, b);
    };
    apply(greyFibres, -14, -14, -13);
    apply(darkSpecks, -40, -40, -38);
    apply(blueFibres, -40, -24, 8);
    apply(redFibres, 6, -34, -28);
    apply(lightFlecks, 10, 10, 10);
    return l;
}

Look bristol() {
    Plane look = normalised(fractalNoise(kSize, kSize, 64, 2, 0.5, 71), 1.0);
    look.add(normalised(fractalNoise(kSize, kSize, 4, 3, 0.5, 72), 1.0), 0.6);
    return grey(normalised(look, 2.5));
}

Look charcoal() {
    // The honeycomb of charcoal paper: small raised cells with walls, and faint vertical laid lines.
    Plane f1, f2;
    cellular(kSize, kSize, 52, 52, 81, f1, f2);
    Plane walls(kSize, kSize);
    for (std::size_t i = 0; i < walls.v.size(); ++i) walls.v[i] = -smoothstep(0.0, 1.6, f2.v[i] - f1.v[i]);
    PeriodicNoise lines(64, 8, 82);
    Plane streaks(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) streaks.at(x, y) = lines.at(x * 64.0 / kSize, y * 8.0 / kSize);
    Plane height = normalised(walls, 1.0);
    height.add(normalised(streaks, 1.0), 0.5);
    height.add(normalised(fractalNoise(kSize, kSize, 16, 3, 0.5, 83), 1.0), 0.4);
    height = blurWrapped(height, 1, 1);
    Plane look = normalised(emboss(height), 1.0);
    look.add(normalised(height, 1.0), 0.6);
    return grey(normalised(look, 8.0));
}

Look handmade() {
    Plane look = normalised(fractalNoise(kSize, kSize, 3, 5, 0.6, 91), 1.0);
    Plane clumps = normalised(fractalNoise(kSize, kSize, 12, 3, 0.5, 92), 1.0);
    look.add(clumps, 0.45);
    Plane longFibres = fibres(60, 16, 44, 0.7, 0.45, 0.45, 93);
    Plane shortFibres = fibres(260, 4, 10, 0.7, 0.45, 0.8, 94);
    look.add(normalised(longFibres, 1.0), 0.22);
    look.add(normalised(shortFibres, 1.0), 0.25);
    Plane relief = blurWrapped(look, 1, 1);
    look.add(normalised(emboss(relief), 1.0), 0.5);
    look = normalised(look, 8.5);
    Look l = warm(look, 0.6);
    // Bits of plant stem caught in the pulp.
    Plane bits = specks(45, 0.5, 1.4, 95);
    l.r.add(bits, -34);
    l.g.add(bits, -38);
    l.b.add(bits, -42);
    return l;
}

Look linen() {
    Plane height = weave(48, 1.1, 101);
    Plane look = normalised(emboss(height, -0.6, -0.8), 1.0);
    look.add(normalised(height, 1.0), 0.9);
    look.add(normalised(fractalNoise(kSize, kSize, 8, 3, 0.5, 102), 1.0), 0.25);
    return tinted(normalised(look, 7.0), 1.0, 0.99, 0.95);
}

}  // namespace

QImage makePaper(int number) {
    switch (number) {
    case 1: return store(coldPress());
    case 2: return store(roughWatercolour());
    case 3: return store(laid());
    case 4: return store(canvas());
    case 5: return store(kraft());
    case 6: return store(recycled());
    case 7: return store(bristol());
    case 8: return store(charcoal());
    case 9: return store(handmade());
    default: return store(linen());
    }
}

}  // namespace gt::assets
