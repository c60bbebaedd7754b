// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's file, clipboard and wallpaper commands, and the commands that show the other
// windows.
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>
#include <exception>
#include <memory>

#include "batch/batch_window.h"
#include "dialogs/about_window.h"
#include "dialogs/donation_window.h"
#include "dialogs/print_preview_window.h"
#include "dialogs/resize_window.h"
#include "dialogs/retouch_window.h"
#include "finishing/add_text_window.h"
#include "finishing/frames_window.h"
#include "imaging/error.h"
#include "imaging/io/picture_io.h"
#include "mainwindow/main_window.h"
#include "mainwindow/platform/clipboard.h"
#include "mainwindow/platform/wallpaper.h"
#include "ui/file_names.h"
#include "ui/language.h"

namespace gt {

// ---- Pictures in --------------------------------------------------------------------------------

void MainWindow::openPicture() {
    if (Busy) return;
    if (addTextVisible()) windows.addTextWindow->close();
    setZoom(100);
    const QString folder = openedFile_.isEmpty() ? QString() : QFileInfo(openedFile_).absolutePath();
    const QString path = QFileDialog::getOpenFileName(
        this, QString(), folder,
        openDialogFilters(text(QStringLiteral("Form1.OpenFilter")), text(QStringLiteral("Form1.OpenFilterAllFiles"))));
    if (!path.isEmpty()) {
        openPictureFile(path);
        return;
    }
    if (!openedFile_.isEmpty()) {
        menuEntry(QStringLiteral("Reverttooriginalsourceimage1"))->setEnabled(true);
        setStatusText(pictureStatusText(openedFile_, SourceWidth, SourceHeight));
    }
    centerPictures();
}

bool MainWindow::openPictureFile(const QString& path) {
    if (Busy) return false;
    ReadPicture picture;
    try {
        picture = readPictureAside(path);
    } catch (const std::exception& e) {
        showPictureError(e, path);
        return false;
    }
    openedFile_ = path;
    sourceMetadata_ = std::move(picture.loaded.metadata);
    sourceRecipe_.clear();
    setSource(std::move(picture.loaded.bitmap), std::move(picture.view));
    history_.clear();
    updateUndoMenu();
    setZoom(100);
    if (!batchVisible()) showParameterWindow();
    if (windows.parameterWindow) windows.parameterWindow->resetPreview();
    menuEntry(QStringLiteral("Reverttooriginalsourceimage1"))->setEnabled(true);
    setStatusText(pictureStatusText(openedFile_, SourceWidth, SourceHeight));
    centerPictures();
    return true;
}

// Every file is tried, whatever its name: the content says whether it is a picture, and a file that
// is not one, or of a kind not read here, is named in a message rather than ignored.
bool MainWindow::loadPictureFromFile(const QString& name) {
    setZoom(100);
    ReadPicture picture;
    try {
        picture = readPictureFile(name);
    } catch (const std::exception& e) {
        showPictureError(e, name);
        return false;
    }
    openedFile_ = name;
    sourceMetadata_ = std::move(picture.loaded.metadata);
    if (addTextVisible()) windows.addTextWindow->close();
    sourceRecipe_.clear();
    setSource(std::move(picture.loaded.bitmap), std::move(picture.view));
    history_.clear();
    updateUndoMenu();
    setZoom(100);
    menuEntry(QStringLiteral("Reverttooriginalsourceimage1"))->setEnabled(true);
    setStatusText(pictureStatusText(openedFile_, SourceWidth, SourceHeight));
    centerPictures();
    return true;
}

void MainWindow::preloadPicture(const QString& path) {
    if (preloadWorker_.running()) return;
    preloadedPath_ = path;
    // The reduced copies the viewer draws from are made on the same worker, while the splash shows.
    auto preload = std::make_shared<Preload>();
    preload_ = preload;
    preloadWorker_.run([preload, file = localPath(path), stop = &readingStop_] {
        try {
            preload->picture = readWithView(file, stop);
        } catch (...) {
            preload->failure = std::current_exception();
        }
    }, nullptr);
}

// On a worker: the picture and the reduced copies the viewer draws from.
MainWindow::ReadPicture MainWindow::readWithView(const std::string& file, const std::atomic<bool>* stop) {
    ReadOptions options;
    options.cancel = stop;
    ReadPicture read{loadPictureFile(file, options), nullptr};
    read.view = viewPyramidOf(read.loaded.bitmap);
    return read;
}

MainWindow::ReadPicture MainWindow::readPictureFile(const QString& path) {
    if (const std::shared_ptr<Preload> preload = std::exchange(preload_, nullptr); preload && preloadedPath_ == path) {
        preloadWorker_.waitPainting();
        // A decoding error comes out here as it would below.
        if (preload->failure) std::rethrow_exception(preload->failure);
        return std::move(preload->picture);
    }
    return readPictureAside(path);
}

// Decoded on a worker, the window painting meanwhile.
MainWindow::ReadPicture MainWindow::readPictureAside(const QString& path) {
    return waitForResult<ReadPicture>([file = localPath(path), stop = &readingStop_] { return readWithView(file, stop); });
}

void MainWindow::showPictureError(const std::exception& error, const QString& path) {
    const auto* said = dynamic_cast<const Error*>(&error);
    const ErrorKind kind = said ? said->kind() : ErrorKind::Other;
    QString key;
    switch (kind) {
        case ErrorKind::NotAPicture: key = QStringLiteral("Message.PictureNotAPicture"); break;
        case ErrorKind::Damaged: key = QStringLiteral("Message.PictureDamaged"); break;
        case ErrorKind::TooLarge: key = QStringLiteral("Message.PictureTooLarge"); break;
        case ErrorKind::UnsupportedKind: key = QStringLiteral("Message.PictureUnsupported"); break;
        case ErrorKind::Other: break;
        case ErrorKind::Cancelled: return;  // the window is closing: nothing to tell
    }
    messageTitle_ = text(QStringLiteral("Message.Error"));
    showError(key.isEmpty() ? QString::fromUtf8(error.what()) : text(key).arg(QDir::toNativeSeparators(path)));
    messageTitle_.clear();
}

void MainWindow::filesDropped(const QStringList& files) {
    if (Busy || files.isEmpty()) return;
    loadPictureFromFile(files.first());
    if (parameterWindowVisible()) windows.parameterWindow->setPreviewTimer(200);
}

void MainWindow::pasteFromClipboard() {
    if (Busy || addTextVisible()) return;
    try {
        const std::optional<Bitmap> picture = pictureFromClipboard();
        pastePicture(picture ? &*picture : nullptr);
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
    }
}

void MainWindow::pastePicture(const Bitmap* picture) {
    if (Busy) return;
    // Without a picture on the clipboard the source stays, and the drawing goes back to it. A pasted
    // picture has no camera data.
    if (picture) {
        sourceMetadata_ = PictureMetadata{};
        replaceSource(*picture, {stepWithoutCommand("Paste")});
    } else {
        setSource(SourceImage);
    }
    setZoom(100);
    centerPictures();
    if (!batchVisible()) showParameterWindow();
    if (windows.parameterWindow) windows.parameterWindow->resetPreview();
}

void MainWindow::swapPictures() {
    // The menus are swapped out during a run, so the command never meets a rendering.
    if (Busy) return;
    setZoom(100);
    // The drawing becomes the source as it is; the new drawing is the one copy of it.
    SourceRecipe recipe = recipeOfDrawing(drawingOrigin_);
    replaceSource(std::move(DrawingImage), std::move(recipe));
    centerPictures();
    if (windows.parameterWindow) windows.parameterWindow->resetPreview();
}

void MainWindow::revertToOriginalSource() {
    QAction* revert = menuEntry(QStringLiteral("Reverttooriginalsourceimage1"));
    if (Busy || !revert->isEnabled()) return;
    ReadPicture picture;
    SourceRecipe recipe;  // the opened file's: no step
    if (openedFile_.isEmpty()) {
        picture.loaded.bitmap = SourceImage;  // a pasted picture has no file to go back to
        recipe = sourceRecipe_;
    } else {
        try {
            picture = readPictureAside(openedFile_);
            sourceMetadata_ = std::move(picture.loaded.metadata);
        } catch (const std::exception& e) {
            showPictureError(e, openedFile_);
            return;
        }
    }
    replaceSource(std::move(picture.loaded.bitmap), std::move(recipe), std::move(picture.view));
    setZoom(100);
    if (!openedFile_.isEmpty()) setStatusText(pictureStatusText(openedFile_, SourceWidth, SourceHeight));
    centerPictures();
    if (parameterWindowVisible()) windows.parameterWindow->setPreviewTimer(200);
}

// ---- Pictures out -------------------------------------------------------------------------------

void MainWindow::savePicture() {
    QApplication::processEvents();
    if (Busy) return;
    setZoom(100);
    const QString folder = openedFile_.isEmpty() ? QString() : QFileInfo(openedFile_).absolutePath() + QLatin1Char('/');
    const QString pngEntry = text(QStringLiteral("Form1.SaveFilterPng"));
    QString chosenFilter;
    const QString name = QFileDialog::getSaveFileName(this, QString(), folder + defaultSaveName(openedFile_),
                                                      saveDialogFilters(text(QStringLiteral("Form1.SaveFilter")), pngEntry),
                                                      &chosenFilter, QFileDialog::DontConfirmOverwrite);
    if (!name.isEmpty()) saveDrawing(name, chosenFilter == pngEntry);
}

// The drawing carries the opened photo's camera data (turned upright, its own size) and resolution.
bool MainWindow::saveDrawing(const QString& chosenName, bool pngChosen) {
    if (Busy) return false;
    const QString name = withSaveExtension(chosenName, pngChosen);
    if (QFileInfo::exists(name) && !askOkCancel(text(QStringLiteral("Message.Overwrite")))) return false;
    WriteOptions options;
    options.metadata = &sourceMetadata_;
    const PictureFormat format = savesAsPng(chosenName, pngChosen) ? PictureFormat::Png : PictureFormat::Jpeg;
    try {
        // Written on a worker: nothing changes the drawing meanwhile, the user's input waits.
        return waitForResult<bool>([&] { return writePicture(DrawingImage, localPath(name), nullptr, options, format); });
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
        return false;
    }
}

void MainWindow::copyDrawing() {
    if (Busy || addTextVisible()) return;
    setZoom(100);
    copyPictureToClipboard(DrawingImage);
}

// One line for a POSIX shell. A drawing no command can make gets a comment saying why, and nothing
// to run: never a command that would make something else.
void MainWindow::copyCommandLine() {
    if (Busy) return;
    const QString line = drawingCommandText();
    copyTextToClipboard(line);
    if (line.startsWith(QLatin1Char('#'))) statusStrip_->showNotice(line.mid(2));
}

QString MainWindow::drawingCommandText() const {
    auto comment = [](const QString& says) { return QStringLiteral("# ") + says; };
    if (openedFile_.isEmpty()) return comment(text(QStringLiteral("Message.CommandLineNoPhoto")));
    const DrawingRecipe& drawing = drawingOrigin_.recipe;
    std::string without = drawingOrigin_.withoutCommand;
    if (const RecipeStep* step = firstStepWithoutCommand(drawing.source); step && without.empty()) without = step->withoutCommand;
    if (!without.empty())
        return comment(text(QStringLiteral("Message.CommandLineWithout"))
                           .arg(text(QStringLiteral("Message.CommandLineStep.") + QString::fromStdString(without))));
    if (drawingOrigin_.kind != DrawingOrigin::Kind::Rendering) return comment(text(QStringLiteral("Message.CommandLineNoDrawing")));
    // The output is the one the save command proposes, in the format it would write.
    const QFileInfo photo(openedFile_);
    const QString output = withSaveExtension(photo.absolutePath() + QLatin1Char('/') + defaultSaveName(openedFile_), false);
    const CommandOutput out{localPath(output), savesAsPng(output, false) ? "png" : "jpeg"};
    return QString::fromStdString(drawingCommandLine(localPath(photo.absoluteFilePath()), drawing, out));
}

// The drawing is written and the desktop asked on a worker: the desktop's tools may take seconds to
// answer. The window says how it went when they have.
void MainWindow::setWallpaper() {
    if (Busy || wallpaperWorker_.running()) return;
    struct Outcome {
        QString error;
        WallpaperRequest request;
    };
    auto outcome = std::make_shared<Outcome>();
    const QString path = wallpaperPath();
    wallpaperStop_.store(false);
    wallpaperWorker_.run([picture = DrawingImage, path, outcome, stop = &wallpaperStop_] {
        try {
            writePicture(picture, localPath(path));
        } catch (const std::exception& e) {
            outcome->error = QString::fromUtf8(e.what());
            return;
        }
        outcome->request = showAsWallpaper(path, stop);
    }, [this, outcome, path](std::exception_ptr) {
        if (!outcome->error.isEmpty())
            showError(outcome->error);
        else if (outcome->request.outcome == WallpaperRequest::UnknownDesktop)
            showMessage(text(QStringLiteral("Message.WallpaperUnknownDesktop")).arg(path));
        else if (outcome->request.outcome == WallpaperRequest::Failed)
            showMessage(text(QStringLiteral("Message.WallpaperFailed")).arg(path, outcome->request.detail));
        else
            setStatusText(text(QStringLiteral("Message.WallpaperShown")));
        emit wallpaperDone();
    });
}

// ---- The other windows --------------------------------------------------------------------------

void MainWindow::showParameterWindow(bool raise) {
    ParameterWindow* w = windows.parameterWindow;
    if (!w) return;
    if (!w->isVisible()) {
        const QRect mine = frameGeometry();
        w->move(mine.center() - QPoint(w->width() / 2, w->height() / 2));
    }
    w->show();
    if (!raise) {
        if (addTextVisible()) windows.addTextWindow->raise();
        return;
    }
    w->raise();
    w->activateWindow();
}

void MainWindow::changeParameters() {
    if (Busy) return;
    if (addTextVisible()) windows.addTextWindow->close();
    if (!batchVisible()) showParameterWindow();
}

void MainWindow::showFramesWindow() {
    if (!windows.framesWindow) return;
    windows.framesWindow->show();
    windows.framesWindow->raise();
    windows.framesWindow->activateWindow();
}

void MainWindow::showAddTextWindow() {
    if (!windows.addTextWindow) return;
    windows.addTextWindow->show();
    windows.addTextWindow->raise();
    windows.addTextWindow->activateWindow();
}

void MainWindow::addText() {
    if (!Busy) showAddTextWindow();
}

void MainWindow::openBatchWindow() {
    if (Busy) return;
    if (parameterWindowVisible()) windows.parameterWindow->close();
    if (windows.batchWindow) windows.batchWindow->show();
}

void MainWindow::openPrintPreview() {
    if (!Busy && windows.printPreviewWindow) windows.printPreviewWindow->show();
}

void MainWindow::showAbout() {
    if (!Busy && windows.aboutWindow) windows.aboutWindow->exec();
}

void MainWindow::showDonation() {
    if (!Busy && windows.donationWindow) windows.donationWindow->exec();
}

void MainWindow::openResizeWindow() {
    if (!Busy && windows.resizeWindow) windows.resizeWindow->open();
}

void MainWindow::openRetouchWindow() {
    if (Busy || !windows.retouchWindow) return;
    windows.retouchWindow->show();
    windows.retouchWindow->raise();
    windows.retouchWindow->activateWindow();
}

void MainWindow::openOnlineHelp() {
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, text(QStringLiteral("Message.OnlineHelpTitle")), text(QStringLiteral("Message.OnlineHelp")),
                              QMessageBox::Ok | QMessageBox::Cancel);
    if (answer == QMessageBox::Ok) QDesktopServices::openUrl(QUrl(text(QStringLiteral("Message.OnlineHelpPage"))));
}

void MainWindow::quitProgram() { close(); }

// ---- Start-up argument --------------------------------------------------------------------------

void MainWindow::openStartArgument(const QString& argument) {
    if (!resourceError_.isEmpty()) showError(resourceError_);
    switch (argumentAction(argument)) {
        case ArgumentAction::OpenPicture:
            loadPictureFromFile(argument);
            break;
        case ArgumentAction::LoadParameters:
            if (!QFileInfo::exists(argument)) {
                showMessage(text(QStringLiteral("Form4.FileNotFound")));
                break;
            }
            if (windows.parameterWindow) windows.parameterWindow->loadParameters(argument);
            break;
        case ArgumentAction::None:
            break;
    }
}

}  // namespace gt
