// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The built-in pictures a rendering reads, loaded once: the ten paper textures of the parameter
// window, the pencil tone strip, the nine ink tiles and the eight frame pictures. Header only, so
// that the io layer can fill it without linking the pipeline.

#include <array>

#include "imaging/bitmap.h"
#include "imaging/controls.h"

namespace gt {

inline constexpr int kPaperTextureCount = 10;
inline constexpr int kInkTileCount = 9;
inline constexpr int kFramePictureCount = 8;

struct Resources {
    std::array<Bitmap, kPaperTextureCount> PaperTextures;  // 256 x 256, centred on mid-grey
    Bitmap PencilToneStrip;                                // 512 x 166
    std::array<Bitmap, kInkTileCount> InkToneTiles;        // 100 x 200, darkest first, on white
    std::array<Bitmap, kFramePictureCount> FramePictures;  // Frame1 .. Frame8 (the finishing pass's FramePictures)

    // What the drawing routines read with texture number `texture` (UpDown1) chosen; a number outside
    // 0..9 picks the nearest texture, as the up-down control cannot go further.
    Materials materials(int texture) const {
        const int n = texture < 0 ? 0 : texture >= kPaperTextureCount ? kPaperTextureCount - 1 : texture;
        Materials m;
        m.PaperTexture = &PaperTextures[static_cast<std::size_t>(n)];
        m.PencilToneStrip = &PencilToneStrip;
        for (std::size_t i = 0; i < InkToneTiles.size(); ++i) m.InkToneTiles[i] = &InkToneTiles[i];
        return m;
    }
};

}  // namespace gt
