// SPDX-License-Identifier: GPL-3.0-or-later
#include "finishing/text_qt/qt_glyph_renderer.h"

#include <QColor>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <algorithm>

#include "imaging/arithmetic.h"

namespace gt {

namespace {

// Families that look most like the program's default face, in order of likeness.
constexpr const char* kCloseToTahoma[] = {"Tahoma", "Verdana", "DejaVu Sans", "Bitstream Vera Sans",
                                          "Liberation Sans", "Noto Sans", "Arial"};

QString qtext(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace

bool QtGlyphRenderer::hasFamily(const std::string& family) {
    return QFontDatabase::hasFamily(qtext(family));
}

QString QtGlyphRenderer::resolveFamily(const std::string& family) {
    if (hasFamily(family)) return qtext(family);
    for (const char* candidate : kCloseToTahoma)
        if (QFontDatabase::hasFamily(QString::fromLatin1(candidate))) return QString::fromLatin1(candidate);
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QFont QtGlyphRenderer::qfont(const FontSpec& spec) {
    QFont font(resolveFamily(spec.family));
    font.setPixelSize(std::max(1, mulDiv(spec.size, 96, 72)));
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeOut);
    font.setStyleHint(QFont::SansSerif);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    return font;
}

TextExtent QtGlyphRenderer::measure(const FontSpec& spec, const std::string& text) {
    const QFontMetrics metrics(qfont(spec));
    return {metrics.horizontalAdvance(qtext(text)), metrics.height()};
}

void QtGlyphRenderer::drawText(Bitmap& target, int x, int y, const FontSpec& spec, Colour colour,
                               const std::string& text) {
    const int w = target.width(), h = target.height();
    if (w == 0 || h == 0) return;
    QImage image(w, h, QImage::Format_RGB32);
    for (int row = 0; row < h; ++row) {
        const std::uint8_t* s = target.row(row);
        auto* d = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int col = 0; col < w; ++col, s += 3) d[col] = qRgb(s[2], s[1], s[0]);
    }
    {
        QPainter painter(&image);
        const QFont font = qfont(spec);
        painter.setFont(font);
        painter.setPen(QColor(colour.r, colour.g, colour.b));
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.drawText(x, y + QFontMetrics(font).ascent(), qtext(text));
    }
    for (int row = 0; row < h; ++row) {
        const auto* s = reinterpret_cast<const QRgb*>(image.constScanLine(row));
        std::uint8_t* d = target.row(row);
        for (int col = 0; col < w; ++col, d += 3) {
            d[0] = std::uint8_t(qBlue(s[col]));
            d[1] = std::uint8_t(qGreen(s[col]));
            d[2] = std::uint8_t(qRed(s[col]));
        }
    }
}

std::unique_ptr<QGuiApplication> startHeadlessFontEngine() {
    if (QCoreApplication::instance()) return nullptr;
    static int argc = 3;
    static char arg0[] = "graphitello";
    static char arg1[] = "-platform";
    static char arg2[] = "offscreen";
    static char* argv[] = {arg0, arg1, arg2, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace gt
