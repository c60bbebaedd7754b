// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The resize dialog's fields without the dialog: the pixel and percent boxes, the two scroll bars
// and the two check boxes, and the rules that keep them in step, as plain functions over plain data.
// "Valid" text is digits only (the empty text too, as IsNumber says); "div" truncates.

#include <string>

namespace gt {

// The largest picture the dialog offers: the widest rows the routines take and the pixel count that
// keeps the photo, its drawing and the steps kept to take back within memory.
struct ResizeLimits {
    int maxWidth = 65535;
    long long maxPixels = 400'000'000;
};

struct ResizeFields {
    int SW = 1, SH = 1;            // the source's size when the dialog opened
    int maxWidth = 3, maxHeight = 3;  // the scroll bars' maxima: three times the size, or less where the limits say
    int maxPercent = 300;          // the percent boxes' cut, matching the maxima
    bool cut = false;              // the limits made the ranges smaller than three times the size
    std::string Edit1, Edit2;      // width, height in pixels
    std::string Edit3, Edit4;      // width, height in percent
    int ScrollBar1 = 1, ScrollBar2 = 1;
    bool CheckBox1 = true;   // keep the proportions
    bool CheckBox2 = false;  // the desktop's size
};

// The ranges for a source of sw x sh: three times each side, both cut by one factor where that
// would pass the limits, so that any size within them can be made and the proportions still fit.
void resizeRanges(ResizeFields& f, const ResizeLimits& limits);

// Activation: the current size, 100 %, proportions kept, the desktop unchecked.
void activateResize(ResizeFields& f, int sw, int sh, const ResizeLimits& limits = {});
// A key released in a pixel box (side 1 the width, Edit1; side 2 the height, Edit2).
void pixelsTyped(ResizeFields& f, int side);
// A key released in a percent box (side 1 Edit3, side 2 Edit4).
void percentTyped(ResizeFields& f, int side);
// A scroll bar moved by the user to `position`.
void scrollBarMoved(ResizeFields& f, int side, int position);
// The proportions box checked by a click (unchecking changes nothing else).
void keepProportionsChecked(ResizeFields& f);
// The desktop box checked by a click, with the desktop's size in pixels.
void desktopSizeChecked(ResizeFields& f, int desktopWidth, int desktopHeight);
// With the proportions kept, the other side follows the one that changed (side 1: the height
// changed, the width follows; side 2 the reverse), the ratio carried in thousandths.
void Synchronize(ResizeFields& f, int side);

// The confirm step's size: the two pixel boxes, both back to the source's size when either is not
// a number (empty included).
struct ResizeChoice {
    int width = 0, height = 0;
};
ResizeChoice confirmResize(ResizeFields& f);

}  // namespace gt
