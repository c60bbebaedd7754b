// SPDX-License-Identifier: GPL-3.0-or-later
// The frames and add-text windows with the main window: what the finishing pass reads from them,
// the text previewed over the drawing pane whatever happens to the drawing, and the text dragged on
// the pane.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app_test_support.h"
#include "finishing/add_text_window.h"
#include "finishing/frames_window.h"
#include "imaging/io/picture_io.h"
#include "mainwindow/startup.h"
#include "pipeline/render.h"
#include "ui/qt_bitmap.h"

namespace gt {
namespace {

class FinishingWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::app(); }
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        photoPath = dir.filePath(QStringLiteral("photo.jpg"));
        ASSERT_TRUE(writePicture(test::testPhoto(240, 180), photoPath.toStdString()));
        main = createWindows(Language::French);
        main->showMessage = [this](const QString& m) { messages << m; };
        main->resize(1000, 700);
        main->show();
        main->layoutPanes();
        ASSERT_TRUE(main->openPictureFile(photoPath));
        // The quickest style: the photo with its frame and texture.
        main->windows.parameterWindow->chooseStyle(8);
        frames = main->windows.framesWindow;
        text = main->windows.addTextWindow;
    }
    void TearDown() override { EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString(); }

    bool sketchAndWait() {
        QSignalSpy done(main.get(), &MainWindow::renderFinished);
        main->windows.parameterWindow->Button1->click();
        return done.wait(120000);
    }
    // The preview laid on the drawing pane now, as a patch of the drawing.
    TextOverlayPatch paneOverlay() const {
        return {fromQImage(main->rightPane()->overlay()), main->rightPane()->overlayPosition().x(),
                main->rightPane()->overlayPosition().y()};
    }
    TextOverlayPatch expectedOverlay() {
        return PreviewTextOverlay(main->DrawingImage, text->settings, text->position(), glyphs);
    }

    QTemporaryDir dir;
    QString photoPath;
    std::unique_ptr<MainWindow> main;
    QStringList messages;
    FramesWindow* frames = nullptr;
    AddTextWindow* text = nullptr;
    QtGlyphRenderer glyphs;
};

TEST_F(FinishingWindows, TheFinishingPassDrawsTheFrameChosenInTheWindow) {
    main->changeParameters();
    main->windows.parameterWindow->chooseFrame();  // "..." beside the frame option
    ASSERT_TRUE(frames->isVisible());
    frames->chooseFrameStyle(kFrameLined);
    frames->marginStepped(40);
    frames->chooseColour = [](const QColor&) { return std::optional<QColor>(QColor(200, 0, 0)); };
    frames->chooseLineColour();
    frames->confirm();
    ASSERT_TRUE(sketchAndWait());
    EXPECT_EQ(main->DrawingWidth, 240 + 40);
    EXPECT_EQ(main->DrawingHeight, 180 + 40);
    // The line in the chosen colour, (40 - 5) div 2 = 17 pixels in from the edge.
    EXPECT_EQ(main->DrawingImage.colourAt(17, 100), (Colour{0, 0, 200}));
    EXPECT_EQ(main->DrawingImage.colourAt(5, 100), frames->settings.FillColour);
}

TEST_F(FinishingWindows, CancelLeavesTheDrawingAsItWouldBeWithoutTheWindow) {
    ASSERT_TRUE(sketchAndWait());
    const Bitmap drawn = main->DrawingImage;

    main->addText();
    ASSERT_TRUE(text->isVisible());
    EXPECT_EQ(paneOverlay(), expectedOverlay());
    EXPECT_FALSE(paneOverlay().pixels.empty());
    // The parameter window's preview ticks meanwhile.
    main->windows.parameterWindow->show();
    main->windows.parameterWindow->previewTick();
    text->Edit1->setText(QStringLiteral("Minou"));
    text->cancel();
    EXPECT_EQ(main->DrawingImage, drawn);
    EXPECT_TRUE(main->rightPane()->overlay().isNull());
    ASSERT_NE(main->rightPane()->picture(), nullptr);
    EXPECT_EQ(*main->rightPane()->picture(), drawn);

    // A rendering while the window is open: the preview is made again on the new drawing, and
    // Cancel leaves that drawing as the rendering made it.
    main->addText();
    ASSERT_TRUE(sketchAndWait());
    EXPECT_TRUE(text->isVisible());
    EXPECT_EQ(main->DrawingImage, drawn);  // the same style twice: the same drawing
    EXPECT_EQ(paneOverlay(), expectedOverlay());
    text->choosePlacement(kPlaceTopLeft);
    text->unusedCancel();
    EXPECT_EQ(main->DrawingImage, drawn);
    EXPECT_TRUE(main->rightPane()->overlay().isNull());
}

TEST_F(FinishingWindows, SwapAndRevertWhileOpenArePreviewedOnTheNewDrawing) {
    ASSERT_TRUE(sketchAndWait());
    main->addText();
    main->swapPictures();
    EXPECT_EQ(main->DrawingImage, main->SourceImage);
    EXPECT_EQ(paneOverlay(), expectedOverlay());
    main->revertToOriginalSource();
    EXPECT_EQ(main->SourceWidth, 240);
    EXPECT_EQ(paneOverlay(), expectedOverlay());
    const Bitmap reverted = main->DrawingImage;
    text->cancel();
    EXPECT_EQ(main->DrawingImage, reverted);
}

TEST_F(FinishingWindows, CopyAndPasteLendTheirShortcutsWhileTheWindowIsOpen) {
    QAction* copy = main->menuEntry(QStringLiteral("Copierledessindanslepressepapier1"));
    QAction* paste = main->menuEntry(QStringLiteral("Colleruneimagedepuislepressepapier1"));
    main->addText();
    EXPECT_TRUE(copy->shortcut().isEmpty());
    EXPECT_TRUE(paste->shortcut().isEmpty());
    text->cancel();
    EXPECT_EQ(copy->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    EXPECT_EQ(paste->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_V));
}

TEST_F(FinishingWindows, OkWritesTheTextIntoTheDrawingAndItsPane) {
    const Bitmap before = main->DrawingImage;
    main->addText();
    const TextOverlayPatch shown = paneOverlay();
    text->writeText();
    EXPECT_FALSE(text->isVisible());
    EXPECT_TRUE(main->rightPane()->overlay().isNull());
    Bitmap expected = before;
    expected.draw(shown.pixels, shown.left, shown.top);
    EXPECT_EQ(main->DrawingImage, expected);
    EXPECT_NE(main->DrawingImage, before);
    ASSERT_NE(main->rightPane()->picture(), nullptr);
    EXPECT_EQ(*main->rightPane()->picture(), expected);
}

TEST_F(FinishingWindows, OpeningANewPictureClosesTheWindowAndDropsThePreview) {
    main->addText();
    ASSERT_FALSE(main->rightPane()->overlay().isNull());
    ASSERT_TRUE(main->loadPictureFromFile(photoPath));
    EXPECT_FALSE(text->isVisible());
    EXPECT_FALSE(text->TextShown());
    EXPECT_TRUE(main->rightPane()->overlay().isNull());
    EXPECT_EQ(main->DrawingImage, main->SourceImage);
}

TEST_F(FinishingWindows, ARenderingWithTheTextOnWritesItAndClosesTheWindow) {
    main->windows.parameterWindow->CheckBox4->click();
    main->addText();
    ASSERT_TRUE(sketchAndWait());
    EXPECT_FALSE(text->isVisible());
    EXPECT_TRUE(main->rightPane()->overlay().isNull());
    // The text is in the drawing: the frame and texture alone would not give these pixels.
    DrawingParameters p;
    static_cast<DrawingControls&>(p) = main->windows.parameterWindow->controls();
    p.frame = frames->settings;
    p.text = text->settings;
    RenderContext ctx;
    ctx.DrawingWidth = 240;
    ctx.DrawingHeight = 180;
    const RenderResult withText = renderDrawing(main->SourceImage, p, main->resources(), ctx, &glyphs);
    EXPECT_EQ(main->DrawingImage, withText.drawing);
}

TEST_F(FinishingWindows, TheTextIsDraggedOnTheDrawingPane) {
    PicturePane* pane = main->rightPane();
    main->addText();
    main->setZoom(200);
    const TextPosition start = text->position();
    const TextExtent e = glyphs.measure(fontOf(text->settings), text->settings.text);
    // The middle of the text, in pane pixels at 200 %.
    const QPoint onText = pane->position() + QPoint((start.ScrollBar1 + e.width / 2) * 2, (start.ScrollBar2 + e.height / 2) * 2);
    ASSERT_TRUE(pane->rect().contains(onText));
    QTest::mousePress(pane, Qt::LeftButton, Qt::NoModifier, onText);
    EXPECT_TRUE(main->DraggingText);
    EXPECT_FALSE(main->Dragging);
    EXPECT_EQ(text->ComboBox1->currentIndex(), kPlaceCustom);

    const QPoint to = onText - QPoint(60, 40);
    QMouseEvent move(QEvent::MouseMove, to, pane->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane, &move);
    const QPoint inDrawing = (to - pane->position()) / 2;
    EXPECT_EQ(text->position(), (TextPosition{inDrawing.x() - e.width / 2, inDrawing.y() - e.height / 2}));
    EXPECT_EQ(text->Edit2->text(), QString::number(inDrawing.x() - e.width / 2));
    EXPECT_EQ(paneOverlay(), expectedOverlay());
    // The pictures did not pan.
    const QPoint panePosition = pane->position();
    QTest::mouseRelease(pane, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_FALSE(main->DraggingText);
    EXPECT_EQ(pane->position(), panePosition);

    // Off the text a press pans as before.
    QTest::mousePress(pane, Qt::LeftButton, Qt::NoModifier, pane->position() + QPoint(2, 2));
    EXPECT_TRUE(main->Dragging);
    EXPECT_FALSE(main->DraggingText);
    QTest::mouseRelease(pane, Qt::LeftButton, Qt::NoModifier, pane->position() + QPoint(2, 2));
}

}  // namespace
}  // namespace gt
