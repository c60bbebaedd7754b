#pragma once
// Finalize, step by step: the edge shading and corner smoothing of the picture frames, the
// composition with its margin, the outlines drawn with a one-pixel pen, then frame and text.

#include "imaging/bitmap.h"
#include "pipeline/finishing.h"

namespace gt {

struct FinishedDrawing {
    Bitmap picture;
    int DrawingWidth = 0;   // the natural size of the right pane's picture
    int DrawingHeight = 0;
};

// Cancelled: a copy of the source and nothing else. Otherwise the drawing centre-cropped to the
// source's size inside a margin, with outlines, frame and text as the inputs ask.
FinishedDrawing Finalize(Bitmap drawing, const Bitmap& source, bool cancelled, const FinishingInputs& inputs);

// E1: the top ten rows and the left ten columns darkened by 80 at the edge, 8 less per pixel
// inward; in the top-left corner the nearer edge wins, the diagonal counting as the left edge.
void EdgeShading(Bitmap& bitmap);
// E2: the top-left 10 x 10 pixels drawn onto `corner` (a 10 x 10 patch), blurred there and drawn
// back. The patch is kept between the two calls of one pass, as it was.
void CornerSmoothing(Bitmap& bitmap, Bitmap& corner);

// The canvas pen for horizontal and vertical lines: one pixel wide, from the current point to the
// given point, the end point itself not painted, nothing painted outside the picture.
class Pen {
public:
    Pen(Bitmap& canvas, Colour colour) : canvas_(canvas), colour_(colour) {}
    void setColour(Colour colour) { colour_ = colour; }
    void MoveTo(int x, int y) { x_ = x; y_ = y; }
    // Throws gt::Error for a slanted line (the finishing pass draws none).
    void LineTo(int x, int y);

private:
    Bitmap& canvas_;
    Colour colour_;
    int x_ = 0, y_ = 0;
};

// The outline the finishing pass draws around the placed drawing at distance d from the outer edge
// of a picture of width Fw and height Fh.
void DrawOutline(Pen& pen, int d, int Fw, int Fh);

}  // namespace gt
