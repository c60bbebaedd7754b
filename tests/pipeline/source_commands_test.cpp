// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "imaging/adjust.h"
#include "imaging/filters.h"
#include "imaging/median.h"
#include "pipeline/source_commands.h"
#include "pipeline_pictures.h"

namespace gt {
namespace {

using gt::testing::photo;

// The blur and sharpen rule written out step by step for every position of the slider: the
// sharpenings, or the softening steps where -4 and -5 begin with box blurs.
TEST(SourceCommands, BlurOrSharpenFollowsTheRuleForEveryValue) {
    const Bitmap source = photo(37, 29);
    const std::vector<std::string> steps = {"BBSSS", "BSSS", "SSS", "SS", "S", "", "H", "HH", "HHH", "HHHH", "HHHHH"};
    for (int n = -5; n <= 5; ++n) {
        Bitmap expected = source;
        for (char step : steps[std::size_t(n + 5)]) {
            if (step == 'B') Blur3x3(expected);
            if (step == 'S') Soften(expected);
            if (step == 'H') Sharpen(expected);
        }
        Bitmap b = source;
        BlurOrSharpen(b, n);
        EXPECT_EQ(b, expected) << n;
    }
}

// The chain's order: median, brightness, contrast, saturation, then blur or sharpness.
TEST(SourceCommands, RetouchChainRunsInItsOrder) {
    const Bitmap source = photo(41, 33);
    const RenderContext quiet;
    for (const RetouchSettings s : {RetouchSettings{20, -30, 40, -4, 9}, RetouchSettings{-5, 25, -100, 3, 1},
                                    RetouchSettings{0, 0, 0, -5, 0}, RetouchSettings{60, 0, 15, 0, 2}}) {
        Bitmap expected = source;
        if (s.TrackBar5 > 0) MedianFilter(Bitmap(expected), expected, s.TrackBar5 + 2, 1, 1, quiet);
        AdjustBrightness(expected, s.TrackBar1);
        if (s.TrackBar2 < 0) LinearContrast(expected, 127, s.TrackBar2);
        else AdjustContrast(expected, 2 * s.TrackBar2);
        AdjustSaturation(expected, s.TrackBar3);
        BlurOrSharpen(expected, s.TrackBar4);
        Bitmap b = source;
        ASSERT_TRUE(RetouchPicture(b, s, quiet));
        EXPECT_EQ(b, expected) << s.TrackBar1 << " " << s.TrackBar2 << " " << s.TrackBar5;
    }
    // Every slider at 0 leaves the photo as it was.
    Bitmap b = source;
    ASSERT_TRUE(RetouchPicture(b, RetouchSettings{}, quiet));
    EXPECT_EQ(b, source);
}

TEST(SourceCommands, SimplifyBlursTakesTheMedianOfTheOriginalAndSharpens) {
    const Bitmap source = photo(30, 24);
    const RenderContext quiet;
    Bitmap work = source;
    Blur3x3(work);
    Blur3x3(work);
    MedianFilter(source, work, 5, 1, 1, quiet);
    Sharpen(work);
    Sharpen(work);
    Bitmap b = source;
    ASSERT_TRUE(SimplifyPicture(b, quiet));
    EXPECT_EQ(b, work);
    Bitmap empty;
    EXPECT_TRUE(SimplifyPicture(empty, quiet));
    EXPECT_TRUE(empty.empty());
}

// A cancel tells the caller to drop the picture; the ones that can stop half way leave it as it was.
TEST(SourceCommands, ACancelIsReportedSoTheCopyIsDropped) {
    const Bitmap source = photo(50, 40);
    std::atomic<bool> cancel{true};
    RenderContext ctx;
    ctx.cancel = &cancel;
    Bitmap b = source;
    EXPECT_FALSE(SimplifyPicture(b, ctx));
    EXPECT_EQ(b, source);
    EXPECT_FALSE(ContrastPicture(b, ctx));
    b = source;
    EXPECT_FALSE(RetouchPicture(b, RetouchSettings{10, 10, 10, 1, 3}, ctx));
    EXPECT_EQ(b, source);  // stopped at the median, before any row
    EXPECT_FALSE(RetouchPicture(b, RetouchSettings{10, 10, 10, 1, 0}, ctx));
    EXPECT_FALSE(SaturatePicture(b, ctx));
}

TEST(SourceCommands, RetouchPreviewIsTheBorderedCropThroughTheChain) {
    const Bitmap source = photo(300, 200);
    // The raw crop: the photo's pixels inside, two black pixels round the edge.
    const Bitmap raw = rawRetouchPreview(source, 150, 100);
    ASSERT_EQ(raw.width(), kRetouchPreviewSize);
    ASSERT_EQ(raw.height(), kRetouchPreviewSize);
    for (int i = 0; i < kRetouchPreviewSize; ++i)
        for (int edge : {0, 1, 108, 109}) {
            EXPECT_EQ(raw.colourAt(i, edge), kBlack);
            EXPECT_EQ(raw.colourAt(edge, i), kBlack);
        }
    EXPECT_EQ(raw.colourAt(2, 2), source.colourAt(152, 102));
    EXPECT_EQ(raw.colourAt(107, 97), source.colourAt(257, 197));
    // Beyond the photo's bottom edge the crop reads white.
    EXPECT_EQ(raw.colourAt(50, 100), kWhite);

    // The median reads the bordered crop, then the adjustments, then the border again.
    const RetouchSettings s{10, 20, -30, 2, 3};
    RenderContext quiet;
    quiet.Busy = false;
    Bitmap expected = raw;
    MedianFilter(raw, expected, 5, 0, 0, quiet);
    ASSERT_TRUE(RetouchAdjustments(expected, s, quiet));
    drawRetouchBorder(expected);
    EXPECT_EQ(RetouchPreview(source, 150, 100, s), expected);
}

TEST(SourceCommands, TheRetouchCropIsDraggedWithinThePhoto) {
    PreviewCrop crop;
    startPreviewDrag(crop, 50, 50);
    dragCrop(crop, 20, 30, 300, 200, kRetouchPreviewSize);
    EXPECT_EQ(crop.PreviewLeft, 30);
    EXPECT_EQ(crop.PreviewTop, 20);
    dragCrop(crop, -500, -500, 300, 200, kRetouchPreviewSize);
    EXPECT_EQ(crop.PreviewLeft, 190);
    EXPECT_EQ(crop.PreviewTop, 90);
    dragCrop(crop, 0, 0, 100, 300, kRetouchPreviewSize);
    EXPECT_EQ(crop.PreviewLeft, 0);  // a photo narrower than the crop
}

}  // namespace
}  // namespace gt
