// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture as the viewer shows it at a zoom, drawn a window at a time: a 48-megapixel photo is
// never rescaled whole to show a few hundred thousand pixels of it.
//
// The displayed picture is (dw, dh). Larger than the picture, each displayed pixel repeats the
// picture pixel under it (X * W div dw). Smaller, it is sampled from a reduced copy of the picture:
// level 1 halves it (each pixel the rounded mean of a 2 x 2 block), level 2 quarters it (the mean of
// a 4 x 4 block), levels 3 and 4 halve the level above. The level taken is the smallest still at
// least as large as the displayed picture, so a displayed pixel draws on one to two level pixels per
// side; it is their bilinear mix, with eighth-bit weights, around the displayed pixel's centre.
//
// Levels 2 to 4 are kept (a twelfth of the picture's bytes); level 1 would cost a third more than
// all of them together, so it is made on the fly for the window being drawn.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/bitmap.h"

namespace gt {

inline constexpr int kViewLevels = 5;  // 0 (the picture) to 4

// The size of level k of a picture of the given size (each halving rounds down, never below 1).
int viewLevelSize(int size, int level);

// The level a displayed size of (dw, dh) is drawn from, for a picture of W x H: 0 to 4. An
// enlargement (dw > W or dh > H) is drawn from the picture itself.
int viewLevel(int W, int H, int dw, int dh);

// The kept levels 2 to 4 of one picture.
struct ViewPyramid {
    int width = 0, height = 0;  // of the picture it was made from
    Bitmap levels[kViewLevels];  // levels[2..4]; 0 and 1 stay empty
    bool matches(const Bitmap& picture) const { return width == picture.width() && height == picture.height() && width > 0; }
    std::size_t bytes() const;
};

ViewPyramid buildViewPyramid(const Bitmap& picture);

// Draws the displayed pixels [x0, x0 + w) x [y0, y0 + h) of the picture shown at (dw, dh) into
// 32-bit pixels 0xffRRGGBB, `stride` pixels apart from row to row. Without a pyramid that matches
// the picture, reductions below half size are sampled from the picture itself: coarser, as fast.
void renderView(const Bitmap& picture, const ViewPyramid* pyramid, int dw, int dh, int x0, int y0, int w, int h,
                std::uint32_t* out, std::ptrdiff_t stride);

namespace plain {
// The whole displayed picture, every level made whole and sampled pixel by pixel: the reference the
// windowed drawing must match.
Bitmap viewOf(const Bitmap& picture, int dw, int dh);
}  // namespace plain

}  // namespace gt
