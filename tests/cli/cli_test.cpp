// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/progress_bar.h"
#include "imaging/adjust.h"
#include "imaging/filters.h"
#include "imaging/io/picture_io.h"
#include "cli_test_support.h"
#include "io/io_test_support.h"

namespace gt::cli {
namespace {

using gt::testing::pattern;

using testing::Outcome;
using testing::run;

class Cli : public gt::testing::ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        input = file("in.png");
        writePicture(source, input);
    }
    // A picture with detail, so every routine changes it.
    const Bitmap source = [] {
        Bitmap b = pattern(23, 17);
        for (int y = 0; y < b.height(); y += 3)
            for (int x = (y * 7) % 5; x < b.width(); x += 5) b.setColour(x, y, Colour{20, 240, 90});
        return b;
    }();
    std::string input;
};

TEST_F(Cli, EachAdjustmentGivesExactlyWhatItsRoutinesGive) {
    struct Case {
        std::vector<std::string> op;
        std::function<void(Bitmap&)> routines;
    };
    const Case cases[] = {
        {{"soften"}, [](Bitmap& b) { Soften(b); }},
        {{"sharpen"}, [](Bitmap& b) { Sharpen(b); Sharpen(b); }},
        {{"saturation"}, [](Bitmap& b) { AdjustSaturation(b, 10); AdjustSaturation(b, 10); }},
        {{"brightness"}, [](Bitmap& b) { AdjustBrightness(b, 5); }},
        {{"contrast"}, [](Bitmap& b) { AdjustContrast(b, 30); }},
        {{"old-contrast"}, [](Bitmap& b) { LinearContrast(b, 127, 10); }},
        {{"resize", "--size", "40x9"}, [](Bitmap& b) { Bitmap d(40, 9); ResizeBilinear(b, d); b = d; }},
        {{"resize", "--size=2x2"}, [](Bitmap& b) { Bitmap d(2, 2); ResizeBilinear(b, d); b = d; }},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"adjust"};
        args.insert(args.end(), c.op.begin(), c.op.end());
        args.push_back(input);
        args.push_back(file("out.bmp"));
        const Outcome r = run(args);
        ASSERT_EQ(r.status, kExitSuccess) << c.op[0] << ": " << r.err;
        EXPECT_EQ(r.err, "");
        Bitmap expected = source;
        c.routines(expected);
        EXPECT_EQ(readPicture(file("out.bmp")), expected) << c.op[0];
    }
    // The format follows the output's extension.
    ASSERT_EQ(run({"adjust", "brightness", input, file("out.jpg")}).status, kExitSuccess);
    Bitmap brighter = source;
    AdjustBrightness(brighter, 5);
    // libjpeg's pixels at quality 90; the file is tagged sRGB besides.
    EXPECT_EQ(readPicture(file("out.jpg")), decodeJpeg(encodeJpeg(brighter, 90), "memory"));
}

TEST_F(Cli, UsageErrorsExitWithTwoAndPointToTheHelp) {
    const std::string out = file("out.png");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{}, "no command given\nTry 'graphitello-cli --help'."},
        {{"draw"}, "unknown command \"draw\"\nTry 'graphitello-cli --help'."},
        {{"adjust"}, "adjust needs an operation (one of soften, sharpen"},
        {{"adjust", "blur", input, out}, "unknown operation \"blur\""},
        {{"adjust", "soften", input}, "missing arguments: expected [options] INPUT OUTPUT\nTry 'graphitello-cli adjust soften --help'."},
        {{"adjust", "soften", input, out, "more"}, "too many arguments (more)"},
        {{"adjust", "soften", "--size", "3x3", input, out}, "unknown option --size"},
        {{"adjust", "soften", "-x", input, out}, "unknown option -x"},
        {{"adjust", "resize", input, out}, "resize needs --size WIDTHxHEIGHT"},
        {{"adjust", "resize", input, out, "--size"}, "--size needs a value (WxH)"},
        {{"adjust", "resize", "--size", "40", input, out}, "--size 40: expected WIDTHxHEIGHT, such as 640x480"},
        {{"adjust", "resize", "--size", "4ax3", input, out}, "--size 4ax3: expected WIDTHxHEIGHT"},
        {{"adjust", "resize", "--size", "1x300", input, out}, "--size 1x300: each side must be at least 2 pixels"},
        {{"adjust", "resize", "--size", "300x0", input, out}, "--size 300x0: each side must be at least 2 pixels"},
        {{"adjust", "resize", "--size", "70000x2", input, out}, "--size 70000x2: the picture is 70000 pixels wide; the widest accepted is 65535"},
        {{"adjust", "resize", "--size", "30000x30000", input, out}, "more than the 400 megapixels accepted"},
        {{"adjust", "soften", input, file("out.gif")}, "out.gif: unknown output format \".gif\" (use .jpg, .jpeg, .png, .bmp, .tif, .tiff or .webp, or --format)"},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, kExitUsage) << c.message;
        EXPECT_EQ(r.err.rfind("graphitello-cli: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(entries(), std::vector<std::string>{"in.png"});
}

TEST_F(Cli, HelpOnEveryCommand) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--help"}, {"adjust", "--help"}, {"adjust", "resize", "--help"}, {"adjust", "soften", "-h"},
             {"render", "--help"}, {"batch", "--help"}, {"styles", "--help"}}) {
        const Outcome r = run(args);
        EXPECT_EQ(r.status, kExitSuccess);
        EXPECT_EQ(r.out.rfind("Usage: graphitello-cli ", 0), 0u) << r.out;
        EXPECT_EQ(r.err, "");
    }
    EXPECT_NE(run({"adjust", "resize", "--help"}).out.find("--size WxH"), std::string::npos);
}

TEST_F(Cli, ProcessingErrorsExitWithOneAndOneLine) {
    const Outcome missing = run({"adjust", "soften", file("missing.jpg"), file("out.jpg")});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_EQ(missing.err, "graphitello-cli: " + file("missing.jpg") + ": no such file\n");

    gt::testing::writeBytes(folder / "photo.jpg", {0x89, 'P', 'N', 'G', 1, 2, 3});
    const Outcome broken = run({"adjust", "soften", file("photo.jpg"), file("out.jpg")});
    EXPECT_EQ(broken.status, kExitFailure);
    EXPECT_EQ(broken.err.rfind("graphitello-cli: " + file("photo.jpg") + ": ", 0), 0u) << broken.err;
    EXPECT_EQ(std::count(broken.err.begin(), broken.err.end(), '\n'), 1);

    const Outcome nowhere = run({"adjust", "soften", input, file("no/folder/out.jpg")});
    EXPECT_EQ(nowhere.status, kExitFailure);
    EXPECT_NE(nowhere.err.find("cannot write in the folder"), std::string::npos);
    EXPECT_EQ(entries(), (std::vector<std::string>{"in.png", "photo.jpg"}));
}

// Where the output goes is checked before the input is read: the broken photo is never looked at.
TEST_F(Cli, AnUnwritableDestinationIsRefusedBeforeAnyWork) {
    gt::testing::writeBytes(folder / "photo.jpg", {0xff, 0xd8, 0xff, 0xe0, 0, 2});
    const std::string photo = file("photo.jpg");
    const std::vector<std::pair<std::string, std::string>> places = {
        {file("none/out.jpg"), file("none") + " (No such file or directory)"},
        {file("photo.jpg/out.jpg"), photo + " (Not a directory)"}};
    for (const auto& [output, why] : places)
        for (const std::vector<std::string>& command :
             std::vector<std::vector<std::string>>{{"render", photo, output}, {"adjust", "soften", photo, output}}) {
            const Outcome r = run(command);
            EXPECT_EQ(r.status, kExitFailure);
            EXPECT_EQ(r.err, "graphitello-cli: " + output + ": cannot write in the folder " + why + "\n");
        }

    // A device is written into, and a full one is a failure.
    const Outcome full = run({"adjust", "soften", "--format", "bmp", input, "/dev/full"});
    EXPECT_EQ(full.status, kExitFailure);
    EXPECT_EQ(full.err, "graphitello-cli: /dev/full: cannot write (No space left on device)\n");
}

TEST_F(Cli, ACancelledRunWritesNothing) {
    std::atomic<bool> cancel{true};
    const std::string out = file("out.png");
    // Each stops where its routines look at the flag, or before the write.
    for (const std::vector<std::string>& op : std::vector<std::vector<std::string>>{
             {"soften"}, {"saturation"}, {"contrast"}, {"simplify"}, {"retouch", "--simplify", "2"}, {"retouch", "--saturation", "5"}}) {
        std::vector<std::string> args = {"adjust"};
        args.insert(args.end(), op.begin(), op.end());
        args.push_back(input);
        args.push_back(out);
        const Outcome r = run(args, &cancel);
        EXPECT_EQ(r.status, kExitCancelled);
        EXPECT_EQ(r.err, "graphitello-cli: cancelled; nothing was written\n");
    }
    EXPECT_EQ(entries(), std::vector<std::string>{"in.png"});
}

TEST(Arguments, FormsOfOptions) {
    CommandSpec spec;
    spec.name = "test";
    spec.options = {{"size", "WxH", ""}, {"overwrite", "", ""}};
    spec.maxPositionals = -1;
    const std::vector<std::string> args = {"--size", "1x2", "a", "--overwrite", "--size=3x4", "--", "--size", "-"};
    const ParsedArgs p = parseArguments(spec, args);
    EXPECT_EQ(p.value("size"), "3x4");  // the last one wins
    EXPECT_TRUE(p.flag("overwrite"));
    EXPECT_EQ(p.positionals, (std::vector<std::string>{"a", "--size", "-"}));
    EXPECT_THROW(parseArguments(spec, std::vector<std::string>{"--overwrite=yes"}), UsageError);

    EXPECT_EQ(parseSize("size", "640x480").width, 640);
    EXPECT_EQ(parseSize("size", "640X480").height, 480);
    EXPECT_EQ(parseSize("size", "640\xC3\x97" "480").height, 480);
    EXPECT_EQ(parseInt("n", "+5", 0, 9), 5);
    EXPECT_EQ(parseInt("n", "-5", -9, 9), -5);
    EXPECT_THROW(parseInt("n", "5 ", 0, 9), UsageError);
    EXPECT_THROW(parseInt("n", "10", 0, 9), UsageError);
    EXPECT_THROW(parseInt("n", "99999999999", 0, 9), UsageError);
}

TEST(ProgressBar, PercentOverPassesAndRedrawOnlyOnChange) {
    EXPECT_EQ(ProgressBar::percent(0, 99, 1, 1), 0);
    EXPECT_EQ(ProgressBar::percent(49, 99, 1, 1), 49);
    EXPECT_EQ(ProgressBar::percent(99, 99, 1, 1), 100);
    EXPECT_EQ(ProgressBar::percent(0, 10, 2, 4), 25);
    EXPECT_EQ(ProgressBar::percent(5, 10, 3, 4), 62);
    EXPECT_EQ(ProgressBar::percent(3, 0, 1, 1), 100);  // a run of one step

    std::ostringstream out;
    {
        ProgressBar bar(out, "simplify");
        bar.report(0, 200, 1, 1);
        bar.report(1, 200, 1, 1);  // still 0 %
        bar.report(100, 200, 1, 1);
    }
    const std::string text = out.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '%'), 2);
    EXPECT_NE(text.find("\rsimplify [###############               ] 50 %"), std::string::npos) << text;
    EXPECT_EQ(text.back(), '\r');  // erased at the end
}

}  // namespace
}  // namespace gt::cli
