// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the two 9 x 9 contrast steps share: the image-wide channel means and the padded copy.

#include <cstdint>
#include <functional>
#include <vector>

#include "imaging/bitmap.h"

namespace gt {

// Mean of each channel (blue, green, red) over the whole picture, from 64-bit sums; 0 for an empty one.
// Throws gt::Error for a picture of more than 2^31 - 1 pixels.
void ChannelMeans(const Bitmap& bitmap, int mean[3]);

// The picture drawn at (0,0), (9,0), (0,9) and (9,9) on a white canvas 18 larger: above and to the
// left it repeats the first rows and columns shifted by 9; right and below, white.
Bitmap PaddedCopy9(const Bitmap& bitmap);

// Row v of PaddedCopy9 (v = picture row + 9, 0 <= v < H + 18), (W + 18) * 3 bytes, built from the
// picture row that row holds: `pictureRow` is that row (row v - 9, or row v when v < 9), or null
// when the padded row is white. paddedSourceRow tells which picture row that is, or -1.
int paddedSourceRow(int v, int height);
void PaddedRow9(const std::uint8_t* pictureRow, int width, std::uint8_t* out);

// Bands of rows for a routine that rewrites a picture in place, each row from the original rows near
// it: band i is rows [edge[i], edge[i + 1]) of [begin, end), a few per worker.
std::vector<int> inPlaceBands(int begin, int end, int minRows);
// Runs body(i) for every band, the workers side by side, each on bands next to each other; a worker
// runs its odd bands before its even ones, so that every band meets neighbours already rewritten and
// a row the routine forgot to save before the bands started shows in every run, not in a rare race.
void runInPlaceBands(const std::vector<int>& edge, const std::function<void(int)>& body);

}  // namespace gt
