// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turning a picture by a whole number of degrees onto a larger white canvas, nearest-neighbour.

#include "imaging/bitmap.h"
#include "imaging/context.h"

namespace gt {

// The canvas of a turn and where it sits over the source. W' and H' are the sizes of the ideal
// canvas; the destination is two pixels smaller in each direction (never negative).
struct TurnGeometry {
    double s = 0, c = 0;       // sin and cos of -angle, the nearest doubles
    int W = 0, H = 0;          // source
    int Wp = 0, Hp = 0;        // W', H'
    int Wd = 0, Hd = 0;        // destination
    int ox = 0, oy = 0, hx = 0, hy = 0;
    int stage = 3;             // progress stage: 1 for a positive angle, 3 otherwise
};

TurnGeometry turnGeometry(int width, int height, int angle);

// Rows from the bottom up; cancellable at every row, leaving the rows not yet reached white.
// Reports progress (Hd - 1 - y, Hd - 1, stage, 3).
void RotateBitmapByAngle(const Bitmap& source, Bitmap& destination, int angle, RenderContext& ctx);

// Turns only the canvas pixels (x, y) with x in [x0, x1) and y in [y0, y1), writing each to
// out(x + dx, y + dy); the rows are reported and checked for cancellation as the whole turn does.
// The pencil pipeline uses it to compute only the part of the turned-back canvas it keeps.
// Returns false when cancelled.
bool RotateRegion(const Bitmap& source, const TurnGeometry& t, int x0, int x1, int y0, int y1, Bitmap& out, int dx, int dy,
                  RenderContext& ctx);

namespace plain {
void RotateBitmapByAngle(const Bitmap& source, Bitmap& destination, int angle, RenderContext& ctx);
}

}  // namespace gt
