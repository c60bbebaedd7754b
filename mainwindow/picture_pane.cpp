// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/picture_pane.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QUrl>
#include <QWheelEvent>
#include <cstring>

#include "imaging/adjust.h"
#include "imaging/filters.h"
#include "ui/app_pictures.h"
#include "ui/qt_bitmap.h"
#include "ui/widgets.h"

namespace gt {

int shadowDepth(int displayedHeight) { return displayedHeight <= 200 ? displayedHeight / 35 : 7; }

PicturePane::PicturePane(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void PicturePane::setPicture(const Bitmap* picture, std::shared_ptr<const ViewPyramid> pyramid) {
    picture_ = picture && !picture->empty() ? picture : nullptr;
    pyramid_ = std::move(pyramid);
    viewStale_ = true;
    setZoom(zoom_);
    update();
    if (picture_) emit pictureChanged();
}

void PicturePane::setOverlay(const QImage& overlay, QPoint at) {
    overlay_ = overlay;
    overlayAt_ = at;
    update();
}

void PicturePane::paintOverlay(QPainter& painter) {
    if (overlay_.isNull() || !picture_ || displaySize_.isEmpty()) return;
    // Picture pixels to pane pixels, at the displayed size.
    const double sx = double(displaySize_.width()) / picture_->width();
    const double sy = double(displaySize_.height()) / picture_->height();
    const QRectF target(position_.x() + overlayAt_.x() * sx, position_.y() + overlayAt_.y() * sy, overlay_.width() * sx,
                        overlay_.height() * sy);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, displaySize_ != QSize(picture_->width(), picture_->height()));
    painter.drawImage(target, overlay_);
    painter.restore();
}

void PicturePane::setZoom(int zoom) {
    zoom_ = zoom;
    const QSize size = picture_ ? QSize(zoom * picture_->width() / 100, zoom * picture_->height() / 100) : QSize();
    if (size == displaySize_) return;
    displaySize_ = size;
    update();
}

void PicturePane::setPosition(QPoint position) {
    if (position == position_) return;
    position_ = position;
    update();
}

QPoint PicturePane::toPicture(QPoint p) const {
    if (zoom_ <= 0) return {};
    return QPoint((p.x() - position_.x()) * 100 / zoom_, (p.y() - position_.y()) * 100 / zoom_);
}

void PicturePane::setShadowShown(bool shown) {
    if (shown == shadowShown_) return;
    shadowShown_ = shown;
    update();
}

void PicturePane::setGuideLine(int x) {
    guideX_ = x;
    update();
}

std::size_t PicturePane::cacheBytes() const {
    return std::size_t(background_.sizeInBytes()) + std::size_t(view_.sizeInBytes()) + std::size_t(spare_.sizeInBytes());
}

void PicturePane::resizeEvent(QResizeEvent*) { background_ = QImage(); }

// Only the displayed pixels `shown` (in the displayed picture's coordinates) are drawn; after a pan
// the pixels the old view already holds are copied, and only the uncovered strips are scaled. Both
// buffers are the pane's size and kept: fresh memory for every zoom step would cost more than the
// scaling itself.
void PicturePane::updateView(const QRect& shown) {
    if (view_.size() != size()) {
        view_ = QImage(size(), QImage::Format_RGB32);
        spare_ = QImage(size(), QImage::Format_RGB32);
        viewStale_ = true;
    }
    const bool whole = viewStale_ || viewSize_ != displaySize_;
    if (!whole && shown == viewRect_) return;
    QRegion rest(shown);
    if (!whole) {
        const QRect keep = shown & viewRect_;
        if (!keep.isEmpty()) {
            const std::size_t bytes = std::size_t(keep.width()) * 4;
            for (int y = keep.top(); y <= keep.bottom(); ++y)
                std::memcpy(spare_.scanLine(y - shown.top()) + (keep.left() - shown.left()) * 4,
                            view_.constScanLine(y - viewRect_.top()) + (keep.left() - viewRect_.left()) * 4, bytes);
            rest -= QRegion(keep);
        }
    }
    const ViewPyramid* pyramid = pyramid_.get();
    for (const QRect& r : rest) {
        auto* out = reinterpret_cast<std::uint32_t*>(spare_.scanLine(r.top() - shown.top())) + (r.left() - shown.left());
        renderView(*picture_, pyramid, displaySize_.width(), displaySize_.height(), r.left(), r.top(), r.width(), r.height(), out,
                   spare_.bytesPerLine() / 4);
    }
    std::swap(view_, spare_);
    viewRect_ = shown;
    viewSize_ = displaySize_;
    viewStale_ = false;
}

namespace {

// A rectangle of the background as a 24-bit bitmap, and back.
Bitmap takeRect(const QImage& surface, const QRect& r) {
    Bitmap b;
    b.setSizeForOverwrite(r.width(), r.height());
    for (int y = 0; y < r.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(surface.constScanLine(r.top() + y)) + r.left();
        std::uint8_t* out = b.row(y);
        for (int x = 0; x < r.width(); ++x, out += 3) {
            out[0] = std::uint8_t(qBlue(in[x]));
            out[1] = std::uint8_t(qGreen(in[x]));
            out[2] = std::uint8_t(qRed(in[x]));
        }
    }
    return b;
}

// The shadow's pixels, kept in two bands: below the picture (with the corner) and to its right.
struct ShadowBands {
    QRect bottom, right;  // in pane coordinates, clipped to the pane
    Bitmap bottomBits, rightBits;
    std::uint8_t* at(int x, int y) {
        if (bottom.contains(x, y)) return bottomBits.pixel(x - bottom.left(), y - bottom.top());
        if (right.contains(x, y)) return rightBits.pixel(x - right.left(), y - right.top());
        return nullptr;
    }
    // Darkens the pixels of a row or column span that lie in the pane.
    void darken(int x0, int y0, int x1, int y1, int percent) {
        std::vector<std::uint8_t*> pixels;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (std::uint8_t* p = at(x, y)) pixels.push_back(p);
        if (pixels.empty()) return;
        Bitmap span;
        span.setSizeForOverwrite(int(pixels.size()), 1);
        for (std::size_t i = 0; i < pixels.size(); ++i) std::memcpy(span.pixel(int(i), 0), pixels[i], 3);
        AdjustBrightness(span, percent);
        for (std::size_t i = 0; i < pixels.size(); ++i) std::memcpy(pixels[i], span.pixel(int(i), 0), 3);
    }
    // Blur3x3 twice over a rectangle that lies in one band.
    void blur(QRect r, Bitmap& bits, const QRect& band) {
        r &= band;
        if (r.isEmpty()) return;
        Bitmap part;
        part.setSizeForOverwrite(r.width(), r.height());
        for (int y = 0; y < r.height(); ++y)
            std::memcpy(part.row(y), bits.pixel(r.left() - band.left(), r.top() - band.top() + y), part.stride());
        Blur3x3(part);
        Blur3x3(part);
        for (int y = 0; y < r.height(); ++y)
            std::memcpy(bits.pixel(r.left() - band.left(), r.top() - band.top() + y), part.row(y), part.stride());
    }
};

}  // namespace

// The shadow below and to the right of the picture: each row and column outward darkened 4 less than
// the last, from -29 beside the picture, the two bands then blurred twice.
void PicturePane::paintShadow(QPainter& painter) {
    const int left = position_.x(), top = position_.y();
    const int R = left + displaySize_.width(), B = top + displaySize_.height();
    const int d = shadowDepth(displaySize_.height());
    ShadowBands s;
    s.bottom = QRect(QPoint(left, B), QPoint(R + d, B + d)) & rect();
    s.right = QRect(QPoint(R, top), QPoint(R + d, B - 1)) & rect();
    if (s.bottom.isEmpty() && s.right.isEmpty()) return;
    if (!s.bottom.isEmpty()) s.bottomBits = takeRect(background_, s.bottom);
    if (!s.right.isEmpty()) s.rightBits = takeRect(background_, s.right);
    for (int i = 0; i <= d; ++i) {
        s.darken(left + 2 * d + i / 2, B + i, R + i, B + i, 4 * i - 29);
        s.darken(R + i, top + 2 * d + i / 2, R + i, B + i - 1, 4 * i - 29);
    }
    if (d > 0) {
        if (!s.bottom.isEmpty()) s.blur(QRect(QPoint(left, B), QPoint(R - 1, B + d - 1)), s.bottomBits, s.bottom);
        if (!s.right.isEmpty()) s.blur(QRect(QPoint(R, top), QPoint(R + d - 1, B - 1)), s.rightBits, s.right);
    }
    if (!s.bottom.isEmpty()) painter.drawImage(s.bottom.topLeft(), toQImage(s.bottomBits));
    if (!s.right.isEmpty()) painter.drawImage(s.right.topLeft(), toQImage(s.rightBits));
}

void PicturePane::paintEvent(QPaintEvent*) {
    ++paints_;
    QPainter painter(this);
    if (background_.size() != size()) {
        background_ = QImage(size(), QImage::Format_RGB32);
        QPainter tiles(&background_);
        paintTiled(tiles, background_.rect(), AppPictures::get().background());
    }
    painter.drawImage(0, 0, background_);
    if (picture_ && !displaySize_.isEmpty()) {
        const QRect picture = pictureRect();
        const bool covers = picture.x() + picture.width() >= width() && picture.y() + picture.height() >= height();
        if (shadowShown_ && !covers) paintShadow(painter);
        const QRect shown = picture & rect();
        if (!shown.isEmpty()) {
            updateView(shown.translated(-position_));
            painter.drawImage(shown.topLeft(), view_, QRect(QPoint(0, 0), shown.size()));
        }
    }
    paintOverlay(painter);
    if (guideX_ >= 0) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawLine(guideX_, 0, guideX_, height());
    }
}

void PicturePane::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (!pictureRect().contains(p)) return;
    emit pressed(event->button(), event->globalPosition().toPoint(), toPicture(p));
}

void PicturePane::mouseMoveEvent(QMouseEvent* event) {
    emit moved(event->buttons(), event->globalPosition().toPoint(), toPicture(event->position().toPoint()));
}

void PicturePane::mouseReleaseEvent(QMouseEvent* event) {
    emit released(event->button(), event->globalPosition().toPoint(), toPicture(event->position().toPoint()));
}

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
