// SPDX-License-Identifier: GPL-3.0-or-later
#include "common.h"

#include "imaging/arithmetic.h"

#include <QImageWriter>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace gt::assets {

Rng::Rng(std::uint64_t seed) {
    std::uint64_t z = seed + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    state_ = (z ^ (z >> 31)) | 1u;
}

std::uint64_t Rng::next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
}

double Rng::uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
double Rng::range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
int Rng::below(int n) { return n <= 1 ? 0 : int(next() % std::uint64_t(n)); }
double Rng::bell() { return uniform() + uniform() + uniform() + uniform() - 2.0; }

double hashUnit(std::uint64_t a, std::uint64_t b, std::uint64_t c) {
    std::uint64_t z = a * 0x9E3779B97F4A7C15ull ^ (b + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full ^
                      (c + 0x165667B19E3779F9ull) * 0xD6E8FEB86659FD93ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return double(z >> 11) * (1.0 / 9007199254740992.0);
}

double clamp01(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }
double clampTo(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }
double smoothstep(double e0, double e1, double v) {
    double t = clamp01((v - e0) / (e1 - e0));
    return t * t * (3.0 - 2.0 * t);
}
double lerp(double a, double b, double t) { return a + (b - a) * t; }
int toByte(double v) { return gt::clampByte(int(std::floor(v + 0.5))); }

static int wrapIndex(int i, int n) {
    int r = i % n;
    return r < 0 ? r + n : r;
}

double Plane::wrap(int x, int y) const { return at(wrapIndex(x, w), wrapIndex(y, h)); }

double Plane::mean() const {
    double s = 0.0;
    for (double d : v) s += d;
    return v.empty() ? 0.0 : s / double(v.size());
}

double Plane::deviation() const {
    double m = mean(), s = 0.0;
    for (double d : v) s += (d - m) * (d - m);
    return v.empty() ? 0.0 : std::sqrt(s / double(v.size()));
}

void Plane::add(const Plane& o, double k) {
    for (std::size_t i = 0; i < v.size(); ++i) v[i] += k * o.v[i];
}
void Plane::scale(double k) {
    for (double& d : v) d *= k;
}
void Plane::offset(double k) {
    for (double& d : v) d += k;
}
void Plane::normalise(double dev) {
    double m = mean(), s = deviation();
    double k = s > 0.0 ? dev / s : 0.0;
    for (double& d : v) d = (d - m) * k;
}

Plane blurWrapped(const Plane& p, int radius, int passes) {
    Plane a = p, b(p.w, p.h);
    double n = 2.0 * radius + 1.0;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x) {
                double s = 0.0;
                for (int k = -radius; k <= radius; ++k) s += a.wrap(x + k, y);
                b.at(x, y) = s / n;
            }
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x) {
                double s = 0.0;
                for (int k = -radius; k <= radius; ++k) s += b.wrap(x, y + k);
                a.at(x, y) = s / n;
            }
    }
    return a;
}

Plane emboss(const Plane& height, double lightX, double lightY) {
    Plane out(height.w, height.h);
    for (int y = 0; y < height.h; ++y)
        for (int x = 0; x < height.w; ++x) {
            double dx = 0.5 * (height.wrap(x + 1, y) - height.wrap(x - 1, y));
            double dy = 0.5 * (height.wrap(x, y + 1) - height.wrap(x, y - 1));
            out.at(x, y) = -(lightX * dx + lightY * dy);
        }
    return out;
}

PeriodicNoise::PeriodicNoise(int cellsX, int cellsY, std::uint64_t seed)
    : cx_(cellsX), cy_(cellsY), gx_(std::size_t(cellsX) * cellsY), gy_(std::size_t(cellsX) * cellsY) {
    Rng rng(seed);
    for (std::size_t i = 0; i < gx_.size(); ++i) {
        double a, b, r;
        do {
            a = rng.range(-1.0, 1.0);
            b = rng.range(-1.0, 1.0);
            r = a * a + b * b;
        } while (r < 0.05 || r > 1.0);
        r = std::sqrt(r);
        gx_[i] = a / r;
        gy_[i] = b / r;
    }
}

double PeriodicNoise::dot(int ix, int iy, double dx, double dy) const {
    std::size_t i = std::size_t(wrapIndex(iy, cy_)) * cx_ + wrapIndex(ix, cx_);
    return gx_[i] * dx + gy_[i] * dy;
}

double PeriodicNoise::at(double u, double v) const {
    double fu = std::floor(u), fv = std::floor(v);
    int ix = int(fu), iy = int(fv);
    double dx = u - fu, dy = v - fv;
    auto fade = [](double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); };
    double sx = fade(dx), sy = fade(dy);
    double a = lerp(dot(ix, iy, dx, dy), dot(ix + 1, iy, dx - 1.0, dy), sx);
    double b = lerp(dot(ix, iy + 1, dx, dy - 1.0), dot(ix + 1, iy + 1, dx - 1.0, dy - 1.0), sx);
    return 1.4 * lerp(a, b, sy);
}

Plane fractalNoise(int w, int h, int baseCells, int octaves, double gain, std::uint64_t seed) {
    Plane out(w, h);
    double weight = 1.0;
    for (int k = 0; k < octaves; ++k) {
        int cells = baseCells << k;
        int cellsY = std::max(1, cells * h / w);
        PeriodicNoise n(cells, cellsY, seed * 131 + std::uint64_t(k) * 7919 + 1);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                out.at(x, y) += weight * n.at(double(x) * cells / w, double(y) * cellsY / h);
        weight *= gain;
    }
    return out;
}

void cellular(int w, int h, int cellsX, int cellsY, std::uint64_t seed, Plane& f1, Plane& f2) {
    Rng rng(seed);
    double cw = double(w) / cellsX, ch = double(h) / cellsY;
    std::vector<double> px(std::size_t(cellsX) * cellsY), py(px.size());
    for (int j = 0; j < cellsY; ++j)
        for (int i = 0; i < cellsX; ++i) {
            px[std::size_t(j) * cellsX + i] = (i + rng.range(0.1, 0.9)) * cw;
            py[std::size_t(j) * cellsX + i] = (j + rng.range(0.1, 0.9)) * ch;
        }
    f1 = Plane(w, h);
    f2 = Plane(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int ci = int(x / cw), cj = int(y / ch);
            double d1 = 1e30, d2 = 1e30;
            for (int dj = -2; dj <= 2; ++dj)
                for (int di = -2; di <= 2; ++di) {
                    int i = ci + di, j = cj + dj;
                    int wi = wrapIndex(i, cellsX), wj = wrapIndex(j, cellsY);
                    double qx = px[std::size_t(wj) * cellsX + wi] + double(i - wi) * cw;
                    double qy = py[std::size_t(wj) * cellsX + wi] + double(j - wj) * ch;
                    double d = std::sqrt((qx - x) * (qx - x) + (qy - y) * (qy - y));
                    if (d < d1) {
                        d2 = d1;
                        d1 = d;
                    } else if (d < d2) {
                        d2 = d;
                    }
                }
            f1.at(x, y) = d1;
            f2.at(x, y) = d2;
        }
}

static double segmentDistance(double px, double py, double x0, double y0, double x1, double y1) {
    double dx = x1 - x0, dy = y1 - y0;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? clamp01(((px - x0) * dx + (py - y0) * dy) / len2) : 0.0;
    double ex = px - (x0 + t * dx), ey = py - (y0 + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

void strokePolyline(Plane& p, const std::vector<double>& xs, const std::vector<double>& ys, double width,
                    double amount, bool wrap) {
    if (xs.empty()) return;
    double reach = width / 2.0 + 1.0;
    double minX = xs[0], maxX = xs[0], minY = ys[0], maxY = ys[0];
    for (std::size_t i = 1; i < xs.size(); ++i) {
        minX = std::min(minX, xs[i]);
        maxX = std::max(maxX, xs[i]);
        minY = std::min(minY, ys[i]);
        maxY = std::max(maxY, ys[i]);
    }
    int x0 = int(std::floor(minX - reach)), x1 = int(std::ceil(maxX + reach));
    int y0 = int(std::floor(minY - reach)), y1 = int(std::ceil(maxY + reach));
    for (int y = y0; y <= y1; ++y) {
        if (!wrap && (y < 0 || y >= p.h)) continue;
        for (int x = x0; x <= x1; ++x) {
            if (!wrap && (x < 0 || x >= p.w)) continue;
            double d = 1e30;
            if (xs.size() == 1) d = segmentDistance(x, y, xs[0], ys[0], xs[0], ys[0]);
            for (std::size_t i = 1; i < xs.size(); ++i)
                d = std::min(d, segmentDistance(x, y, xs[i - 1], ys[i - 1], xs[i], ys[i]));
            double c = clamp01(width / 2.0 + 0.5 - d);
            if (width < 1.0) c *= width;  // a hairline keeps its weight but not more
            if (c <= 0.0) continue;
            double& t = p.at(wrapIndex(x, p.w), wrapIndex(y, p.h));
            t = 1.0 - (1.0 - t) * (1.0 - amount * c);
        }
    }
}

void strokeSegment(Plane& p, double x0, double y0, double x1, double y1, double width, double amount, bool wrap) {
    strokePolyline(p, {x0, x1}, {y0, y1}, width, amount, wrap);
}

void savePng(const QImage& image, const std::string& path) {
    QImageWriter writer(QString::fromStdString(path), "png");
    if (!writer.write(image))
        throw std::runtime_error(path + ": cannot write PNG: " + writer.errorString().toStdString());
}

void saveJpeg(const QImage& image, const std::string& path, int quality) {
    QImageWriter writer(QString::fromStdString(path), "jpeg");
    writer.setQuality(quality);
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32)))
        throw std::runtime_error(path + ": cannot write JPEG: " + writer.errorString().toStdString());
}

QImage greyImage(const Plane& p) {
    QImage img(p.w, p.h, QImage::Format_Grayscale8);
    for (int y = 0; y < p.h; ++y) {
        uchar* row = img.scanLine(y);
        for (int x = 0; x < p.w; ++x) row[x] = uchar(toByte(p.at(x, y)));
    }
    return img;
}

std::string joinPath(const std::string& dir, const std::string& name) {
    if (dir.empty() || dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

}  // namespace gt::assets
