// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parameter window's controls as the drawing routines read them. Field names are the controls'
// own, so each routine reads like its description.

#include <array>

#include "imaging/bitmap.h"

namespace gt {

struct DrawingControls {
    int TrackBar1 = 0;
    int TrackBar2 = 0;
    int TrackBar3 = 127;
    int TrackBar4 = 0;
    int TrackBar5 = 0;
    bool CheckBox1 = true;   // add a frame (finishing pass)
    bool CheckBox2 = true;   // soften edges
    bool CheckBox3 = true;   // paper texture
    bool CheckBox4 = false;  // add text (finishing pass)
    int ComboBox1 = 0;       // style index 0..8, -1 while nothing is chosen
    int ComboBox2 = 1;       // texture strength index 0, 1, 2
    int UpDown1 = 0;         // paper texture number 0..9
};

// Paper-texture strength for ComboBox2 index 0, 1, 2 (64, 128, 256); index 1's when none is chosen.
constexpr int textureStrength(int comboBox2) {
    return comboBox2 == 0 ? 64 : comboBox2 == 2 ? 256 : 128;
}

// The built-in pictures the drawing routines read.
struct Materials {
    const Bitmap* PaperTexture = nullptr;       // 256 x 256
    const Bitmap* PencilToneStrip = nullptr;    // 512 x 166, grey
    std::array<const Bitmap*, 9> InkToneTiles{};  // 100 x 200 each, darkest first
};

}  // namespace gt
