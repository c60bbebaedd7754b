// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The full-screen view of one picture (fullScreenWindow): borderless over the whole desktop, modal, the picture
// on the tiled background at the place the aspect rule gives; a click or any key closes it.

#include <QImage>
#include <QWidget>

#include "mainwindow/layout.h"

namespace gt {

// Where the picture (its displayed size) goes on a desktop: stretched over all of it when the two
// aspect ratios differ by less than 0.2, else fitted to the width or the height and centred.
Rect fullScreenPlacement(int pictureWidth, int pictureHeight, int desktopWidth, int desktopHeight);

class FullScreenWindow : public QWidget {
    Q_OBJECT
public:
    explicit FullScreenWindow(QWidget* parent = nullptr);
    // Shows `picture` (already at its place's size) at `place`, the window covering `desktop`.
    void showPicture(const QImage& picture, const Rect& place, const QRect& desktop);
    const QImage& picture() const { return picture_; }
    const Rect& place() const { return place_; }

signals:
    void closed();  // FormClose

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QImage picture_;
    Rect place_;
};

}  // namespace gt
