// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include "app_test_support.h"
#include "main_window_fixture.h"
#include "batch/batch_window.h"
#include "finishing/frames_window.h"
#include "imaging/io/codecs.h"
#include "imaging/io/picture_io.h"
#include "io/slow_jpeg.h"
#include "mainwindow/startup.h"

namespace gt {
namespace {

class MainWindowTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        photoPath = dir.filePath(QStringLiteral("photo.jpg"));
        ASSERT_TRUE(writePicture(test::testPhoto(160, 120), photoPath.toStdString()));
        MainWindowFixture::SetUp();
    }

    QTemporaryDir dir;
    QString photoPath;
};

TEST_F(MainWindowTest, OpenRenderAndSaveADrawing) {
    main->setZoom(60);
    ASSERT_TRUE(main->openPictureFile(photoPath)) << messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(main->SourceWidth, 160);
    EXPECT_EQ(main->DrawingWidth, 160);
    EXPECT_EQ(main->zoom(), 100);
    EXPECT_TRUE(main->windows.parameterWindow->isVisible());
    EXPECT_TRUE(main->menuEntry(QStringLiteral("Reverttooriginalsourceimage1"))->isEnabled());
    EXPECT_EQ(main->statusStrip()->Label1->text(), photoPath + QStringLiteral(" - 160x120"));

    main->windows.parameterWindow->chooseStyle(1);
    main->windows.framesWindow->settings.style = kFrameSimple;
    main->setZoom(70);
    ASSERT_TRUE(sketchAndWait());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(main->Busy);
    // The simple frame adds the 150-pixel margin; the zoom comes back; the window shows again.
    EXPECT_EQ(main->DrawingImage.width(), 160 + 150);
    EXPECT_EQ(main->DrawingImage.height(), 120 + 150);
    EXPECT_EQ(main->DrawingWidth, 310);
    EXPECT_EQ(main->zoom(), 70);
    EXPECT_TRUE(main->windows.parameterWindow->isVisible());
    EXPECT_FALSE(main->cancelMenuShown());
    EXPECT_NE(main->DrawingImage, main->SourceImage);
    // Sketch pressed before the preview loaded the style's values: the drawing used them anyway.
    EXPECT_EQ(main->windows.parameterWindow->controls().TrackBar1, 7);
    EXPECT_EQ(main->windows.parameterWindow->sliders[kSlotTrackBar2]->value(), 127);

    const QString saved = dir.filePath(QStringLiteral("drawing"));
    ASSERT_TRUE(main->saveDrawing(saved));
    const Bitmap back = readPicture(dir.filePath(QStringLiteral("drawing.jpg")).toStdString());
    EXPECT_EQ(back.width(), 310);
    EXPECT_EQ(back.height(), 270);
}

// A rendering the machine has not the memory for (here the environment's small figure) is refused
// before the work, in the interface language; the drawing stays as it was.
TEST_F(MainWindowTest, ARenderingBeyondTheAvailableMemoryIsRefusedInTheInterfaceLanguage) {
    ASSERT_TRUE(main->openPictureFile(photoPath));
    main->windows.parameterWindow->chooseStyle(4);
    qputenv("GRAPHITELLO_AVAILABLE_MEMORY", "1M");
    const bool ended = sketchAndWait();
    qunsetenv("GRAPHITELLO_AVAILABLE_MEMORY");
    ASSERT_TRUE(ended);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Pas assez de mémoire pour dessiner cette image : le dessin prendrait environ ")))
        << messages[0].toStdString();
    EXPECT_TRUE(messages[0].endsWith(QStringLiteral(" Mo, et l'ordinateur peut en donner 1 Mo."))) << messages[0].toStdString();
    EXPECT_FALSE(main->Busy);
    EXPECT_TRUE(main->DrawingImage == main->SourceImage);
    EXPECT_TRUE(main->windows.parameterWindow->isVisible());
}

TEST_F(MainWindowTest, ProgressSwapsTheMenuDuringARun) {
    main->Busy = true;
    main->ProgressReport(0, 99, 1, 1);
    EXPECT_TRUE(main->cancelMenuShown());
    EXPECT_FALSE(main->menuEntry(QStringLiteral("File1"))->isVisible());
    main->ProgressReport(100, 100, 1, 1);
    EXPECT_FALSE(main->cancelMenuShown());
    EXPECT_TRUE(main->menuEntry(QStringLiteral("File1"))->isVisible());
    main->Busy = false;
    // Without Busy nothing changes on screen.
    main->ProgressReport(0, 99, 1, 1);
    EXPECT_FALSE(main->cancelMenuShown());
}

TEST_F(MainWindowTest, EscapeCancelsOnlyWhileBusyAndACancelShowsTheSource) {
    main->keyPressed(Qt::Key_Escape);
    EXPECT_FALSE(main->CancelRequested.load());
    ASSERT_TRUE(main->openPictureFile(photoPath));
    main->windows.parameterWindow->chooseStyle(0);
    main->CancelRequested.store(true);  // set before the work starts: the routine stops at its first row
    ASSERT_TRUE(sketchAndWait());
    EXPECT_FALSE(main->CancelRequested.load());
    EXPECT_EQ(main->DrawingImage, main->SourceImage);
    EXPECT_EQ(main->DrawingWidth, 160);
    EXPECT_FALSE(main->windows.parameterWindow->isVisible());
}

TEST_F(MainWindowTest, SketchWhileBusySchedulesNothing) {
    main->Busy = true;
    main->startDrawing();
    EXPECT_FALSE(main->renderTimer.isActive());
    EXPECT_FALSE(main->windows.parameterWindow->isVisible());
    main->Busy = false;
    main->startDrawing();
    main->startDrawing();
    EXPECT_TRUE(main->renderTimer.isActive());
    EXPECT_EQ(main->renderTimer.interval(), 200);
    main->renderTimer.stop();
}

TEST_F(MainWindowTest, CommandsAreRefusedWhileBusy) {
    main->Busy = true;
    EXPECT_FALSE(main->openPictureFile(photoPath));
    EXPECT_FALSE(main->saveDrawing(dir.filePath(QStringLiteral("x.jpg"))));
    main->filesDropped({photoPath});
    EXPECT_NE(main->SourceWidth, 160);
    const int zoom = main->zoom();
    main->setZoom(300);  // the slider keeps the value, the pictures are not rescaled
    EXPECT_NE(main->leftPane()->displaySize().width(), main->SourceWidth * 3);
    main->Busy = false;
    main->setZoom(zoom);
}

TEST_F(MainWindowTest, CommandLineDropRevertSwapAndPaste) {
    main->openStartArgument(dir.filePath(QStringLiteral("missing.gtl")));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("檔案沒有找到"));
    const QString bmp = dir.filePath(QStringLiteral("photo.bmp"));
    ASSERT_TRUE(writePicture(test::testPhoto(90, 70), bmp.toStdString()));
    main->openStartArgument(bmp);  // any picture opens from the command line
    EXPECT_EQ(main->SourceWidth, 90);
    main->openStartArgument(photoPath);
    EXPECT_EQ(main->SourceWidth, 160);
    EXPECT_EQ(main->openedFile(), photoPath);

    main->filesDropped({bmp});  // a dropped BMP loads
    EXPECT_EQ(main->SourceWidth, 90);
    main->filesDropped({dir.filePath(QStringLiteral("picture.png"))});  // not there: said, and the pictures stay
    EXPECT_EQ(main->SourceWidth, 90);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains(QStringLiteral("picture.png: no such file"))) << messages[1].toStdString();

    const Bitmap pasted = test::testPhoto(50, 40);
    main->pastePicture(&pasted);
    EXPECT_EQ(main->SourceWidth, 50);
    EXPECT_EQ(main->DrawingWidth, 50);
    EXPECT_EQ(main->openedFile(), bmp);  // pasting keeps the opened file
    main->revertToOriginalSource();  // reloads the last opened file
    EXPECT_EQ(main->SourceWidth, 90);

    main->DrawingImage = test::testPhoto(30, 20);
    main->swapPictures();
    EXPECT_EQ(main->SourceWidth, 30);
    EXPECT_EQ(main->DrawingHeight, 20);
    EXPECT_EQ(main->windows.parameterWindow->previewTimerInterval(), 300);
}

TEST_F(MainWindowTest, APhonePhotoOpensUprightAndItsDrawingKeepsTheCameraData) {
    // A TIFF stored on its side, orientation 6 in its camera data, dropped on the window.
    const Bitmap stored = test::testPhoto(80, 50);
    const std::vector<unsigned char> exif = {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0};
    const std::string side = dir.filePath(QStringLiteral("side.tif")).toStdString();
    const std::vector<unsigned char> turned = withExif(encodePicture(stored, PictureFormat::Tiff), exif);
    QFile out(QString::fromStdString(side));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(reinterpret_cast<const char*>(turned.data()), qint64(turned.size()));
    out.close();

    main->filesDropped({QString::fromStdString(side)});
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(main->SourceWidth, 50);
    EXPECT_EQ(main->SourceHeight, 80);
    EXPECT_EQ(main->sourceMetadata().orientation, 6);

    // Saved as JPEG and as PNG: upright, with the camera data (orientation reset) in the JPEG.
    ASSERT_TRUE(main->saveDrawing(dir.filePath(QStringLiteral("d"))));
    const LoadedPicture jpeg = loadPictureFile(dir.filePath(QStringLiteral("d.jpg")).toStdString());
    EXPECT_EQ(jpeg.bitmap.width(), 50);
    EXPECT_FALSE(jpeg.metadata.exif.empty());
    EXPECT_EQ(jpeg.metadata.orientation, 1);
    ASSERT_TRUE(main->saveDrawing(dir.filePath(QStringLiteral("e")), true));
    EXPECT_EQ(readPicture(dir.filePath(QStringLiteral("e.png")).toStdString()), main->DrawingImage);
    ASSERT_TRUE(main->saveDrawing(dir.filePath(QStringLiteral("f.PNG"))));
    EXPECT_EQ(readPicture(dir.filePath(QStringLiteral("f.PNG")).toStdString()), main->DrawingImage);
}

TEST_F(MainWindowTest, AnUnreadableFileLeavesThePicturesAndSaysWhy) {
    const QString bad = dir.filePath(QStringLiteral("bad.jpg"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture at all");
    f.close();
    ASSERT_TRUE(main->openPictureFile(photoPath));
    EXPECT_FALSE(main->openPictureFile(bad));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("bad.jpg")));
    EXPECT_EQ(main->SourceWidth, 160);
}

TEST_F(MainWindowTest, APictureThatCannotBeOpenedIsToldInTheInterfaceLanguage) {
    QStringList titles;
    main->showMessage = [this, &titles](const QString& m) {
        messages << m;
        titles << main->messageTitle();
    };
    const QString text = dir.filePath(QStringLiteral("notes.png")), damaged = dir.filePath(QStringLiteral("damaged.jpg"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture at all");
    f.close();
    QFile g(damaged);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write("\xff\xd8\xff\xe0 and then nothing a JPEG decoder could follow");
    g.close();

    main->filesDropped({text});
    main->applyLanguage(Language::Chinese);
    main->filesDropped({damaged});
    main->applyLanguage(Language::English);
    main->filesDropped({damaged});
    ASSERT_EQ(messages.size(), 3);
    EXPECT_EQ(messages[0], text + QStringLiteral(" n'est pas une image, ou est d'un type que ce programme ne lit pas."));
    EXPECT_EQ(messages[1], damaged + QStringLiteral(" 已損壞：無法解碼其圖像資料。"));
    EXPECT_EQ(messages[2], damaged + QStringLiteral(" is damaged: its picture data cannot be decoded."));
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Erreur"), QStringLiteral("錯誤"), QStringLiteral("Error")}));
    EXPECT_TRUE(main->messageTitle().isEmpty());  // other messages keep the window's title
}

// Closing the window while a dropped picture is being read stops the reading: decoded to its end,
// this file would be found damaged (its last bytes are cut off) and said so.
TEST_F(MainWindowTest, ClosingTheWindowStopsAPictureBeingRead) {
    ASSERT_TRUE(main->openPictureFile(photoPath));
    const QString slow = dir.filePath(QStringLiteral("slow.jpg"));
    testing::writeBytes(slow.toStdString(), testing::slowJpegCutShort(2048));
    // The window manager's close comes while the reading runs on its worker, the window painting.
    QTimer::singleShot(0, main.get(), [this] { main->close(); });
    main->filesDropped({slow});
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(main->SourceWidth, 160);
    EXPECT_FALSE(main->isVisible());
}

TEST_F(MainWindowTest, LayoutCentresThePictures) {
    main->resize(961, 640);
    main->layoutPanes();
    const MainLayout& l = main->layoutNumbers();
    EXPECT_EQ(main->leftPane()->geometry(), QRect(l.leftPane.left, l.leftPane.top, l.leftPane.width, l.leftPane.height));
    ASSERT_TRUE(main->openPictureFile(photoPath));
    EXPECT_EQ(main->leftPane()->position().x(), l.leftPane.width / 2 - 80);
    EXPECT_EQ(main->leftPane()->position().y(), l.leftPane.height / 2 - 60);
}

}  // namespace
}  // namespace gt

namespace gt {
namespace {

TEST_F(MainWindowTest, PasteWithoutAPictureKeepsTheSourceAndResetsTheDrawing) {
    ASSERT_TRUE(main->openPictureFile(photoPath));
    main->DrawingImage = test::testPhoto(20, 20);
    main->pastePicture(nullptr);
    EXPECT_EQ(main->SourceWidth, 160);
    EXPECT_EQ(main->DrawingImage, main->SourceImage);
    EXPECT_EQ(main->DrawingWidth, 160);
}

TEST_F(MainWindowTest, WallpaperIsA24BitBmpAndAnUnknownDesktopSaysSo) {
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    qputenv("XDG_CURRENT_DESKTOP", "");
    ASSERT_TRUE(main->openPictureFile(photoPath));
    QSignalSpy done(main.get(), &MainWindow::wallpaperDone);
    main->setWallpaper();
    EXPECT_TRUE(main->wallpaperRunning());  // the desktop is asked off the interface thread
    ASSERT_TRUE(done.wait(30000));
    EXPECT_FALSE(main->wallpaperRunning());
    const QString bmp = dir.filePath(QStringLiteral("Graphitello/Graphitello.bmp"));
    QFile file(bmp);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(30);
    EXPECT_EQ(header.left(2), QByteArray("BM"));
    EXPECT_EQ(int(header[28]), 24);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(bmp));
    EXPECT_EQ(readPicture(bmp.toStdString()), main->DrawingImage);
}

TEST_F(MainWindowTest, TheDrawingsHintGoesOnceThePictureIsPressed) {
    EXPECT_EQ(main->rightPane()->toolTip(), QStringLiteral("Double-cliquez pour afficher en plein écran"));
    emit main->rightPane()->pressed(Qt::LeftButton, QPoint(10, 10), QPoint());
    emit main->rightPane()->released(Qt::LeftButton, QPoint(10, 10), QPoint());
    EXPECT_TRUE(main->rightPane()->toolTip().isEmpty());
    main->switchToChinese();
    EXPECT_TRUE(main->rightPane()->toolTip().isEmpty());
}

}  // namespace
}  // namespace gt

namespace gt {
namespace {

TEST_F(MainWindowTest, CancelFromTheMenuDuringARunShowsTheSourceAndRestoresTheMenu) {
    const QString large = dir.filePath(QStringLiteral("large.jpg"));
    ASSERT_TRUE(writePicture(test::testPhoto(900, 700), large.toStdString()));
    ASSERT_TRUE(main->openPictureFile(large));
    main->windows.parameterWindow->chooseStyle(0);
    // The first progress report switches the menus; the cancel entry is pressed at that moment.
    bool menuSwapped = false;
    QObject::connect(main->statusStrip(), &StatusStrip::runStarted, main.get(), [this, &menuSwapped] {
        menuSwapped = main->cancelMenuShown();
        main->menuEntry(QStringLiteral("Canceloperation1"))->trigger();
    });
    ASSERT_TRUE(sketchAndWait());
    EXPECT_TRUE(menuSwapped);
    EXPECT_EQ(main->DrawingImage, main->SourceImage);
    EXPECT_EQ(main->DrawingWidth, 900);
    EXPECT_FALSE(main->CancelRequested.load());
    EXPECT_FALSE(main->Busy);
    EXPECT_FALSE(main->cancelMenuShown());
    EXPECT_FALSE(main->windows.parameterWindow->isVisible());
}

}  // namespace
}  // namespace gt

namespace gt {
namespace {

TEST_F(MainWindowTest, TheCommandLinePhotoDecodedDuringTheSplashIsTheOneLoaded) {
    main->preloadPicture(photoPath);
    ASSERT_TRUE(main->loadPictureFromFile(photoPath));
    EXPECT_EQ(main->SourceImage, readPicture(photoPath.toStdString()));
    // Its reduced copies were made on the same worker; the drawing, the photo still, shares them.
    test::expectViewOf(*main->leftPane(), main->SourceImage);
    EXPECT_EQ(main->rightPane()->pyramid(), main->leftPane()->pyramid());
    // A preload of another file is dropped, and a bad file says why as a plain load would.
    const QString bad = dir.filePath(QStringLiteral("bad.jpg"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("no picture");
    f.close();
    main->preloadPicture(bad);
    ASSERT_TRUE(main->loadPictureFromFile(photoPath));
    main->preloadPicture(bad);
    EXPECT_FALSE(main->loadPictureFromFile(bad));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("bad.jpg")));
    EXPECT_EQ(main->SourceWidth, 160);
}

}  // namespace
}  // namespace gt
