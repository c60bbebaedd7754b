// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolButton>

#include "ui/app_pictures.h"

namespace gt {

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(event);
}

PictureButton::PictureButton(const QPixmap& picture, QWidget* parent) : QLabel(parent) {
    hopTimer_.setSingleShot(true);
    connect(&hopTimer_, &QTimer::timeout, this, [this] { hop(); });
    setPixmap(picture);
    resize(picture.deviceIndependentSize().toSize());
    setCursor(AppPictures::get().handCursor());
}

void PictureButton::place(int left, int top) {
    home_ = QPoint(left, top);
    move(home_);
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    down_ = true;
    move(home_ + QPoint(1, 1));
    emit pressed(event->button());
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasDown = down_;
    down_ = false;
    move(home_);
    emit released(event->button());
    if (wasDown && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

namespace {
// The button being animated, if any: the one the mouse came over last, until its hop ends or the
// mouse leaves it.
PictureButton* g_animated = nullptr;
}  // namespace

PictureButton::~PictureButton() {
    if (g_animated == this) g_animated = nullptr;
}

bool PictureButton::animated() const { return g_animated == this; }

void PictureButton::enterEvent(QEnterEvent*) {
    if (g_animated == this) return;
    g_animated = this;
    hopStep_ = 0;
    hop();
}

void PictureButton::leaveEvent(QEvent*) {
    if (g_animated == this) g_animated = nullptr;
}

// Up one pixel three times, then down three times, 30 ms apart; the press offset is kept.
void PictureButton::hop() {
    const int lift = hopStep_ < 3 ? hopStep_ + 1 : 5 - hopStep_;
    move(home_ + QPoint(0, -lift) + (down_ ? QPoint(1, 1) : QPoint()));
    if (++hopStep_ < 6) {
        hopTimer_.start(30);
        return;
    }
    hopStep_ = -1;
    if (g_animated == this) g_animated = nullptr;
}

UpDownControl::UpDownControl(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* down = new QToolButton(this);
    down->setArrowType(Qt::LeftArrow);
    auto* up = new QToolButton(this);
    up->setArrowType(Qt::RightArrow);
    for (QToolButton* b : {down, up}) {
        b->setFixedSize(17, 21);
        // Held down, an arrow steps on and on: an offset of 200 is not two hundred clicks.
        b->setAutoRepeat(true);
        b->setAutoRepeatDelay(300);
        b->setAutoRepeatInterval(40);
        layout->addWidget(b);
    }
    connect(down, &QToolButton::clicked, this, [this] { stepBy(-1); });
    connect(up, &QToolButton::clicked, this, [this] { stepBy(1); });
}

void UpDownControl::setPosition(int position) { position_ = qBound(minimum_, position, maximum_); }

void UpDownControl::stepBy(int delta) {
    const int next = qBound(minimum_, position_ + delta, maximum_);
    if (next == position_) return;
    position_ = next;
    emit clicked(position_);
}

void paintTiled(QPainter& painter, const QRect& area, const QImage& tile) {
    if (tile.isNull()) {
        painter.fillRect(area, QColor(221, 221, 221));
        return;
    }
    for (int a = 0; a <= area.width() / tile.width(); ++a)
        for (int b = 0; b <= area.height() / tile.height(); ++b)
            painter.drawImage(area.left() + a * tile.width(), area.top() + b * tile.height(), tile);
}

void TiledWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintTiled(painter, rect(), AppPictures::get().background());
}

PreviewImage::PreviewImage(int size, QWidget* parent) : QWidget(parent) {
    setFixedSize(size, size);
    setCursor(AppPictures::get().handCursor());
}

void PreviewImage::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void PreviewImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (picture_.isNull()) painter.fillRect(rect(), Qt::white);
    else painter.drawImage(0, 0, picture_);
}

void PreviewImage::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit pressed(p.x(), p.y());
}

void PreviewImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit moved(p.x(), p.y());
}

void PreviewImage::mouseReleaseEvent(QMouseEvent*) { emit released(); }

}  // namespace gt
