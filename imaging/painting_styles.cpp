// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/painting_styles.h"

#include <utility>

#include "imaging/adjust.h"
#include "imaging/edges.h"
#include "imaging/filters.h"
#include "imaging/median.h"
#include "imaging/painting.h"

namespace gt {

void Painting3Steps(const Bitmap& photo, Bitmap& result, const DrawingControls& c, const Materials& m, RenderContext& ctx,
                    bool preview) {
    // The median reads the photo itself and sizes its destination; the painting sizes its own. No
    // copies of the photo are needed: a cancel anywhere leaves a picture the caller drops.
    Bitmap A, B;
    const int passes = preview ? 1 : 2;
    MedianFilter(photo, B, c.TrackBar2 + 1, 1, passes, ctx);
    Sharpen(B);
    Sharpen(B);
    BilateralPainting(B, A, passes, passes, c, m, ctx);
    result = std::move(A);
}

void Painting4Steps(const Bitmap& photo, Bitmap& result, const DrawingControls& c, const Materials& m, RenderContext& ctx,
                    bool preview) {
    Bitmap A = photo;
    // The rendering starts B as a copy of the photo, the preview as a white sheet; either way every
    // pixel is rewritten unless a cancel stops the median, and then the picture is dropped. So each
    // pass can hand its result over by swapping instead of copying: B then holds the previous input,
    // which the next median overwrites.
    Bitmap B = preview ? Bitmap(photo.width(), photo.height()) : photo;
    AdjustSaturation(A, (c.TrackBar5 - 50) * 2, &ctx);
    AdjustBrightness(A, c.TrackBar3 - 127);
    const int N = c.TrackBar1;
    for (int p = 1; p <= N; ++p) {
        MedianFilter(A, B, p == 6 ? 5 : 3, preview ? 1 : p, preview ? 1 : N, ctx);
        Sharpen(B);
        Sharpen(B);
        std::swap(A, B);
    }
    if (c.TrackBar2 > 0) Painting4Contrast(A, c.TrackBar2);
    NoFilter(A, A, c, m, ctx);
    result = std::move(A);
    if (!preview) ctx.ProgressReport(100, 100, 1, 1);
}

}  // namespace gt
