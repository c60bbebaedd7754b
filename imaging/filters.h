#pragma once
// Small fixed-kernel filters (in place, every neighbourhood read from the unchanged input) and the
// bilinear resampler.

#include "imaging/bitmap.h"

namespace gt {

void Soften(Bitmap& bitmap);
void Blur3x3(Bitmap& bitmap);
void Sharpen(Bitmap& bitmap);
// The destination's size chooses the output size.
void ResizeBilinear(const Bitmap& source, Bitmap& destination);

}  // namespace gt
