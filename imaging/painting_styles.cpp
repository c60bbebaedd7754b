// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/painting_styles.h"

#include <utility>

#include "imaging/adjust.h"
#include "imaging/edges.h"
#include "imaging/filters.h"
#include "imaging/median.h"
#include "imaging/painting.h"

namespace gt {

namespace {

void painting3Steps(const Bitmap& photo, Bitmap* givenOver, Bitmap& result, const DrawingControls& c, const Materials& m,
                    RenderContext& ctx, bool preview) {
    // The median reads the photo itself and sizes its destination; the painting sizes its own. No
    // copies of the photo are needed: a cancel anywhere leaves a picture the caller drops.
    Bitmap A, B;
    const int passes = preview ? 1 : 2;
    MedianFilter(photo, B, c.TrackBar2 + 1, 1, passes, ctx);
    if (givenOver) *givenOver = Bitmap();
    Sharpen(B);
    Sharpen(B);
    BilateralPainting(B, A, passes, passes, c, m, ctx);
    result = std::move(A);
}

}  // namespace

void Painting3Steps(const Bitmap& photo, Bitmap& result, const DrawingControls& c, const Materials& m, RenderContext& ctx,
                    bool preview) {
    painting3Steps(photo, nullptr, result, c, m, ctx, preview);
}

void Painting3StepsGivenOver(Bitmap&& photo, Bitmap& result, const DrawingControls& c, const Materials& m, RenderContext& ctx, bool preview) {
    painting3Steps(photo, &photo, result, c, m, ctx, preview);
}

void Painting4Steps(Bitmap photo, Bitmap& result, const DrawingControls& c, const Materials& m, RenderContext& ctx,
                    bool preview) {
    Bitmap A = std::move(photo);
    // Each median makes a picture of its own and hands it over, so the previous input goes before
    // the median starts: besides the photo, at most A and the median's picture are alive. A cancel
    // leaves the median's picture unmade; the passes stop there and the picture is dropped.
    Bitmap B;
    AdjustSaturation(A, (c.TrackBar5 - 50) * 2, &ctx);
    AdjustBrightness(A, c.TrackBar3 - 127);
    const int N = c.TrackBar1;
    for (int p = 1; p <= N; ++p) {
        B = Bitmap();
        MedianFilter(A, B, p == 6 ? 5 : 3, preview ? 1 : p, preview ? 1 : N, ctx);
        if (B.empty()) break;
        Sharpen(B);
        Sharpen(B);
        std::swap(A, B);
    }
    B = Bitmap();
    if (c.TrackBar2 > 0) Painting4Contrast(A, c.TrackBar2);
    NoFilter(A, A, c, m, ctx);
    result = std::move(A);
    if (!preview) ctx.ProgressReport(100, 100, 1, 1);
}

}  // namespace gt
