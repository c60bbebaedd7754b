// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The filled ellipse of the paint dabs. Fill and one-pixel outline share one colour, so a dab is a
// single set of pixels: those of its w x h bounding box whose centre lies inside or on the ellipse
// inscribed in the box. With the box's pixels at columns 0..w-1 and rows 0..h-1, pixel (i, j) is
// covered when
//     (2i + 1 - w)^2 * h^2 + (2j + 1 - h)^2 * w^2 <= w^2 * h^2
// (the centre's offset from the box centre, in half pixels, on the unit ellipse), exact in integers.
// A box one pixel wide or high is covered whole. The boxes of the paint dabs run from 1 x 2 to 8 x 9;
// those with w = h - 1 ('#' covered):
//
//   1 x 2   2 x 3   3 x 4   4 x 5    5 x 6     6 x 7      7 x 8       8 x 9
//   #       ##      .#.     .##.     .###.     .####.     ..###..     ..####..
//   #       ##      ###     ####     #####     .####.     .#####.     .######.
//           ##      ###     ####     #####     ######     #######     ########
//                   .#.     ####     #####     ######     #######     ########
//                           .##.     #####     ######     #######     ########
//                                    .###.     .####.     #######     ########
//                                              .####.     .#####.     ########
//                                                         ..###..     .######.
//                                                                     ..####..
//
// Each row's run is contiguous and symmetric about the box's centre line.

#include "imaging/bitmap.h"

namespace gt {

// Whether pixel (i, j) of a w x h box (w, h >= 1) belongs to the ellipse.
bool EllipseCovers(int w, int h, int i, int j);

// Paints the ellipse of the box with its top-left pixel at (left, top), w x h pixels (right and
// bottom edges at left + w and top + h excluded), clipped to the picture. Nothing for w or h < 1.
void FillEllipse(Bitmap& bitmap, int left, int top, int w, int h, Colour colour);

}  // namespace gt
