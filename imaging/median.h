// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The median filter: each channel of each pixel becomes a low-middle rank value of the s x s window
// around it, the ((s*s - 1) div 2)-th smallest (the 4th of 9 for s = 3, the 12th of 25 for s = 5, the
// smallest of 4 for s = 2). The window is centred for odd s and reaches one pixel further up and
// left for even s. Beyond the right and bottom edges the window reads white; beyond the left and top
// edges it reads the picture shifted by s (white where that too falls outside).

#include <cstdint>

#include "imaging/bitmap.h"
#include "imaging/context.h"

namespace gt {

// size is clamped to 2..11. pass and passes go to ProgressReport (passes 0: no progress shown).
// Cancellable before every row: a cancelled run leaves the destination untouched. Source and
// destination may be the same picture; a destination of another size is given the source's size.
void MedianFilter(const Bitmap& source, Bitmap& destination, int size, int pass, int passes, const RenderContext& ctx);

// The rank value of one window of lastIndex + 1 values (each 0..255): the smallest v such that at
// least `half` values are <= v. start is the window's minimum, where the count begins.
int HistogramMedian(const std::uint16_t* values, int lastIndex, int start, int half);

namespace plain {
void MedianFilter(const Bitmap& source, Bitmap& destination, int size, int pass, int passes, const RenderContext& ctx);
}

}  // namespace gt
