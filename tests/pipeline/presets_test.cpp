// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "pipeline/presets.h"

namespace gt {
namespace {

namespace fs = std::filesystem;

DrawingParameters unusual() {
    DrawingParameters p = defaultParameters(DrawingStyle::Painting3);
    p.TrackBar1 = 0;
    p.TrackBar2 = 10;
    p.TrackBar5 = 100;
    p.TrackBar3 = 3;
    p.CheckBox2 = false;
    p.CheckBox3 = true;
    p.UpDown1 = 9;
    p.ComboBox2 = 2;
    p.frame.style = kFrameColoured;
    p.frame.colouredNumber = 5;
    p.frame.margin = 0;
    p.frame.tintRed = -255;
    p.frame.tintBlue = 17;
    p.frame.FillColour = Colour{1, 2, 3};
    p.CheckBox4 = true;
    p.text.text = " \"Été\" à Taipei 台北 = 1 ";  // blanks at the ends, quotes, an equals sign
    p.text.fontFamily = "DejaVu Serif";
    p.text.fontSize = 40;
    p.text.bold = true;
    p.text.italic = true;
    p.text.colour = Colour{0x10, 0x20, 0x30};
    p.text.shadow = true;
    p.text.position = kPlaceCustom;
    p.text.x = -12;
    p.text.y = 300;
    return p;
}

void expectSameDrawing(const DrawingParameters& a, const DrawingParameters& b) {
    for (int slot = 0; slot < kSliderCount; ++slot) EXPECT_EQ(sliderValue(a, slot), sliderValue(b, slot)) << slot;
    EXPECT_EQ(a.ComboBox1, b.ComboBox1);
    EXPECT_EQ(a.ComboBox2, b.ComboBox2);
    EXPECT_EQ(a.UpDown1, b.UpDown1);
    EXPECT_EQ(a.CheckBox1, b.CheckBox1);
    EXPECT_EQ(a.CheckBox2, b.CheckBox2);
    EXPECT_EQ(a.CheckBox3, b.CheckBox3);
    EXPECT_EQ(a.CheckBox4, b.CheckBox4);
    EXPECT_EQ(a.frame, b.frame);
    if (a.CheckBox4) {
        EXPECT_EQ(a.text, b.text);
    }
}

TEST(Presets, ComeBackFromTheirFileAsTheyWent) {
    std::vector<DrawingParameters> cases = {unusual()};
    for (int s = 0; s < kStyleCount; ++s) cases.push_back(defaultParameters(static_cast<DrawingStyle>(s)));
    cases[1].CheckBox1 = false;
    cases[2].CheckBox3 = false;
    cases[2].UpDown1 = 0;
    for (const DrawingParameters& p : cases) {
        const std::string text = presetText(p);
        EXPECT_EQ(text.rfind("graphitello-preset 1\nstyle = ", 0), 0u) << text;
        const PresetRead read = readPresetText(text, "a.preset");
        EXPECT_TRUE(read.warnings.empty()) << read.warnings.front();
        expectSameDrawing(read.parameters, p);
        EXPECT_EQ(presetText(read.parameters), text);
    }
    // Through a real file, in a folder made on the way.
    const fs::path folder = fs::path(::testing::TempDir()) / "presets_roundtrip" / "sub";
    fs::remove_all(folder.parent_path());
    writePresetFile((folder / "Été.preset").string(), unusual());
    expectSameDrawing(readPresetFile((folder / "Été.preset").string()).parameters, unusual());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);  // no temporary left
    fs::remove_all(folder.parent_path());
}

TEST(Presets, UnknownKeysAreSkippedWithAWarningAndCommentsIgnored) {
    const PresetRead read = readPresetText("\xEF\xBB\xBFgraphitello-preset 1\r\n# mine\r\n\r\nstyle = ink\r\nglow = 3\r\n"
                                           "darken-lighten=99\r\n  edge-strength =  7  \r\n", "mine.preset");
    ASSERT_EQ(read.warnings.size(), 1u);
    EXPECT_EQ(read.warnings[0], "mine.preset, line 5: unknown setting \"glow\", skipped");
    EXPECT_EQ(read.parameters.ComboBox1, styleIndex(DrawingStyle::InkDrawing));
    EXPECT_EQ(read.parameters.TrackBar3, 99);
    EXPECT_EQ(read.parameters.TrackBar2, 7);
    EXPECT_EQ(read.parameters.TrackBar1, 30);  // the style's default
}

TEST(Presets, ADamagedFileIsRefusedWithOneLine) {
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"", "p.preset: not a preset (the file is empty)"},
        {"style = ink\n", "p.preset: not a preset (the first line should be \"graphitello-preset 1\")"},
        {"graphitello-preset 2\nstyle = ink\n", "p.preset: a preset of format 2, newer than this program reads (1)"},
        {"graphitello-preset 1\nstyle ink\n", "p.preset, line 2: expected a setting as KEY = VALUE"},
        {"graphitello-preset 1\n= ink\n", "p.preset, line 2: expected a setting as KEY = VALUE"},
        {"graphitello-preset 1\nstyle = ink\nstyle = pencil\n", "p.preset, line 3: style is set twice"},
        {"graphitello-preset 1\nstyle = crayon\n", "p.preset: style crayon: no such style"},
        {"graphitello-preset 1\nstyle = ink\nbrush-size = 3\n", "p.preset: brush-size: style ink has no such slider"},
        {"graphitello-preset 1\nedge-threshold = 256\n", "p.preset: edge-threshold: TrackBar1 of style pencil must be 0..255 (got 256)"},
        {"graphitello-preset 1\nmargin = lots\n", "p.preset: margin: expected a whole number from 0 to 1000, got \"lots\""},
        {"graphitello-preset 1\nshadow = on\n", "p.preset: shadow: needs --text TEXT"},
        {"graphitello-preset 1\ntext = caf\xE9\n", "p.preset: not a preset: the file is not UTF-8 text"},
    };
    for (const Case& c : cases) {
        try {
            readPresetText(c.text, "p.preset");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const PresetError& e) {
            const std::string what = e.what();
            EXPECT_EQ(what.rfind(c.message, 0), 0u) << what;
            EXPECT_EQ(what.find('\n'), std::string::npos) << what;
        }
    }
    EXPECT_THROW(readPresetText("graphitello-preset 1\n" + std::string(70000, '#'), "big.preset"), PresetError);
    EXPECT_THROW(readPresetFile(::testing::TempDir() + "/no such.preset"), PresetError);
}

TEST(Presets, BuiltInOnesReadCleanAndTheUsersComeAfterThem) {
    ASSERT_GE(builtInPresets().size(), 4u);
    for (const PresetEntry& e : builtInPresets()) {
        const PresetRead read = readPreset(e);
        EXPECT_TRUE(read.warnings.empty()) << e.name;
    }
    const fs::path folder = fs::path(::testing::TempDir()) / "presets_user";
    fs::remove_all(folder);
    const std::string builtIn = builtInPresets().front().name;
    writePresetFile((folder / "Mine.preset").string(), unusual());
    writePresetFile((folder / (builtIn + ".preset")).string(), unusual());  // never takes the built-in's place
    std::ofstream(folder / "notes.txt") << "not a preset";
    const std::vector<PresetEntry> all = allPresets(folder.string());
    ASSERT_EQ(all.size(), builtInPresets().size() + 1);
    EXPECT_EQ(all.back().name, "Mine");
    EXPECT_FALSE(all.back().builtIn);
    EXPECT_TRUE(findPreset(builtIn, folder.string())->builtIn);
    EXPECT_FALSE(findPreset("Nobody", folder.string()));
    fs::remove_all(folder);

    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("XDG_DATA_HOME", "/data", 1);
    EXPECT_EQ(userPresetFolder(), "/data/graphitello/presets");
    ::setenv("XDG_DATA_HOME", "relative", 1);  // not absolute: ignored, as the base directory rules say
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(userPresetFolder(), "/home/u/.local/share/graphitello/presets");
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", home.c_str(), 1);

    EXPECT_EQ(presetNameProblem("Été à Taipei"), "");
    for (const char* bad : {"", " ", ".hidden", "a/b", "a\\b", "tab\there", "end "}) EXPECT_NE(presetNameProblem(bad), "") << bad;
}

}  // namespace
}  // namespace gt
