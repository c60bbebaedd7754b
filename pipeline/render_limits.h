// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures a rendering will make, measured before it starts: a style that turns the photo makes
// a canvas that grows with the square of its longest side, and the finished picture adds margin and
// frame. A rendering that would go beyond the limits is refused at once with one clear line, not
// after minutes of work and gigabytes of memory.

#include <optional>

#include "imaging/error.h"
#include "imaging/resources.h"
#include "pipeline/parameters.h"

namespace gt {

// No picture a rendering makes may have more pixels than the largest photo accepted (kMaxPixels),
// nor a side wider than the routines accept (kMaxWidth).

// Throws gt::Error naming the picture that would be too large; the style is p.ComboBox1, the
// finishing pass's margin and frame those of p.
void checkRenderSizes(int photoWidth, int photoHeight, const DrawingParameters& p, const Resources& resources);

// The memory a rendering takes at its peak, in bytes, the photo it draws counted (3 bytes a pixel)
// and everything the style and the finishing pass hold besides: the style's pictures (known per
// style from measurements, a few per cent added), then the drawing, the composition with its
// margin and the framed picture. The program's own code and tables are not counted.
// photoGivenOver: the rendering may draw on the photo (renderDrawing's Bitmap&& form), and the
// finished picture is then encoded whole for writing, as the command line and the batch do (the
// encoded file counted at a byte a pixel).
long long renderPeakBytes(int photoWidth, int photoHeight, const DrawingParameters& p, const Resources& resources,
                          bool photoGivenOver = true);

// What the machine can give a rendering now, in bytes: the environment's GRAPHITELLO_AVAILABLE_MEMORY
// when set (a number of bytes, or of K, M or G, 1000 each, so that a test can ask for a small
// figure), otherwise on Linux the system's MemAvailable, lowered to what the process's control
// group still allows when it has a limit. Nothing where neither is known.
std::optional<long long> availableMemory();

// A rendering refused because it would not fit in memory; the message is the command line's line.
class MemoryShortage : public Error {
public:
    MemoryShortage(long long needed, long long available);
    long long needed() const { return needed_; }
    long long available() const { return available_; }

private:
    long long needed_, available_;
};

// "4.9 GB", "730 MB": the figures of the refusal, in the units a person reads.
std::string memoryFigure(long long bytes);

// Throws MemoryShortage when the rendering's peak would exceed what the machine can give, the photo
// (already in memory) counted on both sides; does nothing where the available memory is unknown.
void checkRenderMemory(int photoWidth, int photoHeight, const DrawingParameters& p, const Resources& resources, bool photoGivenOver);

}  // namespace gt
