// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The platform's rectangle copy: copies a rectangle of one picture into a rectangle of another,
// scaling when the two differ in size.
//
// Sampling rule (nearest neighbour, pixel centres): destination column dx of the target rectangle
// takes source column srcRect.left + ((2 * (dx - dstRect.left) + 1) * srcWidth) div (2 * dstWidth),
// the source pixel whose span holds the destination pixel's centre; rows alike. Equal-sized
// rectangles therefore copy pixel for pixel. A destination pixel outside the target picture is not
// painted, and one whose source pixel falls outside the source picture keeps its colour.
// Rectangles are left, top, right, bottom with right and bottom excluded; an empty or inverted
// rectangle copies nothing.

#include "imaging/bitmap.h"

namespace gt {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

void StretchCopy(const Bitmap& source, const Rect& sourceRect, Bitmap& target, const Rect& targetRect);

// The equal-sized copy: source rectangle (sx, sy, sx + w, sy + h) to target (tx, ty, tx + w, ty + h),
// with the same clipping as StretchCopy.
void CopyRect(const Bitmap& source, int sx, int sy, Bitmap& target, int tx, int ty, int w, int h);

}  // namespace gt
