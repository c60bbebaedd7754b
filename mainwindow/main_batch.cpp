// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of a batch run: the batch window's loop runs on its own and only tells the
// main window which photo and which drawing to show meanwhile.
#include <QEvent>
#include <QEventLoop>

#include "mainwindow/main_window.h"
#include "ui/file_names.h"
#include "ui/qt_bitmap.h"

namespace gt {

namespace {

// Ends a local event loop when the watched window hides.
class HideWatcher : public QObject {
public:
    HideWatcher(QWidget* window, QEventLoop& loop) : loop_(loop) { window->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide) loop_.quit();
        return false;
    }
private:
    QEventLoop& loop_;
};

}  // namespace

void MainWindow::setBusy(bool busy) {
    Busy = busy;
    updateDrawingHint();
}

void MainWindow::hideParameterWindow() {
    if (windows.parameterWindow) windows.parameterWindow->hide();
}

void MainWindow::runParameterWindow() {
    ParameterWindow* w = windows.parameterWindow;
    if (!w) return;
    w->hide();
    w->setWindowModality(Qt::ApplicationModal);
    showParameterWindow();
    QEventLoop loop;
    HideWatcher watcher(w, loop);
    if (w->isVisible()) loop.exec();
    w->setWindowModality(Qt::NonModal);
}

DrawingParameters MainWindow::drawingParameters() {
    DrawingParameters parameters;
    if (!windows.parameterWindow) return parameters;
    windows.parameterWindow->loadStyleSliders();
    static_cast<DrawingControls&>(parameters) = windows.parameterWindow->controls();
    if (windows.framesWindow) parameters.frame = windows.framesWindow->settings;
    if (windows.addTextWindow) parameters.text = windows.addTextWindow->settings;
    return parameters;
}

// As after an open: the photo starts a new history, and the status strip, "revert" and the save
// command's name follow it.
void MainWindow::showBatchPhoto(Bitmap photo, std::shared_ptr<const ViewPyramid> view, const QString& path,
                                PictureMetadata metadata) {
    openedFile_ = path;
    sourceMetadata_ = std::move(metadata);
    sourceRecipe_.clear();
    setSource(std::move(photo), std::move(view));
    history_.clear();
    updateUndoMenu();
    setZoom(100);
    menuEntry(QStringLiteral("Reverttooriginalsourceimage1"))->setEnabled(true);
    setStatusText(pictureStatusText(openedFile_, SourceWidth, SourceHeight));
    centerPictures();
    if (windows.parameterWindow) windows.parameterWindow->resetPreview();
}

void MainWindow::showBatchDrawing(Bitmap drawing, std::shared_ptr<const ViewPyramid> view) {
    DrawingImage = std::move(drawing);
    drawingOrigin_ = DrawingOrigin{DrawingOrigin::Kind::WithoutCommand, {}, "BatchDrawing"};
    DrawingWidth = DrawingImage.width();
    DrawingHeight = DrawingImage.height();
    drawingPane_->setPicture(&DrawingImage, std::move(view));
    drawingPane_->setZoom(zoom_);
    drawingPane_->update();
}

void MainWindow::batchProgress(int step, int lastStep, int pass, int passes) {
    if (step >= lastStep && pass >= passes) {
        if (statusStrip_->running()) statusStrip_->ProgressReport(step, lastStep, pass, passes);
        return;
    }
    ProgressReport(step, lastStep, pass, passes);
}

}  // namespace gt
