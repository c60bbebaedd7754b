// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finalize, step by step: the edge shading and corner smoothing of the picture frames, the
// composition with its margin, the outlines drawn with a one-pixel pen, then frame and text.

#include "imaging/bitmap.h"
#include "imaging/stretch.h"
#include "pipeline/frames.h"
#include "pipeline/parameters.h"
#include "pipeline/text_overlay.h"

namespace gt {

// What the pass draws with besides the settings: the frame pictures, needed for the realistic and
// coloured frames only, and the font engine, needed only when the text is on.
struct FinishingTools {
    const FramePictures* framePictures = nullptr;
    GlyphRenderer* glyphs = nullptr;
};

struct FinishedDrawing {
    Bitmap picture;
    int DrawingWidth = 0;   // the natural size of the right pane's picture
    int DrawingHeight = 0;
};

// Cancelled: a copy of the source and nothing else. Otherwise the drawing centre-cropped to the
// source's size inside a margin, with outlines, frame and text as the settings ask (the parameter
// window's CheckBox1 and CheckBox4, the frames window's `frame`, the add-text window's `text`).
// Throws gt::Error when a frame picture or the font engine is needed and not given, or when the
// frame picture has no light window.
// The picture frames are composed straight into the framed picture, whose window is then never
// resampled; a drawing that is already the finished picture is handed on without a copy.
FinishedDrawing Finalize(Bitmap drawing, const Bitmap& source, bool cancelled, const DrawingParameters& p,
                         const FinishingTools& tools = {});
// The same for a drawing that was not cancelled, knowing only the source's size.
FinishedDrawing Finalize(Bitmap drawing, int sourceWidth, int sourceHeight, const DrawingParameters& p, const FinishingTools& tools = {});

namespace plain {
// The plain reference: each step on a picture of its own, one after the other.
FinishedDrawing Finalize(Bitmap drawing, const Bitmap& source, bool cancelled, const DrawingParameters& p,
                         const FinishingTools& tools = {});
FinishedDrawing Finalize(Bitmap drawing, int sourceWidth, int sourceHeight, const DrawingParameters& p, const FinishingTools& tools = {});
}

// Edge shading: the top ten rows and the left ten columns darkened by 80 at the edge, 8 less per pixel
// inward; in the top-left corner the nearer edge wins, the diagonal counting as the left edge.
void EdgeShading(Bitmap& bitmap);
// Corner smoothing: the top-left 10 x 10 pixels drawn onto `corner` (a 10 x 10 patch), blurred there and drawn
// back. The patch is kept between the two calls of one pass.
void CornerSmoothing(Bitmap& bitmap, Bitmap& corner);
// The same on the part `area` of a larger picture (inside it), as if that part were the picture.
void EdgeShading(Bitmap& bitmap, const Rect& area);
void CornerSmoothing(Bitmap& bitmap, const Rect& area, Bitmap& corner);

// The canvas pen for horizontal and vertical lines: one pixel wide, from the current point to the
// given point, the end point itself not painted, nothing painted outside the picture. A pen given an
// area of the canvas draws on that part as if it were the picture: points are relative to its
// top-left corner and nothing is painted outside it.
class Pen {
public:
    Pen(Bitmap& canvas, Colour colour) : canvas_(canvas), colour_(colour), area_{0, 0, canvas.width(), canvas.height()} {}
    Pen(Bitmap& canvas, Colour colour, const Rect& area) : canvas_(canvas), colour_(colour), area_(area) {}
    void setColour(Colour colour) { colour_ = colour; }
    void MoveTo(int x, int y) { x_ = x; y_ = y; }
    // Throws gt::Error for a slanted line (the finishing pass draws none).
    void LineTo(int x, int y);

private:
    Bitmap& canvas_;
    Colour colour_;
    Rect area_;
    int x_ = 0, y_ = 0;
};

// The outline the finishing pass draws around the placed drawing at distance d from the outer edge
// of a picture of width Fw and height Fh.
void DrawOutline(Pen& pen, int d, int Fw, int Fh);

}  // namespace gt
