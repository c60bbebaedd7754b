// SPDX-License-Identifier: GPL-3.0-or-later
#include "contact_sheet.h"

#include "generators.h"

#include <QColorSpace>
#include <QDir>
#include <QPainter>

#include <stdexcept>
#include <vector>

namespace gt::assets {

namespace {

constexpr int kSheetWidth = 1420;
constexpr int kMargin = 12;
constexpr int kLabelHeight = 16;

QImage load(const std::string& folder, const std::string& name) {
    QImage img(QString::fromStdString(joinPath(folder, name)));
    if (img.isNull()) throw std::runtime_error(joinPath(folder, name) + ": cannot read");
    return img;
}

// A paper texture as a drawing shows it: laid on a light grey at the normal strength (c + 128 - t).
QImage asLaidOn(const QImage& texture, int base) {
    QImage src = texture.convertToFormat(QImage::Format_RGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* d = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x)
            d[x] = qRgb(toByte(base + 128 - qRed(s[x])), toByte(base + 128 - qGreen(s[x])),
                        toByte(base + 128 - qBlue(s[x])));
    }
    return out;
}

class Sheet {
public:
    Sheet() : page_(kSheetWidth, 6000, QImage::Format_RGB32) { page_.fill(QColor(250, 250, 248)); }

    void section(const QString& title) {
        newRow();
        QPainter p(&page_);
        p.setFont(fontOf(Face::SansBold, 15));
        p.setPen(QColor(40, 40, 40));
        p.drawText(kMargin, y_ + 18, title);
        y_ += 28;
    }

    // Places a picture, scaled by `scale`, with its name under it; `backdrop` shows through alpha.
    void put(const QImage& img, const QString& label, double scale = 1.0, QColor backdrop = QColor(255, 255, 255)) {
        int w = int(img.width() * scale + 0.5), h = int(img.height() * scale + 0.5);
        if (x_ + w + kMargin > kSheetWidth && x_ > kMargin) newRow();
        QPainter p(&page_);
        p.fillRect(x_, y_, w, h, backdrop);
        p.setRenderHint(QPainter::SmoothPixmapTransform, scale < 1.0);
        p.drawImage(QRect(x_, y_, w, h), img);
        p.setFont(fontOf(Face::Sans, 11));
        p.setPen(QColor(90, 90, 90));
        p.drawText(x_, y_ + h + 12, label);
        x_ += std::max(w, 72) + kMargin;
        rowHeight_ = std::max(rowHeight_, h + kLabelHeight);
    }

    void newRow() {
        if (x_ > kMargin) y_ += rowHeight_ + kMargin;
        x_ = kMargin;
        rowHeight_ = 0;
    }

    QImage finish() {
        newRow();
        return page_.copy(0, 0, kSheetWidth, y_);
    }

private:
    QImage page_;
    int x_ = kMargin, y_ = kMargin, rowHeight_ = 0;
};

}  // namespace

void writeContactSheet(const std::string& folder, const std::string& sheetPath) {
    Sheet s;
    s.section("Pencil tone strip and ink tiles");
    s.put(load(folder, "pencil_tone_strip.png"), "pencil_tone_strip");
    for (int i = 0; i < 9; ++i)
        s.put(load(folder, "ink_tile_" + std::to_string(i) + ".png"), QString("ink_tile_%1").arg(i), 0.8);

    s.section("Paper textures, laid on light grey at normal strength");
    for (int i = 1; i <= 10; ++i) {
        QString n = QString("paper_%1").arg(i, 2, 10, QChar('0'));
        s.put(asLaidOn(load(folder, n.toStdString() + ".png"), 200), n, 0.98);
    }

    s.section("Frames");
    for (int i = 1; i <= 8; ++i)
        s.put(load(folder, "frame_" + std::to_string(i) + ".jpg"), QString("frame_%1").arg(i), 0.41);

    s.section("Interface");
    s.put(load(folder, "splash.png"), "splash");
    s.put(load(folder, "background.png"), "background (half size)", 0.5);
    s.put(load(folder, "progress_slice.png").scaled(160, 20), "progress_slice (stretched)");
    s.put(load(folder, "donate_fr.png"), "donate_fr");
    s.put(load(folder, "donate_zh.png"), "donate_zh");
    s.put(load(folder, "sketch_button_fr.png"), "sketch_button_fr", 1.0, QColor(236, 236, 236));
    s.put(load(folder, "sketch_button_zh.png"), "sketch_button_zh", 1.0, QColor(236, 236, 236));
    s.put(load(folder, "hand_cursor.png"), "hand_cursor", 2.0, QColor(200, 210, 220));
    s.newRow();
    s.put(load(folder, "banner.png"), "banner");
    s.newRow();
    for (const std::string& t : toolButtonNames())
        s.put(load(folder, "tool_" + t + ".png"), QString::fromStdString(t));
    s.newRow();
    for (const std::string& t : toolButtonNames())
        s.put(load(folder, "tool_" + t + "@2x.png"), QString::fromStdString(t + "@2x"), 1.0, QColor(236, 236, 236));
    s.newRow();
    for (int size : {16, 32, 48, 64, 128, 256})
        s.put(load(folder, "icon_" + std::to_string(size) + ".png"), QString("icon_%1").arg(size), 1.0,
              QColor(225, 232, 240));
    if (QDir(QString::fromStdString(folder)).exists("sample_photo.jpg")) {
        s.put(load(folder, "sample_photo.jpg"), "sample_photo", 0.6);
    }
    savePng(s.finish(), sheetPath);
}

void writeSamplePhoto(const std::string& pngPath, const std::string& folder) {
    QImage photo(QString::fromStdString(pngPath));
    if (photo.isNull()) throw std::runtime_error(pngPath + ": cannot read the sample photograph");
    photo.setColorSpace(QColorSpace());  // the file's sRGB profile is known to be faulty; the pixels are sRGB
    saveJpeg(photo, joinPath(folder, "sample_photo.jpg"), 92);
    saveJpeg(photo, joinPath(folder, "sample_drawing.jpg"), 92);
}

}  // namespace gt::assets
