// SPDX-License-Identifier: GPL-3.0-or-later
// EXIF orientation: the camera stores the pixels as the sensor saw them and says how to turn them.
// Values 2 to 4 mirror or turn half way and keep the size; 5 to 8 swap width and height.

#include <algorithm>
#include <cstring>

#include "imaging/io/codecs.h"

namespace gt {

namespace {

void mirrorRows(Bitmap& b) {
    for (int y = 0; y < b.height(); ++y) {
        unsigned char* l = b.row(y);
        unsigned char* r = l + (b.width() - 1) * 3;
        for (; l < r; l += 3, r -= 3) std::swap_ranges(l, l + 3, r);
    }
}

void flipColumns(Bitmap& b) {
    for (int top = 0, bottom = b.height() - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(b.row(top), b.row(top) + b.stride(), b.row(bottom));
}

}  // namespace

Bitmap orientPicture(Bitmap picture, int orientation) {
    if (picture.empty()) return picture;
    switch (orientation) {
        case 2: mirrorRows(picture); return picture;
        case 3: mirrorRows(picture); flipColumns(picture); return picture;
        case 4: flipColumns(picture); return picture;
        case 5: case 6: case 7: case 8: break;
        default: return picture;
    }
    const int w = picture.width(), h = picture.height();
    Bitmap out;
    out.setSizeForOverwrite(h, w);
    // Output pixel (u, v) comes from source (x, y):
    //   5 transpose       x = v,         y = u
    //   6 turn right      x = v,         y = h - 1 - u
    //   7 transverse      x = w - 1 - v, y = h - 1 - u
    //   8 turn left       x = w - 1 - v, y = u
    for (int v = 0; v < w; ++v) {
        const int x = (orientation == 5 || orientation == 6) ? v : w - 1 - v;
        unsigned char* o = out.row(v);
        for (int u = 0; u < h; ++u, o += 3) {
            const int y = (orientation == 5 || orientation == 8) ? u : h - 1 - u;
            std::memcpy(o, picture.pixel(x, y), 3);
        }
    }
    return out;
}

}  // namespace gt
