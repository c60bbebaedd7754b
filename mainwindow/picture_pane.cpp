#include "mainwindow/picture_pane.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <QWheelEvent>

#include "ui/app_pictures.h"
#include "ui/widgets.h"

namespace gt {

PicturePane::PicturePane(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
}

void PicturePane::setPicture(const QImage& picture) {
    picture_ = picture;
    scaled_ = QImage();
    update();
    emit pictureChanged();
}

void PicturePane::setOverlay(const QImage& overlay, QPoint at) {
    overlay_ = overlay;
    overlayAt_ = at;
    update();
}

void PicturePane::paintOverlay(QPainter& painter) {
    if (overlay_.isNull() || picture_.isNull() || displaySize_.isEmpty()) return;
    // Picture pixels to pane pixels, at the displayed size.
    const double sx = double(displaySize_.width()) / picture_.width();
    const double sy = double(displaySize_.height()) / picture_.height();
    const QRectF target(position_.x() + overlayAt_.x() * sx, position_.y() + overlayAt_.y() * sy, overlay_.width() * sx,
                        overlay_.height() * sy);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, displaySize_ != picture_.size());
    painter.drawImage(target, overlay_);
    painter.restore();
}

void PicturePane::setDisplaySize(QSize size) {
    if (size == displaySize_) return;
    displaySize_ = size;
    scaled_ = QImage();
    update();
}

void PicturePane::setPosition(QPoint position) {
    if (position == position_) return;
    position_ = position;
    update();
}

void PicturePane::setGuideLine(int x) {
    guideX_ = x;
    update();
}

void PicturePane::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintTiled(painter, rect(), AppPictures::get().background());
    if (!picture_.isNull() && !displaySize_.isEmpty()) {
        const QRect target(position_, displaySize_);
        if (displaySize_ == picture_.size()) {
            painter.drawImage(position_, picture_);
        } else if (displaySize_.width() < picture_.width()) {
            // Smaller than natural: scaled once per zoom and kept.
            if (scaled_.size() != displaySize_)
                scaled_ = picture_.scaled(displaySize_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            painter.drawImage(position_, scaled_);
        } else {
            // Larger: only the part of the picture that shows is enlarged.
            const QRect visible = target.intersected(rect());
            if (!visible.isEmpty()) {
                const double sx = double(picture_.width()) / displaySize_.width();
                const double sy = double(picture_.height()) / displaySize_.height();
                const QRectF source((visible.left() - position_.x()) * sx, (visible.top() - position_.y()) * sy,
                                    visible.width() * sx, visible.height() * sy);
                painter.drawImage(QRectF(visible), picture_, source);
            }
        }
    }
    paintOverlay(painter);
    if (guideX_ >= 0) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawLine(guideX_, 0, guideX_, height());
    }
}

void PicturePane::mousePressEvent(QMouseEvent* event) {
    if (!pictureRect().contains(event->position().toPoint())) return;
    emit pressed(event->button(), event->globalPosition().toPoint());
}

void PicturePane::mouseMoveEvent(QMouseEvent* event) { emit moved(event->globalPosition().toPoint()); }

void PicturePane::mouseReleaseEvent(QMouseEvent* event) { emit released(event->button()); }

void PicturePane::mouseDoubleClickEvent(QMouseEvent* event) {
    if (pictureRect().contains(event->position().toPoint())) emit doubleClicked();
}

void PicturePane::wheelEvent(QWheelEvent* event) {
    emit wheelTurned(event->angleDelta().y());
    event->accept();
}

void PicturePane::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void PicturePane::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    if (!files.isEmpty()) {
        event->acceptProposedAction();
        emit filesDropped(files);
    }
}

PaneDivider::PaneDivider(QWidget* parent) : QWidget(parent) { setCursor(Qt::SplitHCursor); }

void PaneDivider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(236, 236, 236));
    painter.setPen(QColor(170, 170, 170));
    const int cx = width() / 2;
    for (int y = height() / 2 - 12; y <= height() / 2 + 12; y += 4) painter.drawPoint(cx, y);
}

void PaneDivider::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) emit dragged(event->position().toPoint().x());
}

void PaneDivider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit dropped(event->position().toPoint().x());
}

void PaneDivider::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
}

}  // namespace gt
