// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The paper grain: the texture is tiled over the drawing and every channel is shifted by
// strength - (texel * ((10 * strength) div 128)) div 10, so a texel of 128 leaves the drawing as it is,
// lighter texels darken it and darker ones lighten it. Row 0 and column 0 are never touched.

#include "imaging/bitmap.h"
#include "imaging/controls.h"

namespace gt {

// How the texture repeats: every (size - 1) pixels for the edge drawings, the paintings and the
// frame-and-texture style (its last row and column are never read), every size pixels for the
// pencil and ink drawings.
enum class TexturePeriod { SizeLessOne, Size };

// strength: 64, 128 or 256 for the usual styles, 128, 256 or 512 for the ink drawing. In place.
// Throws gt::Error for an empty texture; a texture 1 pixel wide or high repeats every pixel.
void ApplyPaperTexture(Bitmap& bitmap, const Bitmap& texture, int strength, TexturePeriod period = TexturePeriod::SizeLessOne);

// The paper-texture option of a drawing routine: the strength chosen by ComboBox2 (times `factor`,
// 2 for the ink drawing) laid with the routine's period. Throws gt::Error when no texture is given.
void LayPaperTexture(Bitmap& drawing, const Bitmap* texture, int comboBox2, TexturePeriod period, int factor = 1,
                     bool plainPath = false);

namespace plain {
void ApplyPaperTexture(Bitmap& bitmap, const Bitmap& texture, int strength, TexturePeriod period = TexturePeriod::SizeLessOne);
}

}  // namespace gt
