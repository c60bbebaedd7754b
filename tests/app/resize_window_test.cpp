// SPDX-License-Identifier: GPL-3.0-or-later
// The resize dialog: its field rules as plain functions, and the dialog driven through its events.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "app_test_support.h"
#include "dialogs/resize_fields.h"
#include "dialogs/resize_window.h"
#include "mainwindow/startup.h"
#include "pipeline/source_commands.h"

namespace gt {
namespace {

ResizeFields opened(int sw, int sh, const ResizeLimits& limits = {}) {
    ResizeFields f;
    f.CheckBox1 = false;
    f.CheckBox2 = true;
    f.Edit1 = "junk";
    activateResize(f, sw, sh, limits);
    return f;
}

TEST(ResizeFields, OpeningShowsTheCurrentSizeAndKeepsTheProportions) {
    const ResizeFields f = opened(640, 480);
    EXPECT_EQ(f.Edit1, "640");
    EXPECT_EQ(f.Edit2, "480");
    EXPECT_EQ(f.Edit3, "100");
    EXPECT_EQ(f.Edit4, "100");
    EXPECT_EQ(f.ScrollBar1, 640);
    EXPECT_EQ(f.ScrollBar2, 480);
    EXPECT_EQ(f.maxWidth, 1920);
    EXPECT_EQ(f.maxHeight, 1440);
    EXPECT_TRUE(f.CheckBox1);
    EXPECT_FALSE(f.CheckBox2);
    EXPECT_FALSE(f.cut);
}

TEST(ResizeFields, PixelsAndPercentStayInStep) {
    ResizeFields f = opened(640, 480);
    f.Edit3 = "50";
    percentTyped(f, 1);
    EXPECT_EQ(f.Edit1, "320");
    EXPECT_EQ(f.Edit4, "50");
    EXPECT_EQ(f.Edit2, "240");
    EXPECT_EQ(f.ScrollBar1, 320);
    EXPECT_EQ(f.ScrollBar2, 240);

    // The ratio is carried in thousandths: 1000 x 1000 div 3000 = 333, x 2000 div 1000 = 666.
    f = opened(3000, 2000);
    f.Edit1 = "1000";
    pixelsTyped(f, 1);
    EXPECT_EQ(f.Edit2, "666");
    EXPECT_EQ(f.Edit3, "33");
    EXPECT_EQ(f.Edit4, "33");

    // The height leads the other way.
    f.Edit2 = "1000";
    pixelsTyped(f, 2);
    EXPECT_EQ(f.Edit1, "1500");
    EXPECT_EQ(f.Edit4, "50");
    EXPECT_EQ(f.Edit3, "50");

    // Without the proportions the other side stays.
    f = opened(640, 480);
    f.CheckBox1 = false;
    scrollBarMoved(f, 1, 960);
    EXPECT_EQ(f.Edit1, "960");
    EXPECT_EQ(f.Edit3, "150");
    EXPECT_EQ(f.Edit2, "480");
}

TEST(ResizeFields, BadTextIsReplacedAndTheCutsHold) {
    ResizeFields f = opened(640, 480);
    f.Edit1 = "64a";
    pixelsTyped(f, 1);
    EXPECT_EQ(f.Edit1, "640");
    EXPECT_EQ(f.Edit3, "100");
    EXPECT_EQ(f.ScrollBar1, 640);

    f.Edit4 = "-5";
    percentTyped(f, 2);
    EXPECT_EQ(f.Edit2, "480");
    EXPECT_EQ(f.Edit4, "100");

    f.Edit1 = "";
    pixelsTyped(f, 1);
    EXPECT_EQ(f.Edit1, "0");
    EXPECT_EQ(f.ScrollBar1, 1);  // the scroll bar keeps to its range

    f.Edit1 = "99999999999999";
    pixelsTyped(f, 1);
    EXPECT_EQ(f.Edit1, "1920");  // three times the width
    EXPECT_EQ(f.Edit3, "300");
    EXPECT_EQ(f.Edit2, "1440");

    f.Edit3 = "450";
    percentTyped(f, 1);
    EXPECT_EQ(f.Edit3, "300");
    EXPECT_EQ(f.Edit1, "1920");

    // The confirm step: any box not a number (empty too) puts both back to the current size.
    f.Edit2 = "";
    const ResizeChoice c = confirmResize(f);
    EXPECT_EQ(c.width, 640);
    EXPECT_EQ(c.height, 480);
}

TEST(ResizeFields, TheDesktopSizeReplacesTheProportionsUntilTheNextEdit) {
    ResizeFields f = opened(800, 600);
    desktopSizeChecked(f, 1920, 1080);
    EXPECT_FALSE(f.CheckBox1);
    EXPECT_TRUE(f.CheckBox2);
    EXPECT_EQ(f.Edit1, "1920");
    EXPECT_EQ(f.Edit2, "1080");
    EXPECT_EQ(f.Edit3, "240");
    EXPECT_EQ(f.Edit4, "180");
    f.Edit1 = "1000";
    pixelsTyped(f, 1);
    EXPECT_FALSE(f.CheckBox2);
    EXPECT_EQ(f.Edit2, "1080");  // the proportions stay off

    keepProportionsChecked(f);
    EXPECT_TRUE(f.CheckBox1);
    EXPECT_EQ(f.Edit2, "750");
}

// Three times a big photo passes what the program can make: the ranges shrink by one factor so any
// size within them fits, and the dialog says so.
TEST(ResizeFields, RangesAreCutToWhatTheProgramCanMake) {
    ResizeFields wide = opened(30000, 1000);
    EXPECT_TRUE(wide.cut);
    EXPECT_EQ(wide.maxWidth, 65535);
    EXPECT_EQ(wide.maxHeight, 2184);
    EXPECT_EQ(wide.maxPercent, 218);
    wide.Edit3 = "300";
    percentTyped(wide, 1);
    EXPECT_EQ(wide.Edit3, "218");
    EXPECT_EQ(wide.Edit1, "65400");

    const ResizeFields big = opened(20000, 15000);
    EXPECT_TRUE(big.cut);
    EXPECT_LE(static_cast<long long>(big.maxWidth) * big.maxHeight, ResizeLimits{}.maxPixels);
    EXPECT_LE(big.maxWidth, 65535);
    EXPECT_GT(big.maxWidth, 20000);

    const ResizeFields tight = opened(1000, 1000, ResizeLimits{1500, 2'000'000});
    EXPECT_EQ(tight.maxWidth, 1414);
    EXPECT_EQ(tight.maxHeight, 1414);
}

class ResizeWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::app(); }
    void SetUp() override {
        main = createWindows(Language::French);
        main->showMessage = [](const QString& m) { ADD_FAILURE() << m.toStdString(); };
        main->resize(961, 640);
        main->show();
        photo = test::testPhoto(1000, 800);
        main->pastePicture(&photo);
        dialog = main->windows.resizeWindow;
        dialog->desktopSize = [] { return QSize(1280, 1024); };
    }
    std::unique_ptr<MainWindow> main;
    ResizeWindow* dialog = nullptr;
    Bitmap photo;
};

TEST_F(ResizeWindowTest, TypingAndConfirmingResizesThePhoto) {
    main->openResizeWindow();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("1000"));
    EXPECT_EQ(dialog->ScrollBar1->maximum(), 3000);
    dialog->Edit3->clear();
    QTest::keyClicks(dialog->Edit3, QStringLiteral("50"));
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("500"));
    EXPECT_EQ(dialog->Edit2->text(), QStringLiteral("400"));
    EXPECT_EQ(dialog->Edit4->text(), QStringLiteral("50"));
    EXPECT_EQ(dialog->ScrollBar2->value(), 400);

    // A position the dialog sets, or one set without the focus, does not loop back.
    dialog->ScrollBar1->setValue(900);
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("500"));

    QSignalSpy done(main.get(), &MainWindow::sourceStepFinished);
    QTest::keyClick(dialog->Edit1, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_TRUE(done.wait(60000));
    EXPECT_EQ(main->SourceImage, ResizedPicture(photo, 500, 400));
    EXPECT_EQ(main->zoom(), 100);
    // The parameter window's preview starts again from the middle of the new photo.
    EXPECT_EQ(main->windows.parameterWindow->crop().PreviewLeft, 150);
    EXPECT_EQ(main->windows.parameterWindow->crop().PreviewTop, 100);
    EXPECT_EQ(main->windows.parameterWindow->previewTimerInterval(), 300);

    // Opening again shows the new size, whatever was chosen last time.
    main->openResizeWindow();
    dialog->CheckBox2->click();
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("1280"));
    EXPECT_FALSE(dialog->CheckBox1->isChecked());
    dialog->Button2->click();
    main->openResizeWindow();
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("500"));
    EXPECT_TRUE(dialog->CheckBox1->isChecked());
    EXPECT_FALSE(dialog->CheckBox2->isChecked());
    dialog->Button2->click();
    EXPECT_EQ(main->SourceWidth, 500);
}

TEST_F(ResizeWindowTest, ALetterPutsBackTheSizeAndTheTextsFollowTheLanguage) {
    main->openResizeWindow();
    QTest::keyClicks(dialog->Edit1, QStringLiteral("x"));
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("1000"));
    EXPECT_EQ(dialog->Edit3->text(), QStringLiteral("100"));
    dialog->Button2->click();

    main->applyLanguage(Language::Chinese);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("變更來源圖像大小"));
    EXPECT_EQ(dialog->Label1->text(), QStringLiteral("寬度"));
    EXPECT_EQ(dialog->Button1->text(), QStringLiteral("確定"));
    EXPECT_EQ(dialog->Button2->text(), QStringLiteral("取消"));
    main->applyLanguage(Language::French);
    EXPECT_EQ(dialog->CheckBox1->text(), QStringLiteral("Conserver les proportions   "));
    EXPECT_EQ(dialog->Button2->text(), QStringLiteral("annuler"));
}

}  // namespace
}  // namespace gt
