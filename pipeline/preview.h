// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parameter window's live preview: the chosen style drawn on a 200 x 200 crop of the photo, with
// a black border, and the arithmetic of dragging that crop over the photo.

#include "imaging/bitmap.h"
#include "imaging/context.h"
#include "imaging/resources.h"
#include "pipeline/parameters.h"

namespace gt {

inline constexpr int kPreviewSize = 200;

// Where the crop lies on the photo (its top-left corner, in photo pixels) and the drag in progress
// (in preview pixels).
struct PreviewCrop {
    int PreviewLeft = 0;
    int PreviewTop = 0;
    bool PreviewDragging = false;
    int DragX = 0;
    int DragY = 0;
};

// The crop as the window is created, or the photo replaced: centred across a photo wider than 200
// pixels (width div 2 - 100), at the left edge otherwise, at the top.
PreviewCrop initialPreviewCrop(int sourceWidth);

// Mouse down on the preview: the drag starts at (x, y).
void startPreviewDrag(PreviewCrop& crop, int x, int y);
// Mouse move with the drag on: the photo follows the mouse, and the crop stays on the photo (at 0
// along a side where the photo is shorter than 200).
void dragPreviewCrop(PreviewCrop& crop, int x, int y, int sourceWidth, int sourceHeight);
// The same for a crop of size x size pixels (the retouch window's is 110).
void dragCrop(PreviewCrop& crop, int x, int y, int sourceWidth, int sourceHeight, int size);
// Mouse up; the caller then bumps the preview timer.
inline void endPreviewDrag(PreviewCrop& crop) { crop.PreviewDragging = false; }

// The 200 x 200 rectangle of the photo at (left, top); where it lies outside the photo it reads white.
Bitmap copyPreviewCrop(const Bitmap& source, int left, int top);

// The black border: a pen 4 pixels wide along (1, 1) - (199, 1) - (199, 199) - (1, 199) - (1, 1).
// The pen is a square centred on each point of the path, which is taken through pixel centres, so a
// point (x, y) covers columns x - 2 .. x + 1 and rows y - 2 .. y + 1 (an even width reaches one pixel
// further up and left than down and right). On a 200 x 200 picture that paints the
// outer three pixels on every side: rows and columns 0..2 and 197..199.
void drawPreviewBorder(Bitmap& preview);

// What the preview shows while a drag is in progress: the raw crop with its border.
Bitmap rawPreview(const Bitmap& source, int left, int top);

// The style's preview routine on the crop at (left, top), then the blur after the pencil drawing and
// the border. Runs as the window does, with the window showing: no progress, and the routines
// neither poll for messages nor, where they look only after polling, for the cancel flag. The crop
// is small and the preview does not start while a rendering runs, so it always runs to its end
// unless the caller hands a cancel flag and sets it (the picture is then to be dropped). Without a
// chosen style the picture is the crop filled white, with its border.
Bitmap renderPreview(const Bitmap& source, int left, int top, const DrawingParameters& p, const Resources& resources,
                     RenderContext& ctx);

}  // namespace gt
