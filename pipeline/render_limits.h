// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures a rendering will make, measured before it starts: a style that turns the photo makes
// a canvas that grows with the square of its longest side, and the finished picture adds margin and
// frame. A rendering that would go beyond the limits is refused at once with one clear line, not
// after minutes of work and gigabytes of memory.

#include "imaging/resources.h"
#include "pipeline/parameters.h"

namespace gt {

// No picture a rendering makes may have more pixels than the largest photo accepted (kMaxPixels),
// nor a side wider than the routines accept (kMaxWidth).

// Throws gt::Error naming the picture that would be too large; the style is p.ComboBox1, the
// finishing pass's margin and frame those of p.
void checkRenderSizes(int photoWidth, int photoHeight, const DrawingParameters& p, const Resources& resources);

}  // namespace gt
