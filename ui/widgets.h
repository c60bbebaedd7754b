// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small controls the windows share: a label that acts when clicked, the toolbar's picture buttons,
// the horizontal up-down, and the tiled background every window paints.

#include <QImage>
#include <QPalette>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

class QPainter;

namespace gt {

// A label that reports a left click (the check boxes' captions toggle their box).
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();
protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A picture that works as a button: it sinks by one pixel while pressed and hops when the mouse
// comes over it. Tab reaches it (a dotted frame shows the focus), Space or Enter presses it, and
// assistive technology sees a button named by its tooltip.
class PictureButton : public QLabel {
    Q_OBJECT
public:
    explicit PictureButton(const QPixmap& picture, QWidget* parent = nullptr);
    ~PictureButton() override;
    // The button's resting place; the press and the hop move it from there.
    void place(int left, int top);
    // Whether this is the one button being animated (its hop has not ended and the mouse is on it).
    bool animated() const;
signals:
    void clicked();
    void pressed(Qt::MouseButton button);
    void released(Qt::MouseButton button);
protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;
private:
    void hop();
    void press();
    void release(bool activate);
    QTimer hopTimer_;
    QPoint home_;
    bool down_ = false;
    int hopStep_ = -1;
};

// A horizontal up-down: two arrows that step a position within a range.
class UpDownControl : public QWidget {
    Q_OBJECT
public:
    explicit UpDownControl(QWidget* parent = nullptr);
    int position() const { return position_; }
    void setRange(int minimum, int maximum) { minimum_ = minimum; maximum_ = maximum; }
    void setPosition(int position);
    void stepBy(int delta);  // as a click on an arrow does
signals:
    void clicked(int position);
private:
    int minimum_ = 0, maximum_ = 9, position_ = 0;
};

// The background of the panes and of every secondary window: the 512 x 512 tile, column by column
// from the top-left corner.
void paintTiled(QPainter& painter, const QRect& area, const QImage& tile);

// The colours of a window painted on the tile: dark text on the light paper and light boxes,
// whatever the desktop's palette, so that a dark desktop theme leaves every text readable.
QPalette tiledPalette();
// Gives a window that paints the tile the tile's palette; its controls inherit it.
void useTiledPalette(QWidget* window);

// A dialog of one size: a title and a close button, and no maximise button whatever the window
// manager makes of the size hints.
void useFixedSizeFrame(QWidget* window);

// A widget whose background is the tile.
class TiledWidget : public QWidget {
public:
    explicit TiledWidget(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
protected:
    void paintEvent(QPaintEvent* event) override;
};

// A square preview picture; the crop it shows is dragged on it with the hand cursor.
class PreviewImage : public QWidget {
    Q_OBJECT
public:
    PreviewImage(int size, QWidget* parent = nullptr);
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
signals:
    void pressed(int x, int y);
    void moved(int x, int y);
    void released();
protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
private:
    QImage picture_;
};

}  // namespace gt
