// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The status strip along the bottom of the main window (Panel2): the status text, and during a run
// the percent label and the bar of 7-pixel blocks drawn from the progress slice.

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QTimer>

#include "imaging/progress.h"

namespace gt {

class StatusStrip : public QFrame {
    Q_OBJECT
public:
    explicit StatusStrip(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;  // status text
    QLabel* Label2 = nullptr;  // percent

    // ProgressReport for a running rendering (the caller has checked Busy).
    void ProgressReport(int step, int lastStep, int pass, int passes);
    // StatusStripResized: the layout moved the strip; the next step draws the bar from scratch.
    void markResized();
    bool running() const { return strip_.running; }
    // The bar as drawn: how many columns hold the slice.
    const QImage& bar() const { return bar_; }
    int barDraws() const { return barDraws_; }
    void setSlice(const QImage& slice) { slice_ = slice; }
    // A short note on the strip, gone after a few seconds: why a command did nothing. During a run
    // it stands beside the bar, which shrinks to the room left of it meanwhile.
    void showNotice(const QString& text);
    QLabel* Notice = nullptr;
    // Where the bar is shown now; empty outside a run.
    QRect barArea() const;

signals:
    void runStarted();  // the cancel menu replaces the normal one
    void runEnded();    // the normal menu comes back

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void clearBar();
    void placeNotice();
    ProgressStrip strip_;
    QImage bar_;    // what the strip's canvas holds between repaints
    QImage slice_;  // 1 x 20
    int barDraws_ = 0;
    QTimer noticeTimer_;
};

}  // namespace gt
