// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt_bitmap.h"

#include <QPainter>
#include <cstring>

namespace gt {

QImage toQImage(const Bitmap& bitmap) {
    if (bitmap.empty()) return {};
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_BGR888);
    for (int y = 0; y < bitmap.height(); ++y) std::memcpy(image.scanLine(y), bitmap.row(y), bitmap.stride());
    return image;
}

Bitmap fromQImage(const QImage& image) {
    if (image.isNull()) return {};
    QImage opaque = image;
    if (image.hasAlphaChannel()) {
        opaque = QImage(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    const QImage bgr = opaque.convertToFormat(QImage::Format_BGR888);
    Bitmap bitmap(bgr.width(), bgr.height());
    for (int y = 0; y < bgr.height(); ++y) std::memcpy(bitmap.row(y), bgr.constScanLine(y), bitmap.stride());
    return bitmap;
}

}  // namespace gt
