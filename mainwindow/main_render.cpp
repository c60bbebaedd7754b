// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part of a rendering: "Sketch" arms the trigger, the trigger hands a copy of the
// photo and of every setting to the worker, progress comes back to the status strip, and the
// result takes the right pane.
#include <QApplication>
#include <QLocale>

#include "batch/batch_window.h"
#include "finishing/add_text_window.h"
#include "finishing/frames_window.h"
#include "mainwindow/main_window.h"

namespace gt {

void MainWindow::startDrawing() {
    if (batchVisible()) {
        if (windows.parameterWindow) windows.parameterWindow->close();
        return;
    }
    SavedZoom = zoom_;
    setZoom(100);
    centerPictures();
    if (!Busy) renderTimer.start(200);
    if (windows.parameterWindow) windows.parameterWindow->hide();
}

void MainWindow::renderTimerFired() {
    renderTimer.stop();
    if (Busy || renderRunning()) return;
    const int style = windows.parameterWindow ? windows.parameterWindow->DrawingStyle() : -1;
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
    centerPictures();
    Busy = true;
    updateDrawingHint();

    // Everything the rendering reads is copied now; the worker never looks at a window. It is kept
    // as the drawing's recipe, for the command line that makes the same drawing.
    renderingRecipe_ = DrawingRecipe{sourceRecipe_, drawingParameters(), random_.seed, DrawingWidth, DrawingHeight, SourceWidth, SourceHeight};
    job_->start(SourceImage, renderingRecipe_.parameters, random_, DrawingWidth, DrawingHeight);
}

void MainWindow::ProgressReport(int step, int lastStep, int pass, int passes) {
    if (!Busy || passes == 0) return;
    statusStrip_->ProgressReport(step, lastStep, pass, passes);
}

namespace {

// The number of a memory figure as the command line gives it (gigabytes with one decimal, or whole
// megabytes below one gigabyte), in the interface language's way of writing numbers.
QString memoryNumber(long long bytes, Language language) {
    const QLocale locale(language == Language::French    ? QLocale::French
                         : language == Language::Chinese ? QLocale::Chinese
                                                         : QLocale::English);
    if (bytes >= 1'000'000'000) return locale.toString(static_cast<double>(bytes) / 1e9, 'f', 1);
    return locale.toString((bytes + 500'000) / 1'000'000);
}

}  // namespace

void MainWindow::renderDone(const std::shared_ptr<RenderOutcome>& outcome) {
    random_ = outcome->random;
    const bool cancelled = outcome->error.empty() && outcome->result.cancelled;
    CancelRequested.store(false);
    // The progress display ends here whether or not the routine closed it.
    if (statusStrip_->running()) statusStrip_->ProgressReport(100, 100, 1, 1);
    showMenuBar(false);

    const auto memoryFigure = [this](long long bytes) {
        return text(bytes >= 1'000'000'000 ? QStringLiteral("Message.Gigabytes") : QStringLiteral("Message.Megabytes"))
            .arg(memoryNumber(bytes, language_));
    };
    renderingError_ = outcome->memoryNeeded > 0
                          ? text(QStringLiteral("Message.NotEnoughMemory"))
                                .arg(memoryFigure(outcome->memoryNeeded), memoryFigure(outcome->memoryAvailable))
                          : QString::fromStdString(outcome->error);
    if (!outcome->error.empty()) {
        Busy = false;
        showParameterWindow();
        showError(renderingError_);
    } else if (outcome->result.rendered) {
        // A rendering that wrote the text closes the add-text window, as its OK would.
        if (!cancelled && windows.parameterWindow->controls().CheckBox4 && addTextVisible()) windows.addTextWindow->close();
        DrawingImage = std::move(outcome->result.drawing);
        // After a cancel the pane holds a copy of the photo.
        drawingOrigin_ = cancelled ? DrawingOrigin{DrawingOrigin::Kind::Photo, DrawingRecipe{renderingRecipe_.source}, {}}
                                   : DrawingOrigin{DrawingOrigin::Kind::Rendering, renderingRecipe_, {}};
        DrawingWidth = DrawingImage.width();
        DrawingHeight = DrawingImage.height();
        // The result shows at its natural size first; the saved zoom comes back below.
        drawingPane_->setPicture(&DrawingImage, std::move(outcome->view));
        drawingPane_->setZoom(100);
        Busy = false;
        // After a cancel the parameter window stays hidden; an open add-text window stays in front.
        if (!cancelled) showParameterWindow(!addTextVisible());
    } else {
        Busy = false;
    }
    updateDrawingHint();
    centerPictures();
    setZoom(SavedZoom);
    sourcePane_->update();
    drawingPane_->update();
    emit renderFinished();
}

void MainWindow::cancelOperation() { CancelRequested.store(true); }

void MainWindow::keyPressed(int key) {
    if (key == Qt::Key_Escape && Busy) CancelRequested.store(true);
}

}  // namespace gt
