// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/splash_window.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QThread>

#include "ui/app_pictures.h"
#include "version.h"

namespace gt {

SplashWindow::SplashWindow() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setFixedSize(382, 115);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QImage& picture = AppPictures::get().splash();
    if (!picture.isNull()) painter.drawImage(QRect(3, 3, 376, 109), picture);
    else {
        QFont title = font();
        title.setPixelSize(34);
        title.setBold(true);
        painter.setFont(title);
        painter.setPen(QColor(50, 50, 50));
        painter.drawText(QRect(9, 3, 376, 90), Qt::AlignCenter, QStringLiteral("Graphitello"));
    }
    painter.setPen(QColor(60, 60, 60));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    QFont small(QStringLiteral("Tahoma"));
    small.setPixelSize(11);
    painter.setFont(small);
    painter.setPen(Qt::red);
    painter.drawText(252, 98 + QFontMetrics(small).ascent(), QStringLiteral("版本" GT_VERSION "  中文版"));
}

void SplashWindow::fadeOut() {
    for (int n = kFadeSteps - 1; n >= 0; --n) {
        setWindowOpacity(n * 10 / 255.0);
        QApplication::processEvents();
        QThread::msleep(kFadeStepMs);
    }
}

}  // namespace gt
