// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's source-image commands: the one-step enhancements of the edit menu, the resize the
// resize dialog asks for, the retouch window's whole-photo step, and undo and redo. Every change
// runs on a copy of the photo on the worker thread; the result takes the left pane, and the picture
// it replaced becomes a step to undo. Each change adds its graphitello-cli step to the photo's recipe,
// and the picture it replaced goes into the history with the recipe it had. The drawing pane keeps
// its picture until the next rendering (the resize alone gives it the resized photo).
#include <QApplication>

#include "finishing/add_text_window.h"
#include "imaging/error.h"
#include "imaging/io/picture_io.h"
#include "mainwindow/main_window.h"
#include "pipeline/source_commands.h"
#include "ui/file_names.h"
#include "ui/language.h"

namespace gt {

namespace {

// After every enhancement the parameter window's preview follows, 300 ms later.
constexpr int kPreviewAfterEnhancement = 300;
constexpr int kPreviewAfterResize = 200;

SourceWork always(void (*step)(Bitmap&)) {
    return [step](Bitmap& b, const RenderContext&) {
        step(b);
        return true;
    };
}

}  // namespace

// ---- The common road ----------------------------------------------------------------------------

bool MainWindow::refuseWhileBusy() {
    if (!Busy && !renderRunning() && !sourceJobRunning()) return false;
    // The photo is being read by the running step: changing it now would change it under its feet.
    statusStrip_->showNotice(text(QStringLiteral("Message.SourceBusy")));
    return true;
}

void MainWindow::changeSource(SourceWork work, RecipeStep step, bool showProgress, bool hideParameters,
                              std::function<void(bool changed)> after) {
    if (refuseWhileBusy()) {
        if (after) after(false);
        return;
    }
    Busy = true;
    updateDrawingHint();
    sourceStep_ = SourceStep{hideParameters && parameterWindowVisible(), std::move(after)};
    sourceStep_.recipeStep = std::move(step);
    if (sourceStep_.parametersWereVisible) windows.parameterWindow->hide();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    sourceJob_->start(SourceImage, std::move(work), showProgress);
}

void MainWindow::sourceStepDone(const std::shared_ptr<SourceOutcome>& outcome) {
    QApplication::restoreOverrideCursor();
    // A cancel that came after the work was done is spent as well: it must not stop the next step.
    CancelRequested.store(false);
    if (statusStrip_->running()) statusStrip_->ProgressReport(100, 100, 1, 1);
    showMenuBar(false);
    Busy = false;
    const bool changed = outcome->changed;
    if (!outcome->error.empty()) {
        showError(QString::fromStdString(outcome->error));
    } else if (changed) {
        SourcePicture before{std::move(SourceImage), sourceRecipe_};
        switch (sourceStep_.history) {
        case SourceStep::History::Record:
            history_.record(std::move(before));
            sourceRecipe_.push_back(std::move(sourceStep_.recipeStep));
            break;
        case SourceStep::History::Undone:
            history_.undone(std::move(before));
            sourceRecipe_ = std::move(sourceStep_.recipeBack);
            break;
        case SourceStep::History::Redone:
            history_.redone(std::move(before));
            sourceRecipe_ = std::move(sourceStep_.recipeBack);
            break;
        }
        SourceImage = std::move(outcome->picture);
        SourceWidth = SourceImage.width();
        SourceHeight = SourceImage.height();
        sourcePane_->setPicture(&SourceImage, std::move(outcome->view));
        sourcePane_->setZoom(zoom_);
        sourcePane_->update();
    }
    if (windows.parameterWindow) windows.parameterWindow->setPreviewTimer(kPreviewAfterEnhancement);
    SourceStep step = std::move(sourceStep_);
    sourceStep_ = SourceStep{};
    if (step.parametersWereVisible) showParameterWindow();
    updateDrawingHint();
    updateUndoMenu();
    if (step.after) step.after(changed);
    emit sourceStepFinished();
}

void MainWindow::cancelLongStep() {
    if (Busy) CancelRequested.store(true);
}

// ---- The enhancements ---------------------------------------------------------------------------

void MainWindow::softenSource() {
    if (SourceImage.empty()) {
        if (windows.parameterWindow) windows.parameterWindow->setPreviewTimer(kPreviewAfterEnhancement);
        return;
    }
    changeSource(always(SoftenPicture), enhancementStep("soften"), false, false);
}

void MainWindow::sharpenSource() {
    if (!SourceImage.empty()) changeSource(always(SharpenPicture), enhancementStep("sharpen"), false, false);
}

void MainWindow::increaseSaturation() { changeSource(SaturatePicture, enhancementStep("saturation"), false, false); }

void MainWindow::increaseBrightness() { changeSource(always(BrightenPicture), enhancementStep("brightness"), false, false); }

void MainWindow::increaseContrast() { changeSource(ContrastPicture, enhancementStep("contrast"), true, true); }

void MainWindow::reduceNoise() {
    if (!SourceImage.empty()) changeSource(SimplifyPicture, enhancementStep("simplify"), true, true);
}

// ---- Resize -------------------------------------------------------------------------------------

void MainWindow::showNaturalSize() {
    setZoom(100);
    centerPictures();
}

void MainWindow::resetParameterPreview() {
    if (windows.parameterWindow) windows.parameterWindow->resetPreview();
}

void MainWindow::resizeSource(int width, int height, std::function<void()> done) {
    // The text being placed belongs to the old drawing: the window closes and comes back on the new one.
    const bool addTextWasOpen = addTextVisible();
    if (addTextWasOpen) windows.addTextWindow->close();
    auto reopenAddText = [this, addTextWasOpen] {
        if (!addTextWasOpen || !windows.addTextWindow) return;
        showAddTextWindow();
        for (QScrollBar* bar : {windows.addTextWindow->ScrollBar1, windows.addTextWindow->ScrollBar2}) bar->setValue(0);
        windows.addTextWindow->ScrollBar1->setMaximum(DrawingWidth);
        windows.addTextWindow->ScrollBar2->setMaximum(DrawingHeight);
    };
    if (width <= 1 || height <= 1 || refuseWhileBusy()) {
        reopenAddText();
        if (done) done();
        return;
    }
    try {
        checkPictureSize(width, height, PictureLimits{}, QStringLiteral("%1 x %2").arg(width).arg(height).toStdString());
    } catch (const Error& e) {
        showError(QString::fromUtf8(e.what()));
        reopenAddText();
        if (done) done();
        return;
    }
    changeSource(
        [width, height](Bitmap& b, const RenderContext& ctx) {
            b = ResizedPicture(b, width, height);
            return !ctx.CancelRequested();
        },
        resizeStep(width, height), true, false,
        [this, reopenAddText, done](bool changed) {
            if (changed) {
                DrawingImage = SourceImage;
                drawingOrigin_ = DrawingOrigin{DrawingOrigin::Kind::Photo, DrawingRecipe{sourceRecipe_}, {}};
                DrawingWidth = SourceWidth;
                DrawingHeight = SourceHeight;
                // The drawing is the photo again: both panes draw from the same reduced copies.
                drawingPane_->setPicture(&DrawingImage, sourcePane_->pyramid());
                drawingPane_->setZoom(zoom_);
                if (windows.parameterWindow)
                    windows.parameterWindow->setPreviewCrop(SourceWidth <= kPreviewSize ? 0 : SourceWidth / 2 - kPreviewSize / 2, 0);
                if (!openedFile_.isEmpty()) setStatusText(pictureStatusText(openedFile_, SourceWidth, SourceHeight));
                centerPictures();
                if (parameterWindowVisible()) windows.parameterWindow->setPreviewTimer(kPreviewAfterResize);
            }
            reopenAddText();
            if (done) done();
        });
}

// ---- Retouch ------------------------------------------------------------------------------------

void MainWindow::retouchSource(const RetouchSettings& settings, std::function<void(bool changed)> done) {
    changeSource([settings](Bitmap& b, const RenderContext& ctx) { return RetouchPicture(b, settings, ctx); },
                 retouchStep(settings), true, false, std::move(done));
}

void MainWindow::setParameterPreviewTimer(int interval) {
    if (windows.parameterWindow) windows.parameterWindow->setPreviewTimer(interval);
}

// ---- Undo and redo ------------------------------------------------------------------------------

void MainWindow::replaceSource(Bitmap picture, SourceRecipe recipe, std::shared_ptr<const ViewPyramid> view) {
    SourcePicture before{std::move(SourceImage), std::exchange(sourceRecipe_, std::move(recipe))};
    setSource(std::move(picture), std::move(view));
    history_.record(std::move(before));
    updateUndoMenu();
}

void MainWindow::undoSourceChange() { takeHistoryStep(false); }

void MainWindow::redoSourceChange() { takeHistoryStep(true); }

// The picture comes back at once from the history, but its reduced copies take a pass over all of
// it: they are made on the worker, as after any change, and the pane shows the picture it showed
// until they are ready.
void MainWindow::takeHistoryStep(bool redo) {
    if (refuseWhileBusy()) return;
    std::optional<SourcePicture> picture = redo ? history_.takeRedo() : history_.takeUndo();
    if (!picture) return;
    const QSize before(SourceWidth, SourceHeight);
    Busy = true;
    updateDrawingHint();
    sourceStep_ = SourceStep{false, [this, before](bool) { sourceStepTaken(before != QSize(SourceWidth, SourceHeight)); }};
    sourceStep_.history = redo ? SourceStep::History::Redone : SourceStep::History::Undone;
    sourceStep_.recipeBack = std::move(picture->recipe);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    sourceJob_->startView(std::move(picture->picture));
}

void MainWindow::sourceStepTaken(bool sizeChanged) {
    if (sizeChanged) {
        if (!openedFile_.isEmpty()) setStatusText(pictureStatusText(openedFile_, SourceWidth, SourceHeight));
        centerPictures();
        resetParameterPreview();
    } else if (windows.parameterWindow) {
        windows.parameterWindow->setPreviewTimer(kPreviewAfterEnhancement);
    }
}

void MainWindow::updateUndoMenu() {
    menuEntry(QStringLiteral("Undosourcechange1"))->setEnabled(history_.canUndo());
    menuEntry(QStringLiteral("Redosourcechange1"))->setEnabled(history_.canRedo());
}

}  // namespace gt
