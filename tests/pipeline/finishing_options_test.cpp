// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "pipeline/finishing_options.h"

namespace gt {
namespace {

DrawingParameters apply(const FinishingOptionValues& v) {
    DrawingParameters c;
    applyFinishingOptions(v, c);
    return c;
}

std::string errorOf(const FinishingOptionValues& v) {
    try {
        apply(v);
    } catch (const OptionError& e) {
        return e.what();
    }
    return "";
}

TEST(FinishingOptions, NoOptionsKeepTheDefaults) {
    const DrawingParameters c = apply({});
    EXPECT_EQ(c.frame, FrameSettings{});
    EXPECT_EQ(c.text, TextSettings{});
    EXPECT_TRUE(c.CheckBox1);
    EXPECT_FALSE(c.CheckBox4);
}

TEST(FinishingOptions, Frames) {
    FinishingOptionValues v;
    v.frame = "none";
    EXPECT_FALSE(apply(v).CheckBox1);
    v.frame = "lined";
    v.margin = "0";
    v.fill = "#FFFFFF";
    v.line = "1a2B3c";
    DrawingParameters c = apply(v);
    EXPECT_TRUE(c.CheckBox1);
    EXPECT_EQ(c.frame.style, kFrameLined);
    EXPECT_EQ(c.frame.margin, 0);
    EXPECT_EQ(c.frame.FillColour, kWhite);
    EXPECT_EQ(c.frame.LineColour, (Colour{0x3c, 0x2b, 0x1a}));

    FinishingOptionValues coloured;
    coloured.frame = "coloured";
    coloured.frameNumber = "5";
    coloured.tint = "-255,0,+40";
    c = apply(coloured);
    EXPECT_EQ(c.frame.style, kFrameColoured);
    EXPECT_EQ(c.frame.colouredNumber, 5);
    EXPECT_EQ(c.frame.realisticNumber, 1);
    EXPECT_EQ(c.frame.tintRed, -255);
    EXPECT_EQ(c.frame.tintBlue, 40);

    FinishingOptionValues realistic;
    realistic.frameNumber = "7";  // the default frame is the realistic one
    EXPECT_EQ(apply(realistic).frame.realisticNumber, 7);
}

TEST(FinishingOptions, FrameErrorsNameTheOption) {
    FinishingOptionValues v;
    v.frame = "fancy";
    EXPECT_NE(errorOf(v).find("--frame: expected none, simple"), std::string::npos);
    v = {};
    v.margin = "1001";
    EXPECT_NE(errorOf(v).find("--margin: expected a whole number from 0 to 1000, got \"1001\""), std::string::npos);
    v.margin = "15x";
    EXPECT_NE(errorOf(v).find("--margin"), std::string::npos);
    v = {};
    v.frameNumber = "8";
    EXPECT_NE(errorOf(v).find("from 1 to 7"), std::string::npos);
    v.frame = "coloured";
    v.frameNumber = "6";
    EXPECT_NE(errorOf(v).find("from 1 to 5"), std::string::npos);
    v.frame = "simple";
    v.frameNumber = "1";
    EXPECT_NE(errorOf(v).find("--frame-number"), std::string::npos);
    v = {};
    v.fill = "F2FBF";
    EXPECT_NE(errorOf(v).find("--fill: expected a colour"), std::string::npos);
    v.fill = "GGFBFC";
    EXPECT_NE(errorOf(v).find("--fill"), std::string::npos);
    v = {};
    v.tint = "1,2";
    EXPECT_NE(errorOf(v).find("--tint"), std::string::npos);
    v.tint = "1,2,256";
    EXPECT_NE(errorOf(v).find("--tint (blue)"), std::string::npos);
}

TEST(FinishingOptions, Text) {
    FinishingOptionValues v;
    v.text = "Été 2024";
    v.textAt = "40,-3";
    v.font = "DejaVu Serif";
    v.fontSize = "30";
    v.fontStyle = "bold-italic";
    v.textColour = "000000";
    v.shadow = true;
    const DrawingParameters c = apply(v);
    EXPECT_TRUE(c.CheckBox4);
    EXPECT_EQ(c.text.text, "Été 2024");
    EXPECT_EQ(c.text.position, kPlaceCustom);
    EXPECT_EQ(c.text.x, 40);
    EXPECT_EQ(c.text.y, -3);
    EXPECT_EQ(c.text.fontFamily, "DejaVu Serif");
    EXPECT_EQ(c.text.fontSize, 30);
    EXPECT_TRUE(c.text.bold);
    EXPECT_TRUE(c.text.italic);
    EXPECT_EQ(c.text.colour, kBlack);
    EXPECT_TRUE(c.text.shadow);

    FinishingOptionValues p;
    p.text = "";
    p.textPosition = "5";
    EXPECT_EQ(apply(p).text.position, kPlaceMiddle);
    EXPECT_TRUE(apply(p).CheckBox4);  // an empty text still writes its one space
}

TEST(FinishingOptions, TextErrors) {
    FinishingOptionValues v;
    v.shadow = true;
    EXPECT_NE(errorOf(v).find("--shadow: needs --text"), std::string::npos);
    v = {};
    v.text = "a";
    v.textPosition = "0";
    EXPECT_NE(errorOf(v).find("--text-position: expected a whole number from 1 to 9"), std::string::npos);
    v.textPosition = "3";
    v.textAt = "1,2";
    EXPECT_NE(errorOf(v).find("not both"), std::string::npos);
    v.textPosition.reset();
    v.textAt = "12";
    EXPECT_NE(errorOf(v).find("--text-at"), std::string::npos);
    v.textAt.reset();
    v.fontStyle = "oblique";
    EXPECT_NE(errorOf(v).find("--font-style"), std::string::npos);
    v.fontStyle.reset();
    v.fontSize = "0";
    EXPECT_NE(errorOf(v).find("--font-size"), std::string::npos);
    v.fontSize.reset();
    v.font = "  ";
    EXPECT_NE(errorOf(v).find("--font"), std::string::npos);
}

}  // namespace
}  // namespace gt
