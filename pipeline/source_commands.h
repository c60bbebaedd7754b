// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The source-image commands: the edit menu's one-step enhancements, the resize, and the retouch
// window's chain, each composed once here so that the window, the command line and the tests run the
// same routines with the same values and get the same bytes. Every one works on the picture it is
// given; a caller that must be able to drop the result hands a copy.

#include "imaging/bitmap.h"
#include "imaging/context.h"
#include "pipeline/preview.h"

namespace gt {

// ---- The enhancements of the edit menu --------------------------------------------------------

// Soften once; an empty picture stays as it is.
void SoftenPicture(Bitmap& picture);
// Sharpen twice; an empty picture stays as it is.
void SharpenPicture(Bitmap& picture);
// Saturation up 10 %, twice. False when the cancel flag stopped it (the picture is then half done).
bool SaturatePicture(Bitmap& picture, const RenderContext& ctx);
// Brightness up 5 %.
void BrightenPicture(Bitmap& picture);
// Contrast up 30 % against the local and global means. The routine cannot stop half way; false when
// the cancel flag was set by its end, for the caller to drop the result.
bool ContrastPicture(Bitmap& picture, const RenderContext& ctx);
// The old contrast command: 10 % around the middle grey.
void OldContrastPicture(Bitmap& picture);
// Blur twice, take the median of the original through a 5 x 5 window into the blurred copy (progress
// pass 1 of 1), then sharpen twice. False when the cancel flag stopped the median: the picture is
// then as it was. An empty picture stays as it is.
bool SimplifyPicture(Bitmap& picture, const RenderContext& ctx);

// ---- Resize -----------------------------------------------------------------------------------

// The picture resampled (bilinear) to width x height; sides of 1 or less are the caller's to refuse.
Bitmap ResizedPicture(const Bitmap& picture, int width, int height);

// ---- The retouch window's chain ---------------------------------------------------------------

inline constexpr int kRetouchPreviewSize = 110;

// The retouch window's sliders, named as the window names them.
struct RetouchSettings {
    int TrackBar1 = 0;  // brightness, -100..100
    int TrackBar2 = 0;  // contrast, -100..100
    int TrackBar3 = 0;  // saturation, -100..100
    int TrackBar4 = 0;  // blur (below 0) or sharpness (above), -5..5
    int TrackBar5 = 0;  // simplification: a median of window TrackBar5 + 2, 0..9
    friend bool operator==(const RetouchSettings&, const RetouchSettings&) = default;
};

// n > 0: sharpen n times. n < 0: one step for each i = n .. -1, a box blur where i <= -4 and a
// softening otherwise, so -4 blurs once and softens three times.
void BlurOrSharpen(Bitmap& picture, int n);

// Steps 2 to 5 of the chain: brightness, contrast (below 0 around the middle grey, else against the
// means with twice the value), saturation, blur or sharpness. False when the cancel flag stopped the
// saturation.
bool RetouchAdjustments(Bitmap& picture, const RetouchSettings& s, const RenderContext& ctx);

// The whole chain on the picture: the median first (progress pass 1 of 1), then the adjustments.
// False when the cancel flag stopped it; the picture is then unfinished and to be dropped.
bool RetouchPicture(Bitmap& picture, const RetouchSettings& s, const RenderContext& ctx);

// The black border of the retouch preview: the outer two pixels on every side.
void drawRetouchBorder(Bitmap& preview);
// The 110 x 110 crop of the source at (left, top), white where it lies outside, with its border: what
// the window shows while the crop is dragged.
Bitmap rawRetouchPreview(const Bitmap& source, int left, int top);
// The preview of the chain on that crop: the median reads the bordered crop (no progress), then the
// adjustments, then the border again. Never cancelled: the crop is small.
Bitmap RetouchPreview(const Bitmap& source, int left, int top, const RetouchSettings& s);

}  // namespace gt
