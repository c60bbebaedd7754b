// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part of the add-text window: the sizes it places the text by, the preview laid
// over the drawing pane, OK's writing, the clipboard shortcuts it borrows, and the text dragged on
// the drawing pane.
#include "mainwindow/main_window.h"
#include "ui/app_pictures.h"
#include "ui/qt_bitmap.h"

namespace gt {

PlacementSizes MainWindow::placementSizes() const { return {DrawingWidth, DrawingHeight, SourceWidth, SourceHeight}; }

void MainWindow::writeOnDrawing(const std::function<void(Bitmap&)>& write) {
    write(DrawingImage);
    drawingOrigin_ = DrawingOrigin{DrawingOrigin::Kind::WithoutCommand, {}, "WrittenText"};
    drawingPane_->setPicture(&DrawingImage, std::make_shared<const ViewPyramid>(buildViewPyramid(DrawingImage)));
}

void MainWindow::showTextPreview(const TextOverlayPatch& patch) {
    drawingPane_->setOverlay(toQImage(patch.pixels), QPoint(patch.left, patch.top));
}

void MainWindow::setClipboardShortcuts(bool on) {
    menuEntry(QStringLiteral("Copierledessindanslepressepapier1"))->setShortcut(on ? QKeySequence(Qt::CTRL | Qt::Key_C) : QKeySequence());
    menuEntry(QStringLiteral("Colleruneimagedepuislepressepapier1"))->setShortcut(on ? QKeySequence(Qt::CTRL | Qt::Key_V) : QKeySequence());
}

QPoint MainWindow::drawingPoint(QPoint global) const {
    const QPoint p = drawingPane_->mapFromGlobal(global) - drawingPane_->position();
    return QPoint(p.x() * 100 / zoom_, p.y() * 100 / zoom_);
}

bool MainWindow::textPressed(QPoint global) {
    if (!addTextVisible()) return false;
    const QPoint p = drawingPoint(global);
    if (!windows.addTextWindow->textBoxContains(p.x(), p.y())) return false;
    Dragging = false;
    DraggingText = true;
    windows.addTextWindow->beginTextDrag();
    return true;
}

void MainWindow::textDragged(QPoint global) {
    const QPoint p = drawingPoint(global);
    windows.addTextWindow->dragTextTo(p.x(), p.y());
    // Near an edge beyond which the picture goes on, both pictures move 4 pixels to bring it in.
    const QPoint local = drawingPane_->mapFromGlobal(global);
    const QRect picture = drawingPane_->pictureRect();
    QPoint shift;
    if (local.x() < 10 && picture.left() < 0) shift.rx() = 4;
    else if (local.x() > drawingPane_->width() - 10 && picture.right() >= drawingPane_->width()) shift.rx() = -4;
    if (local.y() < 10 && picture.top() < 0) shift.ry() = 4;
    else if (local.y() > drawingPane_->height() - 10 && picture.bottom() >= drawingPane_->height()) shift.ry() = -4;
    if (!shift.isNull()) {
        for (PicturePane* pane : {sourcePane_, drawingPane_}) pane->setPosition(pane->position() + shift);
        boundPictures();
    }
}

void MainWindow::textHovered(QPoint global) {
    if (DraggingText) return;
    const QPoint p = drawingPoint(global);
    const bool overText = addTextVisible() && windows.addTextWindow->textBoxContains(p.x(), p.y());
    drawingPane_->setCursor(overText ? QCursor(Qt::SizeAllCursor) : AppPictures::get().handCursor());
}

}  // namespace gt
