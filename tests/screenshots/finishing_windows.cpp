// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the frames window and of the add-text window with their previews, in every language.
#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include "app_test_support.h"
#include "screenshot_support.h"
#include "finishing/add_text_window.h"
#include "finishing/frames_window.h"
#include "mainwindow/startup.h"
#include "ui/language.h"

namespace gt {
namespace {

// The window drawn over the main window where the desktop shows it, frame and title left out.
QPixmap over(const QPixmap& background, QWidget* mainWindow, QWidget* window) {
    QPixmap shot = background;
    QPainter painter(&shot);
    const QPoint at = window->mapToGlobal(QPoint()) - mainWindow->mapToGlobal(QPoint());
    painter.fillRect(QRect(at - QPoint(1, 1), window->size() + QSize(2, 2)), QColor(90, 90, 90));
    painter.drawPixmap(at, window->grab());
    return shot;
}

void takeFinishingScreenshots(Language language, const QString& folder) {
    auto main = test::screenshotWindow(language, QStringLiteral(GT_ASSET_DIR "/sample_photo.jpg"));
    ASSERT_TRUE(main);
    ASSERT_TRUE(test::drawInFirstStyle(*main));
    main->windows.parameterWindow->hide();
    const QString suffix = languageCode(language);

    // The frames window with the realistic frame 3 in its preview.
    FramesWindow* frames = main->windows.framesWindow;
    main->showFramesWindow();
    frames->UpDown2->stepBy(2);
    frames->previewTick();
    QTest::qWait(300);
    EXPECT_TRUE(frames->grab().save(folder + QStringLiteral("/frames_window_") + suffix + QStringLiteral(".png")));
    frames->chooseFrameStyle(kFrameColoured);
    frames->colouredFrameStepped(2);
    frames->tintSliders[0]->setValue(-60);
    frames->tintSliders[2]->setValue(50);
    frames->previewTick();
    QTest::qWait(300);
    EXPECT_TRUE(frames->grab().save(folder + QStringLiteral("/frames_window_coloured_") + suffix + QStringLiteral(".png")));
    frames->close();

    // The add-text window, its text previewed over the drawing pane.
    AddTextWindow* text = main->windows.addTextWindow;
    main->addText();
    text->Edit1->setText(language == Language::French    ? QStringLiteral("Le chat, au crayon")
                         : language == Language::Chinese ? QStringLiteral("貓咪素描")
                                                         : QStringLiteral("The cat, in pencil"));
    text->CheckBox1->click();
    text->chooseColour = [](const QColor&) { return std::optional<QColor>(QColor(255, 236, 160)); };
    text->pickColour();
    text->choosePlacement(kPlaceBottomMiddle);
    text->move(main->mapToGlobal(QPoint(main->width() - text->width() - 30, 90)));
    QTest::qWait(400);
    const QPixmap shot = over(main->grab(), main.get(), text);
    EXPECT_TRUE(shot.save(folder + QStringLiteral("/add_text_window_") + suffix + QStringLiteral(".png")));
    text->cancel();
}

TEST(Screenshots, FramesAndAddTextWindowsInEveryLanguage) {
    const QString folder = test::screenshotFolder();
    test::app();
    takeFinishingScreenshots(Language::French, folder);
    takeFinishingScreenshots(Language::Chinese, folder);
    takeFinishingScreenshots(Language::English, folder);
}

}  // namespace
}  // namespace gt
