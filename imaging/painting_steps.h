// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the painting files share: the texture check and grain every painting ends with, painting 1's
// preparation, and one pixel of painting 4's contrast. Only imaging/painting*.cpp include this.

#include <cstdint>

#include "imaging/adjust.h"
#include "imaging/arithmetic.h"
#include "imaging/bitmap.h"
#include "imaging/context.h"
#include "imaging/controls.h"
#include "imaging/error.h"
#include "imaging/filters.h"
#include "imaging/texture.h"

namespace gt::painting_parts {

// Fails before any work when the paper grain is asked for and there is no texture to lay.
inline void checkTexture(const DrawingControls& c, const Materials& m) {
    if (c.CheckBox3 && !m.PaperTexture) throw Error("the paper texture is missing");
}

// The paintings' grain: the usual strengths, repeating every texture size less one.
inline void layPaperTexture(Bitmap& drawing, const DrawingControls& c, const Materials& m, bool plainPath) {
    if (c.CheckBox3) LayPaperTexture(drawing, m.PaperTexture, c.ComboBox2, TexturePeriod::SizeLessOne, 1, plainPath);
}

// Painting 1's preparation of the twice-softened photo the smoothing starts from.
inline void preparePainting1(Bitmap& source, const RenderContext& ctx, bool plainPath) {
    Soften(source);
    AdjustSaturation(source, 15, &ctx);
    AdjustSaturation(source, 15, &ctx);
    if (plainPath)
        plain::AdjustContrast(source, 100);
    else
        AdjustContrast(source, 100);
    AdjustBrightness(source, 25);
}

// Painting4Contrast's tolerance: half of each channel's mean over the whole picture, kept for every
// pixel. (Halving it again before each pixel would leave 0 after the first few pixels of the top
// row, so that only a pixel exactly equal to its neighbourhood mean could ever be pulled; that is a
// defect, not a choice of look.)
inline void contrastTolerances(const Bitmap& b, int tolerance[3]) {
    ChannelMeans(b, tolerance);
    for (int ch = 0; ch < 3; ++ch) tolerance[ch] /= 2;
}

// One pixel of Painting4Contrast, channels in blue, green, red order.
inline void contrastPixel(const std::uint8_t* c, const int sum[3], const int tolerance[3], int a, std::uint8_t* out) {
    int diff[3];
    bool pull = true;
    for (int ch = 0; ch < 3; ++ch) {
        diff[ch] = c[ch] - (sum[ch] - c[ch]) / 80;
        if (absInt(diff[ch]) > tolerance[ch]) pull = false;
    }
    for (int ch = 0; ch < 3; ++ch) {
        const int step = (diff[ch] * a) / 100;
        out[ch] = static_cast<std::uint8_t>(clampByte(pull ? c[ch] - step : c[ch] + step));
    }
}

}  // namespace gt::painting_parts
