// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of a batch run: the batch window loads each photo here as the source,
// fires the render trigger and takes the right pane's picture when the rendering is done.
#include <QEvent>
#include <QEventLoop>

#include "mainwindow/main_window.h"
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

void MainWindow::showBatchSource(Bitmap photo, const QString& path) {
    openedFile_ = path;
    setSource(std::move(photo));
    setZoom(100);
    centerPictures();
    if (windows.parameterWindow) windows.parameterWindow->resetPreview();
}

QImage MainWindow::drawingPicture() const {
    // The right pane draws from the drawing itself and keeps no picture of its own to hand over.
    return toQImage(DrawingImage);
}

bool MainWindow::startBatchRendering() {
    // Every photo of a batch starts from the generator's state at program start, as each photo of
    // the command line's batch does, so the same photo gives the same bytes from either.
    random_ = Random{};
    SavedZoom = zoom_;
    renderTimer.stop();
    renderTimerFired();
    return Busy;
}

}  // namespace gt
