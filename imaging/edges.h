// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The edge drawings: the Sobel gradient of every pixel's grey level decides between a pencil stroke
// along the edge (strong gradient) and a shading stroke at an angle chosen from the grey level (weak
// gradient), drawn onto a white sheet. SobelFilter keeps the strokes grey; ColourSobel tints them
// with the colours of a median-smoothed copy of the photo. NoFilter only copies the photo. All three
// end with the soften (CheckBox2) and paper texture (CheckBox3) options.

#include <cstddef>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/context.h"
#include "imaging/controls.h"

namespace gt {

// The stroke angle for horizontal gradient i and vertical gradient j (both -255..255):
// ArcTan(j / i) + 1.5707, and 3.14159 for i = 0. The constants are these decimals, not pi / 2 and pi.
double strokeAngle(int i, int j);

// strokeAngle for every i, j in -255..255, built once on first use (thread-safe).
class DirectionTable {
public:
    DirectionTable();
    double operator()(int i, int j) const { return angles_[std::size_t(i + 255) * 511 + std::size_t(j + 255)]; }

private:
    std::vector<double> angles_;
};
const DirectionTable& directionTable();

// The grey pencil drawing of the source; the destination takes the source's size. Shading strokes
// draw from ctx.random (not reseeded). Cancellable every 20 rows while the parameter window is
// hidden: the destination then keeps the strokes drawn so far and gets no finishing.
void SobelFilter(const Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx);
// The same for a caller that needs the source no more: it goes once its grey levels are taken.
void SobelFilterGivenOver(Bitmap&& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx);
// The coloured pencil drawing (median 7 reported as pass 1 of 2, strokes as pass 2 of 2).
void ColourSobel(const Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx);
// A copy of the source with the finishing options applied.
void NoFilter(const Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx);

namespace plain {
void SobelFilter(const Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx);
void ColourSobel(const Bitmap& source, Bitmap& destination, const DrawingControls& c, const Materials& m, RenderContext& ctx);
}  // namespace plain

}  // namespace gt
