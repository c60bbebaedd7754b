// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture frames: a stored frame picture with a light window in its middle is scaled so that
// the window fits the drawing, and the drawing is set into it. Also the quarter turn that stands a
// landscape frame upright around a portrait drawing, and the digits-only check of the number boxes.

#include <array>
#include <string_view>

#include "imaging/bitmap.h"
#include "pipeline/finishing_settings.h"

namespace gt {

// The eight stored frame pictures, Frame1 .. Frame8 at indexes 0 .. 7.
using FramePictures = std::array<Bitmap, 8>;

// Which of the eight pictures a frame number stands for (index 0..7). Numbers outside the range
// of the style pick the first picture.
int realisticFrameIndex(int number);  // AddFrame: 1..7 -> Frame1..Frame7
int colouredFrameIndex(int number);   // AddColorFrame: 1..5 -> Frame1, Frame2, Frame8, Frame6, Frame7

// A pixel of a frame picture is light when 65536 * blue + 256 * green + red >= 13,824,000.
bool isLightPixel(const Bitmap& picture, int x, int y);

// The light window of a frame picture: it spans columns left .. width - right - 1 and rows
// top .. height - bottom - 1 (the right and bottom limits reach 2 pixels into the frame).
struct LightWindow {
    int left = 0, right = 0, top = 0, bottom = 0;
    // False when both start pixels of the middle row, or both of the middle column, are dark:
    // the picture has no window at all. (One dark start pixel only puts the window's limit at
    // the picture's edge on that side.)
    bool found = false;
    friend bool operator==(const LightWindow&, const LightWindow&) = default;
};
LightWindow findLightWindow(const Bitmap& frame);

// Red, green and blue shifts of the coloured frame, -255..255 each.
struct FrameTint {
    int red = 0, green = 0, blue = 0;
};

// Replaces the drawing with a larger picture: the frame picture, scaled so that its light window
// fits the drawing, with the drawing set in. Throws gt::Error when the chosen picture is missing or
// has no light window.
void AddFrame(Bitmap& drawing, int number, const FramePictures& framePictures);
void AddColorFrame(Bitmap& drawing, int number, const FramePictures& framePictures, const FrameTint& tint);

// How AddFrame (style kFrameRealistic) or AddColorFrame (kFrameColoured, with the tint) sets a
// drawing of W x H: the frame picture made ready (turned upright around a portrait drawing, tinted),
// the size of the framed picture and the drawing's top-left corner in it. Throws as they do.
struct FrameLayout {
    Bitmap picture;
    int width = 0, height = 0;
    int left = 0, top = 0;
};
FrameLayout layOutFrame(int W, int H, int style, int number, const FramePictures& framePictures, const FrameTint& tint);
// The framed picture of a layout for a drawing of W x H, with the drawing's place left for the
// caller to paint: only the pixels outside it are resampled from the frame picture.
Bitmap frameAroundPlace(const FrameLayout& layout, int W, int H);

// A quarter turn clockwise in place: width and height swap, the old left column read from top to
// bottom becomes the new top row read from right to left.
void RotateBitmap90(Bitmap& bitmap);

// The frames window's 200 x 200 preview of `settings` with the source picture at its natural size
// (the margin drawn at half size). The picture styles show the frame picture stretched to
// 700 x 700, so only its top-left corner is seen, with the fill from the frame's inner corner; the
// plain styles show the fill bands on grey. Two black square outlines close it.
void DrawFramePreview(Bitmap& preview, const Bitmap& source, const FrameSettings& settings,
                      const FramePictures& framePictures);
// The preview as the window is created: white inside the two outlines.
void ClearFramePreview(Bitmap& preview);

// True when every character is a digit 0..9; true for the empty text.
bool IsNumber(std::string_view text);

}  // namespace gt
