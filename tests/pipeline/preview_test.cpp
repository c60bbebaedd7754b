// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "imaging/filters.h"
#include "imaging/pencil.h"
#include "pipeline/preview.h"
#include "pipeline/render.h"
#include "pipeline/style_gallery.h"
#include "pipeline_pictures.h"

namespace gt {
namespace {

using testing::builtinResources;

// Style 8 with soften and texture off shows the crop itself, so the crop's place can be read.
DrawingParameters plainCopy() {
    DrawingParameters p = defaultParameters(DrawingStyle::FrameAndTextureOnly);
    p.CheckBox2 = false;
    p.CheckBox3 = false;
    return p;
}

bool isBlack(const Bitmap& b, int x, int y) { return b.colourAt(x, y) == kBlack; }

TEST(PreviewCrop, CreationCentresAcrossWidePhotos) {
    EXPECT_EQ(initialPreviewCrop(640).PreviewLeft, 220);
    EXPECT_EQ(initialPreviewCrop(201).PreviewLeft, 0);
    EXPECT_EQ(initialPreviewCrop(200).PreviewLeft, 0);
    EXPECT_EQ(initialPreviewCrop(120).PreviewLeft, 0);
    EXPECT_EQ(initialPreviewCrop(640).PreviewTop, 0);
    EXPECT_FALSE(initialPreviewCrop(640).PreviewDragging);
}

TEST(PreviewCrop, DragFollowsTheMouseAndStaysOnThePhoto) {
    PreviewCrop crop = initialPreviewCrop(640);
    dragPreviewCrop(crop, 50, 50, 640, 480);  // no drag started: nothing
    EXPECT_EQ(crop.PreviewLeft, 220);

    startPreviewDrag(crop, 100, 100);
    dragPreviewCrop(crop, 90, 80, 640, 480);  // mouse left and up: the crop goes right and down
    EXPECT_EQ(crop.PreviewLeft, 230);
    EXPECT_EQ(crop.PreviewTop, 20);
    EXPECT_EQ(std::pair(crop.DragX, crop.DragY), std::pair(90, 80));
    dragPreviewCrop(crop, -900, -900, 640, 480);  // beyond the right and bottom edges
    EXPECT_EQ(crop.PreviewLeft, 440);
    EXPECT_EQ(crop.PreviewTop, 280);
    dragPreviewCrop(crop, 900, 900, 640, 480);
    EXPECT_EQ(crop.PreviewLeft, 0);
    EXPECT_EQ(crop.PreviewTop, 0);

    // A photo narrower (or lower) than the crop keeps it at that edge.
    PreviewCrop narrow = initialPreviewCrop(150);
    startPreviewDrag(narrow, 0, 0);
    dragPreviewCrop(narrow, -500, -30, 150, 400);
    EXPECT_EQ(narrow.PreviewLeft, 0);
    EXPECT_EQ(narrow.PreviewTop, 30);
    dragPreviewCrop(narrow, -500, -600, 150, 120);
    EXPECT_EQ(narrow.PreviewTop, 0);
    endPreviewDrag(narrow);
    EXPECT_FALSE(narrow.PreviewDragging);
}

TEST(PreviewPicture, BorderIsThreePixelsOnEverySide) {
    const Bitmap photo = testing::photo(260, 240);
    RenderContext ctx;
    const Bitmap preview = renderPreview(photo, 30, 20, plainCopy(), builtinResources(), ctx);
    ASSERT_EQ(std::pair(preview.width(), preview.height()), std::pair(200, 200));
    for (int i = 0; i < 200; ++i)
        for (int d : {0, 1, 2, 197, 198, 199}) {
            EXPECT_TRUE(isBlack(preview, i, d)) << i << "," << d;
            EXPECT_TRUE(isBlack(preview, d, i)) << d << "," << i;
        }
    for (int i = 3; i < 197; ++i) {
        EXPECT_EQ(preview.colourAt(i, 3), photo.colourAt(30 + i, 20 + 3)) << i;
        EXPECT_EQ(preview.colourAt(196, i), photo.colourAt(30 + 196, 20 + i)) << i;
    }
    EXPECT_TRUE(rawPreview(photo, 30, 20) == preview);
    EXPECT_FALSE(ctx.parameterWindowVisible);  // the context is given back as it came
    EXPECT_TRUE(ctx.Busy);
}

TEST(PreviewPicture, OutsideASmallPhotoTheCropIsWhite) {
    const Bitmap photo = testing::photo(150, 120);
    RenderContext ctx;
    const Bitmap preview = renderPreview(photo, 0, 0, plainCopy(), builtinResources(), ctx);
    EXPECT_EQ(preview.colourAt(149, 119), photo.colourAt(149, 119));
    EXPECT_EQ(preview.colourAt(150, 50), kWhite);
    EXPECT_EQ(preview.colourAt(50, 120), kWhite);
    EXPECT_EQ(copyPreviewCrop(photo, -10, 5).colourAt(10, 0), photo.colourAt(0, 5));
    EXPECT_EQ(copyPreviewCrop(photo, -10, 5).colourAt(9, 0), kWhite);
    EXPECT_TRUE(copyPreviewCrop(photo, 2000000000, 0) == Bitmap(200, 200));

    DrawingParameters none = plainCopy();
    none.ComboBox1 = -1;
    Bitmap white(200, 200);
    drawPreviewBorder(white);
    EXPECT_TRUE(renderPreview(photo, 0, 0, none, builtinResources(), ctx) == white);
}

// Apart from the pencil drawing's turn, the preview draws the crop as the rendering draws a photo;
// only the progress passes differ, and a preview reports none.
TEST(PreviewPicture, EveryStyleDrawsTheCropAsTheRenderingDoes) {
    const Bitmap photo = testing::photo(230, 215, 11);
    const Resources& res = builtinResources();
    const Bitmap crop = copyPreviewCrop(photo, 17, 9);
    for (int s = 0; s < kStyleCount; ++s) {
        DrawingParameters p = defaultParameters(static_cast<DrawingStyle>(s));
        if (s == 7) p.TrackBar1 = 7;  // a sixth pass, with the larger window
        RenderContext previewCtx, renderCtx;
        int reports = 0;
        previewCtx.progress = [&](int, int, int, int) { ++reports; };
        previewCtx.DrawingWidth = renderCtx.DrawingWidth = 900;
        previewCtx.DrawingHeight = renderCtx.DrawingHeight = 700;
        const Bitmap preview = renderPreview(photo, 17, 9, p, res, previewCtx);
        EXPECT_EQ(reports, 0) << s;

        Bitmap expected;
        if (s == 0) {
            Bitmap blurred = crop;
            Blur3x3(blurred);
            PencilSketch(blurred, expected, p, res.materials(p.UpDown1), renderCtx);
            Blur3x3(expected);
        } else {
            expected = renderStyle(static_cast<DrawingStyle>(s), crop, p, res.materials(p.UpDown1), renderCtx).drawing;
        }
        drawPreviewBorder(expected);
        EXPECT_TRUE(preview == expected) << s;
    }
}

// The gallery's nine pictures, made several at a time, are the nine single previews the window
// shows once each style is chosen (painting 4's passes and painting 3's brush as the choice sets them).
TEST(StyleGallery, NinePicturesAreNineSinglePreviews) {
    const Bitmap source = testing::photo(420, 330);
    ParameterWindowLogic w = createParameterWindowLogic();
    selectStyle(w, styleIndex(DrawingStyle::InkDrawing));
    w.table[0][kSlotTrackBar1] = 60;
    w.table[7][kSlotTrackBar1] = 8;
    w.table[6][kSlotTrackBar2] = 9;
    w.controls.CheckBox2 = false;
    w.controls.UpDown1 = 4;
    const StyleControls controls = controlsForEveryStyle(w);
    EXPECT_EQ(controls[0].TrackBar1, 60);
    EXPECT_EQ(controls[7].TrackBar1, 5);
    EXPECT_EQ(controls[6].TrackBar2, 5);
    std::atomic<int> calls{0};
    const auto pictures = renderStylePreviews(source, 150, 70, controls, testing::builtinResources(),
                                              [&](int, const Bitmap&) { ++calls; });
    EXPECT_EQ(calls.load(), kStyleCount);
    for (int s = 0; s < kStyleCount; ++s) {
        // The window's own road: choose the style, let the preview step load its row, draw.
        ParameterWindowLogic single = w;
        selectStyle(single, s);
        ASSERT_TRUE(previewTimerTick(single, false, true, false));
        DrawingParameters p;
        static_cast<DrawingControls&>(p) = single.controls;
        RenderContext ctx;
        ctx.Busy = false;
        ctx.parameterWindowVisible = true;
        EXPECT_EQ(pictures[std::size_t(s)], renderPreview(source, 150, 70, p, testing::builtinResources(), ctx)) << s;
    }
    std::atomic<bool> cancel{true};
    const auto none = renderStylePreviews(source, 0, 0, controls, testing::builtinResources(), {}, &cancel);
    for (const Bitmap& b : none) EXPECT_EQ(b.width(), 0);
}

}  // namespace
}  // namespace gt
