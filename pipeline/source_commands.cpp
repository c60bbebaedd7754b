// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/source_commands.h"

#include <algorithm>

#include "imaging/adjust.h"
#include "imaging/filters.h"
#include "imaging/median.h"
#include "imaging/stretch.h"

namespace gt {

void SoftenPicture(Bitmap& picture) {
    if (!picture.empty()) Soften(picture);
}

void SharpenPicture(Bitmap& picture) {
    if (picture.empty()) return;
    Sharpen(picture);
    Sharpen(picture);
}

bool SaturatePicture(Bitmap& picture, const RenderContext& ctx) {
    return AdjustSaturation(picture, 10, &ctx) && AdjustSaturation(picture, 10, &ctx);
}

void BrightenPicture(Bitmap& picture) { AdjustBrightness(picture, 5); }

bool ContrastPicture(Bitmap& picture, const RenderContext& ctx) {
    AdjustContrast(picture, 30);
    return !ctx.CancelRequested();
}

void OldContrastPicture(Bitmap& picture) { LinearContrast(picture, 127, 10); }

bool SimplifyPicture(Bitmap& picture, const RenderContext& ctx) {
    if (picture.empty()) return true;
    Bitmap work = picture;
    Blur3x3(work);
    Blur3x3(work);
    MedianFilter(picture, work, 5, 1, 1, ctx);
    if (ctx.CancelRequested()) return false;
    picture = std::move(work);
    Sharpen(picture);
    Sharpen(picture);
    return true;
}

Bitmap ResizedPicture(const Bitmap& picture, int width, int height) {
    Bitmap resized;
    resized.setSizeForOverwrite(width, height);
    ResizeBilinear(picture, resized);
    return resized;
}

void BlurOrSharpen(Bitmap& picture, int n) {
    for (int i = 0; i < n; ++i) Sharpen(picture);
    for (int i = n; i <= -1; ++i) {
        if (i <= -4) {
            Blur3x3(picture);
        } else {
            Soften(picture);
        }
    }
}

bool RetouchAdjustments(Bitmap& picture, const RetouchSettings& s, const RenderContext& ctx) {
    AdjustBrightness(picture, s.TrackBar1);
    if (s.TrackBar2 < 0) {
        LinearContrast(picture, 127, s.TrackBar2);
    } else {
        AdjustContrast(picture, 2 * s.TrackBar2);
    }
    if (!AdjustSaturation(picture, s.TrackBar3, &ctx)) return false;
    BlurOrSharpen(picture, s.TrackBar4);
    return true;
}

bool RetouchPicture(Bitmap& picture, const RetouchSettings& s, const RenderContext& ctx) {
    if (s.TrackBar5 > 0) {
        MedianFilter(picture, picture, s.TrackBar5 + 2, 1, 1, ctx);
        if (ctx.CancelRequested()) return false;
    }
    return RetouchAdjustments(picture, s, ctx) && !ctx.CancelRequested();
}

void drawRetouchBorder(Bitmap& preview) {
    const int last = kRetouchPreviewSize - 1;
    for (int y = 0; y < std::min(preview.height(), kRetouchPreviewSize); ++y)
        for (int x = 0; x < std::min(preview.width(), kRetouchPreviewSize); ++x)
            if (x <= 1 || y <= 1 || x >= last - 1 || y >= last - 1) preview.setColour(x, y, kBlack);
}

Bitmap rawRetouchPreview(const Bitmap& source, int left, int top) {
    Bitmap preview(kRetouchPreviewSize, kRetouchPreviewSize);
    // The crop is clipped to the photo here, so the copy never reads outside it.
    const int x0 = std::max(left, 0), y0 = std::max(top, 0);
    const int x1 = int(std::min<long long>(left + 0LL + kRetouchPreviewSize, source.width()));
    const int y1 = int(std::min<long long>(top + 0LL + kRetouchPreviewSize, source.height()));
    if (x0 < x1 && y0 < y1) CopyRect(source, x0, y0, preview, x0 - left, y0 - top, x1 - x0, y1 - y0);
    drawRetouchBorder(preview);
    return preview;
}

Bitmap RetouchPreview(const Bitmap& source, int left, int top, const RetouchSettings& s) {
    Bitmap preview = rawRetouchPreview(source, left, top);
    RenderContext quiet;
    quiet.Busy = false;
    quiet.parameterWindowVisible = true;
    if (s.TrackBar5 > 0) {
        const Bitmap scratch = preview;
        MedianFilter(scratch, preview, s.TrackBar5 + 2, 0, 0, quiet);
    }
    RetouchAdjustments(preview, s, quiet);
    drawRetouchBorder(preview);
    return preview;
}

}  // namespace gt
