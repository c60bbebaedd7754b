// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the main window, the parameter window and the resize and retouch windows in the
// three languages, for the README (`make screenshots`).
#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include "app_test_support.h"
#include "dark_desktop.h"
#include "screenshot_support.h"
#include "dialogs/resize_window.h"
#include "dialogs/retouch_window.h"
#include "imaging/io/picture_io.h"
#include "mainwindow/full_screen_window.h"
#include "ui/qt_bitmap.h"
#include "mainwindow/startup.h"
#include "ui/language.h"

namespace gt {
namespace {

void takeScreenshots(Language language, const QString& folder, const QString& suffix) {
    auto main = test::screenshotWindow(language, QStringLiteral(GT_ASSET_DIR "/sample_photo.jpg"));
    ASSERT_TRUE(main);
    ASSERT_TRUE(test::drawInFirstStyle(*main));
    ParameterWindow* p = main->windows.parameterWindow;
    p->show();
    QTest::qWait(400);
    p->previewTick();
    EXPECT_TRUE(test::waitForPresetPictures(*p));
    QTest::qWait(200);
    EXPECT_TRUE(main->grab().save(folder + QStringLiteral("/main_window_") + suffix + QStringLiteral(".png")));
    EXPECT_TRUE(p->grab().save(folder + QStringLiteral("/parameter_window_") + suffix + QStringLiteral(".png")));
}

// The resize dialog at half the size, and the retouch window with its sliders moved and the preview
// dragged to the cat's face.
void takeSourceWindowScreenshots(Language language, const QString& folder) {
    auto main = test::screenshotWindow(language, QStringLiteral(GT_ASSET_DIR "/sample_photo.jpg"));
    ASSERT_TRUE(main);
    main->windows.parameterWindow->hide();
    const QString suffix = languageCode(language);

    ResizeWindow* resize = main->windows.resizeWindow;
    main->openResizeWindow();
    resize->Edit3->setText(QStringLiteral("50"));
    resize->boxTyped(3);
    QTest::qWait(200);
    EXPECT_TRUE(resize->grab().save(folder + QStringLiteral("/resize_window_") + suffix + QStringLiteral(".png")));
    resize->Button2->click();

    RetouchWindow* retouch = main->windows.retouchWindow;
    main->openRetouchWindow();
    const int values[5] = {12, 20, 25, 2, 1};
    for (int i = 0; i < 5; ++i) retouch->TrackBars[i]->setValue(values[i]);
    const Bitmap& photo = main->SourceImage;
    retouch->previewPressed(0, 0);
    retouch->previewMoved(-(photo.width() / 2 - 55), -(photo.height() / 3 - 55));
    retouch->previewReleased();
    retouch->previewTick();
    QTest::qWait(200);
    EXPECT_TRUE(retouch->grab().save(folder + QStringLiteral("/retouch_window_") + suffix + QStringLiteral(".png")));
    retouch->cancel();

    // A single click in the brightness slider's groove, right of the handle: the preview follows.
    main->openRetouchWindow();
    QTest::qWait(200);
    QSlider* brightness = retouch->TrackBars[0];
    QSignalSpy drawn(retouch, &RetouchWindow::previewDrawn);
    QTest::mouseClick(brightness, Qt::LeftButton, {}, QPoint(brightness->width() * 3 / 4, brightness->height() / 2));
    EXPECT_TRUE(drawn.wait(3000));
    QTest::qWait(200);
    EXPECT_TRUE(retouch->grab().save(folder + QStringLiteral("/retouch_groove_click_") + suffix + QStringLiteral(".png")));
    retouch->cancel();
}

TEST(Screenshots, ResizeAndRetouchWindowsInEveryLanguage) {
    const QString folder = test::screenshotFolder();
    test::app();
    takeSourceWindowScreenshots(Language::French, folder);
    takeSourceWindowScreenshots(Language::Chinese, folder);
    takeSourceWindowScreenshots(Language::English, folder);
}

// The presets' strip with one preset of the user's beside the built-in ones, the user's applied.
void takePresetStripScreenshot(Language language, const QString& folder) {
    auto main = test::screenshotWindow(language, QStringLiteral(GT_ASSET_DIR "/sample_photo.jpg"));
    ASSERT_TRUE(main);
    ParameterWindow* p = main->windows.parameterWindow;
    p->show();
    QTest::qWait(400);
    p->previewTick();
    ASSERT_TRUE(test::waitForPresetPictures(*p));
    for (std::size_t i = 0; i < p->presets().size(); ++i)
        if (!p->presets()[i].builtIn) QTest::mouseClick(p->presetButtons[i], Qt::LeftButton);
    p->previewTick();
    QTest::qWait(200);
    EXPECT_TRUE(p->grab().save(folder + QStringLiteral("/parameter_window_presets_") + languageCode(language) + QStringLiteral(".png")));
}

TEST(Screenshots, PresetStripInEveryLanguage) {
    const QString folder = test::screenshotFolder();
    test::app();
    test::ScreenshotPresetFolder presets;
    for (Language language : {Language::French, Language::Chinese, Language::English})
        takePresetStripScreenshot(language, folder);
}

TEST(Screenshots, MainAndParameterWindowsInEveryLanguage) {
    const QString folder = test::screenshotFolder();
    test::app();
    test::ScreenshotPresetFolder presets;
    for (Language language : {Language::French, Language::Chinese, Language::English})
        takeScreenshots(language, folder, languageCode(language));
}

// The same on a desktop with a dark theme: the program keeps its light look and dark text.
TEST(Screenshots, MainAndParameterWindowsOnADarkDesktop) {
    const QString folder = test::screenshotFolder();
    QApplication& app = test::app();
    const QPalette desktop = app.palette();
    test::ScreenshotPresetFolder presets;
    app.setPalette(test::darkDesktopPalette());
    takeScreenshots(Language::English, folder, QStringLiteral("dark"));
    app.setPalette(desktop);
}

// A 48-megapixel photo zoomed out in both panes, with the shadow, and the drawing in full screen.
TEST(Screenshots, BigPhotoZoomedOutAndFullScreen) {
    const QString folder = test::screenshotFolder();
    test::app();
    QTemporaryDir dir;
    const QString photo = dir.filePath(QStringLiteral("big.jpg"));
    {
        const QImage sample = toQImage(readPicture(GT_ASSET_DIR "/sample_photo.jpg"));
        const Bitmap big = fromQImage(sample.scaled(8000, 6000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        ASSERT_TRUE(writePicture(big, photo.toStdString()));
    }
    auto main = test::screenshotWindow(Language::French, photo);
    ASSERT_TRUE(main);
    main->windows.parameterWindow->hide();
    main->setZoom(6);
    main->centerPictures();
    QTest::qWait(300);
    EXPECT_TRUE(main->grab().save(folder + QStringLiteral("/viewer_big_photo_zoomed_out.png")));
    main->fullScreen(true);
    QTest::qWait(300);
    EXPECT_TRUE(main->windows.fullScreenWindow->grab().save(folder + QStringLiteral("/full_screen.png")));
    main->windows.fullScreenWindow->close();
}

}  // namespace
}  // namespace gt
