// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app_test_support.h"
#include "imaging/io/builtin_pictures.h"
#include "pipeline/window/parameter_window.h"

namespace gt {
namespace {

class FakeHost : public ParameterWindowHost {
public:
    Bitmap source = test::testPhoto(320, 240);
    bool busyFlag = false;
    int drawings = 0, frames = 0, texts = 0;
    QStringList errors;
    const Bitmap& sourceImage() const override { return source; }
    bool busy() const override { return busyFlag; }
    bool batchVisible() const override { return false; }
    void startDrawing() override { ++drawings; }
    void showFramesWindow() override { ++frames; }
    void showAddTextWindow() override { ++texts; }
    void showError(const QString& message) override { errors << message; }
};

class ParameterWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        test::app();
        resources = new Resources(loadBuiltinPicturesFrom(GT_ASSET_DIR));
    }
    void SetUp() override {
        window = std::make_unique<ParameterWindow>(host, *resources);
        window->applyTexts(TextTable::of(Language::French), Language::French);
    }
    QSlider* slider(int slot) { return window->sliders[static_cast<std::size_t>(slot)]; }
    void tick() { window->previewTick(); }

    static Resources* resources;
    FakeHost host;
    std::unique_ptr<ParameterWindow> window;
};
Resources* ParameterWindowTest::resources = nullptr;

TEST_F(ParameterWindowTest, ActivationChoosesThePencilDrawingWithItsCaptions) {
    EXPECT_EQ(window->DrawingStyle(), 0);
    EXPECT_EQ(window->ComboBox1->currentIndex(), 0);
    EXPECT_EQ(window->ComboBox2->currentIndex(), 1);
    EXPECT_EQ(window->captionLabels[kSlotTrackBar1]->text(), QStringLiteral("Détection des contours       "));
    EXPECT_EQ(window->captionLabels[kSlotTrackBar4]->text(), QStringLiteral("Niveau de contraste          "));
    EXPECT_TRUE(window->CheckBox1->isChecked());
    EXPECT_TRUE(window->CheckBox2->isChecked());
    EXPECT_TRUE(window->CheckBox3->isChecked());
    EXPECT_FALSE(window->CheckBox4->isChecked());
}

TEST_F(ParameterWindowTest, ThePreviewStepLoadsTheStylesValuesAndVisibility) {
    window->show();
    tick();
    EXPECT_EQ(slider(kSlotTrackBar1)->value(), 25);
    EXPECT_EQ(slider(kSlotTrackBar2)->value(), 100);
    EXPECT_EQ(slider(kSlotTrackBar5)->value(), 80);
    EXPECT_EQ(slider(kSlotTrackBar3)->value(), 160);
    EXPECT_EQ(slider(kSlotTrackBar4)->value(), 100);
    EXPECT_EQ(window->valueLabels[kSlotTrackBar2]->text(), QStringLiteral("100"));
    window->chooseStyle(3);  // ink: TrackBar5 and TrackBar4 hidden
    tick();
    EXPECT_FALSE(slider(kSlotTrackBar5)->isVisible());
    EXPECT_FALSE(slider(kSlotTrackBar4)->isVisible());
    EXPECT_FALSE(window->valueLabels[kSlotTrackBar4]->isVisible());
    EXPECT_TRUE(slider(kSlotTrackBar3)->isVisible());
    EXPECT_EQ(slider(kSlotTrackBar1)->value(), 30);
    window->chooseStyle(8);
    tick();
    for (int slot = 0; slot < kSliderCount; ++slot) EXPECT_FALSE(slider(slot)->isVisible()) << slot;
}

TEST_F(ParameterWindowTest, RangesFollowTheStyleAndPaintingsThreeAndFourReset) {
    window->show();
    window->chooseStyle(6);
    EXPECT_EQ(slider(kSlotTrackBar2)->minimum(), 1);
    EXPECT_EQ(slider(kSlotTrackBar2)->maximum(), 10);
    EXPECT_EQ(slider(kSlotTrackBar2)->tickInterval(), 1);
    EXPECT_EQ(slider(kSlotTrackBar1)->maximum(), 255);
    tick();
    EXPECT_EQ(slider(kSlotTrackBar2)->value(), 5);
    EXPECT_EQ(window->captionLabels[kSlotTrackBar2]->text(), QStringLiteral("Taille du pinceau          "));

    window->chooseStyle(7);
    tick();
    EXPECT_EQ(slider(kSlotTrackBar1)->maximum(), 10);
    EXPECT_EQ(slider(kSlotTrackBar2)->maximum(), 255);
    slider(kSlotTrackBar1)->setValue(8);
    EXPECT_EQ(window->logic().table[7][kSlotTrackBar1], 8);
    window->chooseStyle(0);
    window->chooseStyle(7);  // choosing Painting4 again shows 5 passes
    tick();
    EXPECT_EQ(slider(kSlotTrackBar1)->value(), 5);
    EXPECT_EQ(window->valueLabels[kSlotTrackBar1]->text(), QStringLiteral("5"));

    window->chooseStyle(1);
    EXPECT_EQ(slider(kSlotTrackBar1)->maximum(), 255);
    EXPECT_EQ(slider(kSlotTrackBar5)->maximum(), 100);
}

TEST_F(ParameterWindowTest, ASliderOfTheFrameOnlyStyleStoresNothing) {
    window->chooseStyle(8);
    const ParameterTable before = window->logic().table;
    window->sliderMoved(kSlotTrackBar3, 40);
    EXPECT_EQ(window->logic().table, before);
    EXPECT_EQ(window->valueLabels[kSlotTrackBar3]->text(), QStringLiteral("40"));
}

TEST_F(ParameterWindowTest, SliderChangesScheduleInOneHundredMsAndBumpsAddUpToSevenHundred) {
    window->setPreviewTimer(0);
    window->sliderMoved(kSlotTrackBar1, 30);
    EXPECT_EQ(window->previewTimerInterval(), 100);
    EXPECT_TRUE(window->previewTimerActive());

    window->setPreviewTimer(0);
    for (int i = 0; i < 5; ++i) window->CheckBox2->click();
    EXPECT_EQ(window->previewTimerInterval(), 500);
    EXPECT_TRUE(window->previewTimerActive());
    window->CheckBox2->click();
    window->CheckBox2->click();
    EXPECT_EQ(window->previewTimerInterval(), 700);
    window->chooseTextureStrength(2);
    EXPECT_EQ(window->previewTimerInterval(), 700);
}

TEST_F(ParameterWindowTest, TextureChoiceCaptionAndStrengthList) {
    window->UpDown1->stepBy(1);
    window->UpDown1->stepBy(1);
    EXPECT_EQ(window->controls().UpDown1, 2);
    EXPECT_EQ(window->Label12->text(), QStringLiteral("質材3  "));
    window->UpDown1->stepBy(20);
    EXPECT_EQ(window->controls().UpDown1, 9);
    EXPECT_EQ(window->Label12->text(), QStringLiteral("質材10  "));

    window->chooseTextureStrength(2);
    window->Label12->clicked();  // the caption toggles its box
    EXPECT_FALSE(window->CheckBox3->isChecked());
    EXPECT_FALSE(window->controls().CheckBox3);
    EXPECT_FALSE(window->ComboBox2->isEnabled());
    window->CheckBox3->click();
    EXPECT_TRUE(window->ComboBox2->isEnabled());
    EXPECT_EQ(window->controls().ComboBox2, 2);
}

TEST_F(ParameterWindowTest, FrameAndTextButtonsCheckTheirOptionAndOpenTheirWindow) {
    window->CheckBox1->click();
    EXPECT_FALSE(window->controls().CheckBox1);
    window->chooseFrame();
    EXPECT_TRUE(window->controls().CheckBox1);
    EXPECT_EQ(host.frames, 1);
    window->chooseText();
    EXPECT_TRUE(window->controls().CheckBox4);
    EXPECT_EQ(host.texts, 1);
    window->Button1->click();
    EXPECT_EQ(host.drawings, 1);
}

TEST_F(ParameterWindowTest, PreviewDrawsTheCropOnlyWhenVisibleAndIdle) {
    window->setPreviewTimer(100);
    tick();  // hidden: the tick only stops the timer
    EXPECT_FALSE(window->previewTimerActive());
    window->show();
    host.busyFlag = true;
    window->setPreviewTimer(100);
    const QImage before = window->Image2->picture();
    tick();
    EXPECT_EQ(window->Image2->picture(), before);
    host.busyFlag = false;
    window->chooseStyle(1);
    tick();
    EXPECT_NE(window->Image2->picture(), before);
    EXPECT_EQ(window->Image2->picture().size(), QSize(200, 200));
    // The border is black.
    EXPECT_EQ(window->Image2->picture().pixelColor(0, 0), QColor(Qt::black));
    EXPECT_TRUE(host.errors.isEmpty()) << host.errors.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ParameterWindowTest, CropResetGoesToTheMiddleOfTheNewSource) {
    host.source = test::testPhoto(1000, 150);
    window->resetPreview();
    EXPECT_EQ(window->crop().PreviewLeft, 400);
    EXPECT_EQ(window->crop().PreviewTop, 0);
    EXPECT_EQ(window->previewTimerInterval(), 300);
}

TEST_F(ParameterWindowTest, ParameterFilesRoundTripAndResetKeepsPaintingFour) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Params.gtl"));
    window->chooseStyle(2);
    window->sliderMoved(kSlotTrackBar1, 77);
    window->saveParameters(path);
    window->restoreDefaults();
    EXPECT_EQ(window->logic().table[2][kSlotTrackBar1], 10);
    ASSERT_TRUE(window->loadParameters(path));
    EXPECT_EQ(window->logic().table[2][kSlotTrackBar1], 77);
    EXPECT_EQ(window->ComboBox1->itemText(0), QStringLiteral("Dessin au crayon"));

    window->chooseStyle(7);
    window->restoreDefaults();
    EXPECT_EQ(window->DrawingStyle(), 7);
    EXPECT_EQ(slider(kSlotTrackBar1)->value(), 5);
    EXPECT_EQ(slider(kSlotTrackBar1)->maximum(), 10);
}

}  // namespace
}  // namespace gt
