// SPDX-License-Identifier: GPL-3.0-or-later
// The retouch window: the preview that follows the sliders, applying to the whole photo on the
// worker with the same bytes as the command line's retouch, and a cancel that leaves the photo.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "app_test_support.h"
#include "dialogs/retouch_window.h"
#include "imaging/adjust.h"
#include "imaging/median.h"
#include "mainwindow/startup.h"
#include "ui/qt_bitmap.h"

namespace gt {
namespace {

class RetouchWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::app(); }
    void SetUp() override {
        main = createWindows(Language::French);
        main->showMessage = [](const QString& m) { ADD_FAILURE() << m.toStdString(); };
        main->resize(961, 640);
        main->show();
        photo = test::testPhoto(300, 220);
        main->pastePicture(&photo);
        main->sourceHistory().clear();
        w = main->windows.retouchWindow;
        w->leftButtonDown = [] { return false; };
    }
    void TearDown() override {
        if (main->sourceJobRunning()) {
            main->CancelRequested.store(true);
            QSignalSpy done(main.get(), &MainWindow::sourceStepFinished);
            done.wait(60000);
        }
    }
    void setSliders(const RetouchSettings& s) {
        const int v[5] = {s.TrackBar1, s.TrackBar2, s.TrackBar3, s.TrackBar4, s.TrackBar5};
        for (int i = 0; i < 5; ++i) w->TrackBars[i]->setValue(v[i]);
    }
    std::unique_ptr<MainWindow> main;
    RetouchWindow* w = nullptr;
    Bitmap photo;
};

// The chain written out as the command line's adjust retouch runs it (tests/cli/render_test.cpp).
Bitmap chain(Bitmap t, const RetouchSettings& s) {
    const RenderContext quiet;
    if (s.TrackBar5 > 0) MedianFilter(Bitmap(t), t, s.TrackBar5 + 2, 1, 1, quiet);
    AdjustBrightness(t, s.TrackBar1);
    if (s.TrackBar2 < 0) LinearContrast(t, 127, s.TrackBar2);
    else AdjustContrast(t, 2 * s.TrackBar2);
    AdjustSaturation(t, s.TrackBar3);
    BlurOrSharpen(t, s.TrackBar4);  // written out step by step in the pipeline's tests
    return t;
}

TEST_F(RetouchWindowTest, ThePreviewFollowsTheSliders) {
    main->openRetouchWindow();
    ASSERT_TRUE(w->isVisible());
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(w->lastChangedSlider(), -1);
    EXPECT_EQ(fromQImage(w->Image1->picture()), rawRetouchPreview(photo, 0, 0));
    EXPECT_EQ(w->TrackBars[0]->minimum(), -100);
    EXPECT_EQ(w->TrackBars[3]->minimum(), -5);
    EXPECT_EQ(w->TrackBars[3]->maximum(), 5);
    EXPECT_EQ(w->TrackBars[4]->maximum(), 9);

    w->TrackBars[1]->setValue(-40);
    EXPECT_EQ(w->ValueLabels[1]->text(), QStringLiteral("-40"));
    EXPECT_EQ(w->lastChangedSlider(), 2);
    EXPECT_TRUE(w->previewTimer.isActive());
    EXPECT_EQ(w->previewTimer.interval(), 200);

    // While the slider is held nothing is scheduled; the release is.
    w->previewTimer.stop();
    w->leftButtonDown = [] { return true; };
    w->TrackBars[4]->setValue(3);
    EXPECT_FALSE(w->previewTimer.isActive());
    EXPECT_EQ(w->ValueLabels[4]->text(), QStringLiteral("3"));
    w->sliderReleased(5);
    EXPECT_TRUE(w->previewTimer.isActive());

    // The crop dragged over the photo, then the preview of the chain on it.
    w->previewPressed(60, 60);
    w->previewMoved(20, 30);
    EXPECT_EQ(fromQImage(w->Image1->picture()), rawRetouchPreview(photo, 40, 30));
    w->previewReleased();
    w->previewTick();
    EXPECT_EQ(fromQImage(w->Image1->picture()), RetouchPreview(photo, 40, 30, w->settings()));
    EXPECT_EQ(main->SourceImage, photo);

    // The reset puts every slider back to 0.
    w->resetSliders();
    EXPECT_EQ(w->settings(), RetouchSettings{});
    w->cancel();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(main->SourceImage, photo);
}

TEST_F(RetouchWindowTest, ApplyingWithNothingChangedLeavesThePhoto) {
    main->openRetouchWindow();
    w->applyToPhoto();
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(main->sourceJobRunning());
    EXPECT_EQ(main->SourceImage, photo);
    EXPECT_FALSE(main->sourceHistory().canUndo());
}

TEST_F(RetouchWindowTest, ApplyingGivesTheCommandLinesBytesAndCanBeUndone) {
    main->windows.parameterWindow->show();
    for (const RetouchSettings s : {RetouchSettings{15, -25, 35, -4, 2}, RetouchSettings{-10, 20, -50, 3, 0}}) {
        const Bitmap before = main->SourceImage;
        main->openRetouchWindow();
        setSliders(s);
        QSignalSpy done(main.get(), &MainWindow::sourceStepFinished);
        w->applyToPhoto();
        EXPECT_TRUE(main->Busy);
        EXPECT_TRUE(w->isVisible()) << "open until the photo is done";
        ASSERT_TRUE(done.wait(60000));
        EXPECT_EQ(main->SourceImage, chain(before, s));
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(w->lastChangedSlider(), -1);
        EXPECT_EQ(main->windows.parameterWindow->previewTimerInterval(), 100);
        EXPECT_EQ(fromQImage(w->Image1->picture()), rawRetouchPreview(main->SourceImage, 0, 0));
    }
    main->undoSourceChange();
    main->undoSourceChange();
    EXPECT_EQ(main->SourceImage, photo);
}

TEST_F(RetouchWindowTest, ACancelDuringTheWholePhotoLeavesItByteForByte) {
    main->openRetouchWindow();
    setSliders(RetouchSettings{30, 30, 30, 2, 9});
    QSignalSpy done(main.get(), &MainWindow::sourceStepFinished);
    main->CancelRequested.store(true);  // before the median's first row, whatever the machine's speed
    w->applyToPhoto();
    ASSERT_TRUE(done.wait(60000));
    EXPECT_EQ(main->SourceImage, photo);
    EXPECT_FALSE(main->CancelRequested.load());
    EXPECT_FALSE(main->Busy);
    // The window stays with its sliders, to try again or to close.
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->settings(), (RetouchSettings{30, 30, 30, 2, 9}));
    EXPECT_TRUE(w->Button2->isEnabled());
    EXPECT_FALSE(main->sourceHistory().canUndo());

    // Escape or closing during the whole-photo step asks it to stop; the window stays meanwhile.
    w->applyToPhoto();
    ASSERT_TRUE(w->applying());
    EXPECT_FALSE(w->Button2->isEnabled());
    w->reject();
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(main->CancelRequested.load());
    ASSERT_TRUE(done.wait(60000));
    EXPECT_FALSE(w->applying());
    EXPECT_FALSE(main->CancelRequested.load()) << "a late cancel is spent too";
    w->cancel();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(RetouchWindowTest, TextsInBothLanguages) {
    main->applyLanguage(Language::Chinese);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("修改來源圖像"));
    EXPECT_EQ(w->CaptionLabels[4]->text(), QStringLiteral("簡單化 (中間濾鏡)   "));
    EXPECT_EQ(w->Button2->text(), QStringLiteral("變更應用"));
    main->applyLanguage(Language::French);
    EXPECT_EQ(w->CaptionLabels[0]->text(), QStringLiteral("Luminosité           "));
    EXPECT_EQ(w->CaptionLabels[3]->text(), QStringLiteral("Flou/Netteté         "));
    EXPECT_EQ(w->Button3->text(), QStringLiteral("Remise à zéro"));
}

}  // namespace
}  // namespace gt
