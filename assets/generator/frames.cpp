// SPDX-License-Identifier: GPL-3.0-or-later
// The eight frame pictures, 800 x 600: a moulding around a white window. Each moulding is a profile
// (height across the moulding) with a material, lit from the upper left; the four sides meet in
// mitres, and wood grain turns with each side as it would in a real frame. The window is pure white
// and every pixel of the moulding stays below the light test (65536 * blue + 256 * green + red at
// least 13,824,000), so the frames window finds the window by that test.

#include "generators.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

namespace gt::assets {

namespace {

constexpr int kW = 800, kH = 600;
constexpr double kPi = 3.14159265358979;

struct Rgb {
    double r, g, b;
};
Rgb operator*(Rgb c, double k) { return {c.r * k, c.g * k, c.b * k}; }
Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb mix(Rgb a, Rgb b, double t) { return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t)}; }

// Where a sample falls on the moulding: which side, how far in from the outer edge (u), how far
// along the side (v, from the side's middle), and how far from the mitre (for the joint line).
struct Spot {
    int side;        // 0 top, 1 right, 2 bottom, 3 left
    double u, v;
    double mitre;    // distance to the nearer mitre diagonal
    double length;   // the side's length
};

Spot locate(double x, double y) {
    double dl = x + 0.5, dr = kW - 0.5 - x, dt = y + 0.5, db = kH - 0.5 - y;
    Spot s{};
    double m = std::min(std::min(dl, dr), std::min(dt, db));
    if (m == dt) {
        s = {0, dt, x + 0.5 - kW / 2.0, 0, double(kW)};
        s.mitre = std::min(std::fabs(dt - dl), std::fabs(dt - dr));
    } else if (m == db) {
        s = {2, db, x + 0.5 - kW / 2.0, 0, double(kW)};
        s.mitre = std::min(std::fabs(db - dl), std::fabs(db - dr));
    } else if (m == dl) {
        s = {3, dl, y + 0.5 - kH / 2.0, 0, double(kH)};
        s.mitre = std::min(std::fabs(dl - dt), std::fabs(dl - db));
    } else {
        s = {1, dr, y + 0.5 - kH / 2.0, 0, double(kH)};
        s.mitre = std::min(std::fabs(dr - dt), std::fabs(dr - db));
    }
    s.mitre /= std::sqrt(2.0);
    return s;
}

// The light comes from the upper left and a little in front.
struct Light {
    double x = -0.42, y = -0.55, z = 0.72;
};

// Surface normal in picture space from the slopes of the height across (du) and along (dv) a side.
void normalOf(int side, double du, double dv, double& nx, double& ny, double& nz) {
    switch (side) {
    case 0: nx = -dv; ny = -du; break;   // top: u runs down, v runs right
    case 1: nx = du; ny = -dv; break;    // right: u runs left, v runs down
    case 2: nx = -dv; ny = du; break;    // bottom: u runs up, v runs right
    default: nx = -du; ny = -dv; break;  // left: u runs right, v runs down
    }
    nz = 1.0;
    double n = std::sqrt(nx * nx + ny * ny + nz * nz);
    nx /= n;
    ny /= n;
    nz /= n;
}

struct Shading {
    double diffuse;   // n . light, 0..1
    double specular;  // Blinn highlight, 0..1
    double facing;    // n . view: 1 flat, lower on steep slopes
};

Shading shade(int side, double du, double dv, double shininess) {
    double nx, ny, nz;
    normalOf(side, du, dv, nx, ny, nz);
    Light l;
    double ln = std::sqrt(l.x * l.x + l.y * l.y + l.z * l.z);
    double lx = l.x / ln, ly = l.y / ln, lz = l.z / ln;
    double diffuse = std::max(0.0, nx * lx + ny * ly + nz * lz);
    double hx = lx, hy = ly, hz = lz + 1.0;
    double hn = std::sqrt(hx * hx + hy * hy + hz * hz);
    double highlight = std::max(0.0, (nx * hx + ny * hy + nz * hz) / hn);
    return {diffuse, std::pow(highlight, shininess), nz};
}

// A moulding: its width, its height field and the colour of a lit sample.
struct Moulding {
    double width;
    std::function<double(const Spot&)> height;
    std::function<Rgb(const Spot&, const Shading&, double height)> colour;
    double shininess = 20.0;
    double maxBlue = 200.0;  // keeps every moulding pixel well below the light test
    double mitreUpTo = 1e9;  // mitre joints show only on the wooden part (not across a mat)
};

Rgb sampleMoulding(const Moulding& m, const Spot& s) {
    const double e = 0.5;
    Spot a = s, b = s, c = s, d = s;
    a.u += e;
    b.u -= e;
    c.v += e;
    d.v -= e;
    double du = (m.height(a) - m.height(b)) / (2 * e);
    double dv = (m.height(c) - m.height(d)) / (2 * e);
    double h = m.height(s);
    Rgb col = m.colour(s, shade(s.side, du, dv, m.shininess), h);
    // The joint of the mitre: a fine dark line where the two sides meet.
    if (s.u > 1.0 && s.u < m.mitreUpTo && s.mitre < 0.8) col = col * (0.72 + 0.35 * s.mitre);
    // A crisp outer edge.
    if (s.u < 1.2) col = col * (0.55 + 0.35 * s.u);
    return col;
}

QImage render(const Moulding& m) {
    QImage img(kW, kH, QImage::Format_RGB32);
    const int sub = 2;
    for (int y = 0; y < kH; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kW; ++x) {
            Rgb sum{0, 0, 0};
            for (int j = 0; j < sub; ++j)
                for (int i = 0; i < sub; ++i) {
                    double sx = x - 0.5 + (i + 0.5) / sub, sy = y - 0.5 + (j + 0.5) / sub;
                    Spot s = locate(sx, sy);
                    Rgb c = s.u < m.width ? sampleMoulding(m, s) : Rgb{255, 255, 255};
                    if (s.u < m.width) c.b = std::min(c.b, m.maxBlue);
                    sum = sum + c;
                }
            sum = sum * (1.0 / (sub * sub));
            row[x] = qRgb(toByte(sum.r), toByte(sum.g), toByte(sum.b));
        }
    }
    return img;
}

// Smooth bumps and hollows of a profile, all in pixels.
double bead(double u, double from, double to, double height) {
    if (u <= from || u >= to) return 0.0;
    double t = (u - from) / (to - from) * 2.0 - 1.0;
    return height * std::sqrt(1.0 - t * t);
}
double cove(double u, double from, double to, double depth) {
    if (u <= from || u >= to) return 0.0;
    double t = (u - from) / (to - from) * 2.0 - 1.0;
    return -depth * std::sqrt(1.0 - t * t);
}
double ramp(double u, double from, double to, double h0, double h1) {
    if (u <= from) return h0;
    if (u >= to) return h1;
    return lerp(h0, h1, smoothstep(from, to, u));
}

// Noise that does not need to tile: periodic noise with a period far longer than the picture.
struct Grain {
    PeriodicNoise n;
    explicit Grain(std::uint64_t seed, int cells = 256) : n(cells, cells, seed) {}
    double at(double a, double b) const { return n.at(a + 64.0, b + 64.0); }
};

// Wood seen on the face of a moulding: long fibres along the side, growth rings meandering across.
struct Wood {
    Rgb early, late, pore;
    double ringSpacing, waviness;
    Grain figure, rings, pores;
    Wood(Rgb e, Rgb l, Rgb p, double spacing, double wave, std::uint64_t seed)
        : early(e), late(l), pore(p), ringSpacing(spacing), waviness(wave), figure(seed), rings(seed + 1), pores(seed + 2) {}

    Rgb at(const Spot& s) const {
        // Each side is cut from its own stretch of board.
        double v = s.v + s.side * 977.0, u = s.u + s.side * 53.0;
        double t = u + waviness * (figure.at(v / 160.0, u / 40.0) + 0.28 * rings.at(v / 35.0, u / 9.0));
        double ring = t / ringSpacing - std::floor(t / ringSpacing);
        double band = smoothstep(0.55, 0.9, ring) * (1.0 - smoothstep(0.9, 1.0, ring));
        Rgb c = mix(early, late, 0.25 + 0.75 * band);
        double fibre = pores.at(v / 2.2, u / 0.45);
        c = mix(c, pore, clamp01(fibre * 0.9 - 0.35));
        return c * (1.0 + 0.06 * figure.at(v / 30.0 + 7.0, u / 11.0));
    }
};

// Gilding: gold that goes dark in hollows and shines on the crests, with a little wear.
Rgb gold(const Shading& sh, double occlusion, double wear, Rgb tone) {
    Rgb dark{70, 42, 12}, mid = tone, bright{250, 222, 140};
    // A flat face (diffuse 0.72) takes the middle tone; faces turned to the light go bright.
    double s = clamp01(0.5 + (sh.diffuse - 0.72) * 1.9);
    Rgb c = s < 0.6 ? mix(dark, mid, s / 0.6) : mix(mid, bright, (s - 0.6) / 0.4);
    c = c * (0.55 + 0.45 * occlusion);
    c = mix(c, Rgb{150, 70, 40}, wear * 0.5);  // red bole showing through on worn edges
    return c + Rgb{255, 245, 210} * (0.55 * sh.specular);
}

Moulding gilded() {
    Moulding m;
    m.width = 96;
    auto grain = std::make_shared<Grain>(811);
    m.height = [](const Spot& s) {
        double u = s.u;
        double h = ramp(u, 0, 6, 4, 10);
        h += bead(u, 2, 14, 5);
        h += cove(u, 14, 34, 5);
        // A torus with pearls along it.
        double pearl = std::fabs(std::sin(kPi * s.v / 9.0));
        h += bead(u, 34, 60, 9) + bead(u, 40, 54, 2.5 * std::pow(pearl, 0.5));
        h += ramp(u, 60, 64, 0, -2) + ramp(u, 64, 80, 0, 1.5);
        h += 0.6 * (std::fmod(u, 4.0) < 1.0 && u > 64 && u < 79 ? -1.0 : 0.0);  // incised lines
        h += bead(u, 80, 90, 4);
        h += ramp(u, 90, 96, 0, -6);
        return h;
    };
    m.colour = [grain](const Spot& s, const Shading& sh, double h) {
        double occlusion = clamp01((h + 4.0) / 18.0);
        double wear = clamp01((grain->at(s.v / 6.0, s.u / 3.0) - 0.45) * 3.0) * (s.u < 14 || (s.u > 44 && s.u < 52) ? 1 : 0);
        Rgb c = gold(sh, occlusion, wear, Rgb{196, 146, 58});
        if (s.u > 92) c = c * 0.45;  // the shadowed sight edge next to the picture
        return c;
    };
    m.shininess = 28;
    return m;
}

Moulding darkWood() {
    Moulding m;
    m.width = 86;
    auto wood = std::make_shared<Wood>(Rgb{104, 66, 42}, Rgb{58, 34, 22}, Rgb{40, 24, 16}, 7.0, 9.0, 821);
    m.height = [](const Spot& s) {
        double u = s.u;
        double h = ramp(u, 0, 8, 0, 10);
        h += ramp(u, 8, 56, 0, 6);   // a broad face sloping up toward the picture
        h += bead(u, 54, 64, 3);
        h += ramp(u, 64, 78, 0, -10);
        h += ramp(u, 80, 86, 0, -3);
        return h;
    };
    m.colour = [wood](const Spot& s, const Shading& sh, double) {
        Rgb c = wood->at(s) * (0.38 + 0.85 * sh.diffuse);
        if (s.u > 82) c = c * 0.55;
        return c + Rgb{255, 240, 220} * (0.22 * sh.specular);
    };
    m.shininess = 18;
    return m;
}

Moulding lightWood() {
    Moulding m;
    m.width = 72;
    auto wood = std::make_shared<Wood>(Rgb{222, 186, 134}, Rgb{188, 142, 92}, Rgb{160, 118, 76}, 9.0, 3.5, 831);
    m.height = [](const Spot& s) {
        double u = s.u;
        return bead(u, 0, 14, 5) + ramp(u, 0, 7, 0, 6) + ramp(u, 14, 60, 0, -2) + bead(u, 58, 72, 4) + ramp(u, 64, 72, 0, -5);
    };
    m.colour = [wood](const Spot& s, const Shading& sh, double) {
        Rgb c = wood->at(s) * (0.5 + 0.62 * sh.diffuse);
        if (s.u > 69) c = c * 0.6;
        return c + Rgb{255, 250, 235} * (0.1 * sh.specular);
    };
    m.shininess = 10;
    return m;
}

Moulding passePartout() {
    Moulding m;
    m.width = 136;
    const double frame = 26, bevel = 130;
    auto wood = std::make_shared<Wood>(Rgb{70, 52, 40}, Rgb{42, 30, 24}, Rgb{30, 22, 18}, 6.0, 6.0, 841);
    auto board = std::make_shared<Grain>(842);
    m.height = [=](const Spot& s) {
        double u = s.u;
        if (u < frame) return bead(u, 0, frame, 6) + ramp(u, 0, 4, 0, 3);
        if (u < bevel) return 0.0;
        return -(u - bevel) * 0.9;  // the bevelled cut of the mat, falling toward the picture
    };
    m.colour = [=](const Spot& s, const Shading& sh, double) {
        if (s.u < frame) {
            Rgb c = wood->at(s) * (0.45 + 0.8 * sh.diffuse) + Rgb{255, 245, 230} * (0.18 * sh.specular);
            if (s.u > frame - 2.5) c = c * 0.5;
            return c;
        }
        // Museum board: ivory, with a faint pulp texture; its cut bevel shows the whiter core.
        double t = board->at(s.v / 3.0, s.u / 3.0) * 0.5 + board->at(s.v / 20.0 + 5.0, s.u / 20.0) * 0.5;
        Rgb mat{242, 231, 199};
        if (s.u < frame + 5) mat = mat * (0.8 + 0.04 * (s.u - frame));  // shadow of the frame's lip
        Rgb c = mat * (0.94 + 0.04 * t);
        if (s.u >= bevel) {
            Rgb core{244, 236, 202};
            c = core * (0.74 + 0.32 * sh.diffuse);
        }
        return c;
    };
    m.maxBlue = 198;
    m.mitreUpTo = frame;
    return m;
}

// Ornament for the baroque frame: acanthus leaves curling along the wide torus, egg-and-dart on the
// inner flat, a twisted rope in the cove, and shells at the corners.
double baroqueHeight(const Spot& s) {
    double u = s.u, v = s.v;
    double h = ramp(u, 0, 8, 2, 12);
    h += bead(u, 2, 16, 5) * (0.8 + 0.2 * std::sin(2 * kPi * v / 7.0));  // leaf-tip rim
    // The big torus with leaves: a repeating scroll of period 46.
    if (u > 16 && u < 76) {
        double across = (u - 16) / 60.0;
        double base = 14.0 * std::sqrt(std::max(0.0, 1.0 - std::pow(across * 2 - 1, 2)));
        double p = v / 46.0;
        double ph = p - std::floor(p);
        double curl = std::sin(2 * kPi * (ph + 0.35 * std::sin(2 * kPi * across)));
        double leaf = std::pow(std::fabs(std::sin(kPi * (ph * 3.0 + across * 1.5))), 2.0);
        double vein = std::fabs(std::sin(kPi * (ph * 9.0 + across * 4.0)));
        double rosette = 0.0;
        double cx = (ph - 0.5) * 46.0, cy = (across - 0.5) * 60.0;
        double r = std::sqrt(cx * cx + cy * cy);
        if (r < 11) rosette = 6.0 * std::cos(r / 11.0 * kPi / 2) * (0.8 + 0.2 * std::cos(8 * std::atan2(cy, cx)));
        h += base + 4.0 * curl * leaf * std::sin(kPi * across) + 1.2 * vein * leaf + rosette;
    }
    // Twisted rope in the cove.
    if (u > 76 && u < 94) {
        double t = (u - 76) / 18.0;
        h += cove(u, 76, 94, 4) + 3.5 * std::sqrt(std::max(0.0, 1 - std::pow(2 * t - 1, 2))) *
                                      std::pow(std::fabs(std::sin(kPi * (v / 8.0 + t * 1.2))), 0.6);
    }
    // Egg and dart.
    if (u > 94 && u < 112) {
        double t = (u - 94) / 18.0;
        double p = v / 14.0 - std::floor(v / 14.0);
        double egg = std::sqrt(std::max(0.0, 1 - std::pow((p - 0.5) / 0.36, 2) - std::pow((t - 0.5) / 0.42, 2)));
        double dart = (std::fabs(p) < 0.06 || std::fabs(p - 1) < 0.06) ? 2.0 * (1 - std::fabs(2 * t - 1)) : 0.0;
        h += 2 + 4.5 * egg + dart;
    }
    h += bead(u, 112, 120, 3.5) + ramp(u, 119, 126, 0, -7);
    // Shells at the corners: a fan of ribs rising over the mitre.
    double cornerDist = s.length / 2.0 - std::fabs(v);
    if (cornerDist < 120 && u > 10 && u < 100) {
        double fan = std::atan2(u - 55.0, cornerDist - 55.0 + 1e-9);
        double rr = std::sqrt((u - 55.0) * (u - 55.0) + (cornerDist - 55.0) * (cornerDist - 55.0));
        if (rr < 42) {
            double ribs = std::pow(std::fabs(std::cos(7.0 * fan)), 0.7);
            h = std::max(h, 18.0 + 7.0 * std::cos(rr / 42.0 * kPi / 2) * (0.6 + 0.4 * ribs));
        }
    }
    return h;
}

Moulding baroque() {
    Moulding m;
    m.width = 126;
    auto grain = std::make_shared<Grain>(851);
    m.height = baroqueHeight;
    m.colour = [grain](const Spot& s, const Shading& sh, double h) {
        // Old gilding: deep brown in the recesses where dust and toning gather.
        double occlusion = clamp01((h + 2.0) / 22.0);
        double wear = clamp01((grain->at(s.v / 5.0, s.u / 5.0) - 0.5) * 2.5) * clamp01((h - 14.0) / 8.0);
        Rgb c = gold(sh, occlusion, wear, Rgb{178, 128, 50});
        if (s.u > 122) c = c * 0.45;
        return c;
    };
    m.shininess = 24;
    return m;
}

Moulding modernBlack() {
    Moulding m;
    m.width = 44;
    auto grain = std::make_shared<Grain>(861);
    m.height = [](const Spot& s) {
        double u = s.u;
        return ramp(u, 0, 3, 0, 12) + ramp(u, 36, 40, 0, -4) + ramp(u, 40, 44, 0, -6);
    };
    m.colour = [grain](const Spot& s, const Shading& sh, double) {
        Rgb c = Rgb{30, 30, 33} * (0.55 + 0.6 * sh.diffuse) * (1.0 + 0.05 * grain->at(s.v / 1.5, s.u / 60.0));
        if (s.u > 40) c = c * 0.6;
        return c + Rgb{230, 232, 240} * (0.35 * sh.specular);
    };
    m.shininess = 40;
    return m;
}

Moulding whiteGallery() {
    Moulding m;
    m.width = 70;
    auto grain = std::make_shared<Grain>(871);
    m.height = [](const Spot& s) {
        double u = s.u;
        // A flat face, then a stepped sight edge that casts its shadow toward the picture.
        return ramp(u, 0, 4, 0, 8) + bead(u, 2, 10, 2) + ramp(u, 48, 52, 0, -5) + ramp(u, 60, 70, 0, -6);
    };
    m.colour = [grain](const Spot& s, const Shading& sh, double) {
        // Warm white paint over wood: the grain shows faintly through.
        double g = grain->at(s.v / 40.0 + s.side * 13.0, s.u / 3.0);
        Rgb paint{243, 231, 203};
        Rgb c = paint * (0.62 + 0.36 * sh.diffuse) * (1.0 + 0.015 * g);
        if (s.u > 52 && s.u < 60) c = c * 0.9;
        if (s.u > 66) c = c * 0.78;
        return c + Rgb{20, 20, 10} * sh.specular;
    };
    m.shininess = 12;
    m.maxBlue = 196;
    return m;
}

Moulding greyForTint() {
    Moulding m;
    m.width = 80;
    auto grain = std::make_shared<Grain>(881);
    m.height = [](const Spot& s) {
        double u = s.u;
        return ramp(u, 0, 5, 0, 8) + bead(u, 2, 14, 5) + cove(u, 16, 36, 5) + bead(u, 36, 60, 7) + ramp(u, 60, 74, 0, 2) +
               bead(u, 70, 78, 2.5) + ramp(u, 76, 80, 0, -6);
    };
    m.colour = [grain](const Spot& s, const Shading& sh, double h) {
        // Neutral satin grey: tints shift it to any colour without a cast of its own.
        double brushed = grain->at(s.v / 12.0 + s.side * 31.0, s.u / 0.8);
        double occlusion = clamp01((h + 4.0) / 16.0);
        double k = (0.5 + 0.55 * sh.diffuse) * (0.8 + 0.2 * occlusion) * (1.0 + 0.04 * brushed);
        Rgb c = Rgb{136, 136, 136} * k;
        if (s.u > 77) c = c * 0.6;
        return c + Rgb{90, 90, 90} * sh.specular;
    };
    m.shininess = 22;
    return m;
}

}  // namespace

QImage makeFrame(int number) {
    switch (number) {
    case 1: return render(gilded());
    case 2: return render(darkWood());
    case 3: return render(lightWood());
    case 4: return render(passePartout());
    case 5: return render(baroque());
    case 6: return render(modernBlack());
    case 7: return render(whiteGallery());
    default: return render(greyForTint());
    }
}

}  // namespace gt::assets
