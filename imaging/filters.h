// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small fixed-kernel filters (in place, every neighbourhood read from the unchanged input) and the
// bilinear resampler.

#include <cstdint>

#include "imaging/bitmap.h"
#include "imaging/stretch.h"

namespace gt {

void Soften(Bitmap& bitmap);
// The destination becomes the softened source (the same as a copy softened in place).
void Soften(const Bitmap& source, Bitmap& destination);
void Blur3x3(Bitmap& bitmap);
void Sharpen(Bitmap& bitmap);
// The destination's size chooses the output size.
void ResizeBilinear(const Bitmap& source, Bitmap& destination);
// The same, leaving the destination's pixels inside `hole` as they are: for a caller that paints
// over them next. The hole may reach beyond the destination.
void ResizeBilinearAround(const Bitmap& source, Bitmap& destination, const Rect& hole);

// The resampler's MulDiv(f, w, 65536) for 0 <= f < 65536 and 0 <= w <= 65536: the product fits in
// 32 unsigned bits, and rounding the quotient half up is what MulDiv does for non-negative operands.
constexpr std::uint32_t resampleWeight(std::uint32_t f, std::uint32_t w) { return (f * w + 32768u) >> 16; }

}  // namespace gt
