// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>

#include "app_test_support.h"
#include "finishing/frames_window.h"
#include "imaging/io/builtin_pictures.h"
#include "ui/language.h"
#include "ui/qt_bitmap.h"

namespace gt {
namespace {

class FramesHost : public FramesWindowHost {
public:
    const Bitmap& sourceImage() const override { return source; }
    const FramePictures& framePictures() const override { return pictures; }
    Bitmap source = test::testPhoto(300, 200);
    FramePictures pictures = loadBuiltinPicturesFrom(GT_ASSET_DIR).FramePictures;
};

class FramesWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::app(); }
    void SetUp() override { window.applyTexts(TextTable::of(Language::French), Language::French); }
    Bitmap shownPreview() const { return fromQImage(window.previewPicture()); }

    FramesHost host;
    FramesWindow window{host};
};

TEST_F(FramesWindowTest, CreatedWithTheRealisticFrameAndTheDefaults) {
    EXPECT_EQ(window.ComboBox1->currentIndex(), kFrameRealistic);
    EXPECT_EQ(window.ComboBox1->currentText(), QStringLiteral("Cadre réaliste "));
    EXPECT_EQ(window.ComboBox1->count(), 4);
    EXPECT_EQ(window.Edit1->text(), QStringLiteral("150"));
    EXPECT_EQ(window.Edit1->maxLength(), 4);
    EXPECT_EQ(window.UpDown1->position(), 150);
    EXPECT_EQ(window.UpDown2->position(), 1);
    EXPECT_EQ(window.UpDown3->position(), 1);
    EXPECT_EQ(window.tintSliders[0]->minimum(), -255);
    EXPECT_EQ(window.tintSliders[2]->maximum(), 255);
    // The paper white of the fill: red 252, green 251, blue 242.
    EXPECT_EQ(window.Shape1->colour(), QColor(252, 251, 242));
    EXPECT_EQ(window.Shape2->colour(), QColor(Qt::black));
    // The preview: white inside its two black outlines.
    const Bitmap preview = shownPreview();
    ASSERT_EQ(preview.width(), 200);
    EXPECT_EQ(preview.colourAt(0, 0), kBlack);
    EXPECT_EQ(preview.colourAt(198, 100), kBlack);
    EXPECT_EQ(preview.colourAt(2, 2), kWhite);
    EXPECT_EQ(preview.colourAt(100, 100), kWhite);
}

TEST_F(FramesWindowTest, EachStyleShowsItsControls) {
    struct Row { int style; bool upDown2, upDown3, line, fill, tint; };
    const Row table[] = {{0, false, false, false, true, false},
                         {1, false, false, true, true, false},
                         {2, true, false, false, true, false},
                         {3, false, true, false, true, true}};
    for (const Row& r : table) {
        window.chooseFrameStyle(r.style);
        EXPECT_EQ(frameControlsShown(r.style), (FrameControlsShown{r.upDown2, r.upDown3, r.line, r.fill, r.tint}));
        EXPECT_EQ(window.UpDown2->isVisibleTo(&window), r.upDown2) << r.style;
        EXPECT_EQ(window.UpDown3->isVisibleTo(&window), r.upDown3) << r.style;
        EXPECT_EQ(window.Shape2->isVisibleTo(&window), r.line) << r.style;
        EXPECT_EQ(window.Label4->isVisibleTo(&window), r.line) << r.style;
        EXPECT_EQ(window.Shape1->isVisibleTo(&window), r.fill) << r.style;
        EXPECT_EQ(window.Label3->isVisibleTo(&window), r.fill) << r.style;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(window.tintSliders[i]->isVisibleTo(&window), r.tint) << r.style;
            EXPECT_EQ(window.tintMarkers[i]->isVisibleTo(&window), r.tint) << r.style;
        }
        // A style change asks for a preview in 200 ms.
        EXPECT_TRUE(window.previewTimer.isActive());
        EXPECT_EQ(window.previewTimer.interval(), 200);
        EXPECT_EQ(window.settings.style, r.style);
    }
}

TEST_F(FramesWindowTest, PictureNumbersRenameTheirEntryInBothLanguages) {
    EXPECT_EQ(frameEntryName(kFrameRealistic, 3, Language::French), QStringLiteral("Cadre réaliste 3"));
    EXPECT_EQ(frameEntryName(kFrameColoured, 5, Language::French), QStringLiteral("Cadre coloré 5"));
    EXPECT_EQ(frameEntryName(kFrameRealistic, 7, Language::Chinese), QStringLiteral("仿真畫框7"));
    EXPECT_EQ(frameEntryName(kFrameColoured, 2, Language::Chinese), QStringLiteral("彩色畫框2"));
    EXPECT_EQ(frameEntryName(kFrameRealistic, 4, Language::English), QStringLiteral("Realistic frame 4"));

    window.UpDown2->stepBy(2);  // the arrows, clicked twice over
    EXPECT_EQ(window.settings.realisticNumber, 3);
    EXPECT_EQ(window.ComboBox1->itemText(kFrameRealistic), QStringLiteral("Cadre réaliste 3"));
    EXPECT_EQ(window.ComboBox1->currentIndex(), kFrameRealistic);
    EXPECT_EQ(window.previewTimer.interval(), 300);

    // The other style's number changes without renaming while its style is not selected.
    window.colouredFrameStepped(4);
    EXPECT_EQ(window.settings.colouredNumber, 4);
    EXPECT_EQ(window.ComboBox1->itemText(kFrameColoured), QStringLiteral("Cadre coloré "));
    window.chooseFrameStyle(kFrameColoured);
    window.colouredFrameStepped(2);
    EXPECT_EQ(window.ComboBox1->itemText(kFrameColoured), QStringLiteral("Cadre coloré 2"));
    EXPECT_EQ(window.ComboBox1->currentIndex(), kFrameColoured);

    // The switch puts the table's entries back and selects the realistic frame; the numbers stay.
    window.applyTexts(TextTable::of(Language::Chinese), Language::Chinese);
    EXPECT_EQ(window.ComboBox1->currentText(), QStringLiteral("仿真畫框"));
    EXPECT_EQ(window.settings.style, kFrameRealistic);
    EXPECT_EQ(window.settings.colouredNumber, 2);
    window.realisticFrameStepped(6);
    EXPECT_EQ(window.ComboBox1->itemText(kFrameRealistic), QStringLiteral("仿真畫框6"));
    EXPECT_EQ(window.ComboBox1->itemText(kFrameSimple), QStringLiteral("樸素畫框"));
}

TEST_F(FramesWindowTest, MarginTypedOrSteppedAndThePreviewWaits) {
    EXPECT_EQ(typedMargin(QStringLiteral("80"), 150), 80);
    EXPECT_EQ(typedMargin(QStringLiteral("1000"), 150), 1000);
    for (const char* refused : {"", "-5", "1.5", "1001", "x"}) EXPECT_EQ(typedMargin(QString::fromLatin1(refused), 150), 150) << refused;

    window.Edit1->setText(QStringLiteral("80"));
    window.marginTyped();
    EXPECT_EQ(window.settings.margin, 80);
    EXPECT_EQ(window.UpDown1->position(), 80);
    EXPECT_EQ(window.previewTimer.interval(), 500);
    window.Edit1->setText(QStringLiteral("8-"));
    window.marginTyped();
    EXPECT_EQ(window.settings.margin, 80);

    window.UpDown1->stepBy(1);
    EXPECT_EQ(window.settings.margin, 81);
    EXPECT_EQ(window.Edit1->text(), QStringLiteral("81"));
    EXPECT_EQ(window.previewTimer.interval(), 300);
}

TEST_F(FramesWindowTest, EnterInTheMarginBoxClosesTheWindow) {
    window.show();
    ASSERT_TRUE(window.isVisible());
    window.Edit1->setText(QStringLiteral("12"));
    window.marginTyped();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(window.Edit1, &enter);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.settings.margin, 12);
    // Hiding stops the preview timer.
    EXPECT_FALSE(window.previewTimer.isActive());
}

TEST_F(FramesWindowTest, PreviewShowsTheChosenFrameAroundThePhoto) {
    // A light photo, so that only the frame is dark in the preview.
    host.source.fill(Colour{240, 240, 250});
    // Showing asks for a preview in 200 ms; its tick draws the realistic frame 1.
    window.show();
    EXPECT_EQ(window.previewTimer.interval(), 200);
    window.previewTick();
    EXPECT_FALSE(window.previewTimer.isActive());
    Bitmap expected;
    DrawFramePreview(expected, host.source, window.settings, host.pictures);
    EXPECT_EQ(shownPreview(), expected);

    // The inner corner of the shipped frame: the fill covers the frame pixel found first up column
    // 180 and left along row 180, so the frame shows from the next one out. From the corner the
    // fill, and the photo at half the margin further in.
    int cornerX = -1, cornerY = -1;
    for (int y = 197; y >= 0 && cornerY < 0; --y)
        if (!isLightPixel(expected, 180, y)) cornerY = y + 1;
    for (int x = 197; x >= 0 && cornerX < 0; --x)
        if (!isLightPixel(expected, x, 180)) cornerX = x + 1;
    ASSERT_GT(cornerX, 2);
    ASSERT_GT(cornerY, 2);
    ASSERT_LT(cornerX + 75, 198);
    EXPECT_EQ(expected.colourAt(cornerX, cornerY), window.settings.FillColour);
    EXPECT_EQ(expected.colourAt(cornerX + 74, cornerY + 74), window.settings.FillColour);
    EXPECT_EQ(expected.colourAt(cornerX + 75, cornerY + 75), host.source.colourAt(0, 0));
    EXPECT_NE(expected.colourAt(cornerX - 1, cornerY - 1), window.settings.FillColour);

    // A fill chosen in the colour dialog: the swatch, the setting and the next preview take it.
    window.chooseColour = [](const QColor&) { return std::optional<QColor>(QColor(10, 20, 30)); };
    window.chooseFillColour();
    EXPECT_EQ(window.settings.FillColour, (Colour{30, 20, 10}));
    EXPECT_EQ(window.Shape1->colour(), QColor(10, 20, 30));
    EXPECT_EQ(window.previewTimer.interval(), 200);
    window.previewTick();
    EXPECT_EQ(shownPreview().colourAt(cornerX, cornerY), (Colour{30, 20, 10}));
    // A cancelled dialog keeps the colour.
    window.chooseColour = [](const QColor&) { return std::optional<QColor>(); };
    window.chooseLineColour();
    EXPECT_EQ(window.settings.LineColour, kBlack);

    // The tinted frame with the sliders' shifts; each slider's hint says its position.
    window.chooseFrameStyle(kFrameColoured);
    window.tintSliders[1]->setValue(-40);
    EXPECT_EQ(window.settings.tintGreen, -40);
    EXPECT_EQ(window.tintSliders[1]->toolTip(), QStringLiteral("-40"));
    window.previewTick();
    DrawFramePreview(expected, host.source, window.settings, host.pictures);
    EXPECT_EQ(shownPreview(), expected);

    // The plain margin on grey, the margin drawn at half size.
    window.chooseFrameStyle(kFrameSimple);
    window.marginStepped(40);
    window.previewTick();
    EXPECT_EQ(shownPreview().colourAt(100, 100), host.source.colourAt(80, 80));
    EXPECT_EQ(shownPreview().colourAt(10, 10), (Colour{30, 20, 10}));
}

}  // namespace
}  // namespace gt
