// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/finalize.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "imaging/error.h"
#include "imaging/filters.h"
#include "imaging/parallel.h"
#include "imaging/stretch.h"
#include "pipeline/frames.h"
#include "pipeline/text_overlay.h"

namespace gt {

void Pen::LineTo(int x, int y) {
    if (x != x_ && y != y_) throw Error("the finishing pen draws only horizontal and vertical lines");
    const int dx = x > x_ ? 1 : x < x_ ? -1 : 0;
    const int dy = y > y_ ? 1 : y < y_ ? -1 : 0;
    for (int px = x_, py = y_; px != x || py != y; px += dx, py += dy) {
        const int cx = area_.left + px, cy = area_.top + py;
        if (cx >= area_.left && cx < area_.right && cy >= area_.top && cy < area_.bottom && canvas_.contains(cx, cy))
            canvas_.setColour(cx, cy, colour_);
    }
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

void EdgeShading(Bitmap& bitmap) { EdgeShading(bitmap, Rect{0, 0, bitmap.width(), bitmap.height()}); }

void EdgeShading(Bitmap& bitmap, const Rect& area) {
    const int w = area.width(), h = area.height();
    // Rows below 11 change only in their first 11 columns.
    for (int y = 0; y < h; ++y) {
        const int xEnd = y <= 10 ? w : std::min(w, 11);
        std::uint8_t* p = bitmap.pixel(area.left, area.top + y);
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

void CornerSmoothing(Bitmap& bitmap, Bitmap& corner) { CornerSmoothing(bitmap, Rect{0, 0, bitmap.width(), bitmap.height()}, corner); }

void CornerSmoothing(Bitmap& bitmap, const Rect& area, Bitmap& corner) {
    // Drawing the picture onto the patch and back moves the part both cover.
    const int w = std::min({area.width(), corner.width()}), h = std::min({area.height(), corner.height()});
    CopyRect(bitmap, area.left, area.top, corner, 0, 0, w, h);
    Blur3x3(corner);
    CopyRect(corner, 0, 0, bitmap, area.left, area.top, w, h);
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

struct Inputs {
    int Sw, Sh, m, f;
    bool framed, pictureFrame;
};

Inputs checkedInputs(int sourceWidth, int sourceHeight, const DrawingParameters& p, const FinishingTools& tools) {
    Inputs in;
    in.Sw = sourceWidth;
    in.Sh = sourceHeight;
    in.framed = p.CheckBox1;
    in.m = in.framed ? p.frame.margin : 0;
    in.f = p.frame.style;
    in.pictureFrame = in.framed && in.f >= kFrameRealistic;
    // Checked before any work, so that a missing piece leaves no half-finished picture behind.
    if (in.pictureFrame && !tools.framePictures) throw Error("the frame pictures are not loaded");
    if (p.CheckBox4 && !tools.glyphs) throw Error("no font engine to write the text with");
    if (in.m < 0) throw Error("the margin may not be negative");
    return in;
}

// The two outlines in the fill colour (the second one's bottom side runs on over the margin), and
// the line of the lined frame, on a composition of Fw x Fh.
void drawOutlines(Pen& pen, const Inputs& in, const FrameSettings& frame, int Fw, int Fh) {
    const int h = in.m / 2;
    DrawOutline(pen, h, Fw, Fh);
    pen.MoveTo(h + 1, h + 1);
    pen.LineTo(h + 1, Fh - h - 2);
    pen.LineTo(Fw - h + 1, Fh - h - 2);
    pen.MoveTo(h + 1, h + 1);
    pen.LineTo(Fw - h - 2, h + 1);
    pen.LineTo(Fw - h - 2, Fh - h - 2);
    if (in.f == kFrameLined) {
        pen.setColour(frame.LineColour);
        DrawOutline(pen, (in.m - 5) / 2, Fw, Fh);
    }
}

void addPictureFrame(Bitmap& drawing, const Inputs& in, const DrawingParameters& p, const FinishingTools& tools) {
    const FrameSettings& frame = p.frame;
    if (in.framed && in.f == kFrameRealistic) AddFrame(drawing, frame.realisticNumber, *tools.framePictures);
    if (in.framed && in.f == kFrameColoured)
        AddColorFrame(drawing, frame.colouredNumber, *tools.framePictures, FrameTint{frame.tintRed, frame.tintGreen, frame.tintBlue});
}

FinishedDrawing finished(Bitmap drawing, const Inputs& in, const DrawingParameters& p, const FinishingTools& tools) {
    if (p.CheckBox4) ApplyTextOverlay(drawing, in.Sw, in.Sh, p.text, *tools.glyphs);
    FinishedDrawing result;
    result.DrawingWidth = drawing.width();
    result.DrawingHeight = drawing.height();
    result.picture = std::move(drawing);
    return result;
}

void fillRect(Bitmap& b, const Rect& r, Colour c) {
    parallelRows(std::max(r.top, 0), std::min(r.bottom, b.height()), [&](int y0, int y1) {
        const int x0 = std::max(r.left, 0), x1 = std::min(r.right, b.width());
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* p = b.pixel(x0, y);
            for (int x = x0; x < x1; ++x, p += 3) {
                p[0] = c.b; p[1] = c.g; p[2] = c.r;
            }
        }
    }, 256);
}

// The composition F of the drawing with its margin and outlines, painted on the part `place` of
// `target` (the whole of F lies inside it). Where the crop covers its whole target rectangle, only
// the margin around it is filled first.
void compose(Bitmap& target, const Rect& place, const Bitmap& drawing, const Inputs& in, const FrameSettings& frame) {
    const int h = in.m / 2;
    const Rect crop = cropRectangle(drawing.width(), drawing.height(), in.Sw, in.Sh);
    const Rect inner{place.left + h, place.top + h, place.left + in.Sw + h, place.top + in.Sh + h};
    const bool covered = crop.left >= 0 && crop.top >= 0 && crop.right <= drawing.width() && crop.bottom <= drawing.height();
    if (covered) {
        fillRect(target, Rect{place.left, place.top, place.right, inner.top}, frame.FillColour);
        fillRect(target, Rect{place.left, inner.bottom, place.right, place.bottom}, frame.FillColour);
        fillRect(target, Rect{place.left, inner.top, inner.left, inner.bottom}, frame.FillColour);
        fillRect(target, Rect{inner.right, inner.top, place.right, inner.bottom}, frame.FillColour);
    } else {
        fillRect(target, place, frame.FillColour);
    }
    StretchCopy(drawing, crop, target, inner);
    if (in.framed && in.m > 0) {
        Pen pen(target, frame.FillColour, place);
        drawOutlines(pen, in, frame, place.width(), place.height());
    }
}

}  // namespace

namespace plain {

FinishedDrawing Finalize(Bitmap drawing, const Bitmap& source, bool cancelled, const DrawingParameters& p, const FinishingTools& tools) {
    if (cancelled) return {source, source.width(), source.height()};
    return plain::Finalize(std::move(drawing), source.width(), source.height(), p, tools);
}

FinishedDrawing Finalize(Bitmap drawing, int sourceWidth, int sourceHeight, const DrawingParameters& p, const FinishingTools& tools) {
    const Inputs in = checkedInputs(sourceWidth, sourceHeight, p, tools);
    const FrameSettings& frame = p.frame;

    Bitmap C(10, 10);
    if (in.pictureFrame) {
        EdgeShading(drawing);
        CornerSmoothing(drawing, C);
    }

    Bitmap F(in.Sw + in.m, in.Sh + in.m);
    F.fill(frame.FillColour);
    const int Wd = drawing.width(), Hd = drawing.height();
    StretchCopy(drawing, cropRectangle(Wd, Hd, in.Sw, in.Sh), F, Rect{in.m / 2, in.m / 2, in.Sw + in.m / 2, in.Sh + in.m / 2});
    if (in.framed && in.m > 0) {
        Pen pen(F, frame.FillColour);
        drawOutlines(pen, in, frame, F.width(), F.height());
    }

    drawing = std::move(F);
    if (in.pictureFrame) {
        EdgeShading(drawing);
        CornerSmoothing(drawing, C);
    }
    addPictureFrame(drawing, in, p, tools);
    return finished(std::move(drawing), in, p, tools);
}

}  // namespace plain

FinishedDrawing Finalize(Bitmap drawing, const Bitmap& source, bool cancelled, const DrawingParameters& p, const FinishingTools& tools) {
    if (cancelled) return {source, source.width(), source.height()};
    return gt::Finalize(std::move(drawing), source.width(), source.height(), p, tools);
}

FinishedDrawing Finalize(Bitmap drawing, int sourceWidth, int sourceHeight, const DrawingParameters& p, const FinishingTools& tools) {
    if (plainPaths()) return plain::Finalize(std::move(drawing), sourceWidth, sourceHeight, p, tools);
    const Inputs in = checkedInputs(sourceWidth, sourceHeight, p, tools);
    const FrameSettings& frame = p.frame;
    const int Fw = in.Sw + in.m, Fh = in.Sh + in.m;

    Bitmap C(10, 10);
    if (in.pictureFrame) {
        EdgeShading(drawing);
        CornerSmoothing(drawing, C);
        const bool coloured = in.f == kFrameColoured;
        const FrameLayout layout = layOutFrame(Fw, Fh, in.f, coloured ? frame.colouredNumber : frame.realisticNumber,
                                               *tools.framePictures, FrameTint{frame.tintRed, frame.tintGreen, frame.tintBlue});
        // When the composition fits inside the framed picture it is made there, where the frame
        // would have put it; otherwise the frame clips it, and it is made on its own first.
        if (layout.left + Fw <= layout.width && layout.top + Fh <= layout.height) {
            Bitmap framed = frameAroundPlace(layout, Fw, Fh);
            const Rect place{layout.left, layout.top, layout.left + Fw, layout.top + Fh};
            compose(framed, place, drawing, in, frame);
            drawing = Bitmap();
            EdgeShading(framed, place);
            CornerSmoothing(framed, place, C);
            return finished(std::move(framed), in, p, tools);
        }
    }

    // Without a margin, a drawing of the source's even size is its own centre crop: nothing to compose.
    const Rect crop = cropRectangle(drawing.width(), drawing.height(), in.Sw, in.Sh);
    if (in.m == 0 && !in.pictureFrame && crop == Rect{0, 0, drawing.width(), drawing.height()} && drawing.width() == in.Sw &&
        drawing.height() == in.Sh)
        return finished(std::move(drawing), in, p, tools);

    Bitmap F;
    F.setSizeForOverwrite(Fw, Fh);
    compose(F, Rect{0, 0, Fw, Fh}, drawing, in, frame);
    drawing = std::move(F);
    if (in.pictureFrame) {
        EdgeShading(drawing);
        CornerSmoothing(drawing, C);
    }
    addPictureFrame(drawing, in, p, tools);
    return finished(std::move(drawing), in, p, tools);
}

}  // namespace gt
