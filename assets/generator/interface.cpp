// SPDX-License-Identifier: GPL-3.0-or-later
// The interface pictures: the background tile, the progress bar's slice, the splash, the About
// banner and the picture buttons (donate, start drawing).

#include "generators.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace gt::assets {

namespace {

constexpr double kPi = 3.14159265358979;
const QColor kGraphite(52, 56, 64);

QImage transparent(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// A light drawing paper: warm white with a faint tooth, for the splash and the banner.
QImage paperBackground(int w, int h, std::uint64_t seed, double base = 247) {
    Plane tooth = fractalNoise(w, h, std::max(4, w / 6), 2, 0.5, seed);
    tooth.normalise(1.6);
    Plane mottle = fractalNoise(w, h, std::max(2, w / 120), 3, 0.5, seed + 1);
    mottle.normalise(1.2);
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double v = base + tooth.at(x, y) + mottle.at(x, y);
            img.setPixel(x, y, qRgb(toByte(v + 1), toByte(v), toByte(v - 5)));
        }
    return img;
}

// Text as a filled outline, so its look depends only on the font file.
QPainterPath textPath(const QString& text, Face face, double px) {
    QPainterPath path;
    path.addText(0, 0, fontOf(face, px), text);
    return path;
}

void drawCentredText(QPainter& p, const QString& text, Face face, double px, QPointF centre, QColor fill) {
    QPainterPath path = textPath(text, face, px);
    QRectF b = path.boundingRect();
    path.translate(centre.x() - b.center().x(), centre.y() - b.center().y());
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
}

// A pencil lying along the x axis, tip at the origin pointing left, in the painter's frame.
void smallPencil(QPainter& p, double len, double thick) {
    double half = thick / 2, tip = thick * 1.6;
    QPen pen(kGraphite, thick / 7);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    QPainterPath wood;
    wood.moveTo(0, 0);
    wood.lineTo(tip, -half);
    wood.lineTo(tip, half);
    wood.closeSubpath();
    p.setBrush(QColor(236, 200, 150));
    p.drawPath(wood);
    QLinearGradient g(0, -half, 0, half);
    g.setColorAt(0, QColor(255, 216, 96));
    g.setColorAt(0.5, QColor(245, 190, 60));
    g.setColorAt(1, QColor(214, 150, 34));
    p.setBrush(g);
    p.drawRect(QRectF(tip, -half, len - tip - thick, thick));
    p.setBrush(QColor(180, 186, 196));
    p.drawRect(QRectF(len - thick, -half, thick * 0.45, thick));
    p.setBrush(QColor(232, 122, 132));
    p.drawRoundedRect(QRectF(len - thick * 0.55, -half, thick * 0.55, thick), thick * 0.2, thick * 0.2);
    p.setPen(Qt::NoPen);
    p.setBrush(kGraphite);
    QPainterPath lead;
    lead.moveTo(0, 0);
    lead.lineTo(tip * 0.4, -half * 0.4);
    lead.lineTo(tip * 0.4, half * 0.4);
    lead.closeSubpath();
    p.drawPath(lead);
}

// A hand-drawn graphite line: several passes of a thin, slightly wavering stroke.
void graphiteLine(QPainter& p, QPointF a, QPointF b, double width, QColor c, std::uint64_t seed) {
    Rng rng(seed);
    for (int pass = 0; pass < 3; ++pass) {
        QPainterPath path;
        path.moveTo(a + QPointF(0, rng.bell() * 0.6));
        int steps = 12;
        for (int i = 1; i <= steps; ++i) {
            double t = double(i) / steps;
            QPointF q = a + (b - a) * t;
            path.lineTo(q + QPointF(0, rng.bell() * 0.5));
        }
        QColor k = c;
        k.setAlphaF(0.35f + 0.2f * float(pass));
        p.setPen(QPen(k, width * (0.7 + 0.3 * rng.uniform()), Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
}

// A rounded button with a vertical gradient, a light top edge and a darker border.
void button(QPainter& p, QRectF r, double radius, QColor top, QColor bottom, QColor border) {
    QLinearGradient g(0, r.top(), 0, r.bottom());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(border, 1.0));
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    QRectF gloss = r.adjusted(1.5, 1.5, -1.5, -r.height() / 2);
    QLinearGradient s(0, gloss.top(), 0, gloss.bottom());
    s.setColorAt(0, QColor(255, 255, 255, 110));
    s.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(s);
    p.drawRoundedRect(gloss, radius - 1.5, radius - 1.5);
}

}  // namespace

QImage makeBackground() {
    // A soft grey linen for the panes' backdrop: quiet enough to sit behind any picture.
    const int n = 512;
    Plane warp = fractalNoise(n, n, 64, 2, 0.5, 701);
    Plane weft = fractalNoise(n, n, 64, 2, 0.5, 702);
    Plane mottle = fractalNoise(n, n, 4, 3, 0.5, 703);
    warp.normalise(1.0);
    weft.normalise(1.0);
    mottle.normalise(1.0);
    QImage img(n, n, QImage::Format_RGB32);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            double threads = 0.6 * std::cos(2 * kPi * x / 4.0) * (0.5 + 0.3 * warp.at(x, y)) +
                             0.6 * std::cos(2 * kPi * y / 4.0) * (0.5 + 0.3 * weft.at(x, y));
            double v = 223.0 + 1.6 * threads + 1.3 * mottle.at(x, y) + 0.8 * warp.at((x * 7) % n, (y * 3) % n);
            img.setPixel(x, y, qRgb(toByte(v), toByte(v + 0.5), toByte(v + 2)));
        }
    return img;
}

QImage makeProgressSlice() {
    // Top to bottom: a light rim, a glossy upper half, a deeper lower half, a dark rim.
    QImage img(1, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y) {
        double t = y / 19.0;
        double r, g, b;
        if (t < 0.5) {
            double k = t / 0.5;
            r = lerp(168, 92, k);
            g = lerp(214, 160, k);
            b = lerp(255, 236, k);
        } else {
            double k = (t - 0.5) / 0.5;
            r = lerp(60, 44, k);
            g = lerp(132, 104, k);
            b = lerp(220, 186, k);
        }
        if (y == 0) r = 120, g = 170, b = 225;
        if (y == 19) r = 34, g = 80, b = 150;
        img.setPixel(0, y, qRgb(toByte(r), toByte(g), toByte(b)));
    }
    return img;
}

QImage makeSplash() {
    const int w = 376, h = 109;
    QImage img = paperBackground(w, h, 711);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // A little graphite sketch on the left: hills, a sun, hatching below.
    p.save();
    p.translate(16, 14);
    QPainterPath hills;
    hills.moveTo(0, 62);
    hills.cubicTo(14, 34, 28, 36, 40, 50);
    hills.cubicTo(50, 38, 66, 30, 84, 58);
    p.setPen(QPen(QColor(70, 72, 80, 210), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hills);
    p.setPen(QPen(QColor(70, 72, 80, 170), 1.2));
    p.drawEllipse(QPointF(56, 20), 9, 9);
    Rng rng(712);
    for (int i = 0; i < 26; ++i) {
        double x = 2 + i * 3.2;
        double top = 50 + 8 * std::sin(i * 0.5) + rng.range(0, 4);
        p.setPen(QPen(QColor(80, 82, 90, 90 + rng.below(80)), 0.9, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x, top), QPointF(x + 7, top + 14));
    }
    p.restore();
    // A watercolour wash bleeding in over the sketch's right half: the drawing becomes a painting.
    QRadialGradient wash(QPointF(88, 54), 40);
    wash.setColorAt(0, QColor(120, 170, 220, 70));
    wash.setColorAt(0.7, QColor(140, 200, 160, 40));
    wash.setColorAt(1, QColor(140, 200, 160, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(wash);
    p.drawEllipse(QPointF(88, 54), 40, 34);
    // The name, and a pencil finishing its underline.
    QPainterPath title = textPath("Graphitello", Face::SerifBold, 33);
    QRectF tb = title.boundingRect();
    title.translate(124 - tb.left(), 58 - tb.bottom());
    p.setBrush(kGraphite);
    p.drawPath(title);
    graphiteLine(p, QPointF(124, 70), QPointF(328, 68), 1.6, QColor(60, 62, 70), 713);
    p.save();
    p.translate(330, 68);
    p.rotate(-32);
    smallPencil(p, 40, 7);
    p.restore();
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    p.end();
    return img;
}

QImage makeBanner() {
    // A landscape that turns from pencil to ink to watercolour along the banner. The first 225
    // columns come back at 1000..1224, so the banner's jump back from -1000 to 0 is not seen.
    const int w = 1225, h = 75, period = 1000;
    Plane tooth = fractalNoise(w, h, 300, 1, 0.5, 721);
    tooth.normalise(1.0);
    Plane granule = fractalNoise(period, h, 150, 2, 0.5, 722);
    granule.normalise(1.0);
    auto ridge = [&](int layer, double x) {
        double a = 2 * kPi * x / period;
        switch (layer) {
        case 0: return 30 + 7 * std::sin(3 * a + 0.4) + 4 * std::sin(7 * a + 1.3) + 2 * std::sin(13 * a);
        case 1: return 45 + 6 * std::sin(2 * a + 2.0) + 4 * std::sin(9 * a + 0.3) + 1.5 * std::sin(17 * a + 1);
        default: return 60 + 4 * std::sin(5 * a + 1.1) + 2 * std::sin(11 * a + 2.2);
        }
    };
    // Style weights along the banner: pencil, ink, watercolour, back to pencil at the period's end.
    auto weights = [&](double x, double& pencil, double& ink, double& colour) {
        double t = x / period;
        ink = smoothstep(0.18, 0.32, t) * (1 - smoothstep(0.45, 0.58, t));
        colour = smoothstep(0.45, 0.58, t) * (1 - smoothstep(0.82, 0.97, t));
        pencil = 1.0 - ink - colour;
    };
    const double sky[3] = {222, 236, 250};
    const double layerColour[3][3] = {{150, 170, 200}, {120, 170, 110}, {80, 140, 80}};
    const double layerTone[3] = {0.25, 0.45, 0.7};
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < period; ++x) {
            double pencilW, inkW, colourW;
            weights(x, pencilW, inkW, colourW);
            int layer = -1;
            double edge = 1e9;
            for (int k = 2; k >= 0; --k)
                if (y >= ridge(k, x)) {
                    layer = k;
                    break;
                }
            for (int k = 0; k < 3; ++k) edge = std::min(edge, std::fabs(y - ridge(k, x)));
            double tone = layer < 0 ? 0.0 : layerTone[layer];
            // Pencil: diagonal hatching whose density follows the tone, soft grey outlines.
            double hatchPhase = std::fmod(x + y + 1000.0, 5.0) / 5.0;
            double pencilInk = (hatchPhase < tone * 0.8 ? 0.55 : 0.0) + clamp01(1.2 - edge) * 0.55;
            double pencil = 246 - 160 * clamp01(pencilInk * (0.8 + 0.2 * tooth.at(x, y)));
            // Ink: crisp black outlines, cross-hatching in the deepest layer.
            double cross = std::fmod(x - y + 1000.0, 4.0) / 4.0;
            double inkCover = clamp01(1.4 - edge * 1.2) + (hatchPhase < tone * 0.5 ? 1.0 : 0.0) +
                              (layer == 2 && cross < 0.3 ? 1.0 : 0.0);
            double inkV = 250 - 230 * clamp01(inkCover);
            // Watercolour: washes with granulation and a darker pooled edge.
            double rgb[3];
            for (int c = 0; c < 3; ++c) {
                double base = layer < 0 ? sky[c] - (h - y) * 0.1 : layerColour[layer][c];
                double pool = layer >= 0 ? clamp01(1.0 - (y - ridge(layer, x)) / 4.0) * 25 : 0.0;
                rgb[c] = base - pool + 5 * granule.at(x, y);
            }
            double r = pencilW * pencil + inkW * inkV + colourW * rgb[0];
            double g = pencilW * pencil + inkW * inkV + colourW * rgb[1];
            double b = pencilW * (pencil - 3) + inkW * inkV + colourW * rgb[2];
            img.setPixel(x, y, qRgb(toByte(r), toByte(g), toByte(b)));
        }
    // The name on a paper label at the start.
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient fade(0, 0, 225, 0);
        fade.setColorAt(0, QColor(250, 250, 246, 240));
        fade.setColorAt(0.75, QColor(250, 250, 246, 200));
        fade.setColorAt(1, QColor(250, 250, 246, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(fade);
        p.drawRect(QRectF(0, 0, 225, h));
        QPainterPath title = textPath("Graphitello", Face::SerifBold, 30);
        QRectF tb = title.boundingRect();
        title.translate(14 - tb.left(), 44 - tb.bottom());
        p.setBrush(kGraphite);
        p.drawPath(title);
        graphiteLine(p, QPointF(15, 53), QPointF(190, 52), 1.3, QColor(60, 62, 70), 723);
    }
    for (int y = 0; y < h; ++y)
        for (int x = period; x < w; ++x) img.setPixel(x, y, img.pixel(x - period, y));
    return img;
}

QImage makeDonateButton(const std::string& language) {
    const int w = 124, h = 26;
    QImage img = transparent(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    button(p, QRectF(0.5, 0.5, w - 1, h - 1), 12.5, QColor(255, 222, 120), QColor(246, 180, 40), QColor(190, 130, 20));
    // A small heart before the words.
    QPainterPath heart;
    heart.moveTo(17, 18.5);
    heart.cubicTo(9, 13, 10, 7, 14, 7.5);
    heart.cubicTo(15.6, 7.7, 16.6, 9, 17, 10);
    heart.cubicTo(17.4, 9, 18.4, 7.7, 20, 7.5);
    heart.cubicTo(24, 7, 25, 13, 17, 18.5);
    p.setPen(QPen(QColor(150, 30, 40), 0.8));
    p.setBrush(QColor(214, 52, 64));
    p.drawPath(heart);
    if (language == "zh")
        drawCentredText(p, QString::fromUtf8("捐款支持"), Face::Chinese, 15, QPointF(72, 13), QColor(28, 52, 100));
    else
        drawCentredText(p, language == "en" ? "Donate" : "Faire un don", Face::SansBold, 12, QPointF(72, 13.5),
                        QColor(28, 52, 100));
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

QImage makeSketchButton(const std::string& language) {
    const int w = 120, h = 40;
    QImage img = transparent(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    button(p, QRectF(1, 1, w - 2, h - 3), 8, QColor(96, 104, 118), QColor(46, 52, 62), QColor(30, 34, 42));
    p.save();
    p.translate(9, 27);
    p.rotate(-35);
    smallPencil(p, 24, 6);
    p.restore();
    if (language == "zh")
        drawCentredText(p, QString::fromUtf8("開始繪圖"), Face::Chinese, 17, QPointF(77, 19.5), QColor(255, 255, 255));
    else
        drawCentredText(p, language == "en" ? "Draw" : "Dessiner", Face::SansBold, 15, QPointF(77, 19.5),
                        QColor(255, 255, 255));
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace gt::assets
