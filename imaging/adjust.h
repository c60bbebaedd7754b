// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Point adjustments: each pixel's channels change by a formula of the pixel itself, with at most an
// image-wide or local mean as reference. All work in place.

#include "imaging/bitmap.h"
#include "imaging/context.h"

namespace gt {

void AdjustBrightness(Bitmap& bitmap, int percent);
void LinearContrast(Bitmap& bitmap, int level, int percent);
// Cancellable after each row: rows done stay done. Returns false when it stopped early.
bool AdjustSaturation(Bitmap& bitmap, int percent, const RenderContext* ctx = nullptr);
// AdjustBrightness and then AdjustSaturation, in one pass over the picture, with the same result,
// after a stop too.
bool AdjustBrightnessAndSaturation(Bitmap& bitmap, int brightness, int saturation, const RenderContext* ctx = nullptr);
void AdjustContrast(Bitmap& bitmap, int percent);
// AdjustContrast for a caller that already has the picture's channel means (ChannelMeans).
void AdjustContrast(Bitmap& bitmap, int percent, const int mean[3]);
bool Invert(Bitmap& bitmap);

namespace plain {
bool AdjustSaturation(Bitmap& bitmap, int percent, const RenderContext* ctx = nullptr);
// AdjustBrightness and then AdjustSaturation, in one pass over the picture, with the same result,
// after a stop too.
bool AdjustBrightnessAndSaturation(Bitmap& bitmap, int brightness, int saturation, const RenderContext* ctx = nullptr);
void AdjustContrast(Bitmap& bitmap, int percent);
}  // namespace plain

}  // namespace gt
