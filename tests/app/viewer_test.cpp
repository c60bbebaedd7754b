// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer: the zoom arithmetic of every input, the pan's inertia, the full-screen view, the
// panes' pixels against a plain rescale, and the rendering's end (late cancel, closing).
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSemaphore>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

#include "app_test_support.h"
#include "batch/batch_window.h"
#include "imaging/io/picture_io.h"
#include "imaging/view_scaling.h"
#include "mainwindow/full_screen_window.h"
#include "mainwindow/pan_inertia.h"
#include "mainwindow/startup.h"
#include "mainwindow/zoom.h"

namespace gt {
namespace {

TEST(ZoomArithmetic, WheelButtonsFitAndTypedValues) {
    EXPECT_EQ(wheelZoom(100, 120), 95);   // away from the user: smaller
    EXPECT_EQ(wheelZoom(100, -120), 105);
    EXPECT_EQ(clampZoom(wheelZoom(5, 120)), 5);
    EXPECT_EQ(clampZoom(wheelZoom(1000, -120)), 1000);

    // Held: the step grows with the ticks and the zoom.
    int zoom = 100;
    const int out[] = {98, 96, 94, 92, 89};  // - ticks div 5 - zoom div 35
    for (int ticks = 1; ticks <= 5; ++ticks) {
        zoom = heldZoom(zoom, kZoomOut, ticks);
        EXPECT_EQ(zoom, out[ticks - 1]) << ticks;
    }
    EXPECT_EQ(heldZoom(100, kZoomIn, 1), 103);    // + 1 div 4 + 100 div 30
    EXPECT_EQ(heldZoom(100, kZoomIn, 40), 113);
    EXPECT_EQ(heldZoom(5, kZoomOut, 1), 5);
    EXPECT_EQ(heldZoom(100, kZoomNone, 9), 100);

    EXPECT_EQ(rightClickZoom(105, kZoomOut), 95);
    EXPECT_EQ(rightClickZoom(100, kZoomOut), 90);
    EXPECT_EQ(rightClickZoom(15, kZoomOut), 5);
    EXPECT_EQ(rightClickZoom(14, kZoomOut), 14);
    EXPECT_EQ(rightClickZoom(900, kZoomIn), 1000);
    EXPECT_EQ(rightClickZoom(901, kZoomIn), 901);

    EXPECT_EQ(fitZoom(472, 500, 8000, 6000), 5);
    EXPECT_EQ(fitZoom(472, 500, 200, 100), 236);
    EXPECT_EQ(fitZoom(472, 500, 100, 400), 125);

    EXPECT_EQ(typedZoom(QStringLiteral("250")), 250);
    EXPECT_EQ(typedZoom(QStringLiteral("5")), 5);
    EXPECT_FALSE(typedZoom(QStringLiteral("abc")));
    EXPECT_FALSE(typedZoom(QStringLiteral("2000")));
    EXPECT_FALSE(typedZoom(QStringLiteral("4")));
    EXPECT_FALSE(typedZoom(QStringLiteral(" 50")));
    EXPECT_FALSE(typedZoom(QString()));
}

TEST(PanInertia, FlingThresholdsAndDecay) {
    EXPECT_FALSE(flingStartsInertia(20, 2, false));
    EXPECT_TRUE(flingStartsInertia(20, 12, false));
    EXPECT_TRUE(flingStartsInertia(-20, -12, false));
    EXPECT_FALSE(flingStartsInertia(10, 30, false));  // more than 10 on the photo
    EXPECT_TRUE(flingStartsInertia(8, -8, true));     // 8 or more on the drawing
    EXPECT_FALSE(flingStartsInertia(7, 30, true));
    EXPECT_EQ(decayedVelocity(20), 17);
    EXPECT_EQ(decayedVelocity(-20), -17);  // toward zero
    EXPECT_EQ(decayedVelocity(1), 0);
    EXPECT_TRUE(inertiaEnds(1, -1));
    EXPECT_FALSE(inertiaEnds(2, 0));
}

TEST(FullScreenPlacement, StretchedWhenTheAspectIsCloseElseFittedAndCentred) {
    // 3:2 on 16:10 (|1.6 - 1.5| = 0.1): stretched over the screen.
    EXPECT_EQ(fullScreenPlacement(600, 400, 1680, 1050), (Rect{0, 0, 1680, 1050}));
    // 4:3 on 16:9: too tall at the full width, so fitted to the height and centred.
    EXPECT_EQ(fullScreenPlacement(800, 600, 1920, 1080), (Rect{242, 0, 1436, 1080}));
    // A panorama: the full width, centred vertically (the height per 100 of width is Floor(33.3) = 33).
    EXPECT_EQ(fullScreenPlacement(3000, 1000, 1920, 1080), (Rect{0, 223, 1920, 633}));
    // Portrait: the full height, centred across.
    EXPECT_EQ(fullScreenPlacement(600, 900, 1920, 1080), (Rect{604, 0, 712, 1080}));
    EXPECT_EQ(fullScreenPlacement(0, 10, 1920, 1080), (Rect{0, 0, 1920, 1080}));
}

class ViewerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::app(); }
    void SetUp() override {
        main = createWindows(Language::French);
        main->showMessage = [this](const QString& m) { messages << m; };
        main->resize(961, 640);
        main->show();
        main->layoutPanes();
        const Bitmap photo = test::testPhoto(400, 300);
        main->pastePicture(&photo);
        main->windows.parameterWindow->hide();
    }
    void TearDown() override {
        if (main && main->renderRunning()) {
            main->CancelRequested.store(true);
            QSignalSpy done(main.get(), &MainWindow::renderFinished);
            done.wait(60000);
        }
    }
    bool sketchAndWait() {
        QSignalSpy done(main.get(), &MainWindow::renderFinished);
        main->windows.parameterWindow->Button1->click();
        return done.wait(120000);
    }
    void press(QWidget* w, Qt::MouseButton b, QEvent::Type type = QEvent::MouseButtonPress) {
        QMouseEvent e(type, QPointF(16, 16), QPointF(w->mapToGlobal(QPoint(16, 16))), b,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(b), Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    std::unique_ptr<MainWindow> main;
    QStringList messages;
};

TEST_F(ViewerTest, EveryZoomInputIsClampedAndTheButtonsFollowTheirRules) {
    PictureButton* out = main->toolbarButton(QStringLiteral("Image15"));
    PictureButton* in = main->toolbarButton(QStringLiteral("Image17"));
    PictureButton* fit = main->toolbarButton(QStringLiteral("Image16"));
    main->zoomByWheel(120);
    EXPECT_EQ(main->zoom(), 95);
    EXPECT_EQ(main->leftPane()->displaySize(), QSize(380, 285));
    EXPECT_EQ(main->zoomLabel()->text(), QStringLiteral("95 %"));

    // Held left: heldZoomTimer runs, the shadow goes, each tick zooms; any release stops it all.
    press(out, Qt::LeftButton);
    EXPECT_TRUE(main->heldZoomTimer.isActive());
    EXPECT_EQ(main->ZoomDirection, kZoomOut);
    main->heldZoomTick();
    main->heldZoomTick();
    EXPECT_EQ(main->zoom(), 91);  // 95 - 1 div 5 - 95 div 35, then 93 - 2 div 5 - 93 div 35
    EXPECT_EQ(main->ZoomTicks, 3);
    press(out, Qt::LeftButton, QEvent::MouseButtonRelease);
    EXPECT_FALSE(main->heldZoomTimer.isActive());
    EXPECT_EQ(main->ZoomTicks, 1);
    EXPECT_EQ(main->ZoomDirection, kZoomNone);

    // Right button: one step on release.
    main->setZoom(105);
    press(out, Qt::RightButton);
    EXPECT_FALSE(main->heldZoomTimer.isActive());
    press(out, Qt::RightButton, QEvent::MouseButtonRelease);
    EXPECT_EQ(main->zoom(), 95);
    main->setZoom(901);
    press(in, Qt::RightButton);
    press(in, Qt::RightButton, QEvent::MouseButtonRelease);
    EXPECT_EQ(main->zoom(), 901);
    for (int i = 0; i < 300; ++i) main->setZoom(main->zoom() + 5);
    EXPECT_EQ(main->zoom(), 1000);

    // Fit on the wider pane (the left one, once the divider moves right), then actual size.
    main->SplitOffset = -100;
    main->layoutPanes();
    ASSERT_GT(main->leftPane()->width(), main->rightPane()->width());
    press(fit, Qt::RightButton);
    press(fit, Qt::RightButton, QEvent::MouseButtonRelease);
    const QSize pane = main->leftPane()->size();
    EXPECT_EQ(main->zoom(), clampZoom(fitZoom(pane.width(), pane.height(), 400, 300)));
    press(fit, Qt::LeftButton);
    press(fit, Qt::LeftButton, QEvent::MouseButtonRelease);
    EXPECT_EQ(main->zoom(), 100);
    EXPECT_EQ(main->leftPane()->position().x(), pane.width() / 2 - 200);

    // Typed: only whole numbers 5 to 1000.
    main->zoomLabelPressed();
    EXPECT_TRUE(main->zoomEdit()->isVisible());
    EXPECT_EQ(main->zoomEdit()->text(), QStringLiteral("100"));
    main->zoomEdit()->setText(QStringLiteral("abc"));
    main->zoomEditKey(Qt::Key_Return);
    EXPECT_FALSE(main->zoomEdit()->isVisible());
    EXPECT_EQ(main->zoom(), 100);
    main->zoomLabelPressed();
    main->zoomEdit()->setText(QStringLiteral("2000"));
    main->zoomEditKey(Qt::Key_Return);
    EXPECT_EQ(main->zoom(), 100);
    main->zoomLabelPressed();
    main->zoomEdit()->setText(QStringLiteral("250"));
    main->zoomEditKey(Qt::Key_Return);
    EXPECT_EQ(main->zoom(), 250);
    // The box hides when the mouse moves away over the toolbar, and on Escape.
    main->zoomLabelPressed();
    main->toolbarMouseMoved(main->zoomEdit()->x() - 10);
    EXPECT_TRUE(main->zoomEdit()->isVisible());
    main->toolbarMouseMoved(main->zoomEdit()->x() - 21);
    EXPECT_FALSE(main->zoomEdit()->isVisible());
    main->zoomLabelPressed();
    main->zoomEditKey(Qt::Key_Escape);
    EXPECT_FALSE(main->zoomEdit()->isVisible());

    // While Busy nothing is rescaled.
    main->Busy = true;
    main->zoomByWheel(120);
    main->heldZoomTick();
    EXPECT_EQ(main->leftPane()->displaySize(), QSize(1000, 750));
    main->Busy = false;
}

TEST_F(ViewerTest, PanningMovesBothPicturesAndAFlingCoastsTillItDiesAway) {
    main->setZoom(300);
    main->centerPictures();
    PicturePane* left = main->leftPane();
    PicturePane* right = main->rightPane();
    const QPoint l0 = left->position(), r0 = right->position();
    emit left->pressed(Qt::LeftButton, QPoint(500, 500), QPoint());
    EXPECT_TRUE(main->Dragging);
    emit left->moved(Qt::LeftButton, QPoint(520, 512), QPoint());
    EXPECT_EQ(left->position(), l0 + QPoint(20, 12));
    EXPECT_EQ(right->position(), r0 + QPoint(20, 12));
    EXPECT_EQ(main->PanVelocityX, 40);
    EXPECT_EQ(main->PanVelocityY, 24);
    emit left->released(Qt::LeftButton, QPoint(520, 512), QPoint());
    EXPECT_FALSE(main->Dragging);
    ASSERT_TRUE(main->panInertiaTimer.isActive());
    EXPECT_EQ(main->panInertiaTimer.interval(), 100);
    int ticks = 0;
    while (main->panInertiaTimer.isActive() && ticks < 100) {
        const QPoint before = left->position();
        const int vx = main->PanVelocityX;
        main->panInertiaTick();
        ++ticks;
        // Each tick moves by the speed (the bounds allowing), then keeps 85 % of it.
        EXPECT_LE(std::abs(left->position().x() - before.x()), std::abs(vx));
        EXPECT_EQ(main->PanVelocityX, vx * 85 / 100);
    }
    EXPECT_FALSE(main->panInertiaTimer.isActive());
    EXPECT_LT(ticks, 100);

    // A sideways fling stops dead; a press stops the coasting, as do the zoom buttons.
    emit left->pressed(Qt::LeftButton, QPoint(500, 500), QPoint());
    emit left->moved(Qt::LeftButton, QPoint(520, 501), QPoint());
    emit left->released(Qt::LeftButton, QPoint(520, 501), QPoint());
    EXPECT_FALSE(main->panInertiaTimer.isActive());
    emit left->pressed(Qt::LeftButton, QPoint(500, 500), QPoint());
    emit left->moved(Qt::LeftButton, QPoint(520, 520), QPoint());
    emit left->released(Qt::LeftButton, QPoint(520, 520), QPoint());
    ASSERT_TRUE(main->panInertiaTimer.isActive());
    press(main->toolbarButton(QStringLiteral("Image16")), Qt::RightButton);
    EXPECT_FALSE(main->panInertiaTimer.isActive());
    press(main->toolbarButton(QStringLiteral("Image16")), Qt::RightButton, QEvent::MouseButtonRelease);
}

TEST_F(ViewerTest, FullScreenBlocksInputFromItsClosingNotItsOpening) {
    main->setZoom(100);
    main->fullScreen(true);
    FullScreenWindow* view = main->windows.fullScreenWindow;
    ASSERT_TRUE(view->isVisible());
    EXPECT_TRUE(main->FullScreenShown);
    EXPECT_TRUE(view->isModal());
    EXPECT_TRUE(main->rightPane()->toolTip().isEmpty());
    const QRect screen = main->screen()->geometry();
    EXPECT_EQ(view->place(), fullScreenPlacement(400, 300, screen.width(), screen.height()));
    EXPECT_EQ(view->picture().size(), QSize(view->place().width, view->place().height));
    // However long the view stays open, the block only starts when it closes.
    EXPECT_FALSE(main->fullScreenBlockTimer.isActive());
    QTest::qWait(350);
    EXPECT_TRUE(main->FullScreenShown);
    press(view, Qt::LeftButton);
    EXPECT_FALSE(view->isVisible());
    EXPECT_TRUE(main->fullScreenBlockTimer.isActive());
    emit main->leftPane()->pressed(Qt::LeftButton, QPoint(1, 1), QPoint());
    EXPECT_FALSE(main->Dragging);  // the closing click starts no pan
    main->fullScreenBlockEnded();
    EXPECT_FALSE(main->FullScreenShown);
    emit main->leftPane()->pressed(Qt::LeftButton, QPoint(1, 1), QPoint());
    EXPECT_TRUE(main->Dragging);
    emit main->leftPane()->released(Qt::LeftButton, QPoint(1, 1), QPoint());

    main->Busy = true;
    main->fullScreen(false);
    EXPECT_FALSE(view->isVisible());
    main->Busy = false;
}

// The pane's pixels are the plain rescale's, at zooms on every level, before and after a pan.
TEST_F(ViewerTest, ThePanesShowThePixelsOfAPlainRescale) {
    PicturePane* left = main->leftPane();
    for (int zoom : {7, 16, 30, 45, 80, 100, 180, 500}) {
        SCOPED_TRACE(zoom);
        main->setZoom(zoom);
        main->centerPictures();
        const Bitmap plain = plain::viewOf(main->SourceImage, zoom * 400 / 100, zoom * 300 / 100);
        for (int pan = 0; pan < 2; ++pan) {
            if (pan == 1) {
                emit left->pressed(Qt::LeftButton, QPoint(0, 0), QPoint());
                emit left->moved(Qt::LeftButton, QPoint(-37, -23), QPoint());
                emit left->released(Qt::LeftButton, QPoint(-37, -23), QPoint());
                main->panInertiaTimer.stop();
            }
            const QImage shown = left->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QRect visible = left->pictureRect() & left->rect();
            ASSERT_FALSE(visible.isEmpty());
            for (int y = visible.top(); y <= visible.bottom(); y += 3)
                for (int x = visible.left(); x <= visible.right(); x += 3) {
                    const Colour c = plain.colourAt(x - left->position().x(), y - left->position().y());
                    ASSERT_EQ(shown.pixel(x, y), qRgb(c.r, c.g, c.b)) << x << "," << y << " pan " << pan;
                }
        }
    }
}

TEST_F(ViewerTest, TheShadowDarkensBelowAndBesideAPictureSmallerThanThePane) {
    EXPECT_EQ(shadowDepth(150), 4);
    EXPECT_EQ(shadowDepth(200), 5);
    EXPECT_EQ(shadowDepth(201), 7);
    EXPECT_EQ(shadowDepth(20), 0);
    main->setZoom(50);
    main->centerPictures();
    PicturePane* left = main->leftPane();
    const QRect p = left->pictureRect();
    const QImage with = left->grab().toImage();
    left->setPicture(nullptr, nullptr);
    const QImage without = left->grab().toImage();
    auto darker = [&](QPoint at) { return qGray(with.pixel(at)) < qGray(without.pixel(at)); };
    EXPECT_TRUE(darker(QPoint(p.center().x(), p.bottom() + 1)));
    EXPECT_TRUE(darker(QPoint(p.right() + 1, p.center().y())));
    EXPECT_FALSE(darker(QPoint(p.center().x(), p.top() - 3)));
    EXPECT_FALSE(darker(QPoint(p.right() + 12, p.center().y())));
}

TEST_F(ViewerTest, WindowDetailsTooltipDelayLabelColourAndClientMinimum) {
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
    EXPECT_TRUE(main->zoomLabel()->styleSheet().contains(QStringLiteral("192, 192, 192")));
    main->resize(100, 100);
    EXPECT_GE(main->centralWidget()->minimumSize().width(), 655);
    EXPECT_GE(main->centralWidget()->minimumSize().height(), 400);
    EXPECT_GE(main->minimumSizeHint().height(), 400 + main->menuBar()->sizeHint().height());
}

TEST_F(ViewerTest, ACancelThatComesAfterTheWorkIsClearedWhenTheRenderingEnds) {
    main->windows.parameterWindow->chooseStyle(8);
    // Forced timing: the cancel arrives after the finishing pass, before the window takes the result.
    main->renderJob()->afterWork = [this] { main->CancelRequested.store(true); };
    ASSERT_TRUE(sketchAndWait());
    EXPECT_FALSE(main->CancelRequested.load());
    main->renderJob()->afterWork = nullptr;
    // The next rendering runs whole (the frame-only style draws the default frame's margin).
    main->windows.parameterWindow->chooseStyle(1);
    ASSERT_TRUE(sketchAndWait());
    EXPECT_NE(main->DrawingImage, main->SourceImage);
    // The drawing's reduced copies came with it from the worker.
    test::expectViewOf(*main->rightPane(), main->DrawingImage);

    // While the batch window is visible the flag stays set: its loop reads it after each file.
    main->windows.batchWindow->show();
    main->renderJob()->afterWork = [this] { main->CancelRequested.store(true); };
    main->renderTimer.start(10);
    QSignalSpy done(main.get(), &MainWindow::renderFinished);
    ASSERT_TRUE(done.wait(120000));
    EXPECT_TRUE(main->CancelRequested.load());
    main->renderJob()->afterWork = nullptr;
    main->windows.batchWindow->close();
    main->CancelRequested.store(false);
}

TEST_F(ViewerTest, ClosingDuringARenderingDoesNotWaitForIt) {
    QSemaphore hold;
    main->renderJob()->afterWork = [&hold] { hold.acquire(); };
    main->windows.parameterWindow->chooseStyle(8);
    main->windows.parameterWindow->Button1->click();
    QTRY_VERIFY_WITH_TIMEOUT(main->renderRunning(), 5000);
    main->close();  // returns while the worker is held
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(main->renderRunning());
    EXPECT_TRUE(main->CancelRequested.load());
    hold.release();
    main.reset();  // the destruction collects the worker
}

}  // namespace
}  // namespace gt
