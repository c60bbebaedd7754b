#include "pipeline/finalize.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "imaging/error.h"
#include "imaging/filters.h"
#include "imaging/stretch.h"
#include "pipeline/frames.h"
#include "pipeline/text_overlay.h"

namespace gt {

void Pen::LineTo(int x, int y) {
    if (x != x_ && y != y_) throw Error("the finishing pen draws only horizontal and vertical lines");
    const int dx = x > x_ ? 1 : x < x_ ? -1 : 0;
    const int dy = y > y_ ? 1 : y < y_ ? -1 : 0;
    for (int px = x_, py = y_; px != x || py != y; px += dx, py += dy)
        if (canvas_.contains(px, py)) canvas_.setColour(px, py, colour_);
    x_ = x;
    y_ = y;
}

void DrawOutline(Pen& pen, int d, int Fw, int Fh) {
    pen.MoveTo(d, d);
    pen.LineTo(d, Fh - d - 1);
    pen.LineTo(Fw - d, Fh - d - 1);
    pen.MoveTo(d, d);
    pen.LineTo(Fw - d - 1, d);
    pen.LineTo(Fw - d - 1, Fh - d - 1);
}

void EdgeShading(Bitmap& bitmap) {
    const int w = bitmap.width(), h = bitmap.height();
    // Rows below 11 change only in their first 11 columns.
    for (int y = 0; y < h; ++y) {
        const int xEnd = y <= 10 ? w : std::min(w, 11);
        std::uint8_t* p = bitmap.row(y);
        for (int x = 0; x < xEnd; ++x, p += 3) {
            int shade;
            if (y <= 10 && y < x)
                shade = 8 * (10 - y);
            else if (x <= 10 && x <= y)
                shade = 8 * (10 - x);
            else
                continue;
            for (int c = 0; c < 3; ++c) p[c] = std::uint8_t(std::max(0, p[c] - shade));
        }
    }
}

void CornerSmoothing(Bitmap& bitmap, Bitmap& corner) {
    corner.draw(bitmap, 0, 0);
    Blur3x3(corner);
    bitmap.draw(corner, 0, 0);
}

namespace {

// The rectangle copy's source rectangle for the centre crop. For odd sizes it is one pixel short of
// the source's size and the copy stretches it; a source one pixel wide or high would give an empty
// rectangle and lose the drawing, so that side keeps one pixel.
Rect cropRectangle(int Wd, int Hd, int Sw, int Sh) {
    Rect r{Wd / 2 - Sw / 2, Hd / 2 - Sh / 2, Sw / 2 + Wd / 2, Sh / 2 + Hd / 2};
    if (r.right == r.left) r.right = r.left + 1;
    if (r.bottom == r.top) r.bottom = r.top + 1;
    return r;
}

}  // namespace

FinishedDrawing Finalize(Bitmap drawing, const Bitmap& source, bool cancelled, const FinishingInputs& inputs) {
    const int Sw = source.width(), Sh = source.height();
    if (cancelled) return {source, Sw, Sh};

    const FrameSettings& frame = inputs.frame;
    const bool framed = inputs.CheckBox1;
    const int m = framed ? frame.margin : 0;
    const int f = frame.style;
    const bool pictureFrame = framed && f >= kFrameRealistic;
    // Checked before any work, so that a missing piece leaves no half-finished picture behind.
    if (pictureFrame && !inputs.framePictures) throw Error("the frame pictures are not loaded");
    if (inputs.CheckBox4 && !inputs.glyphs) throw Error("no font engine to write the text with");
    if (m < 0) throw Error("the margin may not be negative");

    Bitmap C(10, 10);
    if (pictureFrame) {
        EdgeShading(drawing);
        CornerSmoothing(drawing, C);
    }

    Bitmap F(Sw + m, Sh + m);
    F.fill(frame.FillColour);
    const int Wd = drawing.width(), Hd = drawing.height();
    StretchCopy(drawing, cropRectangle(Wd, Hd, Sw, Sh), F, Rect{m / 2, m / 2, Sw + m / 2, Sh + m / 2});

    if (framed && m > 0) {
        const int h = m / 2;
        const int Fw = F.width(), Fh = F.height();
        Pen pen(F, frame.FillColour);
        DrawOutline(pen, h, Fw, Fh);
        // One pixel further in; its bottom side runs on over the margin.
        pen.MoveTo(h + 1, h + 1);
        pen.LineTo(h + 1, Fh - h - 2);
        pen.LineTo(Fw - h + 1, Fh - h - 2);
        pen.MoveTo(h + 1, h + 1);
        pen.LineTo(Fw - h - 2, h + 1);
        pen.LineTo(Fw - h - 2, Fh - h - 2);
        if (f == kFrameLined) {
            pen.setColour(frame.LineColour);
            DrawOutline(pen, (m - 5) / 2, Fw, Fh);
        }
    }

    drawing = std::move(F);
    if (pictureFrame) {
        EdgeShading(drawing);
        CornerSmoothing(drawing, C);
    }
    if (framed && f == kFrameRealistic) AddFrame(drawing, frame.realisticNumber, *inputs.framePictures);
    if (framed && f == kFrameColoured)
        AddColorFrame(drawing, frame.colouredNumber, *inputs.framePictures,
                      FrameTint{frame.tintRed, frame.tintGreen, frame.tintBlue});

    if (inputs.CheckBox4) ApplyTextOverlay(drawing, Sw, Sh, inputs.text, *inputs.glyphs);

    FinishedDrawing result;
    result.DrawingWidth = drawing.width();
    result.DrawingHeight = drawing.height();
    result.picture = std::move(drawing);
    return result;
}

}  // namespace gt
