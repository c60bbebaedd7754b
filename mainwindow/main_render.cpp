// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part of a rendering: "Sketch" arms the trigger, the trigger hands a copy of the
// photo and of every setting to the worker, progress comes back to the status strip, and the
// result takes the right pane.
#include <QApplication>

#include "batch/batch_window.h"
#include "finishing/add_text_window.h"
#include "finishing/frames_window.h"
#include "mainwindow/main_window.h"

namespace gt {

void MainWindow::startDrawing() {
    if (batchVisible()) {
        if (windows.Form4) windows.Form4->close();
        return;
    }
    SavedZoom = zoom_;
    setZoom(100);
    CenterImages();
    if (!Busy) Timer1.start(200);
    if (windows.Form4) windows.Form4->hide();
}

void MainWindow::Timer1Timer() {
    Timer1.stop();
    if (Busy || renderRunning()) return;
    const int style = windows.Form4 ? windows.Form4->DrawingStyle() : -1;
    if (style < 0 || style >= kStyleCount) {
        QApplication::processEvents();
        setZoom(SavedZoom);
        return;
    }
    if (!resourceError_.isEmpty()) {
        showError(resourceError_);
        showParameterWindow();
        setZoom(SavedZoom);
        return;
    }
    setZoom(100);
    CenterImages();
    Busy = true;
    updateDrawingHint();

    // Everything the rendering reads is copied now; the worker never looks at a window.
    job_->start(SourceImage, drawingParameters(), random_, DrawingWidth, DrawingHeight);
}

void MainWindow::ProgressReport(int step, int lastStep, int pass, int passes) {
    if (!Busy || passes == 0) return;
    Panel2->ProgressReport(step, lastStep, pass, passes);
}

void MainWindow::renderDone(const std::shared_ptr<RenderOutcome>& outcome) {
    random_ = outcome->random;
    const bool cancelled = outcome->error.empty() && outcome->result.cancelled;
    CancelRequested.store(false);
    // The progress display ends here whether or not the routine closed it.
    if (Panel2->running()) Panel2->ProgressReport(100, 100, 1, 1);
    showMenuBar(false);

    renderingError_ = QString::fromStdString(outcome->error);
    if (!outcome->error.empty()) {
        Busy = false;
        showParameterWindow();
        showError(renderingError_);
    } else if (outcome->result.rendered) {
        // A rendering that wrote the text closes the add-text window, as its OK would.
        if (!cancelled && windows.Form4->controls().CheckBox4 && addTextVisible()) windows.Form9->close();
        DrawingImage = std::move(outcome->result.drawing);
        DrawingWidth = DrawingImage.width();
        DrawingHeight = DrawingImage.height();
        // The result shows at its natural size first; the saved zoom comes back below.
        ScrollBox2->setPicture(&DrawingImage, std::move(outcome->view));
        ScrollBox2->setZoom(100);
        Busy = false;
        // After a cancel the parameter window stays hidden; an open add-text window stays in front.
        if (!cancelled) showParameterWindow(!addTextVisible());
    } else {
        Busy = false;
    }
    updateDrawingHint();
    CenterImages();
    setZoom(SavedZoom);
    ScrollBox1->update();
    ScrollBox2->update();
    emit renderFinished();
}

void MainWindow::Canceloperation1Click() { CancelRequested.store(true); }

void MainWindow::FormKeyPress(int key) {
    if (key == Qt::Key_Escape && Busy) CancelRequested.store(true);
}

}  // namespace gt
