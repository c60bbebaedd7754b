#include "mainwindow/full_screen_window.h"

#include <QPainter>

#include "ui/app_pictures.h"
#include "ui/widgets.h"

namespace gt {

FullScreenWindow::FullScreenWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Form7"));
    setCursor(AppPictures::get().handCursor());
}

void FullScreenWindow::showPicture(const QImage& picture) {
    picture_ = picture;
    showFullScreen();
    raise();
    activateWindow();
}

void FullScreenWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(32, 35, 40));
    paintTiled(painter, rect(), AppPictures::get().background());
    if (picture_.isNull()) return;
    const QSize shown = picture_.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture_);
}

void FullScreenWindow::mousePressEvent(QMouseEvent*) { close(); }
void FullScreenWindow::keyPressEvent(QKeyEvent*) { close(); }

}  // namespace gt
