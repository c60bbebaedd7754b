// SPDX-License-Identifier: GPL-3.0-or-later
// The interface pictures: their sizes, their transparency where they sit on other backgrounds, the
// seamless background tile and the banner's loop.

#include "asset_files.h"

namespace gt::testing {
namespace {

void expectSize(const std::string& name, int w, int h) {
    QImage img = loadAsset(name);
    EXPECT_EQ(img.width(), w) << name;
    EXPECT_EQ(img.height(), h) << name;
}

// Transparent in the corners, opaque somewhere: a shape with its own outline.
void expectCutOut(const std::string& name) {
    QImage img = loadAsset(name);
    ASSERT_TRUE(img.hasAlphaChannel()) << name;
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0) << name;
    int opaque = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) opaque += qAlpha(img.pixel(x, y)) == 255;
    EXPECT_GT(opaque, img.width() * img.height() / 16) << name;
}

TEST(InterfacePictures, HaveTheirSizes) {
    expectSize("background.png", 512, 512);
    expectSize("progress_slice.png", 1, 20);
    expectSize("splash.png", 376, 109);
    expectSize("banner.png", 1225, 75);
    for (const char* language : {"fr", "zh", "en"}) {
        expectSize(std::string("donate_") + language + ".png", 124, 26);
        expectSize(std::string("sketch_button_") + language + ".png", 120, 40);
    }
    expectSize("hand_cursor.png", 32, 32);
    // The hicolor theme's sizes, installed as the application icon.
    for (int s : {16, 22, 24, 32, 48, 64, 128, 256, 512}) expectSize("icon_" + std::to_string(s) + ".png", s, s);
    expectSize("sample_photo.jpg", 451, 300);
    expectSize("sample_drawing.jpg", 788, 657);  // the photo with the default margin and frame 1
}

TEST(InterfacePictures, ToolbarButtonsComeInBothSizesWithTransparency) {
    for (const char* t : {"open", "save", "copy", "paste", "retouch", "revert", "parameters", "text", "print", "about",
                          "help", "coffee", "zoom_out", "fit", "zoom_in"}) {
        std::string name = std::string("tool_") + t;
        expectSize(name + ".png", 32, 32);
        expectSize(name + "@2x.png", 64, 64);
        expectCutOut(name + ".png");
        expectCutOut(name + "@2x.png");
    }
}

TEST(InterfacePictures, ButtonsCursorAndIconsAreCutOut) {
    for (const char* n : {"hand_cursor.png", "donate_fr.png", "donate_zh.png", "donate_en.png", "sketch_button_fr.png",
                          "sketch_button_zh.png", "sketch_button_en.png", "icon_32.png", "icon_256.png", "icon_512.png"})
        expectCutOut(n);
}

TEST(InterfacePictures, TheCursorsHotSpotIsOnTheHand) {
    // The hot spot the cursor is installed with (assets/README.md): the middle of the palm.
    QImage hand = loadAsset("hand_cursor.png");
    QRgb c = hand.pixel(16, 18);
    EXPECT_EQ(qAlpha(c), 255);
    EXPECT_GT(qGray(c), 200) << "the palm is white";
}

TEST(InterfacePictures, TheSplashLeavesRoomForTheVersionLabel) {
    // The splash window writes its small red version text at (243, 95) of the picture.
    QImage s = loadAsset("splash.png");
    for (int y = 93; y < 107; ++y)
        for (int x = 243; x < 370; ++x) ASSERT_GT(qGray(s.pixel(x, y)), 225) << x << "," << y;
}

TEST(InterfacePictures, TheLanguagesDifferOnlyInTheirWords) {
    EXPECT_NE(loadAsset("donate_fr.png"), loadAsset("donate_zh.png"));
    EXPECT_NE(loadAsset("sketch_button_fr.png"), loadAsset("sketch_button_zh.png"));
    EXPECT_NE(loadAsset("donate_en.png"), loadAsset("donate_fr.png"));
    EXPECT_NE(loadAsset("sketch_button_en.png"), loadAsset("sketch_button_fr.png"));
}

TEST(InterfacePictures, BackgroundTilesWithoutASeam) {
    QImage bg = loadAsset("background.png");
    for (bool across : {true, false}) {
        Steps s = steps(bg, across, 512);
        EXPECT_LE(s.wrap, maxOf(s.interior)) << (across ? "across" : "down");
    }
}

TEST(InterfacePictures, BannerEndsAsItBeginsSoItsJumpBackIsNotSeen) {
    // The About window slides the banner left to -1000 and then puts it back at 0.
    QImage b = loadAsset("banner.png");
    ASSERT_EQ(b.width(), 1225);
    for (int y = 0; y < 75; ++y)
        for (int x = 0; x < 225; ++x) ASSERT_EQ(b.pixel(x, y), b.pixel(x + 1000, y)) << x << "," << y;
}

}  // namespace
}  // namespace gt::testing
