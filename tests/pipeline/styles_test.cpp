// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "imaging/error.h"
#include "pipeline/parameters.h"
#include "pipeline/styles.h"

namespace gt {
namespace {

// Each style starts with sliders its window can show: every default lies in its slider's range,
// and what no style reads stays 0.
TEST(Styles, DefaultTableFitsTheSliders) {
    const ParameterTable t = defaultParameterTable();
    for (int row = 0; row < kStoredRows; ++row)
        for (int slot = 0; slot < kSliderCount; ++slot)
            EXPECT_TRUE(sliderRange(row, slot).contains(t[row][slot])) << row << "," << slot << ": " << t[row][slot];
    for (int row = 0; row < kParameterRows; ++row)
        for (int slot = row < kStoredRows ? kSliderCount : 0; slot < kParameterSlots; ++slot) EXPECT_EQ(t[row][slot], 0) << row << "," << slot;
}

TEST(Styles, SliderRangesFollowTheStyle) {
    EXPECT_EQ(sliderRange(0, kSlotTrackBar1), (SliderRange{0, 255, 5}));
    EXPECT_EQ(sliderRange(0, kSlotTrackBar5), (SliderRange{0, 100, 5}));
    EXPECT_EQ(sliderRange(6, kSlotTrackBar2), (SliderRange{1, 10, 1}));
    EXPECT_EQ(sliderRange(6, kSlotTrackBar1), (SliderRange{0, 255, 5}));
    EXPECT_EQ(sliderRange(7, kSlotTrackBar1), (SliderRange{0, 10, 1}));
    EXPECT_EQ(sliderRange(7, kSlotTrackBar2), (SliderRange{0, 255, 5}));
    EXPECT_EQ(sliderRange(-1, kSlotTrackBar2), (SliderRange{0, 255, 5}));
    // Every default lies inside its style's range, so loading the defaults never moves one.
    const ParameterTable t = defaultParameterTable();
    for (int s = 0; s < kStoredRows; ++s)
        for (int slot = 0; slot < kSliderCount; ++slot) EXPECT_TRUE(sliderRange(s, slot).contains(t[s][slot])) << s << "," << slot;
}

TEST(Styles, VisibilityNamesAndWhatEachStyleReads) {
    EXPECT_EQ(sliderVisibility(3), (std::array<bool, 5>{true, true, false, true, false}));
    EXPECT_EQ(sliderVisibility(2), (std::array<bool, 5>{true, true, true, true, true}));
    EXPECT_EQ(sliderVisibility(8), (std::array<bool, 5>{}));
    EXPECT_EQ(sliderVisibility(-1), (std::array<bool, 5>{}));

    EXPECT_EQ(styleNames(Language::French)[3], "Dessin à l'encre");
    EXPECT_EQ(styleNames(Language::Chinese)[6], "油畫 3 (中間值 +對稱濾鏡)");

    for (int s = 0; s < kStyleCount; ++s) {
        const auto style = static_cast<DrawingStyle>(s);
        EXPECT_EQ(styleFromCliName(styleCliName(style)), style);
        EXPECT_EQ(styleFromCliName(std::to_string(s)), style);
    }
    EXPECT_EQ(styleCliName(DrawingStyle::FrameAndTextureOnly), "frame-only");
    EXPECT_FALSE(styleFromCliName("9"));
    EXPECT_FALSE(styleFromCliName("-1"));
    EXPECT_FALSE(styleFromCliName(""));
    EXPECT_FALSE(styleFromCliName("3x"));

    EXPECT_FALSE(controlsRead(DrawingStyle::Painting1) & kReadsCheckBox2);
    EXPECT_FALSE(controlsRead(DrawingStyle::InkDrawing) & kReadsTrackBar5);
    EXPECT_TRUE(controlsRead(DrawingStyle::Painting2) & kReadsComboBox1);
    EXPECT_EQ(controlsRead(DrawingStyle::FrameAndTextureOnly), unsigned(kReadsCheckBox2 | kReadsCheckBox3 | kReadsComboBox2 | kReadsUpDown1));
}

TEST(DrawingParameters, DefaultsPerStyle) {
    const DrawingParameters pencil = defaultParameters(DrawingStyle::PencilDrawing);
    EXPECT_EQ(pencil.ComboBox1, 0);
    EXPECT_EQ(pencil.TrackBar1, 25);
    EXPECT_EQ(pencil.TrackBar2, 100);
    EXPECT_EQ(pencil.TrackBar5, 80);
    EXPECT_EQ(pencil.TrackBar3, 160);
    EXPECT_EQ(pencil.TrackBar4, 100);
    EXPECT_TRUE(pencil.CheckBox1 && pencil.CheckBox2 && pencil.CheckBox3 && !pencil.CheckBox4);
    EXPECT_EQ(pencil.ComboBox2, 1);
    EXPECT_EQ(pencil.UpDown1, 0);

    const DrawingParameters p4 = defaultParameters(DrawingStyle::Painting4);
    EXPECT_EQ(p4.TrackBar1, 5);
    EXPECT_EQ(p4.TrackBar5, 60);
    EXPECT_NO_THROW(checkParameters(p4));
}

TEST(DrawingParameters, LoadingARowClampsToTheRangeAndStoresItBack) {
    ParameterTable table = defaultParameterTable();
    table[6][kSlotTrackBar2] = 0;
    table[6][kSlotTrackBar4] = 77;
    DrawingControls c;
    c.ComboBox1 = 6;
    c.TrackBar4 = 9;
    EXPECT_TRUE(loadSlidersFromTable(c, table));
    EXPECT_EQ(c.TrackBar2, 1);
    EXPECT_EQ(table[6][kSlotTrackBar2], 1);
    EXPECT_EQ(c.TrackBar4, 9);  // only the two styles that show TrackBar4 load it
    EXPECT_FALSE(loadSlidersFromTable(c, table));

    // Style 8 loads its (hidden) sliders from row 8 but never writes that row.
    table[8][kSlotTrackBar1] = 300;
    c.ComboBox1 = 8;
    loadSlidersFromTable(c, table);
    EXPECT_EQ(c.TrackBar1, 255);
    EXPECT_EQ(table[8][kSlotTrackBar1], 300);

    c.ComboBox1 = -1;
    c.TrackBar1 = 42;
    EXPECT_FALSE(loadSlidersFromTable(c, table));
    EXPECT_EQ(c.TrackBar1, 42);
}

TEST(DrawingParameters, RangeChecksNameTheControl) {
    DrawingParameters p = defaultParameters(DrawingStyle::Painting3);
    p.TrackBar2 = 11;
    try {
        checkParameters(p);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "TrackBar2 of style painting3 must be 1..10 (got 11)");
    }
    p.TrackBar2 = 10;
    p.TrackBar4 = 999;  // not read by painting 3
    EXPECT_NO_THROW(checkParameters(p));
    p.UpDown1 = 10;
    EXPECT_THROW(checkParameters(p), Error);
    EXPECT_THROW(checkSlider(0, kSlotTrackBar5, 101), Error);
    EXPECT_NO_THROW(checkSlider(0, kSlotTrackBar5, 100));
}

}  // namespace
}  // namespace gt
