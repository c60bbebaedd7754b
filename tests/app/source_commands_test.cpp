// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's source-image commands, the resize it does for the resize dialog, and undo and
// redo of every change to the photo.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app_test_support.h"
#include "main_window_fixture.h"
#include "finishing/add_text_window.h"
#include "imaging/adjust.h"
#include "imaging/io/picture_io.h"
#include "mainwindow/source_history.h"
#include "mainwindow/startup.h"
#include "mainwindow/status_strip.h"
#include "pipeline/source_commands.h"

namespace gt {
namespace {

class SourceCommandsTest : public test::MainWindowFixture {
protected:
    // The photo as a paste brings it.
    void usePhoto(const Bitmap& picture) {
        main->pastePicture(&picture);
        main->sourceHistory().clear();
    }
    bool waitForStep() {
        if (!main->sourceJobRunning()) return true;
        QSignalSpy done(main.get(), &MainWindow::sourceStepFinished);
        return done.wait(60000);
    }
};

TEST_F(SourceCommandsTest, ResizingSetsBothPanesTheNaturalSizesAndThePreviewCrop) {
    const Bitmap photo = test::testPhoto(1000, 800);
    usePhoto(photo);
    main->setZoom(50);
    bool done = false;
    main->showNaturalSize();
    main->resizeSource(500, 400, [&] { done = true; });
    EXPECT_TRUE(main->Busy);
    ASSERT_TRUE(waitForStep());
    EXPECT_TRUE(done);
    EXPECT_FALSE(main->Busy);
    EXPECT_EQ(main->SourceImage, ResizedPicture(photo, 500, 400));
    EXPECT_EQ(main->DrawingImage, main->SourceImage);
    EXPECT_EQ(main->SourceWidth, 500);
    EXPECT_EQ(main->SourceHeight, 400);
    EXPECT_EQ(main->DrawingWidth, 500);
    EXPECT_EQ(main->DrawingHeight, 400);
    EXPECT_EQ(main->leftPane()->displaySize(), QSize(500, 400));
    EXPECT_EQ(main->rightPane()->displaySize(), QSize(500, 400));
    EXPECT_EQ(main->windows.parameterWindow->crop().PreviewLeft, 150);
    EXPECT_EQ(main->windows.parameterWindow->crop().PreviewTop, 0);

    // A side of 1 or less changes nothing.
    main->resizeSource(1, 300);
    EXPECT_FALSE(main->sourceJobRunning());
    EXPECT_EQ(main->SourceWidth, 500);
    // Nor does a size the program cannot hold; it says why.
    main->resizeSource(70000, 300);
    EXPECT_EQ(main->SourceWidth, 500);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("65535"))) << messages[0].toStdString();
}

TEST_F(SourceCommandsTest, TheAddTextWindowClosesDuringTheResizeAndComesBackReset) {
    usePhoto(test::testPhoto(300, 200));
    AddTextWindow* text = main->windows.addTextWindow;
    main->showAddTextWindow();
    ASSERT_TRUE(text->isVisible());
    main->resizeSource(150, 120);
    EXPECT_FALSE(text->isVisible());
    ASSERT_TRUE(waitForStep());
    EXPECT_TRUE(text->isVisible());
    // The window places its text again on its activation (its placement list); the ranges follow the new drawing.
    EXPECT_EQ(text->ScrollBar1->maximum(), 150);
    EXPECT_EQ(text->ScrollBar2->maximum(), 120);
    text->close();
}

TEST_F(SourceCommandsTest, CtrlF4TwiceBrightensTheSourceTwiceAndLeavesTheDrawing) {
    const Bitmap photo = test::testPhoto(120, 90);
    usePhoto(photo);
    const Bitmap drawing = main->DrawingImage;
    main->windows.parameterWindow->hide();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(main.get(), Qt::Key_F4, Qt::ControlModifier);
        ASSERT_TRUE(main->sourceJobRunning()) << "the hidden entry keeps its shortcut";
        ASSERT_TRUE(waitForStep());
    }
    Bitmap expected = photo;
    AdjustBrightness(expected, 5);
    AdjustBrightness(expected, 5);
    EXPECT_EQ(main->SourceImage, expected);
    test::expectViewOf(*main->leftPane(), main->SourceImage);
    EXPECT_EQ(main->DrawingImage, drawing);
    EXPECT_EQ(main->windows.parameterWindow->previewTimerInterval(), 300);
}

TEST_F(SourceCommandsTest, EachEnhancementRunsItsComposition) {
    const Bitmap photo = test::testPhoto(64, 48);
    const RenderContext quiet;
    struct Case {
        const char* entry;
        std::function<void(Bitmap&)> expected;
    };
    const Case cases[] = {
        {"Softensourceimage1", [](Bitmap& b) { SoftenPicture(b); }},
        {"Augmenterlanettet1", [](Bitmap& b) { SharpenPicture(b); }},
        {"Increasecoloursaturation1", [](Bitmap& b) { AdjustSaturation(b, 10); AdjustSaturation(b, 10); }},
        {"Increasecontrast1", [](Bitmap& b) { AdjustContrast(b, 30); }},
        {"Rduirelebruit1", [&](Bitmap& b) { SimplifyPicture(b, quiet); }},
    };
    for (const Case& c : cases) {
        usePhoto(photo);
        QSignalSpy strip(main->statusStrip(), &StatusStrip::runStarted);
        main->menuEntry(QString::fromLatin1(c.entry))->trigger();
        ASSERT_TRUE(waitForStep()) << c.entry;
        Bitmap expected = photo;
        c.expected(expected);
        EXPECT_EQ(main->SourceImage, expected) << c.entry;
        // The long steps show the progress strip and its cancel entry from their start.
        const bool longStep = QByteArray(c.entry) == "Increasecontrast1" || QByteArray(c.entry) == "Rduirelebruit1";
        if (longStep) EXPECT_GE(strip.count(), 1) << c.entry;
        else EXPECT_EQ(strip.count(), 0) << c.entry;
        EXPECT_FALSE(main->cancelMenuShown());
        EXPECT_FALSE(main->statusStrip()->running());
    }
}

TEST_F(SourceCommandsTest, ACancelledLongStepLeavesTheSourceByteForByte) {
    const Bitmap photo = test::testPhoto(200, 150);
    usePhoto(photo);
    main->windows.parameterWindow->show();
    for (const char* entry : {"Increasecontrast1", "Rduirelebruit1"}) {
        // The cancel comes before the step can end, whatever the machine's speed.
        main->CancelRequested.store(true);
        main->menuEntry(QString::fromLatin1(entry))->trigger();
        EXPECT_TRUE(main->Busy);
        EXPECT_FALSE(main->windows.parameterWindow->isVisible()) << "hidden while the step runs";
        ASSERT_TRUE(waitForStep());
        EXPECT_EQ(main->SourceImage, photo) << entry;
        EXPECT_FALSE(main->Busy);
        EXPECT_FALSE(main->CancelRequested.load());
        EXPECT_FALSE(main->cancelMenuShown());
        EXPECT_TRUE(main->windows.parameterWindow->isVisible()) << entry;
        EXPECT_FALSE(main->sourceHistory().canUndo());
    }
}

TEST_F(SourceCommandsTest, WhileAStepRunsTheOthersAreRefusedAndTheStripSaysWhy) {
    const Bitmap photo = test::testPhoto(200, 150);
    usePhoto(photo);
    main->increaseContrast();
    ASSERT_TRUE(main->Busy);
    main->increaseBrightness();
    main->undoSourceChange();
    EXPECT_TRUE(main->statusStrip()->Notice->isVisible());
    EXPECT_EQ(main->statusStrip()->Notice->text(),
              QStringLiteral("Un traitement est en cours : l'image source ne peut pas être modifiée maintenant."));
    ASSERT_TRUE(waitForStep());
    Bitmap expected = photo;
    AdjustContrast(expected, 30);
    EXPECT_EQ(main->SourceImage, expected);
    EXPECT_EQ(main->sourceHistory().undoSteps(), 1u);
}

// Undo by its key during a run says why it waits, beside the bar and not over it.
TEST_F(SourceCommandsTest, TheUndoKeyDuringARunSaysWhyBesideTheBar) {
    usePhoto(test::testPhoto(120, 90));
    main->windows.parameterWindow->hide();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QTest::keyClick(main.get(), Qt::Key_F4, Qt::ControlModifier);
    ASSERT_TRUE(waitForStep());
    const Bitmap brightened = main->SourceImage;
    ASSERT_TRUE(main->sourceHistory().canUndo());

    // A rendering half way through: the strip shows the bar and the cancel menu.
    main->Busy = true;
    main->ProgressReport(0, 100, 1, 1);
    main->ProgressReport(50, 100, 1, 1);
    ASSERT_TRUE(main->cancelMenuShown());
    StatusStrip* strip = main->statusStrip();
    QTest::keyClick(main.get(), Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_TRUE(strip->Notice->isVisible());
    EXPECT_EQ(strip->Notice->text(), QStringLiteral("Un traitement est en cours : l'image source ne peut pas être modifiée maintenant."));
    EXPECT_EQ(main->SourceImage, brightened);
    const QRect bar = strip->barArea();
    EXPECT_GT(bar.width(), strip->width() / 4);
    EXPECT_FALSE(strip->Notice->geometry().intersects(bar));
    EXPECT_FALSE(strip->Notice->geometry().intersects(strip->Label2->geometry()));
    EXPECT_LE(strip->Notice->geometry().right(), strip->width());
    main->ProgressReport(100, 100, 1, 1);
    main->Busy = false;
    EXPECT_TRUE(strip->barArea().isEmpty());
}

// Undo and redo of a photo bring its reduced copies from the worker: the interface thread only
// swaps the finished picture in, and the pane draws from copies of the picture it shows.
TEST_F(SourceCommandsTest, UndoAndRedoMakeTheViewOnTheWorker) {
    const Bitmap photo = test::testPhoto(1200, 900);
    usePhoto(photo);
    main->windows.parameterWindow->hide();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QTest::keyClick(main.get(), Qt::Key_F4, Qt::ControlModifier);
    ASSERT_TRUE(waitForStep());
    const Bitmap brightened = main->SourceImage;
    for (const auto& [key, expected] : {std::pair{Qt::ALT | Qt::Key_Backspace, &photo}, std::pair{Qt::CTRL | Qt::Key_Y, &brightened}}) {
        QTest::keyClick(main.get(), key.key(), key.keyboardModifiers());
        EXPECT_TRUE(main->sourceJobRunning()) << "the reduced copies are made on the worker";
        EXPECT_TRUE(main->Busy);
        test::expectViewOf(*main->leftPane(), main->SourceImage);  // meanwhile the pane shows what it showed
        ASSERT_TRUE(waitForStep());
        EXPECT_EQ(main->SourceImage, *expected);
        EXPECT_FALSE(main->Busy);
        test::expectViewOf(*main->leftPane(), main->SourceImage);
    }
    EXPECT_TRUE(main->sourceHistory().canUndo());
    EXPECT_FALSE(main->sourceHistory().canRedo());
    EXPECT_TRUE(main->menuEntry(QStringLiteral("Undosourcechange1"))->isEnabled());
}

// Open, brighten, retouch, resize, paste, swap, revert: every step back and forth gives the exact
// bytes it had, and a new change after an undo ends the redo side.
TEST_F(SourceCommandsTest, UndoAndRedoRestoreExactBytesThroughAMixedSequence) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.bmp"));
    ASSERT_TRUE(writePicture(test::testPhoto(160, 120), path.toStdString()));
    ASSERT_TRUE(main->openPictureFile(path));
    QAction* undo = main->menuEntry(QStringLiteral("Undosourcechange1"));
    QAction* redo = main->menuEntry(QStringLiteral("Redosourcechange1"));
    EXPECT_FALSE(undo->isEnabled());
    std::vector<Bitmap> states = {main->SourceImage};

    main->increaseBrightness();
    ASSERT_TRUE(waitForStep());
    states.push_back(main->SourceImage);
    main->retouchSource(RetouchSettings{10, -20, 30, -4, 1}, {});
    ASSERT_TRUE(waitForStep());
    states.push_back(main->SourceImage);
    main->resizeSource(90, 70);
    ASSERT_TRUE(waitForStep());
    states.push_back(main->SourceImage);
    const Bitmap pasted = test::testPhoto(40, 30);
    main->pastePicture(&pasted);
    states.push_back(main->SourceImage);
    main->DrawingImage = test::testPhoto(50, 20);
    main->swapPictures();
    states.push_back(main->SourceImage);
    main->revertToOriginalSource();
    states.push_back(main->SourceImage);
    EXPECT_EQ(states.back(), states.front());
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());

    for (std::size_t i = states.size() - 1; i-- > 0;) {
        main->undoSourceChange();
        ASSERT_TRUE(waitForStep());
        ASSERT_EQ(main->SourceImage, states[i]) << "undo to " << i;
        EXPECT_EQ(main->SourceWidth, states[i].width());
        EXPECT_EQ(main->leftPane()->displaySize(), QSize(states[i].width(), states[i].height()));
    }
    EXPECT_FALSE(undo->isEnabled());
    main->undoSourceChange();  // nothing more to take back
    EXPECT_FALSE(main->sourceJobRunning());
    EXPECT_EQ(main->SourceImage, states[0]);
    for (std::size_t i = 1; i < states.size(); ++i) {
        main->redoSourceChange();
        ASSERT_TRUE(waitForStep());
        ASSERT_EQ(main->SourceImage, states[i]) << "redo to " << i;
    }
    EXPECT_FALSE(redo->isEnabled());

    for (int i = 0; i < 2; ++i) {
        main->undoSourceChange();
        ASSERT_TRUE(waitForStep());
    }
    main->increaseBrightness();
    ASSERT_TRUE(waitForStep());
    EXPECT_FALSE(main->sourceHistory().canRedo());
    main->undoSourceChange();
    ASSERT_TRUE(waitForStep());
    EXPECT_EQ(main->SourceImage, states[states.size() - 3]);

    // A new photo starts a new history.
    ASSERT_TRUE(main->openPictureFile(path));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
}

TEST(SourceHistory, KeepsToItsBudgetDroppingTheOldestFirst) {
    const std::size_t step = 100 * 100 * 3;
    SourceHistory history(25 * step);
    SourcePicture current(Bitmap(100, 100));
    for (int i = 0; i < 30; ++i) {
        SourcePicture next(Bitmap(100, 100), current.recipe);
        next.picture.setColour(0, 0, Colour{std::uint8_t(i), 0, 0});
        next.recipe.push_back(resizeStep(100 + i, 100));
        history.record(std::exchange(current, next));
    }
    EXPECT_EQ(history.undoSteps(), 25u);
    EXPECT_LE(history.bytes(), history.budget());
    // The oldest kept step is the sixth change's picture, with every step that made it.
    for (int i = 0; i < 25; ++i) ASSERT_TRUE(history.undo(current));
    EXPECT_EQ(current.picture.colourAt(0, 0).b, 4);
    ASSERT_EQ(current.recipe.size(), 5u);
    EXPECT_EQ(current.recipe.front(), resizeStep(100, 100));
    EXPECT_EQ(current.recipe.back(), resizeStep(104, 100));
    EXPECT_FALSE(history.undo(current));
    EXPECT_EQ(history.redoSteps(), 25u);
    ASSERT_TRUE(history.redo(current));
    EXPECT_EQ(current.recipe.size(), 6u);

    // A smaller budget drops steps at once; a picture bigger than all of it is not kept.
    history.setBudget(3 * step);
    EXPECT_LE(history.bytes(), 3 * step);
    history.record(SourcePicture(Bitmap(200, 200)));
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.bytes(), 0u);

    EXPECT_EQ(defaultHistoryBudget(std::size_t(16) << 30), std::size_t(4) << 30);
    EXPECT_GT(startupHistoryBudget(), 0u);
}

}  // namespace
}  // namespace gt
