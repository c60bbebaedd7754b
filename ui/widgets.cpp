// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
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

namespace {

// What screen readers see of a picture button: a button with its tooltip as name, that they can press.
class PictureButtonAccessible : public QAccessibleWidget {
public:
    explicit PictureButtonAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Button) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction()) emit static_cast<PictureButton*>(widget())->clicked();
    }
};

QAccessibleInterface* pictureButtonAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("gt::PictureButton") && object && object->isWidgetType())
        return new PictureButtonAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

PictureButton::PictureButton(const QPixmap& picture, QWidget* parent) : QLabel(parent) {
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(pictureButtonAccessible);
        return true;
    }();
    (void)accessibleInstalled;
    setFocusPolicy(Qt::TabFocus);
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

// The keys press it as the left mouse button does: Space while held, Enter at once.
void PictureButton::press() {
    down_ = true;
    move(home_ + QPoint(1, 1));
    emit pressed(Qt::LeftButton);
}

void PictureButton::release(bool activate) {
    down_ = false;
    move(home_);
    emit released(Qt::LeftButton);
    if (activate) emit clicked();
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
            if (!event->isAutoRepeat() && !down_) press();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (event->isAutoRepeat()) return;
            press();
            release(true);
            return;
        default:
            QLabel::keyPressEvent(event);
    }
}

void PictureButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        if (down_) release(true);
        return;
    }
    QLabel::keyReleaseEvent(event);
}

void PictureButton::focusOutEvent(QFocusEvent* event) {
    if (down_) release(false);
    QLabel::focusOutEvent(event);
}

void PictureButton::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight), 1, Qt::DotLine);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// The tooltip names the button for screen readers, in every language.
bool PictureButton::event(QEvent* event) {
    if (event->type() == QEvent::ToolTipChange) setAccessibleName(toolTip());
    return QLabel::event(event);
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

QPalette tiledPalette() {
    const QColor ink(0, 0, 0), paper(236, 236, 236), box(255, 255, 255), greyed(128, 128, 128);
    QPalette palette(ink, paper, QColor(255, 255, 255), QColor(160, 160, 160), QColor(200, 200, 200), ink,
                     QColor(255, 255, 255), box, paper);
    palette.setColor(QPalette::ButtonText, ink);
    palette.setColor(QPalette::Button, QColor(225, 225, 225));
    palette.setColor(QPalette::AlternateBase, QColor(245, 245, 245));
    palette.setColor(QPalette::Highlight, QColor(48, 140, 198));
    palette.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
    palette.setColor(QPalette::Link, QColor(0, 0, 192));
    palette.setColor(QPalette::PlaceholderText, greyed);
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 220));
    palette.setColor(QPalette::ToolTipText, ink);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, greyed);
    return palette;
}

void useTiledPalette(QWidget* window) { window->setPalette(tiledPalette()); }

void useFixedSizeFrame(QWidget* window) {
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
}

TiledWidget::TiledWidget(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) { useTiledPalette(this); }

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
