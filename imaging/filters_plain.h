// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The plain filters, pixel by pixel through a scratch copy: the reference the fast ones are tested
// against, and what they run when plain paths are on. Kept out of filters.h so that a plain routine
// elsewhere that calls Soften or Sharpen unqualified still means the one entry point.

#include "imaging/bitmap.h"

namespace gt::plain {

void Soften(Bitmap& bitmap);
void Blur3x3(Bitmap& bitmap);
void Sharpen(Bitmap& bitmap);
void ResizeBilinear(const Bitmap& source, Bitmap& destination);

}  // namespace gt::plain
