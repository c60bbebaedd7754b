#pragma once
// What the two 9 x 9 contrast steps share: the image-wide channel means and the padded copy.

#include "imaging/bitmap.h"

namespace gt {

// Mean of each channel (blue, green, red) over the whole picture, from 64-bit sums; 0 for an empty one.
void ChannelMeans(const Bitmap& bitmap, int mean[3]);

// The picture drawn at (0,0), (9,0), (0,9) and (9,9) on a white canvas 18 larger: above and to the
// left it repeats the first rows and columns shifted by 9; right and below, white.
Bitmap PaddedCopy9(const Bitmap& bitmap);

}  // namespace gt
