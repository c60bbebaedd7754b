// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app_pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QHash>

#include "ui/language.h"

namespace gt {

namespace {

QImage plainTile() {
    QImage tile(512, 512, QImage::Format_RGB32);
    tile.fill(QColor(221, 221, 221));
    return tile;
}

QImage plainSlice() {
    QImage slice(1, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y) slice.setPixel(0, y, qRgb(70 + y * 5, 120 + y * 4, 190 + y * 2));
    return slice;
}

// The glyph a button without its picture shows.
QString fallbackSymbol(const QString& name) {
    static const QHash<QString, QString> symbols{
        {"open", "O"}, {"save", "S"}, {"copy", "C"}, {"paste", "V"}, {"retouch", "R"}, {"revert", "Z"},
        {"parameters", "P"}, {"text", "T"}, {"print", "I"}, {"about", "?"}, {"help", "H"}, {"coffee", "$"},
        {"zoom_out", "-"}, {"fit", "1"}, {"zoom_in", "+"}};
    return symbols.value(name, name.left(1).toUpper());
}

}  // namespace

QImage AppPictures::resource(const QString& fileName) {
    return QImage(QStringLiteral(":/assets/data/") + fileName);
}

AppPictures::AppPictures() {
    background_ = resource(QStringLiteral("background.png"));
    if (background_.isNull()) background_ = plainTile();
    background_ = background_.convertToFormat(QImage::Format_RGB32);
    slice_ = resource(QStringLiteral("progress_slice.png"));
    if (slice_.isNull()) slice_ = plainSlice();
    splash_ = resource(QStringLiteral("splash.png"));
    const QImage hand = resource(QStringLiteral("hand_cursor.png"));
    hand_ = hand.isNull() ? QCursor(Qt::OpenHandCursor) : QCursor(QPixmap::fromImage(hand), 6, 1);
}

const AppPictures& AppPictures::get() {
    static const AppPictures pictures;
    return pictures;
}

QPixmap AppPictures::sketchButton(Language language) const {
    QImage picture = resource(QStringLiteral("sketch_button_%1.png").arg(languageCode(language)));
    if (!picture.isNull()) return QPixmap::fromImage(picture);
    QPixmap pixmap(120, 40);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(60, 60, 70));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(pixmap.rect().adjusted(1, 1, -1, -1), 8, 8);
    painter.setPen(Qt::white);
    const QString words = language == Language::Chinese   ? QStringLiteral("繪畫")
                          : language == Language::English ? QStringLiteral("Draw")
                                                          : QStringLiteral("Dessiner");
    painter.drawText(pixmap.rect(), Qt::AlignCenter, words);
    return pixmap;
}

QPixmap AppPictures::toolButton(const QString& name) const {
    const QImage one = resource(QStringLiteral("tool_") + name + QStringLiteral(".png"));
    const QImage two = resource(QStringLiteral("tool_") + name + QStringLiteral("@2x.png"));
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    if (ratio > 1.0 && !two.isNull()) {
        QPixmap pixmap = QPixmap::fromImage(two);
        pixmap.setDevicePixelRatio(2.0);
        return pixmap;
    }
    if (!one.isNull()) return QPixmap::fromImage(one);
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(236, 236, 236));
    painter.setPen(QColor(150, 150, 150));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(16);
    painter.setFont(font);
    painter.setPen(QColor(60, 60, 60));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, fallbackSymbol(name));
    return pixmap;
}

QImage AppPictures::appIcon(int size) const {
    return resource(QStringLiteral("icon_%1.png").arg(size));
}

}  // namespace gt
