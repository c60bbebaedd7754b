// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "app_test_support.h"
#include "finishing/add_text_window.h"
#include "imaging/stretch.h"
#include "ui/language.h"

namespace gt {
namespace {

// The main window's part, kept in plain fields.
class TextHost : public AddTextWindowHost {
public:
    const Bitmap& drawingImage() const override { return drawing; }
    PlacementSizes placementSizes() const override {
        return {drawing.width(), drawing.height(), sourceWidth < 0 ? drawing.width() : sourceWidth,
                sourceHeight < 0 ? drawing.height() : sourceHeight};
    }
    void writeOnDrawing(const std::function<void(Bitmap&)>& write) override {
        ++writes;
        write(drawing);
    }
    void showTextPreview(const TextOverlayPatch& patch) override { shown = patch; }
    void setClipboardShortcuts(bool on) override { shortcuts = on; }

    Bitmap drawing = flatDrawing(400, 300, 128);
    int sourceWidth = -1, sourceHeight = -1;  // the drawing's size unless a frame was added
    TextOverlayPatch shown;
    bool shortcuts = true;
    int writes = 0;

    static Bitmap flatDrawing(int w, int h, std::uint8_t v) {
        Bitmap b(w, h);
        b.fill(Colour{v, v, v});
        return b;
    }
};

// The drawing with the preview laid over it, as the pane shows it.
Bitmap withPreview(const Bitmap& drawing, const TextOverlayPatch& patch) {
    Bitmap shown = drawing;
    shown.draw(patch.pixels, patch.left, patch.top);
    return shown;
}

class AddTextWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::app(); }
    void SetUp() override { window.applyTexts(TextTable::of(Language::French), Language::French); }

    TextHost host;
    AddTextWindow window{host};
    QtGlyphRenderer glyphs;
};

TEST_F(AddTextWindowTest, CreatedWithTheDefaultTextFontAndPlace) {
    EXPECT_EQ(window.Edit1->text(), QStringLiteral("Graphitello"));
    EXPECT_EQ(window.settings.fontFamily, "Tahoma");
    EXPECT_EQ(window.settings.fontSize, 15);
    EXPECT_EQ(window.settings.colour, kWhite);
    EXPECT_FALSE(window.CheckBox1->isChecked());
    EXPECT_EQ(window.ComboBox1->count(), 10);
    EXPECT_EQ(window.ComboBox1->currentIndex(), kPlaceBottomRight);
    EXPECT_EQ(window.ComboBox1->currentText(), QStringLiteral("en bas, à droite"));
    EXPECT_FALSE(window.TextShown());
    // A missing Tahoma is said in the window, with the face that writes instead.
    if (!QtGlyphRenderer::hasFamily("Tahoma")) {
        EXPECT_TRUE(window.Label2->text().startsWith(QStringLiteral("Police « Tahoma » absente"))) << window.Label2->text().toStdString();
    }
}

TEST_F(AddTextWindowTest, ShowingPreviewsOverTheDrawingAndCancelLeavesNoTrace) {
    const Bitmap original = host.drawing;
    window.show();
    EXPECT_TRUE(window.TextShown());
    EXPECT_FALSE(host.shortcuts);  // Ctrl+C and Ctrl+V belong to the text box
    ASSERT_FALSE(host.shown.pixels.empty());
    EXPECT_EQ(host.shown, window.preview());
    // Bottom right: the scroll bars at the placement, the number boxes showing them.
    const TextPosition at = gt::SetPos(window.settings, host.placementSizes(), {}, glyphs);
    EXPECT_EQ(window.position(), at);
    EXPECT_EQ(window.Edit2->text(), QString::number(at.ScrollBar1));
    EXPECT_EQ(window.Edit3->text(), QString::number(at.ScrollBar2));

    // Editing, moving, shadow: the preview follows, the drawing never changes.
    window.Edit1->setText(QStringLiteral("Chat"));
    window.CheckBox1->click();
    window.choosePlacement(kPlaceMiddle);
    window.ScrollBar1->setValue(window.ScrollBar1->value() - 30);
    EXPECT_EQ(window.Edit2->text(), QString::number(window.ScrollBar1->value()));
    EXPECT_EQ(host.drawing, original);
    EXPECT_EQ(host.writes, 0);

    window.cancel();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.TextShown());
    EXPECT_TRUE(host.shown.pixels.empty());
    EXPECT_TRUE(host.shortcuts);
    EXPECT_EQ(host.drawing, original);
}

TEST_F(AddTextWindowTest, OkWritesTheSamePixelsAsThePreviewAndTheCore) {
    host.drawing = test::testPhoto(400, 300);
    const Bitmap original = host.drawing;
    window.show();
    window.CheckBox1->click();  // with the shadow
    window.chooseColour = [](const QColor&) { return std::optional<QColor>(QColor(250, 200, 20)); };
    window.pickColour();
    const TextPosition at = window.position();
    const Bitmap previewed = withPreview(original, window.preview());

    window.writeText();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(host.writes, 1);
    EXPECT_TRUE(host.shown.pixels.empty());
    // The shadow in black one pixel right and down, then the text, each with WriteAntiAlias.
    Bitmap expected = original;
    const FontSpec font = fontOf(window.settings);
    WriteAntiAlias(expected, at.ScrollBar1 - 1 + 1, "Graphitello ", at.ScrollBar2 - 5 + 1, font, kBlack, glyphs);
    WriteAntiAlias(expected, at.ScrollBar1 - 1, "Graphitello ", at.ScrollBar2 - 5, font, Colour{20, 200, 250}, glyphs);
    EXPECT_EQ(host.drawing, expected);
    EXPECT_NE(host.drawing, original);
    EXPECT_EQ(host.drawing, previewed);
    // Closing after OK keeps the text.
    window.show();
    window.cancel();
    EXPECT_EQ(host.drawing, expected);
}

TEST_F(AddTextWindowTest, FlatTextOnAFlatDrawingGivesOnlyShadesBetweenTheTwo) {
    window.show();
    window.writeText();
    std::set<int> shades;
    for (int y = 0; y < host.drawing.height(); ++y)
        for (int x = 0; x < host.drawing.width(); ++x) {
            const Colour c = host.drawing.colourAt(x, y);
            ASSERT_TRUE(c.r == c.g && c.g == c.b) << x << "," << y;
            ASSERT_GE(c.r, 128);
            shades.insert(c.r);
        }
    EXPECT_GT(shades.size(), 2u);  // background, white and shades between
}

TEST_F(AddTextWindowTest, TopLeftOfAnUnframedDrawingIsAtThreeThreeAndDrawnAtTwoMinusTwo) {
    window.show();
    window.choosePlacement(kPlaceTopLeft);
    EXPECT_EQ(window.position(), (TextPosition{3, 3}));
    EXPECT_EQ(window.preview().left, 2);
    EXPECT_EQ(window.preview().top, 0);  // the patch starts at row -2: what lies inside the drawing
    window.writeText();
    Bitmap expected = TextHost::flatDrawing(400, 300, 128);
    WriteAntiAlias(expected, 2, "Graphitello ", -2, fontOf(window.settings), kWhite, glyphs);
    EXPECT_EQ(host.drawing, expected);

    // On a framed drawing the corner is inside the frame: half what the frame added, plus 3.
    host.sourceWidth = 300;
    host.sourceHeight = 240;
    window.show();
    window.choosePlacement(kPlaceTopLeft);
    EXPECT_EQ(window.position(), (TextPosition{53, 33}));
}

TEST_F(AddTextWindowTest, NumberBoxesTakeOnlyDigitsWithinTheDrawing) {
    host.drawing = TextHost::flatDrawing(1000, 500, 90);
    window.show();
    window.choosePlacement(kPlaceCustom);
    const int before = window.ScrollBar1->value();
    for (const char* refused : {"2000", "", "-5", "1.5", "12a"}) {
        window.Edit2->setText(QString::fromLatin1(refused));
        window.xTyped();
        EXPECT_EQ(window.Edit2->text(), QString::number(before)) << refused;
        EXPECT_EQ(window.ScrollBar1->value(), before) << refused;
    }
    window.Edit2->setText(QStringLiteral("1000"));
    window.xTyped();
    EXPECT_EQ(window.ScrollBar1->value(), 1000);
    EXPECT_EQ(window.settings.x, 1000);
    window.Edit3->setText(QStringLiteral("40"));
    window.yTyped();
    EXPECT_EQ(window.ScrollBar2->value(), 40);
    EXPECT_EQ(window.preview().top, 35);
}

TEST_F(AddTextWindowTest, ItalicTextSitsOneSpaceFurtherFromTheRightEdge) {
    window.show();
    const int upright = window.ScrollBar1->value();
    EXPECT_EQ(upright, 400 - 3 - glyphs.measure(fontOf(window.settings), "Graphitello").width);
    window.chooseFont = [](const QFont& initial) {
        QFont italic = initial;
        italic.setItalic(true);
        return std::optional<QFont>(italic);
    };
    window.pickFont();
    ASSERT_TRUE(window.settings.italic);
    EXPECT_EQ(window.settings.fontSize, 15);
    const FontSpec italic = fontOf(window.settings);
    EXPECT_EQ(window.ScrollBar1->value(), 400 - 3 - glyphs.measure(italic, "Graphitello ").width);
    // The left-hand places do not care.
    window.choosePlacement(kPlaceBottomLeft);
    EXPECT_EQ(window.ScrollBar1->value(), 3);
}

TEST_F(AddTextWindowTest, AFontTheSystemLacksIsSaidInTheWindow) {
    window.chooseFont = [](const QFont&) {
        QFont f(QStringLiteral("No Such Face Anywhere"));
        f.setPointSize(20);
        return std::optional<QFont>(f);
    };
    window.pickFont();
    EXPECT_EQ(window.settings.fontFamily, "No Such Face Anywhere");
    EXPECT_EQ(window.settings.fontSize, 20);
    const QString used = QtGlyphRenderer::resolveFamily("No Such Face Anywhere");
    EXPECT_EQ(window.Label2->text(), QStringLiteral("Police « No Such Face Anywhere » absente : le texte est écrit en « %1 »").arg(used));
    window.applyTexts(TextTable::of(Language::Chinese), Language::Chinese);
    EXPECT_EQ(window.Label2->text(), QStringLiteral("系統沒有「No Such Face Anywhere」字型，文字改用「%1」").arg(used));
}

TEST_F(AddTextWindowTest, ANewDrawingWhileOpenIsPreviewedAfreshAndCancelLeavesIt) {
    window.show();
    window.choosePlacement(kPlaceMiddle);
    // A rendering replaces the drawing with a larger, framed one.
    host.drawing = test::testPhoto(600, 450);
    host.sourceWidth = 400;
    host.sourceHeight = 300;
    const Bitmap replaced = host.drawing;
    window.drawingReplaced();
    EXPECT_EQ(window.ScrollBar1->maximum(), 600);
    EXPECT_EQ(window.preview(), PreviewTextOverlay(replaced, window.settings, window.position(), glyphs));
    EXPECT_EQ(host.shown, window.preview());
    window.unusedCancel();
    EXPECT_EQ(host.drawing, replaced);
    EXPECT_TRUE(host.shown.pixels.empty());
    // Once closed, a new drawing brings no preview back.
    window.drawingReplaced();
    EXPECT_TRUE(host.shown.pixels.empty());
}

TEST_F(AddTextWindowTest, DraggedTextIsCentredOnTheMouseInACustomPlace) {
    window.show();
    const TextPosition start = window.position();
    const TextExtent e = glyphs.measure(fontOf(window.settings), "Graphitello");
    EXPECT_TRUE(window.textBoxContains(start.ScrollBar1 + e.width / 2, start.ScrollBar2));
    EXPECT_FALSE(window.textBoxContains(start.ScrollBar1 - 10, start.ScrollBar2));
    window.beginTextDrag();
    EXPECT_EQ(window.ComboBox1->currentIndex(), kPlaceCustom);
    window.dragTextTo(150, 100);
    EXPECT_EQ(window.position(), (TextPosition{150 - e.width / 2, 100 - e.height / 2}));
    EXPECT_EQ(window.Edit2->text(), QString::number(150 - e.width / 2));
    EXPECT_EQ(window.Edit3->text(), QString::number(100 - e.height / 2));
    EXPECT_EQ(window.settings.position, kPlaceCustom);
    EXPECT_EQ(window.settings.x, 150 - e.width / 2);
    // A redraw keeps the dragged place; far outside, the scroll bars' ranges hold it.
    window.CheckBox1->click();
    EXPECT_EQ(window.position(), (TextPosition{150 - e.width / 2, 100 - e.height / 2}));
    window.dragTextTo(5000, -5000);
    EXPECT_EQ(window.position(), (TextPosition{400, -(e.height * 150 / 100)}));
}

}  // namespace
}  // namespace gt
