// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One of the two picture panes (ScrollBox1, ScrollBox2): the tiled background, the picture's shadow
// and the picture at the common zoom at its place in the pane. The pane reports the mouse; the main
// window moves both pictures together.
//
// The pane draws from the main window's bitmap itself, never a copy of it: only the pixels that show
// are scaled, from the reduced copies the pyramid keeps, and a pan only draws the strip it uncovers.

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "imaging/bitmap.h"
#include "imaging/view_scaling.h"

class QPainter;

namespace gt {

class PicturePane : public QWidget {
    Q_OBJECT
public:
    explicit PicturePane(QWidget* parent = nullptr);

    // The picture at its natural size, owned by the caller, who calls this again whenever it changes
    // (the pyramid must be made from the picture as it is then). Null shows no picture.
    void setPicture(const Bitmap* picture, std::shared_ptr<const ViewPyramid> pyramid);
    const Bitmap* picture() const { return picture_; }
    std::shared_ptr<const ViewPyramid> pyramid() const { return pyramid_; }
    // The displayed size: natural size x zoom div 100.
    void setZoom(int zoom);
    int zoom() const { return zoom_; }
    QSize displaySize() const { return displaySize_; }
    // The picture's top-left corner in the pane (negative when it is larger and scrolled).
    void setPosition(QPoint position);
    QPoint position() const { return position_; }
    QRect pictureRect() const { return QRect(position_, displaySize_); }
    // A point of the pane in the picture's natural pixels (x x 100 div zoom from its corner).
    QPoint toPicture(QPoint panePoint) const;
    // The shadow is left out while a zoom button is held.
    void setShadowShown(bool shown);
    // The dotted guide line of a divider drag, at x; a negative x hides it.
    void setGuideLine(int x);
    void setAcceptsFiles(bool accept) { setAcceptDrops(accept); }
    // A small picture laid over the picture with its top-left corner at `at` in picture pixels
    // (the add-text window's preview); a null image lays none. The picture itself is untouched.
    void setOverlay(const QImage& overlay, QPoint at);
    const QImage& overlay() const { return overlay_; }
    QPoint overlayPosition() const { return overlayAt_; }

    // What the pane keeps besides the picture: the scaled view and the tiled background.
    std::size_t cacheBytes() const;
    int paintCount() const { return paints_; }

signals:
    // Mouse events with the point in the pane's picture, in natural pixels (it may lie outside).
    void pressed(Qt::MouseButton button, QPoint globalPosition, QPoint picturePoint);
    void moved(Qt::MouseButtons buttons, QPoint globalPosition, QPoint picturePoint);
    void released(Qt::MouseButton button, QPoint globalPosition, QPoint picturePoint);
    void doubleClicked();
    void wheelTurned(int delta);
    void filesDropped(const QStringList& files);
    void pictureChanged();  // setPicture was given a picture

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void updateView(const QRect& shown);
    void paintShadow(QPainter& painter);

    const Bitmap* picture_ = nullptr;
    std::shared_ptr<const ViewPyramid> pyramid_;
    int zoom_ = 100;
    QSize displaySize_;
    QPoint position_;
    bool shadowShown_ = true;
    int guideX_ = -1;
    int paints_ = 0;
    QImage overlay_;
    QPoint overlayAt_;
    void paintOverlay(QPainter& painter);

    QImage background_;  // the tile over the whole pane
    QImage view_;        // from its top-left corner, the displayed pixels of viewRect_ (displayed-picture coordinates)
    QImage spare_;       // where the next view is drawn, the pane's size too
    QRect viewRect_;
    QSize viewSize_;     // the displayed size view_ was drawn at
    bool viewStale_ = true;
};

// The divider between the panes (ResizeImage): reports where the left button went and came up.
class PaneDivider : public QWidget {
    Q_OBJECT
public:
    explicit PaneDivider(QWidget* parent = nullptr);
signals:
    void dragged(int x);   // x relative to the divider, while the left button is held
    void dropped(int x);   // the release
    void doubleClicked();
protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// The shadow's depth beside a picture shown `height` pixels high: height div 35 up to 200, else 7.
int shadowDepth(int displayedHeight);

}  // namespace gt
