#pragma once
// The full-screen view of one picture: borderless over the whole desktop, the picture fitted in
// the middle on the tiled background; a click or any key closes it.

#include <QImage>
#include <QWidget>

namespace gt {

class FullScreenWindow : public QWidget {
    Q_OBJECT
public:
    explicit FullScreenWindow(QWidget* parent = nullptr);
    void showPicture(const QImage& picture);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage picture_;
};

}  // namespace gt
