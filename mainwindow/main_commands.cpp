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

namespace {
std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
}  // namespace

// ---- Pictures in --------------------------------------------------------------------------------

void MainWindow::Openpicture1Click() {
    if (Busy) return;
    if (addTextVisible()) windows.Form9->close();
    setZoom(100);
    const QString folder = openedFile_.isEmpty() ? QString() : QFileInfo(openedFile_).absolutePath();
    const QString path = QFileDialog::getOpenFileName(
        this, QString(), folder,
        openDialogFilters(text(QStringLiteral("Form1.OpenFilter")), text(QStringLiteral("Form1.OpenFilterAllFiles"))));
    if (!path.isEmpty()) {
        openPicture(path);
        return;
    }
    if (!openedFile_.isEmpty()) {
        menuEntry(QStringLiteral("Reverttooriginalsourceimage1"))->setEnabled(true);
        setStatusText(pictureStatusText(openedFile_, SourceWidth, SourceHeight));
    }
    CenterImages();
}

bool MainWindow::openPicture(const QString& path) {
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
    setSource(std::move(picture.loaded.bitmap), std::move(picture.view));
    history_.clear();
    updateUndoMenu();
    setZoom(100);
    if (!batchVisible()) showParameterWindow();
    if (windows.Form4) windows.Form4->resetPreview();
    menuEntry(QStringLiteral("Reverttooriginalsourceimage1"))->setEnabled(true);
    setStatusText(pictureStatusText(openedFile_, SourceWidth, SourceHeight));
    CenterImages();
    updateresizemenu();
    return true;
}

// Every file is tried, whatever its name: the content says whether it is a picture, and a file that
// is not one, or of a kind not read here, is named in a message rather than ignored.
bool MainWindow::LoadImageFile(const QString& name) {
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
    if (addTextVisible()) windows.Form9->close();
    setSource(std::move(picture.loaded.bitmap), std::move(picture.view));
    history_.clear();
    updateUndoMenu();
    setZoom(100);
    menuEntry(QStringLiteral("Reverttooriginalsourceimage1"))->setEnabled(true);
    setStatusText(pictureStatusText(openedFile_, SourceWidth, SourceHeight));
    CenterImages();
    updateresizemenu();
    return true;
}

void MainWindow::preloadPicture(const QString& path) {
    preloadedPath_ = path;
    // The reduced copies the viewer draws from are made on the same worker, while the splash shows.
    preloaded_ = std::async(std::launch::async, [file = localPath(path)] { return readWithView(file); });
}

// On a worker: the picture and the reduced copies the viewer draws from.
MainWindow::ReadPicture MainWindow::readWithView(const std::string& file) {
    ReadPicture read{loadPictureFile(file), nullptr};
    read.view = viewPyramidOf(read.loaded.bitmap);
    return read;
}

MainWindow::ReadPicture MainWindow::readPictureFile(const QString& path) {
    if (preloaded_.valid()) {
        std::future<ReadPicture> ready = std::move(preloaded_);
        // A decoding error comes out here as it would below.
        if (preloadedPath_ == path) return waitForResult<ReadPicture>([&ready] { return ready.get(); });
    }
    return readPictureAside(path);
}

// Decoded on a worker, the window painting meanwhile.
MainWindow::ReadPicture MainWindow::readPictureAside(const QString& path) {
    return waitForResult<ReadPicture>([file = localPath(path)] { return readWithView(file); });
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
    }
    messageTitle_ = text(QStringLiteral("Message.Error"));
    showError(key.isEmpty() ? QString::fromUtf8(error.what()) : text(key).arg(QDir::toNativeSeparators(path)));
    messageTitle_.clear();
}

void MainWindow::filesDropped(const QStringList& files) {
    if (Busy || files.isEmpty()) return;
    LoadImageFile(files.first());
    if (parameterWindowVisible()) windows.Form4->setPreviewTimer(200);
}

void MainWindow::Colleruneimagedepuislepressepapier1Click() {
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
        replaceSource(*picture);
    } else {
        setSource(SourceImage);
    }
    setZoom(100);
    CenterImages();
    if (!batchVisible()) showParameterWindow();
    if (windows.Form4) windows.Form4->resetPreview();
}

void MainWindow::Swap1Click() {
    // The menus are swapped out during a run, so the command never meets a rendering.
    if (Busy) return;
    setZoom(100);
    // The drawing becomes the source as it is; the new drawing is the one copy of it.
    replaceSource(std::move(DrawingImage));
    CenterImages();
    if (windows.Form4) windows.Form4->resetPreview();
}

void MainWindow::Reverttooriginalsourceimage1Click() {
    QAction* revert = menuEntry(QStringLiteral("Reverttooriginalsourceimage1"));
    if (Busy || !revert->isEnabled()) return;
    ReadPicture picture;
    if (openedFile_.isEmpty()) {
        picture.loaded.bitmap = SourceImage;  // a pasted picture has no file to go back to
    } else {
        try {
            picture = readPictureAside(openedFile_);
            sourceMetadata_ = std::move(picture.loaded.metadata);
        } catch (const std::exception& e) {
            showPictureError(e, openedFile_);
            return;
        }
    }
    replaceSource(std::move(picture.loaded.bitmap), std::move(picture.view));
    setZoom(100);
    if (!openedFile_.isEmpty()) setStatusText(pictureStatusText(openedFile_, SourceWidth, SourceHeight));
    CenterImages();
    updateresizemenu();
    if (parameterWindowVisible()) windows.Form4->setPreviewTimer(200);
}

// ---- Pictures out -------------------------------------------------------------------------------

void MainWindow::Savepicture1Click() {
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

void MainWindow::Copierledessindanslepressepapier1Click() {
    if (Busy || addTextVisible()) return;
    setZoom(100);
    copyPictureToClipboard(DrawingImage);
}

// The drawing is written and the desktop asked on a worker: the desktop's tools may take seconds to
// answer. The window says how it went when they have.
void MainWindow::EnregistrerenfonddcranWindows1Click() {
    if (Busy || wallpaperThread_) return;
    struct Outcome {
        QString error;
        WallpaperRequest request;
    };
    auto outcome = std::make_shared<Outcome>();
    const QString path = wallpaperPath();
    wallpaperStop_.store(false);
    wallpaperThread_ = QThread::create([picture = DrawingImage, path, outcome, stop = &wallpaperStop_] {
        try {
            writePicture(picture, localPath(path));
        } catch (const std::exception& e) {
            outcome->error = QString::fromUtf8(e.what());
            return;
        }
        outcome->request = showAsWallpaper(path, stop);
    });
    connect(wallpaperThread_, &QThread::finished, this, [this, outcome, path] {
        wallpaperThread_->deleteLater();
        wallpaperThread_ = nullptr;
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
    wallpaperThread_->start();
}

// ---- The other windows --------------------------------------------------------------------------

void MainWindow::showParameterWindow() {
    ParameterWindow* w = windows.Form4;
    if (!w) return;
    if (!w->isVisible()) {
        const QRect mine = frameGeometry();
        w->move(mine.center() - QPoint(w->width() / 2, w->height() / 2));
    }
    w->show();
    w->raise();
    w->activateWindow();
}

void MainWindow::Changeparameters1Click() {
    if (Busy) return;
    if (addTextVisible()) windows.Form9->close();
    if (!batchVisible()) showParameterWindow();
}

void MainWindow::showFramesWindow() {
    if (!windows.Form5) return;
    windows.Form5->show();
    windows.Form5->raise();
    windows.Form5->activateWindow();
}

void MainWindow::showAddTextWindow() {
    if (!windows.Form9) return;
    windows.Form9->show();
    windows.Form9->raise();
    windows.Form9->activateWindow();
}

void MainWindow::Ajoutdetexte1Click() {
    if (!Busy) showAddTextWindow();
}

void MainWindow::Batchprocessing1Click() {
    if (Busy) return;
    if (parameterWindowVisible()) windows.Form4->close();
    if (windows.Form2) windows.Form2->show();
}

void MainWindow::Imprimer1Click() {
    if (!Busy && windows.Form6) windows.Form6->show();
}

void MainWindow::About2Click() {
    if (!Busy && windows.Form3) windows.Form3->exec();
}

void MainWindow::DonationClick() {
    if (!Busy && windows.Form8) windows.Form8->exec();
}

void MainWindow::Redimensionnerlimagesource1Click() {
    if (!Busy && windows.Form10) windows.Form10->open();
}

void MainWindow::ModifySourceImage1Click() {
    if (Busy || !windows.Form11) return;
    windows.Form11->show();
    windows.Form11->raise();
    windows.Form11->activateWindow();
}

void MainWindow::Aideenligne1Click() {
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, text(QStringLiteral("Message.OnlineHelpTitle")), text(QStringLiteral("Message.OnlineHelp")),
                              QMessageBox::Ok | QMessageBox::Cancel);
    if (answer == QMessageBox::Ok) QDesktopServices::openUrl(QUrl(text(QStringLiteral("Message.OnlineHelpPage"))));
}

void MainWindow::Quit1Click() { close(); }

// ---- Start-up argument --------------------------------------------------------------------------

void MainWindow::FormShow(const QString& argument) {
    if (!resourceError_.isEmpty()) showError(resourceError_);
    switch (argumentAction(argument)) {
        case ArgumentAction::OpenPicture:
            LoadImageFile(argument);
            break;
        case ArgumentAction::LoadParameters:
            if (!QFileInfo::exists(argument)) {
                showMessage(text(QStringLiteral("Form4.FileNotFound")));
                break;
            }
            if (windows.Form4) windows.Form4->loadParameters(argument);
            break;
        case ArgumentAction::None:
            break;
    }
}

}  // namespace gt
