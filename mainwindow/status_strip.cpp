// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/status_strip.h"

#include <QPainter>
#include <QResizeEvent>

namespace gt {

StatusStrip::StatusStrip(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    Label1 = new QLabel(this);
    Label1->move(8, 2);
    Label2 = new QLabel(this);
    Label2->hide();
    Notice = new QLabel(this);
    Notice->setAutoFillBackground(true);
    Notice->setPalette(pal);
    Notice->move(8, 2);
    Notice->hide();
    noticeTimer_.setSingleShot(true);
    connect(&noticeTimer_, &QTimer::timeout, this, [this] {
        Notice->hide();
        update();
    });
    slice_ = QImage(1, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y) slice_.setPixel(0, y, qRgb(90 + y * 4, 130 + y * 3, 200));
    clearBar();
}

void StatusStrip::clearBar() {
    bar_ = QImage(qMax(1, width()), qMax(1, height()), QImage::Format_RGB32);
    bar_.fill(Qt::white);
}

void StatusStrip::markResized() {
    strip_.resized = true;
    clearBar();
    update();
}

void StatusStrip::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    Label1->resize(qMax(0, width() - 50), qMax(0, height() - 4));
    clearBar();
    if (Notice->isVisible()) placeNotice();
}

void StatusStrip::ProgressReport(int step, int lastStep, int pass, int passes) {
    if (passes == 0) return;
    // A run that goes on with no steps in its pass would divide by zero; the routines never report one.
    if (lastStep == 0 && (step < lastStep || pass < passes)) return;
    strip_.width = width();
    const ProgressDrawing d = progressStep(strip_, step, lastStep, pass, passes);
    if (d.startRun) {
        emit runStarted();
        clearBar();
        Label2->show();
        Label1->hide();
        placeNotice();
    }
    if (d.redrawBar) {
        Label2->setText(QString::fromStdString(strip_.label));
        Label2->adjustSize();
        QPainter painter(&bar_);
        for (int x = 0; x <= d.barEnd; ++x)
            if (x % 8 != 0) painter.drawImage(x, 0, slice_);
        ++barDraws_;
        repaint();
    }
    if (d.endRun) {
        Label2->hide();
        Label1->show();
        clearBar();
        placeNotice();
        update();
        emit runEnded();
    }
}

namespace {
// The bar's own span: the strip less the percent label's room on the right.
constexpr int kPercentRoom = 43;
// The least of the bar left beside a note.
constexpr int kLeastBar = 120;
constexpr int kNoticeGap = 6;
}  // namespace

void StatusStrip::showNotice(const QString& text) {
    Notice->setText(text);
    Notice->setToolTip(text);
    placeNotice();
    Notice->show();
    Notice->raise();
    noticeTimer_.start(4000);
    update();
}

void StatusStrip::placeNotice() {
    const QString text = Notice->toolTip();
    const int noticeHeight = qMax(Notice->sizeHint().height(), height() - 4);
    if (!running()) {
        Notice->setText(text);
        Notice->setGeometry(8, 2, Notice->fontMetrics().horizontalAdvance(text) + 8, noticeHeight);
        return;
    }
    // Beside the bar: right of it, left of the percent label, the text shortened if the strip is
    // narrow (the whole of it is the note's tooltip).
    const int right = width() - kPercentRoom - kNoticeGap;
    const int room = qMax(0, right - kLeastBar - kNoticeGap);
    const QString shown = Notice->fontMetrics().elidedText(text, Qt::ElideRight, qMax(0, room - 8));
    Notice->setText(shown);
    const int w = qMin(room, Notice->fontMetrics().horizontalAdvance(shown) + 8);
    Notice->setGeometry(right - w, 2, w, noticeHeight);
}

QRect StatusStrip::barArea() const {
    if (!running()) return {};
    const int full = qMax(0, width() - kPercentRoom);
    if (!Notice->isVisible()) return QRect(0, 0, full, height());
    return QRect(0, 0, qMax(0, Notice->x() - kNoticeGap), height());
}

void StatusStrip::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        const QRect bar = barArea();
        if (bar.isValid() && bar.width() < width() - kPercentRoom) {
            // A note stands beside the bar: the bar's whole span is shown in the room left of it.
            painter.fillRect(rect(), Qt::white);
            painter.drawImage(bar, bar_, QRect(0, 0, width() - kPercentRoom, bar_.height()));
        } else {
            painter.drawImage(0, 0, bar_);
        }
    }
    QFrame::paintEvent(event);
}

}  // namespace gt
