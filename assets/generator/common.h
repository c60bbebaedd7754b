// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared tools of the picture generator: its own small random generator (never the program-wide
// one, so the pictures do not depend on how the drawing routines draw), planes of doubles that can
// wrap around like a torus (for pictures that must tile), periodic noise, soft strokes, and the
// writers that give the same bytes on every run.

#include <QImage>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace gt::assets {

// splitmix64 to spread the seed, then xorshift64*: small, fast and the same everywhere.
class Rng {
public:
    explicit Rng(std::uint64_t seed);
    std::uint64_t next();
    double uniform();                      // [0, 1)
    double range(double lo, double hi);    // [lo, hi)
    int below(int n);                      // 0 .. n-1
    double bell();                         // sum of four uniforms, centred: -2 .. 2, deviation ~0.58
    bool chance(double p) { return uniform() < p; }

private:
    std::uint64_t state_;
};

// A uniform value in [0, 1) fixed by three integers: random choices that need no drawing order.
double hashUnit(std::uint64_t a, std::uint64_t b, std::uint64_t c);

double clamp01(double v);
double clampTo(double v, double lo, double hi);
double smoothstep(double e0, double e1, double v);
double lerp(double a, double b, double t);
// Rounds to the nearest byte value, halves up, and clamps to 0..255.
int toByte(double v);

// A plane of doubles; `wrap` reads fold the coordinates back into the plane.
struct Plane {
    int w = 0, h = 0;
    std::vector<double> v;
    Plane() = default;
    Plane(int width, int height, double fill = 0.0) : w(width), h(height), v(std::size_t(width) * height, fill) {}
    double& at(int x, int y) { return v[std::size_t(y) * w + x]; }
    double at(int x, int y) const { return v[std::size_t(y) * w + x]; }
    double wrap(int x, int y) const;
    double mean() const;
    double deviation() const;
    void add(const Plane& o, double k);
    void scale(double k);
    void offset(double k);
    // Rescales to mean 0 and the given standard deviation.
    void normalise(double deviation);
};

// Box blur of the given radius, repeated `passes` times, reading around the edges as a torus.
Plane blurWrapped(const Plane& p, int radius, int passes);
// Light falling from the upper left on a height field: the slope toward the light, periodic.
Plane emboss(const Plane& height, double lightX = -0.7, double lightY = -0.7);

// Gradient noise that repeats every `cellsX` x `cellsY` lattice cells; sample in cell units.
class PeriodicNoise {
public:
    PeriodicNoise(int cellsX, int cellsY, std::uint64_t seed);
    double at(double u, double v) const;  // about -1 .. 1

private:
    int cx_, cy_;
    std::vector<double> gx_, gy_;
    double dot(int ix, int iy, double dx, double dy) const;
};

// Sum of octaves of periodic noise over a w x h picture that tiles: octave k has baseCells << k cells
// across the picture. Each octave's weight is gain^k.
Plane fractalNoise(int w, int h, int baseCells, int octaves, double gain, std::uint64_t seed);

// Cellular (Worley) distances over a tiling w x h picture with cellsX x cellsY jittered points:
// f1 is the distance to the nearest point, f2 to the second nearest (both in pixels).
void cellular(int w, int h, int cellsX, int cellsY, std::uint64_t seed, Plane& f1, Plane& f2);

// Draws a soft line segment of the given width into the plane, combining as
// p = 1 - (1 - p)(1 - amount * coverage). With wrap the segment continues across the edges.
void strokeSegment(Plane& p, double x0, double y0, double x1, double y1, double width, double amount, bool wrap);
// A polyline of several segments with the same width and amount (joints drawn once each).
void strokePolyline(Plane& p, const std::vector<double>& xs, const std::vector<double>& ys, double width,
                    double amount, bool wrap);

// Writers: the same picture always gives the same bytes.
void savePng(const QImage& image, const std::string& path);
void saveJpeg(const QImage& image, const std::string& path, int quality);
// Grey picture from a plane of byte values (rounded and clamped), stored as 8-bit grey.
QImage greyImage(const Plane& p);

std::string joinPath(const std::string& dir, const std::string& name);

}  // namespace gt::assets
