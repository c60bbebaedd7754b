// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The arithmetic of the print preview and of printing, as plain functions: the page picture's size,
// the "full page" scale, the drawing's rectangle in the preview and on the page. All divisions are
// integer divisions truncating toward zero, in 64 bits.
//
// Printer dots per screen pixel are kept as the exact ratio of the two resolutions: as a whole
// number a device coarser than the screen (a 72 dpi page on a 96 dpi screen) would give 0 dots per
// pixel and an empty page. Where the ratio is whole (600 dpi on a 100 dpi screen) the numbers are
// those of whole dots per pixel.

#include <cstdint>

namespace gt {

// Device dots per screen pixel: dots / pixels.
struct DotsPerPixel {
    std::int64_t dots = 1;    // the device's dots per inch
    std::int64_t pixels = 1;  // the screen's pixels per inch
    // DX x value, truncated.
    std::int64_t times(std::int64_t value) const { return pixels > 0 ? dots * value / pixels : 0; }
};

struct PageDevice {
    int PW = 0, PH = 0;  // printable page in device dots
    DotsPerPixel DX, DY;
};

struct PrintRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const PrintRect&) const = default;
};

// The page picture: 130 pixels wide in portrait, 130 high in landscape.
struct PagePicture {
    int IW = 0, IH = 0;
};
PagePicture pagePicture(const PageDevice& page, bool landscape);

// Where the page picture goes in a client area of the given size, right of x = 180.
PrintRect pagePicturePlace(const PagePicture& picture, int clientWidth, int clientHeight);

// The scale of "Pleine page" for a drawing of DW x DH: the page filled less 5 %, by the drawing's
// height when it is higher than wide, by its width otherwise, and never beyond the other side.
int fullPageScale(const PageDevice& page, int DW, int DH);

// The drawing's rectangle inside the page picture; empty when the numbers leave nothing to draw.
PrintRect previewRect(const PageDevice& page, const PagePicture& picture, int DW, int DH, int S, int X0, int Y0);

// The drawing's rectangle on the printed page (94 % of the preview's size), for a bitmap of BW x BH.
PrintRect printRect(const PageDevice& page, const PagePicture& picture, int BW, int BH, int S, int X0, int Y0);

// The orientation a drawing is printed in when the window shows: landscape when wider than high.
inline bool landscapeFor(int DW, int DH) { return DH < DW; }

}  // namespace gt
