// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <fstream>

#include "app_test_support.h"
#include "cli/render_options.h"
#include "finishing/add_text_window.h"
#include "finishing/frames_window.h"
#include "imaging/io/builtin_pictures.h"
#include "imaging/io/picture_io.h"
#include "main_window_fixture.h"
#include "pipeline/render.h"
#include "pipeline/window/parameter_window.h"
#include "pipeline/window/style_gallery_window.h"
#include "ui/qt_bitmap.h"

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
    DrawingParameters finishing;  // the frames and add-text windows' settings
    ParameterWindow* window = nullptr;
    DrawingParameters drawingParameters() override {
        DrawingParameters p = finishing;
        window->loadStyleSliders();
        static_cast<DrawingControls&>(p) = window->controls();
        return p;
    }
    void showFinishing(const DrawingParameters& p) override {
        if (p.CheckBox1) finishing.frame = p.frame;
        if (p.CheckBox4) finishing.text = p.text;
    }
};

class ParameterWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        test::app();
        resources = new Resources(loadBuiltinPicturesFrom(GT_ASSET_DIR));
    }
    void SetUp() override {
        window = std::make_unique<ParameterWindow>(host, *resources);
        host.window = window.get();
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
    EXPECT_EQ(window->Label12->text(), QStringLiteral("Texture 3"));
    window->UpDown1->stepBy(20);
    EXPECT_EQ(window->controls().UpDown1, 9);
    EXPECT_EQ(window->Label12->text(), QStringLiteral("Texture 10"));
    // The caption is the interface language's, and follows a switch.
    window->applyTexts(TextTable::of(Language::Chinese), Language::Chinese);
    EXPECT_EQ(window->Label12->text(), QStringLiteral("質材10  "));
    window->applyTexts(TextTable::of(Language::French), Language::French);

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

// The gallery, opened with the button under the preview, shows the crop in the nine styles as
// the preview shows each once chosen; the window keeps answering meanwhile, and a click on a
// picture chooses its style.
TEST_F(ParameterWindowTest, TheGalleryShowsTheNinePreviewsAndAClickChoosesTheStyle) {
    window->show();
    tick();
    window->chooseStyle(7);
    tick();
    window->sliders[kSlotTrackBar5]->setValue(90);  // painting 4's colour strength, kept in its row
    window->chooseStyle(2);
    tick();
    QTest::mouseClick(window->showStylesButton, Qt::LeftButton);
    StyleGalleryWindow* gallery = window->styleGallery();
    ASSERT_NE(gallery, nullptr);
    EXPECT_TRUE(gallery->isVisible());
    EXPECT_EQ(gallery->captions[3]->text(), window->ComboBox1->itemText(3).trimmed());
    ASSERT_TRUE(QTest::qWaitFor([&] { return gallery->picturesMade() == kStyleCount; }, 60000));
    for (int s = 0; s < kStyleCount; ++s) {
        window->ComboBox1->setCurrentIndex(s);
        window->chooseStyle(s);
        tick();
        EXPECT_EQ(gallery->picture(s), window->Image2->picture()) << s;
    }
    QTest::mouseClick(gallery->pictures[5], Qt::LeftButton);
    EXPECT_EQ(window->DrawingStyle(), 5);
    EXPECT_EQ(window->ComboBox1->currentIndex(), 5);
    window->chooseStyle(7);
    tick();
    EXPECT_EQ(window->sliders[kSlotTrackBar5]->value(), 90);
    ASSERT_TRUE(QTest::qWaitFor([&] { return gallery->picturesMade() == kStyleCount; }, 60000));
    window->hide();
}

// ---- Presets ----------------------------------------------------------------------------------

// Answers the modal dialogs as they come, in order, each with its own keys or clicks.
class DialogAnswers {
public:
    using Answer = std::function<void(QWidget* dialog)>;
    explicit DialogAnswers(std::initializer_list<Answer> answers) : answers_(answers) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog || !dialog->isVisible()) return;
            if (answers_.empty()) {  // a dialog more than the test expects: closed, so the test goes on
                ADD_FAILURE() << "unexpected dialog " << dialog->objectName().toStdString();
                QTest::keyClick(dialog, Qt::Key_Escape);
                return;
            }
            const Answer answer = answers_.front();
            answers_.pop_front();
            answer(dialog);
        });
        timer_.start(10);
    }
    bool allGiven() const { return answers_.empty(); }

    // The name dialog: the name typed over the one offered, then Enter.
    static Answer name(const QString& typed) {
        return [typed](QWidget* dialog) {
            auto* edit = dialog->findChild<QLineEdit*>();
            ASSERT_NE(edit, nullptr);
            edit->selectAll();
            for (const QChar c : typed) {  // letters beyond ASCII come as a keyboard layout sends them
                if (c.unicode() < 0x80) QTest::keyClick(edit, char(c.unicode()));
                else QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
            QTest::keyClick(edit, Qt::Key_Return);
        };
    }
    static Answer escape() {
        return [](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); };
    }
    static Answer click(QMessageBox::StandardButton which) {
        return [which](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            ASSERT_NE(box, nullptr);
            QTest::mouseClick(box->button(which), Qt::LeftButton);
        };
    }

private:
    std::deque<Answer> answers_;
    QTimer timer_;
};

// The user's presets in a folder of the test's own, the window made after it is set.
class PresetStripTest : public ParameterWindowTest {
protected:
    void SetUp() override {
        saved_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", data_.path().toUtf8());
        ParameterWindowTest::SetUp();
    }
    void TearDown() override {
        window.reset();
        qputenv("XDG_DATA_HOME", saved_);
    }
    std::string folder() const { return userPresetFolder(); }
    int indexOf(const std::string& name) const {
        for (std::size_t i = 0; i < window->presets().size(); ++i)
            if (window->presets()[i].name == name) return int(i);
        return -1;
    }
    void clickPreset(const std::string& name) {
        const int i = indexOf(name);
        ASSERT_GE(i, 0) << name;
        QTest::mouseClick(window->presetButtons[std::size_t(i)], Qt::LeftButton);
    }
    QTemporaryDir data_;
    QByteArray saved_;
};

// A new user's way: settings made, saved under a name through the dialog, found again in the
// window of the next run, and given back whole by a click. An existing name asks before
// replacing; a built-in or impossible name is refused with its reason and asked again.
TEST_F(PresetStripTest, ASavedPresetComesBackAfterARestartAndReplacingAsksFirst) {
    window->show();
    const std::size_t builtIn = builtInPresets().size();
    ASSERT_EQ(window->presets().size(), builtIn);
    EXPECT_FALSE(window->renamePresetButton->isVisible());
    window->chooseStyle(5);
    slider(kSlotTrackBar2)->setValue(7);
    window->CheckBox2->click();  // soften off
    window->UpDown1->stepBy(3);
    host.finishing.frame.style = kFrameLined;
    host.finishing.frame.margin = 42;
    const DrawingParameters before = host.drawingParameters();
    {
        DialogAnswers answers({DialogAnswers::name(QStringLiteral("a/b")), DialogAnswers::name(QStringLiteral("Oil")),
                               DialogAnswers::name(QStringLiteral("Mon été"))});
        QTest::mouseClick(window->savePresetButton, Qt::LeftButton);
        EXPECT_TRUE(answers.allGiven());
    }
    ASSERT_EQ(host.errors.size(), 2);
    EXPECT_EQ(host.errors[0], TextTable::of(Language::French).text(QStringLiteral("Form4.PresetName.character")));
    EXPECT_TRUE(host.errors[1].contains(QStringLiteral("« Oil »"))) << host.errors[1].toStdString();
    const std::string path = userPresetPath(folder(), "Mon été");
    ASSERT_TRUE(std::filesystem::exists(path));
    ASSERT_EQ(window->presets().size(), builtIn + 1);
    EXPECT_EQ(window->selectedPreset(), int(builtIn));
    EXPECT_TRUE(window->renamePresetButton->isVisible());

    // The next run: a fresh window lists it; a click gives every setting back.
    window = std::make_unique<ParameterWindow>(host, *resources);
    host.window = window.get();
    host.finishing = DrawingParameters{};
    window->applyTexts(TextTable::of(Language::French), Language::French);
    window->show();
    ASSERT_GE(indexOf("Mon été"), 0);
    clickPreset("Mon été");
    EXPECT_EQ(window->DrawingStyle(), 5);
    EXPECT_EQ(window->ComboBox1->currentIndex(), 5);
    EXPECT_EQ(slider(kSlotTrackBar2)->value(), 7);
    EXPECT_FALSE(window->CheckBox2->isChecked());
    EXPECT_EQ(window->Label12->text(), QStringLiteral("Texture 4"));
    EXPECT_EQ(presetText(host.drawingParameters()), presetText(before));
    EXPECT_EQ(host.finishing.frame, before.frame);

    // The same name again: "no" asks for another name (cancelled here), "yes" replaces.
    const std::string first = readPresetFile(path).values.at("brush-precision");
    slider(kSlotTrackBar2)->setValue(9);
    {
        DialogAnswers answers({DialogAnswers::name(QStringLiteral("Mon été")), DialogAnswers::click(QMessageBox::No),
                               DialogAnswers::escape()});
        QTest::mouseClick(window->savePresetButton, Qt::LeftButton);
        EXPECT_TRUE(answers.allGiven());
    }
    EXPECT_EQ(readPresetFile(path).values.at("brush-precision"), first);
    {
        DialogAnswers answers({DialogAnswers::name(QStringLiteral("Mon été")), DialogAnswers::click(QMessageBox::Yes)});
        QTest::mouseClick(window->savePresetButton, Qt::LeftButton);
        EXPECT_TRUE(answers.allGiven());
    }
    EXPECT_EQ(readPresetFile(path).values.at("brush-precision"), "9");
    EXPECT_EQ(window->presets().size(), builtIn + 1);
    EXPECT_EQ(host.errors.size(), 2);
}

// The user's presets can be renamed and deleted, the built-in ones not; a damaged file says its
// one line and changes nothing; a failed write says so and keeps the old file.
TEST_F(PresetStripTest, RenameDeleteADamagedFileAndAFailedWrite) {
    DrawingParameters ink = defaultParameters(DrawingStyle::InkDrawing);
    writePresetFile(userPresetPath(folder(), "Old"), ink);
    std::filesystem::create_directories(folder());
    std::ofstream(userPresetPath(folder(), "Broken")) << "graphitello-preset 1\nstyle = crayon\n";
    window = std::make_unique<ParameterWindow>(host, *resources);
    host.window = window.get();
    window->applyTexts(TextTable::of(Language::French), Language::French);
    window->show();
    ASSERT_EQ(window->presets().size(), builtInPresets().size() + 2);

    window->chooseStyle(2);
    const std::string before = presetText(host.drawingParameters());
    clickPreset("Broken");
    ASSERT_EQ(host.errors.size(), 1);
    EXPECT_TRUE(host.errors[0].startsWith(QString::fromStdString(userPresetPath(folder(), "Broken") + ": style crayon: no such style")))
        << host.errors[0].toStdString();
    EXPECT_EQ(presetText(host.drawingParameters()), before);
    EXPECT_TRUE(window->deletePresetButton->isVisible());  // a damaged preset can be deleted

    clickPreset("Oil");
    EXPECT_FALSE(window->renamePresetButton->isVisible());
    EXPECT_FALSE(window->deletePresetButton->isVisible());

    clickPreset("Old");
    {
        DialogAnswers answers({DialogAnswers::name(QStringLiteral("Encre"))});
        QTest::mouseClick(window->renamePresetButton, Qt::LeftButton);
        EXPECT_TRUE(answers.allGiven());
    }
    EXPECT_FALSE(std::filesystem::exists(userPresetPath(folder(), "Old")));
    ASSERT_GE(indexOf("Encre"), 0);
    EXPECT_EQ(window->selectedPreset(), indexOf("Encre"));
    EXPECT_EQ(readPresetFile(userPresetPath(folder(), "Encre")).values.at("style"), "ink");
    {
        DialogAnswers answers({DialogAnswers::click(QMessageBox::Yes)});
        QTest::mouseClick(window->deletePresetButton, Qt::LeftButton);
        EXPECT_TRUE(answers.allGiven());
    }
    EXPECT_FALSE(std::filesystem::exists(userPresetPath(folder(), "Encre")));
    EXPECT_LT(indexOf("Encre"), 0);
    EXPECT_EQ(window->selectedPreset(), -1);

    // A write that fails (its temporary file's name taken by a folder): the message names the file,
    // the preset there stays whole.
    std::filesystem::create_directory(userPresetPath(folder(), "Broken") + ".tmp");
    {
        DialogAnswers answers({DialogAnswers::name(QStringLiteral("Broken")), DialogAnswers::click(QMessageBox::Yes)});
        QTest::mouseClick(window->savePresetButton, Qt::LeftButton);
        EXPECT_TRUE(answers.allGiven());
    }
    ASSERT_EQ(host.errors.size(), 2);
    EXPECT_TRUE(host.errors[1].startsWith(QStringLiteral("Le préréglage n'a pas pu être enregistré : "))) << host.errors[1].toStdString();
    EXPECT_THROW(readPresetFile(userPresetPath(folder(), "Broken")), PresetError);  // still the old bytes
}

// "Reset" puts the chosen style's sliders back to the style's defaults; the other styles' values and
// the shared options stay.
TEST_F(PresetStripTest, ResetTakesOnlyTheChosenStyleBack) {
    window->show();
    window->chooseStyle(7);
    tick();
    slider(kSlotTrackBar5)->setValue(90);
    window->chooseStyle(3);
    tick();
    slider(kSlotTrackBar1)->setValue(200);
    slider(kSlotTrackBar3)->setValue(20);
    window->CheckBox2->click();
    QTest::mouseClick(window->resetButton, Qt::LeftButton);
    const DrawingParameters ink = defaultParameters(DrawingStyle::InkDrawing);
    EXPECT_EQ(slider(kSlotTrackBar1)->value(), ink.TrackBar1);
    EXPECT_EQ(slider(kSlotTrackBar3)->value(), ink.TrackBar3);
    EXPECT_EQ(window->logic().table[3][kSlotTrackBar1], ink.TrackBar1);
    EXPECT_EQ(window->logic().table[7][kSlotTrackBar5], 90);
    EXPECT_FALSE(window->CheckBox2->isChecked());
    EXPECT_EQ(window->previewTimerInterval(), 100);
}

// The strip in the program: its thumbnails are the preview the window shows once the preset is
// applied, and a click then "Sketch" draw the bytes the command line draws with --preset.
class PresetDrawingTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        saved_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", data_.path().toUtf8());
        MainWindowFixture::SetUp();
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
        main.reset();
        qputenv("XDG_DATA_HOME", saved_);
    }
    QTemporaryDir data_;
    QByteArray saved_;
};

TEST_F(PresetDrawingTest, AClickedPresetDrawsWhatTheCommandLineDraws) {
    const QString photo = data_.filePath(QStringLiteral("photo.bmp"));
    ASSERT_TRUE(writePicture(test::testPhoto(260, 210), photo.toStdString()));
    ASSERT_TRUE(main->openPictureFile(photo));
    DrawingParameters signed_ = defaultParameters(DrawingStyle::InkDrawing);
    signed_.CheckBox4 = true;
    signed_.text.text = "Bonjour";
    signed_.text.position = kPlaceMiddle;
    signed_.text.shadow = true;
    writePresetFile(userPresetPath(userPresetFolder(), "Signé"), signed_);
    ParameterWindow* p = main->windows.parameterWindow;
    p->hide();
    p->show();  // shown again, the window lists the file written meanwhile
    const int count = int(p->presets().size());
    ASSERT_EQ(p->presets().back().name, "Signé");
    ASSERT_TRUE(QTest::qWaitFor([&] { return p->presetPicturesDone() == count; }, 60000));
    int oil = -1;
    for (int i = 0; i < count; ++i)
        if (p->presets()[std::size_t(i)].name == "Oil") oil = i;
    ASSERT_GE(oil, 0);
    QTest::mouseClick(p->presetButtons[std::size_t(oil)], Qt::LeftButton);
    EXPECT_EQ(main->windows.framesWindow->settings.style, kFrameRealistic);
    p->previewTick();
    EXPECT_EQ(p->presetPicture(oil), p->Image2->picture());

    cli::ParsedArgs args;
    args.values["preset"] = "Oil";
    args.positions["preset"] = 0;
    const cli::RenderSetup setup = cli::renderSetup(args);
    RenderContext ctx;
    ctx.random.seed = setup.seed;
    ctx.DrawingWidth = main->SourceImage.width();
    ctx.DrawingHeight = main->SourceImage.height();
    const RenderResult expected = renderDrawing(main->SourceImage, setup.parameters, main->resources(), ctx);
    ASSERT_TRUE(expected.rendered);
    ASSERT_TRUE(sketchAndWait());
    EXPECT_TRUE(main->DrawingImage == expected.drawing);

    // A preset with text on hands its text to the add-text window, controls included.
    QTest::mouseClick(p->presetButtons.back(), Qt::LeftButton);
    AddTextWindow* text = main->windows.addTextWindow;
    EXPECT_EQ(text->settings, signed_.text);
    EXPECT_EQ(text->Edit1->text(), QStringLiteral("Bonjour"));
    EXPECT_TRUE(text->CheckBox1->isChecked());
    EXPECT_EQ(text->ComboBox1->currentIndex(), int(kPlaceMiddle));
    EXPECT_TRUE(p->CheckBox4->isChecked());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
}  // namespace gt
