// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The painting filters.
//
// RecursivePainting (painting 1): over and over, every pixel that differs little from the mean of its
// 5 x 3 surroundings takes that mean, and every pixel that stands out goes back to the softened
// photo; flat areas melt into patches of paint while details stay. Then the flat areas are lightened
// or darkened and the photo's edges redrawn slightly darkened.
//
// BilateralPainting (painting 2, and the last step of painting 3): small elliptical dabs of paint
// (painting 2 only), then neighbouring pixels of similar colour merged in 2 x 2 blocks on a grid
// that shifts by one pixel every other iteration, which flattens areas while keeping colour borders.
//
// Painting4Contrast (the end of painting 4): each pixel pushed away from the mean of its 9 x 9
// neighbourhood, which brings the edges back after the repeated median filtering.

#include "imaging/bitmap.h"
#include "imaging/context.h"
#include "imaging/controls.h"

namespace gt {

// Reads TrackBar1, TrackBar2, TrackBar3, TrackBar5, CheckBox3, ComboBox2 (its softening does not
// depend on CheckBox2). Seeds ctx.random with 1969 and draws nothing. The source is working storage:
// on return it holds the photo softened twice. The destination takes the source's size. Reports
// (iteration, TrackBar5, 1, 1) and checks for a cancel before every smoothing iteration (the fast
// path makes the reports and checks of a few iterations together before running them); a
// cancelled destination holds the iterations reported before the cancel and is to be discarded.
void RecursivePainting(Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx);

// Reads ComboBox1 (dabs only for painting 2, index 5), TrackBar1, TrackBar2, TrackBar3, TrackBar5,
// CheckBox2, CheckBox3, ComboBox2, and ctx.DrawingWidth/DrawingHeight (dab size, so a preview crop
// gets dabs sized for the whole picture). Seeds ctx.random with 1969; the dabs draw from it. The
// source is prepared in place. stage and stages go to ProgressReport, once before every merge
// iteration (the fast path makes the reports and cancel checks of a few iterations together before
// running them). While the parameter window is showing it neither reports progress nor looks at
// the cancel flag (except inside AdjustSaturation).
void BilateralPainting(Bitmap& source, Bitmap& destination, int stage, int stages, const DrawingControls& c, const Materials& m,
                       RenderContext& ctx);

// In place; percent is the strength (TrackBar2 of painting 4).
void Painting4Contrast(Bitmap& bitmap, int percent);

// Two stages of BilateralPainting on their own.
// The dabs of painting 2: (W div 30) * (H div 30) * (255 - TrackBar2) small filled ellipses (see
// ellipse.h), each in the colour found under its centre, lightened by twice its height less its width.
// Draws four numbers a dab from ctx.random without seeding it.
void PaintDabs(Bitmap& drawing, const DrawingControls& c, RenderContext& ctx);
// Merge iteration i, in place: 2 x 2 blocks on a grid starting at (i mod 2, i mod 2); in each, the
// neighbours whose colour distance to the top-left pixel (red counted double) is below its tolerance
// TrackBar1 + (R + G + B) div 30 - 25 take, with it, their rounded mean.
void MergeIteration(Bitmap& drawing, int iteration, int trackBar1);

namespace plain {
void RecursivePainting(Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx);
void BilateralPainting(Bitmap& source, Bitmap& destination, int stage, int stages, const DrawingControls& c, const Materials& m,
                       RenderContext& ctx);
void Painting4Contrast(Bitmap& bitmap, int percent);
void MergeIteration(Bitmap& drawing, int iteration, int trackBar1);
}  // namespace plain

}  // namespace gt
