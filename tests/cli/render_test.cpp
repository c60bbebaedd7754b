// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/rendering.h"
#include "imaging/adjust.h"
#include "imaging/filters.h"
#include "imaging/io/builtin_pictures.h"
#include "imaging/io/picture_io.h"
#include "imaging/median.h"
#include "cli_test_support.h"
#include "io/io_test_support.h"
#include "pipeline/parameter_file.h"
#include "pipeline/batch_plan.h"
#include "pipeline/parameters.h"
#include "pipeline/presets.h"
#include "pipeline/render.h"
#include "pipeline/render_limits.h"

namespace gt::cli {
namespace {

namespace fs = std::filesystem;
using gt::testing::fileBytes;
using gt::testing::pattern;

using testing::Outcome;
using testing::run;

class Render : public gt::testing::ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        input = file("photo.png");
        writePicture(photo, input);
    }
    static const Resources& resources() {
        static const Resources r = loadBuiltinPictures();
        return r;
    }
    // What the pipeline gives for these parameters, as the command line should give it.
    static Bitmap expected(const Bitmap& source, const DrawingParameters& p, std::uint32_t seed = 0) {
        RenderContext ctx;
        ctx.random.seed = seed;
        return renderDrawing(source, p, resources(), ctx).drawing;
    }
    const Bitmap photo = [] {
        Bitmap b = pattern(36, 28);
        for (int y = 4; y < 20; ++y)
            for (int x = 10; x < 14; ++x) b.setColour(x, y, Colour{30, 40, 50});
        return b;
    }();
    std::string input;
};

TEST_F(Render, SimplifyAndRetouchGiveExactlyTheirRoutines) {
    const RenderContext quiet;
    ASSERT_EQ(run({"adjust", "simplify", input, file("s.bmp")}).status, kExitSuccess);
    Bitmap simplified = photo, work = photo;
    Blur3x3(work);
    Blur3x3(work);
    MedianFilter(photo, work, 5, 1, 1, quiet);
    simplified = work;
    Sharpen(simplified);
    Sharpen(simplified);
    EXPECT_EQ(readPicture(file("s.bmp")), simplified);

    // All at zero changes nothing.
    ASSERT_EQ(run({"adjust", "retouch", input, file("r.png")}).status, kExitSuccess);
    EXPECT_EQ(readPicture(file("r.png")), photo);

    struct Case {
        int b, c, s, n, m;
    };
    for (const Case k : {Case{20, -30, 40, -4, 9}, Case{-5, 25, -100, 3, 1}, Case{0, 0, 0, -5, 0}, Case{0, 0, 0, -2, 0}}) {
        const Outcome r = run({"adjust", "retouch", "--brightness", std::to_string(k.b), "--contrast", std::to_string(k.c),
                               "--saturation", std::to_string(k.s), "--sharpness", std::to_string(k.n), "--simplify",
                               std::to_string(k.m), input, file("r.bmp")});
        ASSERT_EQ(r.status, kExitSuccess) << r.err;
        Bitmap t = photo;
        if (k.m > 0) MedianFilter(Bitmap(t), t, k.m + 2, 1, 1, quiet);
        AdjustBrightness(t, k.b);
        if (k.c < 0) LinearContrast(t, 127, k.c); else AdjustContrast(t, 2 * k.c);
        AdjustSaturation(t, k.s);
        for (int i = 0; i < k.n; ++i) Sharpen(t);
        for (int i = k.n; i < 0; ++i) {
            if (i <= -4) Blur3x3(t); else Soften(t);
        }
        EXPECT_EQ(readPicture(file("r.bmp")), t) << k.b << " " << k.c << " " << k.s << " " << k.n << " " << k.m;
    }
    const Outcome wrong = run({"adjust", "retouch", "--sharpness", "6", input, file("r.bmp")});
    EXPECT_EQ(wrong.status, kExitUsage);
    EXPECT_NE(wrong.err.find("--sharpness 6: out of range -5..5"), std::string::npos) << wrong.err;
}

TEST_F(Render, RenderGivesWhatThePipelineGives) {
    DrawingParameters p = defaultParameters(DrawingStyle::PencilDrawingGrey);
    p.CheckBox1 = false;
    ASSERT_EQ(run({"render", "--style", "pencil-grey", "--frame", "none", input, file("a.bmp")}).status, kExitSuccess);
    EXPECT_EQ(readPicture(file("a.bmp")), expected(photo, p));

    // The same by number, with sliders, texture, strength, seed and a simple frame.
    p = defaultParameters(DrawingStyle::PencilDrawingGrey);
    p.TrackBar1 = 100;
    p.TrackBar5 = 30;
    p.CheckBox2 = false;
    p.UpDown1 = 3;
    p.ComboBox2 = 2;
    p.frame.style = kFrameSimple;
    p.frame.margin = 20;
    const Outcome r = run({"render", "--style", "1", "--t1", "100", "--t5=30", "--soften", "off", "--texture", "4",
                           "--strength", "strong", "--seed", "77", "--frame", "simple", "--margin", "20", input, file("b.png")});
    ASSERT_EQ(r.status, kExitSuccess) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(readPicture(file("b.png")), expected(photo, p, 77));
}

TEST_F(Render, SlidersFromAParameterFile) {
    ParameterTable table = defaultParameterTable();
    table[1][kSlotTrackBar1] = 12;
    table[1][kSlotTrackBar2] = 34;
    saveParameterFile(file("mine.gtl"), table, styleNames(Language::French));
    const Outcome r = run({"render", "--style", "pencil-grey", "--params", file("mine.gtl"), "--t2", "50", "--frame", "none",
                           input, file("p.bmp")});
    ASSERT_EQ(r.status, kExitSuccess) << r.err;
    DrawingParameters p = defaultParameters(DrawingStyle::PencilDrawingGrey);
    p.CheckBox1 = false;
    p.TrackBar1 = 12;
    p.TrackBar2 = 50;  // the option over the file
    EXPECT_EQ(readPicture(file("p.bmp")), expected(photo, p));

    const Outcome missing = run({"render", "--params", file("none.gtl"), input, file("p.bmp")});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_EQ(missing.err, "graphitello-cli: " + file("none.gtl") + ": no such file\n");

    const Outcome endless = run({"render", "--params", "/dev/zero", input, file("p.bmp")});
    EXPECT_EQ(endless.status, kExitFailure);
    EXPECT_EQ(endless.err, "graphitello-cli: /dev/zero: too large for a parameter file (more than 1 MB)\n");
}

// Every slider the window shows, by its name and by its number: the same drawing, and the slider
// really moved it.
TEST_F(Render, NamedSlidersGiveTheBytesOfTheirNumberedTwins) {
    const char* numbered[kSliderCount] = {"--t1", "--t2", "--t5", "--t3", "--t4"};
    for (int style = 0; style < kStyleCount; ++style) {
        const std::string name = styleCliName(static_cast<DrawingStyle>(style));
        for (int slot = 0; slot < kSliderCount; ++slot) {
            const std::string_view caption = sliderCaption(style, slot);
            if (caption.empty()) continue;
            const SliderRange range = sliderRange(style, slot);
            DrawingParameters p = defaultParameters(static_cast<DrawingStyle>(style));
            p.CheckBox1 = false;
            const int value = sliderValue(p, slot) == range.maximum ? range.minimum : range.maximum;
            const std::string v = std::to_string(value);
            const Outcome byName = run({"render", "--style", name, "--" + sliderOptionName(caption), v, "--frame", "none", input, file("n.bmp")});
            const Outcome byNumber = run({"render", "--style", name, numbered[slot], v, "--frame", "none", input, file("t.bmp")});
            ASSERT_EQ(byName.status, kExitSuccess) << byName.err;
            ASSERT_EQ(byNumber.status, kExitSuccess) << byNumber.err;
            EXPECT_EQ(byName.err, "");
            EXPECT_EQ(fileBytes(file("n.bmp")), fileBytes(file("t.bmp"))) << name << " " << caption;
            setSliderValue(p, slot, value);
            EXPECT_EQ(readPicture(file("n.bmp")), expected(photo, p)) << name << " " << caption;
        }
    }
}

// A preset by name or file gives what its settings typed as options give; options after it win,
// those before it give way.
TEST_F(Render, PresetsGiveTheBytesOfTheirOptions) {
    ::setenv("XDG_DATA_HOME", file("data").c_str(), 1);
    DrawingParameters p = defaultParameters(DrawingStyle::InkDrawing);
    p.TrackBar1 = 60;
    p.UpDown1 = 2;
    p.ComboBox2 = 2;
    p.frame.style = kFrameLined;
    p.frame.margin = 6;
    p.frame.LineColour = Colour{0, 0, 200};
    writePresetFile(file("data") + "/graphitello/presets/Mine.preset", p);
    std::vector<std::string> typed = {"render"};
    for (const auto& [key, value] : drawingOptionsOf(p)) {
        typed.push_back("--" + key);
        typed.push_back(value);
    }
    auto render = [&](std::vector<std::string> args, const std::string& out) {
        args.insert(args.begin(), "render");
        args.push_back(input);
        args.push_back(file(out));
        return run(args);
    };
    typed.erase(typed.begin());
    ASSERT_EQ(render(typed, "typed.bmp").status, kExitSuccess);
    const Outcome byName = render({"--preset", "Mine"}, "name.bmp");
    ASSERT_EQ(byName.status, kExitSuccess) << byName.err;
    EXPECT_EQ(byName.err, "");
    EXPECT_EQ(fileBytes(file("name.bmp")), fileBytes(file("typed.bmp")));
    ASSERT_EQ(render({"--margin", "90", "--preset", file("data") + "/graphitello/presets/Mine.preset"}, "file.bmp").status, kExitSuccess);
    EXPECT_EQ(fileBytes(file("file.bmp")), fileBytes(file("typed.bmp")));

    typed.insert(typed.end(), {"--t1", "5", "--texture", "off"});
    typed.erase(typed.begin() + 2, typed.begin() + 4);  // the preset's --edge-threshold gives way to --t1
    ASSERT_EQ(render(typed, "typed2.bmp").status, kExitSuccess);
    ASSERT_EQ(render({"--preset", "Mine", "--t1", "5", "--texture", "off"}, "after.bmp").status, kExitSuccess);
    EXPECT_EQ(fileBytes(file("after.bmp")), fileBytes(file("typed2.bmp")));

    // A style after the preset starts from its own sliders and keeps the rest.
    ASSERT_EQ(render({"--preset", "Mine", "--style", "painting1"}, "restyled.bmp").status, kExitSuccess);
    DrawingParameters q = p;
    q.ComboBox1 = styleIndex(DrawingStyle::Painting1);
    const DrawingParameters painting = defaultParameters(DrawingStyle::Painting1);
    for (int slot = 0; slot < kSliderCount; ++slot) setSliderValue(q, slot, sliderValue(painting, slot));
    EXPECT_EQ(readPicture(file("restyled.bmp")), expected(photo, q));

    // The batch takes it through the same options.
    fs::create_directory(file("out"));
    ASSERT_EQ(run({"batch", "--preset", "Mine", "--out", file("out"), input}).status, kExitSuccess);
    ASSERT_EQ(render({"--preset", "Mine"}, "alone.jpg").status, kExitSuccess);
    EXPECT_EQ(fileBytes(file("out") + "/Graphitello - photo.jpg"), fileBytes(file("alone.jpg")));

    std::ofstream(file("data") + "/graphitello/presets/Broken.preset") << "graphitello-preset 1\nstyle = crayon\n";
    const Outcome broken = render({"--preset", "Broken"}, "broken.bmp");
    EXPECT_EQ(broken.status, kExitFailure);
    EXPECT_EQ(broken.err, "graphitello-cli: " + file("data") + "/graphitello/presets/Broken.preset: style crayon: no such style "
                          "(0..8, or one of pencil, pencil-grey, pencil-colour, ink, painting1, painting2, painting3, painting4, frame-only)\n");
    EXPECT_FALSE(fs::exists(file("broken.bmp")));
    EXPECT_EQ(render({"--preset", "Nobody"}, "x.bmp").status, kExitUsage);
    ASSERT_EQ(render({"--preset", builtInPresets().front().name}, "builtin.bmp").status, kExitSuccess);

    const Outcome listed = run({"presets"});
    EXPECT_EQ(listed.status, kExitSuccess);
    EXPECT_NE(listed.out.find(builtInPresets().front().name + " "), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("Mine"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("yours     ink\n"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("Broken"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("Your presets: " + file("data") + "/graphitello/presets\n"), std::string::npos) << listed.out;
    ::unsetenv("XDG_DATA_HOME");
}

TEST_F(Render, WrongOptionsAreUsageErrors) {
    const std::string out = file("o.jpg");
    struct Case {
        std::vector<std::string> options;
        std::string message;
    };
    const Case cases[] = {
        {{"--style", "crayon"}, "--style crayon: no such style (0..8, or one of pencil, pencil-grey"},
        {{"--style", "9"}, "--style 9: no such style"},
        {{"--t1", "256"}, "--t1: TrackBar1 of style pencil must be 0..255 (got 256)"},
        {{"--t1", "x"}, "--t1 x: not a whole number"},
        {{"--texture", "11"}, "--texture 11: out of range 1..10"},
        {{"--strength", "hard"}, "--strength hard: expected light, normal or strong"},
        {{"--soften", "yes"}, "--soften yes: expected on or off"},
        {{"--seed", "-1"}, "--seed -1: expected a whole number from 0 to 4294967295"},
        {{"--drawing-size", "0x10"}, "--drawing-size 0x10: each side must be 1..65535"},
        {{"--frame", "gold"}, "--frame: expected none, simple, lined, realistic or coloured"},
        {{"--shadow"}, "--shadow: needs --text TEXT"},
        {{"--brush-size", "3"}, "--brush-size: style pencil has no such slider (its sliders are --edge-threshold, --edge-strength, "
                                "--colour-strength, --darken-lighten, --contrast-level)"},
        {{"--style", "frame-only", "--edge-threshold", "3"}, "--edge-threshold: style frame-only has no such slider (it has none)"},
        {{"--edge-threshold", "300"}, "--edge-threshold: TrackBar1 of style pencil must be 0..255 (got 300)"},
        {{"--t1", "4", "--edge-threshold", "5"}, "--edge-threshold and --t1 are the same slider; give one of them"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"render"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back(input);
        args.push_back(out);
        const Outcome r = run(args);
        EXPECT_EQ(r.status, kExitUsage) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("Try 'graphitello-cli render --help'."), std::string::npos) << r.err;
    }
    const Outcome unread = run({"render", "--style", "ink", "--t4", "3", "--frame", "none", input, file("ink.bmp")});
    EXPECT_EQ(unread.status, kExitSuccess);
    EXPECT_EQ(unread.err, "graphitello-cli: warning: --t4: style ink does not read it\n");
    EXPECT_EQ(entries(), (std::vector<std::string>{"ink.bmp", "photo.png"}));
}

TEST_F(Render, BatchNamesSkipsAndGoesOnAfterAFailure) {
    EXPECT_EQ(batchOutputName("/photos/cat.jpg"), "Graphitello - cat.jpg");
    EXPECT_EQ(batchOutputName("photo.jpeg"), "Graphitello - photo.jpeg");
    EXPECT_EQ(batchOutputName("dir/Photo.JPG"), "Graphitello - Photo.JPG");
    EXPECT_EQ(batchOutputName("cat.png"), "Graphitello - cat.jpg");
    EXPECT_EQ(batchOutputName("scan"), "Graphitello - scan.jpg");

    gt::testing::fs::create_directory(folder / "out");
    const std::string out = file("out");
    writePicture(pattern(20, 20), file("second.jpg"));
    gt::testing::writeBytes(folder / "broken.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0});
    const std::vector<std::string> common = {"batch", "--style", "frame-only", "--frame", "simple", "--margin", "4", "--out", out};
    auto batch = [&](std::vector<std::string> more) {
        std::vector<std::string> args = common;
        args.insert(args.end(), more.begin(), more.end());
        return run(args);
    };

    const Outcome first = batch({input, file("broken.jpg"), file("second.jpg")});
    EXPECT_EQ(first.status, kExitFailure);
    const std::string a = out + "/Graphitello - photo.jpg", b = out + "/Graphitello - second.jpg";
    EXPECT_EQ(first.out, a + "\n" + b + "\n");
    EXPECT_NE(first.err.find("graphitello-cli: " + file("broken.jpg") + ": broken JPEG data"), std::string::npos) << first.err;
    EXPECT_NE(first.err.find("2 written, 0 skipped, 1 failed"), std::string::npos) << first.err;

    // A drawing in a batch is the drawing that render makes alone.
    ASSERT_EQ(run({"render", "--style", "frame-only", "--frame", "simple", "--margin", "4", file("second.jpg"), file("alone.jpg")}).status,
              kExitSuccess);
    EXPECT_EQ(fileBytes(b), fileBytes(file("alone.jpg")));

    // Existing drawings are kept unless --overwrite.
    gt::testing::writeBytes(a, {'o', 'l', 'd'});
    const Outcome again = batch({input});
    EXPECT_EQ(again.status, kExitSuccess);
    EXPECT_EQ(again.out, "");
    EXPECT_NE(again.err.find("skipped " + a + ": it exists"), std::string::npos);
    EXPECT_EQ(fileBytes(a), (gt::testing::Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(batch({"--overwrite", input}).status, kExitSuccess);
    EXPECT_EQ(readPicture(a).width(), photo.width() + 4);

    // Two photos whose drawings would have one name are both drawn; a broken one listed first
    // takes no name from a good one that keeps its own.
    writePicture(photo, file("photo.bmp"));
    const Outcome clash = batch({"--overwrite", input, file("photo.bmp")});
    EXPECT_EQ(clash.status, kExitSuccess) << clash.err;
    EXPECT_EQ(clash.out, a + "\n" + out + "/Graphitello - photo.bmp.jpg\n");
    gt::testing::writeBytes(folder / "second.bmp", {'B', 'M', 0});
    const Outcome brokenFirst = batch({"--overwrite", file("second.bmp"), file("second.jpg"), file("second.jpg")});
    EXPECT_EQ(brokenFirst.status, kExitFailure);
    EXPECT_EQ(brokenFirst.out, b + "\n");
    EXPECT_NE(brokenFirst.err.find(file("second.jpg") + ": listed more than once, drawn once"), std::string::npos) << brokenFirst.err;
    EXPECT_NE(brokenFirst.err.find("1 written, 0 skipped, 1 failed"), std::string::npos) << brokenFirst.err;

    EXPECT_EQ(run({"batch", input}).status, kExitUsage);
    EXPECT_EQ(run({"batch", "--out", file("nowhere"), input}).status, kExitUsage);
    EXPECT_EQ(run({"batch", "--out", out}).status, kExitUsage);
}

// A photo that would not fit in the memory the machine can give (here a figure from the
// environment) is refused with one line before it is drawn, and nothing is written; render and batch
// alike. With just enough, it is drawn.
TEST_F(Render, APhotoBeyondTheAvailableMemoryIsRefusedWithOneLine) {
    DrawingParameters p = defaultParameters(DrawingStyle::Painting1);
    p.CheckBox1 = false;
    const long long needed = renderPeakBytes(photo.width(), photo.height(), p, resources());
    const long long held = 3LL * photo.width() * photo.height();
    ::setenv("GRAPHITELLO_AVAILABLE_MEMORY", "1M", 1);
    const Outcome refused = run({"render", "--style", "painting1", "--frame", "none", input, file("o.jpg")});
    EXPECT_EQ(refused.status, kExitFailure);
    EXPECT_EQ(refused.err, "graphitello-cli: not enough memory to draw this photo: it would take about " + memoryFigure(needed) +
                               ", and the machine can give " + memoryFigure(1'000'000 + held) + "\n");
    EXPECT_EQ(refused.out, "");
    EXPECT_FALSE(fs::exists(file("o.jpg")));

    fs::create_directory(folder / "out");
    const Outcome batch = run({"batch", "--style", "painting1", "--frame", "none", "--out", file("out"), input});
    EXPECT_EQ(batch.status, kExitFailure);
    EXPECT_EQ(batch.out, "");
    EXPECT_NE(batch.err.find("graphitello-cli: photo.png: not enough memory to draw this photo: it would take about "), std::string::npos)
        << batch.err;
    EXPECT_NE(batch.err.find("0 written, 0 skipped, 1 failed"), std::string::npos) << batch.err;
    EXPECT_TRUE(fs::is_empty(folder / "out"));

    ::setenv("GRAPHITELLO_AVAILABLE_MEMORY", std::to_string(needed - held).c_str(), 1);
    const Outcome fits = run({"render", "--style", "painting1", "--frame", "none", input, file("o.bmp")});
    ::unsetenv("GRAPHITELLO_AVAILABLE_MEMORY");
    EXPECT_EQ(fits.status, kExitSuccess) << fits.err;
    EXPECT_EQ(readPicture(file("o.bmp")), expected(photo, p));
}

TEST_F(Render, ACancelledRenderWritesNothing) {
    std::atomic<bool> cancel{true};
    EXPECT_EQ(run({"render", input, file("o.jpg")}, &cancel).status, kExitCancelled);
    gt::testing::fs::create_directory(folder / "out");
    const Outcome batch = run({"batch", "--out", file("out"), input}, &cancel);
    EXPECT_EQ(batch.status, kExitCancelled);
    EXPECT_EQ(batch.err, "graphitello-cli: cancelled; 0 written before, nothing for " + input + "\n");
    EXPECT_EQ(entries(), (std::vector<std::string>{"out", "photo.png"}));
    EXPECT_TRUE(gt::testing::fs::is_empty(folder / "out"));
}

TEST(Styles, ListsTheNineStyles) {
    const Outcome names = run({"styles", "--names"});
    EXPECT_EQ(names.status, kExitSuccess);
    EXPECT_EQ(names.out, "pencil\npencil-grey\npencil-colour\nink\npainting1\npainting2\npainting3\npainting4\nframe-only\n");
    const Outcome table = run({"styles"});
    EXPECT_EQ(table.out.rfind("0  pencil  \"", 0), 0u) << table.out;
    EXPECT_NE(table.out.find("8  frame-only"), std::string::npos);
    // Pencil's third slider in the window is TrackBar5.
    EXPECT_NE(table.out.find("    3  --colour-strength (--t5)"), std::string::npos) << table.out;
    EXPECT_EQ(run({"styles", "extra"}).status, kExitUsage);
}

}  // namespace
}  // namespace gt::cli
