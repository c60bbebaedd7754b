// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/full_screen_window.h"

#include <QCloseEvent>
#include <QPainter>
#include <cmath>

#include "ui/app_pictures.h"
#include "ui/widgets.h"

namespace gt {

Rect fullScreenPlacement(int pw, int ph, int dw, int dh) {
    Rect r{0, 0, dw, dh};
    if (pw <= 0 || ph <= 0 || dw <= 0 || dh <= 0) return r;
    const double ratio = double(pw) / ph;
    const double desktop = double(dw) / dh;
    if (std::fabs(desktop - ratio) < 0.2) return r;
    const long long tall = static_cast<long long>(std::floor(100 / ratio));  // height per 100 of width
    const long long wide = static_cast<long long>(std::floor(ratio * 100));  // width per 100 of height
    auto fitWidth = [&] {
        r.width = dw;
        r.height = int(tall * r.width / 100);
        r.top = (dh - r.height) / 2;
        r.left = 0;
    };
    auto fitHeight = [&] {
        r.height = dh;
        r.width = int(wide * r.height / 100);
        r.top = 0;
        r.left = (dw - r.width) / 2;
    };
    if (pw > ph) {
        fitWidth();
        if (r.height > dh) fitHeight();
    } else {
        fitHeight();
        if (r.width > dw) fitWidth();
    }
    return r;
}

FullScreenWindow::FullScreenWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    useTiledPalette(this);
    setObjectName(QStringLiteral("Form7"));
    setCursor(AppPictures::get().handCursor());
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FullScreenWindow::showPicture(const QImage& picture, const Rect& place, const QRect& desktop) {
    picture_ = picture;
    place_ = place;
    setGeometry(desktop);
    show();
    raise();
    activateWindow();
    setFocus();
}

void FullScreenWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(32, 35, 40));
    paintTiled(painter, rect(), AppPictures::get().background());
    if (!picture_.isNull()) painter.drawImage(place_.left, place_.top, picture_);
}

void FullScreenWindow::mousePressEvent(QMouseEvent*) { close(); }
void FullScreenWindow::keyPressEvent(QKeyEvent*) { close(); }

void FullScreenWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    // The picture goes with the window: a 4K screen's worth of pixels is not kept for nothing.
    picture_ = QImage();
    emit closed();
}

}  // namespace gt
