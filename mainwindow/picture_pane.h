#pragma once
// One of the two picture panes (ScrollBox1, ScrollBox2): the tiled background and, on it, the
// picture at the common zoom and at its place in the pane. The pane reports the mouse; the main
// window moves both pictures together.

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QStringList>
#include <QWidget>

class QPainter;

namespace gt {

class PicturePane : public QWidget {
    Q_OBJECT
public:
    explicit PicturePane(QWidget* parent = nullptr);

    // The picture at its natural size; the displayed size and place are set separately.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    void setDisplaySize(QSize size);
    QSize displaySize() const { return displaySize_; }
    // The picture's top-left corner in the pane (negative when it is larger and scrolled).
    void setPosition(QPoint position);
    QPoint position() const { return position_; }
    QRect pictureRect() const { return QRect(position_, displaySize_); }
    // The dotted guide line of a divider drag, at x; a negative x hides it.
    void setGuideLine(int x);
    void setAcceptsFiles(bool accept) { setAcceptDrops(accept); }
    // A small picture laid over the picture with its top-left corner at `at` in picture pixels
    // (the add-text window's preview); a null image lays none. The picture itself is untouched.
    void setOverlay(const QImage& overlay, QPoint at);
    const QImage& overlay() const { return overlay_; }
    QPoint overlayPosition() const { return overlayAt_; }

signals:
    void pressed(Qt::MouseButton button, QPoint globalPosition);
    void moved(QPoint globalPosition);
    void released(Qt::MouseButton button);
    void doubleClicked();
    void wheelTurned(int delta);
    void filesDropped(const QStringList& files);
    void pictureChanged();  // setPicture was given a picture

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QImage picture_;
    QImage scaled_;  // the picture at its displayed size, when that is smaller
    QSize displaySize_;
    QPoint position_;
    int guideX_ = -1;
    QImage overlay_;
    QPoint overlayAt_;
    void paintOverlay(QPainter& painter);
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

}  // namespace gt
