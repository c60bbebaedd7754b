// SPDX-License-Identifier: GPL-3.0-or-later
// The toolbar buttons, the application icon and the hand cursor: vector drawings in a 32-unit square,
// rendered at 32 and 64 pixels, in one style: a dark slate outline, flat colour fills, a soft shadow.

#include "generators.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <map>

namespace gt::assets {

namespace {

const QColor kInk(47, 54, 64);
const QColor kPaper(255, 255, 255);
const QColor kPaperShade(226, 231, 238);
const QColor kBlue(61, 123, 217);
const QColor kBlueDark(36, 86, 166);
const QColor kYellow(245, 197, 66);
const QColor kYellowDark(224, 160, 38);
const QColor kGreen(58, 167, 109);
const QColor kRed(217, 83, 79);
const QColor kSteel(176, 184, 196);

QImage transparent(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// A soft shadow under the drawing: its alpha, blurred, dropped by `drop` pixels.
QImage withShadow(const QImage& art, double drop, int radius, double opacity) {
    int w = art.width(), h = art.height();
    Plane a(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) a.at(x, y) = qAlpha(art.pixel(x, y)) / 255.0;
    Plane blurred(w, h);
    int dy = int(std::lround(drop));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double s = 0;
            int n = 0;
            for (int j = -radius; j <= radius; ++j)
                for (int i = -radius; i <= radius; ++i) {
                    int sx = x + i, sy = y + j - dy;
                    if (sx >= 0 && sy >= 0 && sx < w && sy < h) s += a.at(sx, sy);
                    ++n;
                }
            blurred.at(x, y) = s / n;
        }
    QImage out = transparent(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int al = toByte(255.0 * opacity * blurred.at(x, y));
            out.setPixel(x, y, qRgba(0, 0, 0, al));  // premultiplied black is just alpha
        }
    QPainter p(&out);
    p.drawImage(0, 0, art);
    return out;
}

QPen outline(double width = 1.5) {
    QPen pen(kInk, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void sheet(QPainter& p, QRectF r, double fold, QColor fill = kPaper) {
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(outline());
    p.setBrush(fill);
    p.drawPath(path);
    QPainterPath ear;
    ear.moveTo(r.right() - fold, r.top());
    ear.lineTo(r.right() - fold, r.top() + fold);
    ear.lineTo(r.right(), r.top() + fold);
    p.setBrush(kPaperShade);
    p.drawPath(ear);
}

void textLines(QPainter& p, double x0, double x1, double y0, int count, double gap, QColor c = QColor(150, 170, 200)) {
    p.setPen(QPen(c, 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < count; ++i) {
        double end = (i == count - 1) ? x0 + (x1 - x0) * 0.6 : x1;
        p.drawLine(QPointF(x0, y0 + i * gap), QPointF(end, y0 + i * gap));
    }
}

void magnifier(QPainter& p) {
    QPen handle(kInk, 4.2, Qt::SolidLine, Qt::RoundCap);
    p.setPen(handle);
    p.drawLine(QPointF(19.5, 19.5), QPointF(27.5, 27.5));
    p.setPen(QPen(QColor(120, 88, 60), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(21.5, 21.5), QPointF(27, 27));
    p.setPen(outline(1.8));
    QRadialGradient glass(QPointF(11, 10), 10);
    glass.setColorAt(0, QColor(235, 245, 255));
    glass.setColorAt(1, QColor(180, 210, 240));
    p.setBrush(glass);
    p.drawEllipse(QPointF(13, 13), 9.5, 9.5);
}

void glyph(QPainter& p, const QString& text, Face face, double px, QPointF centre, QColor fill) {
    QPainterPath path;
    QFont f = fontOf(face, px);
    path.addText(0, 0, f, text);
    QRectF b = path.boundingRect();
    path.translate(centre.x() - b.center().x(), centre.y() - b.center().y());
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
}

void drawOpen(QPainter& p) {
    QPainterPath back;
    back.moveTo(3, 7);
    back.lineTo(12, 7);
    back.lineTo(14.5, 9.5);
    back.lineTo(27, 9.5);
    back.lineTo(27, 26);
    back.lineTo(3, 26);
    back.closeSubpath();
    p.setPen(outline());
    p.setBrush(kYellowDark);
    p.drawPath(back);
    sheet(p, QRectF(7, 4.5, 15, 14), 4);
    QPainterPath front;
    front.moveTo(3, 26);
    front.lineTo(7, 14);
    front.lineTo(30, 14);
    front.lineTo(27, 26);
    front.closeSubpath();
    QLinearGradient g(0, 14, 0, 26);
    g.setColorAt(0, QColor(255, 218, 110));
    g.setColorAt(1, kYellow);
    p.setBrush(g);
    p.drawPath(front);
}

void drawSave(QPainter& p) {
    QPainterPath body;
    body.moveTo(4, 5);
    body.lineTo(24, 5);
    body.lineTo(28, 9);
    body.lineTo(28, 27);
    body.lineTo(4, 27);
    body.closeSubpath();
    p.setPen(outline());
    QLinearGradient g(0, 5, 0, 27);
    g.setColorAt(0, QColor(88, 146, 230));
    g.setColorAt(1, kBlueDark);
    p.setBrush(g);
    p.drawPath(body);
    p.setBrush(kSteel);
    p.drawRect(QRectF(9, 5, 13, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(17, 6.5, 3, 5));
    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(8, 16, 16, 11), 1, 1);
    textLines(p, 10.5, 21.5, 19.5, 2, 3.5);
}

void drawCopy(QPainter& p) {
    sheet(p, QRectF(4, 3.5, 15, 19), 4, QColor(240, 243, 247));
    textLines(p, 6.5, 14.5, 10, 3, 3.5);
    sheet(p, QRectF(12, 9.5, 15, 19), 4);
    textLines(p, 14.5, 24, 16.5, 3, 3.5, kBlue);
}

void drawPaste(QPainter& p) {
    p.setPen(outline());
    QLinearGradient g(0, 4, 0, 29);
    g.setColorAt(0, QColor(214, 160, 98));
    g.setColorAt(1, QColor(176, 120, 66));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(4, 5, 19, 24), 2, 2);
    p.setBrush(kSteel);
    p.drawRoundedRect(QRectF(8.5, 2.5, 10, 5.5), 1.5, 1.5);
    sheet(p, QRectF(13, 11, 15, 18), 4);
    textLines(p, 15.5, 25, 18, 3, 3.5, kBlue);
}

void drawRetouch(QPainter& p) {
    // A magic wand over a photo corner, sparkling.
    p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 27), QPointF(20, 13));
    p.setPen(QPen(QColor(70, 78, 92), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6.5, 26.5), QPointF(17, 16));
    p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 14), QPointF(22, 11));
    p.setPen(QPen(kPaper, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19.3, 13.7), QPointF(21.7, 11.3));
    auto star = [&](QPointF c, double r, QColor col) {
        QPainterPath s;
        for (int i = 0; i < 8; ++i) {
            double a = i * 3.14159265358979 / 4;
            double rr = (i % 2 == 0) ? r : r * 0.38;
            QPointF pt(c.x() + rr * std::sin(a), c.y() - rr * std::cos(a));
            if (i == 0) s.moveTo(pt); else s.lineTo(pt);
        }
        s.closeSubpath();
        p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(col);
        p.drawPath(s);
    };
    star(QPointF(25, 6), 5.5, kYellow);
    star(QPointF(14, 5.5), 3.2, QColor(120, 200, 255));
    star(QPointF(27, 17), 3.2, QColor(255, 140, 160));
}

void drawRevert(QPainter& p) {
    // An arrow turning back, counter-clockwise.
    QPainterPath arc;
    QRectF box(5, 6, 21, 21);
    arc.arcMoveTo(box, 160);
    arc.arcTo(box, 160, -250);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(arc);
    p.setPen(QPen(QColor(240, 140, 40), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(arc);
    QPainterPath head;
    QPointF tip = arc.pointAtPercent(0.0);
    head.moveTo(tip.x() - 5.5, tip.y() - 5);
    head.lineTo(tip.x() + 5.5, tip.y() - 3.5);
    head.lineTo(tip.x() + 0.5, tip.y() + 6);
    head.closeSubpath();
    p.setPen(outline(1.3));
    p.setBrush(QColor(240, 140, 40));
    p.drawPath(head);
}

void drawParameters(QPainter& p) {
    const double ys[3] = {8, 16, 24};
    const double knobs[3] = {11, 21, 15};
    const QColor colours[3] = {kRed, kGreen, kBlue};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(kInk, 3.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, ys[i]), QPointF(28, ys[i]));
        p.setPen(QPen(QColor(200, 206, 214), 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, ys[i]), QPointF(28, ys[i]));
        p.setPen(outline(1.4));
        p.setBrush(colours[i]);
        p.drawRoundedRect(QRectF(knobs[i] - 2.8, ys[i] - 4, 5.6, 8), 1.6, 1.6);
    }
}

void drawText(QPainter& p) {
    p.setPen(outline(1.3));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(3, 4, 26, 24), 2.5, 2.5);
    glyph(p, "A", Face::SerifBold, 19, QPointF(14, 16.5), kInk);
    p.setPen(QPen(kBlue, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(24, 8.5), QPointF(24, 24));
    p.drawLine(QPointF(22, 8.5), QPointF(26, 8.5));
    p.drawLine(QPointF(22, 24), QPointF(26, 24));
}

void drawPrint(QPainter& p) {
    p.setPen(outline());
    sheet(p, QRectF(9, 3, 14, 11), 3);
    QLinearGradient g(0, 11, 0, 24);
    g.setColorAt(0, QColor(214, 220, 228));
    g.setColorAt(1, QColor(158, 167, 180));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(3, 11, 26, 12), 2.5, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(25, 15), 1.4, 1.4);
    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawRect(QRectF(8, 19, 16, 10));
    textLines(p, 10.5, 21.5, 22.5, 2, 3.2, QColor(110, 130, 160));
}

void drawAbout(QPainter& p) {
    p.setPen(outline());
    QRadialGradient g(QPointF(12, 10), 16);
    g.setColorAt(0, QColor(104, 164, 240));
    g.setColorAt(1, kBlueDark);
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 12.5, 12.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(16, 9.8), 2.2, 2.2);
    p.drawRoundedRect(QRectF(14, 13.5, 4, 10.5), 1.2, 1.2);
}

void drawHelp(QPainter& p) {
    p.setPen(outline());
    QRadialGradient g(QPointF(12, 10), 16);
    g.setColorAt(0, QColor(96, 200, 140));
    g.setColorAt(1, QColor(32, 130, 80));
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 12.5, 12.5);
    glyph(p, "?", Face::SansBold, 19, QPointF(16.2, 16.2), kPaper);
}

void drawCoffee(QPainter& p) {
    // Steam, the cup, the coffee, the saucer.
    p.setPen(QPen(QColor(150, 160, 175), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        double x = 10 + i * 4.5;
        QPainterPath s;
        s.moveTo(x, 11);
        s.cubicTo(x - 2, 8.5, x + 2, 6.5, x, 3.5);
        p.drawPath(s);
    }
    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawEllipse(QRectF(3, 23, 24, 6));
    QPainterPath handle;
    handle.addEllipse(QRectF(20, 15, 8, 7));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 3.6));
    p.drawEllipse(QRectF(20.5, 15, 7, 6.5));
    p.setPen(QPen(kPaper, 1.4));
    p.drawEllipse(QRectF(20.5, 15, 7, 6.5));
    QPainterPath cup;
    cup.moveTo(5, 13);
    cup.lineTo(24, 13);
    cup.cubicTo(24, 20, 21, 25.5, 14.5, 25.5);
    cup.cubicTo(8, 25.5, 5, 20, 5, 13);
    p.setPen(outline());
    QLinearGradient g(5, 0, 24, 0);
    g.setColorAt(0, QColor(255, 255, 255));
    g.setColorAt(1, QColor(214, 222, 232));
    p.setBrush(g);
    p.drawPath(cup);
    p.setBrush(QColor(122, 72, 40));
    p.drawEllipse(QRectF(5, 11.2, 19, 3.6));
}

void drawZoom(QPainter& p, bool in) {
    magnifier(p);
    p.setPen(QPen(kInk, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8.5, 13), QPointF(17.5, 13));
    if (in) p.drawLine(QPointF(13, 8.5), QPointF(13, 17.5));
}

void drawFit(QPainter& p) {
    p.setPen(outline(1.3));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(6, 8, 20, 16), 1.5, 1.5);
    glyph(p, "1:1", Face::SansBold, 9.5, QPointF(16, 16), kInk);
    p.setPen(QPen(kBlue, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const double c[4][2] = {{2.5, 3.5}, {29.5, 3.5}, {2.5, 28.5}, {29.5, 28.5}};
    for (auto& k : c) {
        double sx = k[0] < 16 ? 1 : -1, sy = k[1] < 16 ? 1 : -1;
        QPolygonF corner;
        corner << QPointF(k[0], k[1] + sy * 5) << QPointF(k[0], k[1]) << QPointF(k[0] + sx * 5, k[1]);
        p.drawPolyline(corner);
    }
}

using Drawer = void (*)(QPainter&);

const std::map<std::string, Drawer>& drawers() {
    static const std::map<std::string, Drawer> m{
        {"open", drawOpen},
        {"save", drawSave},
        {"copy", drawCopy},
        {"paste", drawPaste},
        {"retouch", drawRetouch},
        {"revert", drawRevert},
        {"parameters", drawParameters},
        {"text", drawText},
        {"print", drawPrint},
        {"about", drawAbout},
        {"help", drawHelp},
        {"coffee", drawCoffee},
        {"zoom_out", [](QPainter& p) { drawZoom(p, false); }},
        {"fit", drawFit},
        {"zoom_in", [](QPainter& p) { drawZoom(p, true); }},
    };
    return m;
}

// The pencil of the application icon, lying from upper right to lower left, its tip at (0, 0) in
// a 32-unit frame before the painter's transform.
void pencil(QPainter& p, double len, double thick, bool detail) {
    double half = thick / 2;
    double tipLen = thick * 1.5;
    QPainterPath wood;
    wood.moveTo(0, 0);
    wood.lineTo(tipLen, -half);
    wood.lineTo(tipLen, half);
    wood.closeSubpath();
    QPainterPath body;
    body.addRect(QRectF(tipLen, -half, len - tipLen - thick, thick));
    p.setPen(outline(detail ? 1.2 : 1.0));
    p.setBrush(QColor(236, 200, 150));
    p.drawPath(wood);
    QLinearGradient g(0, -half, 0, half);
    g.setColorAt(0, QColor(255, 214, 90));
    g.setColorAt(0.5, kYellow);
    g.setColorAt(1, kYellowDark);
    p.setBrush(g);
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 66));
    QPainterPath lead;
    lead.moveTo(0, 0);
    lead.lineTo(tipLen * 0.38, -half * 0.38);
    lead.lineTo(tipLen * 0.38, half * 0.38);
    lead.closeSubpath();
    p.drawPath(lead);
    // The metal ferrule and the eraser.
    double fx = len - thick;
    p.setPen(outline(detail ? 1.2 : 1.0));
    p.setBrush(kSteel);
    p.drawRect(QRectF(fx, -half, thick * 0.45, thick));
    p.setBrush(QColor(232, 120, 130));
    p.drawRoundedRect(QRectF(fx + thick * 0.45, -half, thick * 0.55, thick), thick * 0.2, thick * 0.2);
    if (detail) {
        p.setPen(QPen(QColor(200, 150, 40), 0.8));
        p.drawLine(QPointF(tipLen, -half / 3), QPointF(fx, -half / 3));
        p.drawLine(QPointF(tipLen, half / 3), QPointF(fx, half / 3));
    }
}

}  // namespace

const std::vector<std::string>& toolButtonNames() {
    static const std::vector<std::string> names{"open", "save", "copy", "paste", "retouch", "revert", "parameters", "text",
                                                "print", "about", "help", "coffee", "zoom_out", "fit", "zoom_in"};
    return names;
}

QImage makeToolButton(const std::string& name, int size) {
    QImage art = transparent(size, size);
    {
        QPainter p(&art);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        drawers().at(name)(p);
    }
    return withShadow(art, size / 32.0, size / 32, 0.3).convertToFormat(QImage::Format_ARGB32);
}

QImage makeAppIcon(int size) {
    bool detail = size >= 32;
    QImage art = transparent(size, size);
    {
        QPainter p(&art);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        // A sheet of drawing paper, turned a little, with a sketch on it.
        p.save();
        p.translate(14, 17);
        p.rotate(-7);
        p.setPen(outline(detail ? 1.2 : 1.4));
        p.setBrush(QColor(252, 250, 244));
        p.drawRect(QRectF(-11.5, -13, 23, 26));
        if (detail) {
            p.setPen(QPen(QColor(90, 90, 96), 0.9, Qt::SolidLine, Qt::RoundCap));
            QPainterPath hills;
            hills.moveTo(-9, 6);
            hills.cubicTo(-5, -3, -2, -2, 1, 2);
            hills.cubicTo(3, -1, 6, -4, 9, 4);
            p.setBrush(Qt::NoBrush);
            p.drawPath(hills);
            p.drawEllipse(QPointF(4.5, -6.5), 2.6, 2.6);
            p.setPen(QPen(QColor(120, 120, 126), 0.6, Qt::SolidLine, Qt::RoundCap));
            for (int i = 0; i < 6; ++i) p.drawLine(QPointF(-8 + i * 1.6, 9), QPointF(-6 + i * 1.6, 6.5));
        } else {
            p.setPen(QPen(QColor(90, 90, 96), 1.2));
            p.drawLine(QPointF(-7, 4), QPointF(6, -2));
        }
        p.restore();
        // The pencil, its tip resting on the sketch.
        p.save();
        p.translate(15.5, 19.5);
        p.rotate(-45);
        pencil(p, 18.0, detail ? 6.2 : 7.0, detail);
        p.restore();
    }
    return withShadow(art, std::max(1.0, size / 32.0), std::max(1, size / 32), 0.3).convertToFormat(QImage::Format_ARGB32);
}

QImage makeHandCursor() {
    // An open hand, white with a black outline, palm toward the viewer; the hot spot is the middle
    // of the palm, (16, 18).
    QImage art = transparent(32, 32);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(8.8, 13.5, 14.4, 13.5), 5.5, 5.5);
    // Four fingers side by side; thin creases between their tips show where they part.
    const double fingers[4][3] = {{8.9, 6.8, 3.8}, {12.5, 3.9, 3.8}, {16.1, 4.7, 3.8}, {19.7, 7.7, 3.5}};
    for (auto& f : fingers) hand.addRoundedRect(QRectF(f[0], f[1], f[2], 18.0 - f[1]), f[2] / 2, f[2] / 2);
    QPainterPath thumb;
    thumb.addRoundedRect(QRectF(-1.9, -8.5, 3.8, 10.5), 1.9, 1.9);
    QTransform t;
    t.translate(9.8, 20.5);
    t.rotate(-42);
    hand.addPath(t.map(thumb));
    hand.setFillRule(Qt::WindingFill);
    hand = hand.simplified();
    p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.setPen(QPen(Qt::black, 0.85, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.6, 8.6), QPointF(12.6, 14.2));
    p.drawLine(QPointF(16.2, 6.6), QPointF(16.2, 14.2));
    p.drawLine(QPointF(19.8, 9.4), QPointF(19.8, 14.2));
    p.end();
    return art.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace gt::assets
