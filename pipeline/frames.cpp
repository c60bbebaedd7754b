// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/frames.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/arithmetic.h"
#include "imaging/error.h"
#include "imaging/filters.h"
#include "imaging/stretch.h"
#include "pipeline/finalize.h"

namespace gt {

namespace {

constexpr std::uint32_t kLightThreshold = 13824000;  // 0xD2F000
constexpr long long kScaleUnit = 20000;              // scale factors are in units of 1/20000

const Bitmap& framePicture(const FramePictures& pictures, int index, int number) {
    const Bitmap& picture = pictures[std::size_t(index)];
    if (picture.empty())
        throw Error("frame picture " + std::to_string(index + 1) + " (frame number " + std::to_string(number) +
                    ") is missing");
    return picture;
}

}  // namespace

FrameLayout layOutFrame(int W, int H, int style, int number, const FramePictures& framePictures, const FrameTint& tint) {
    const bool coloured = style == kFrameColoured;
    const int index = coloured ? colouredFrameIndex(number) : realisticFrameIndex(number);
    FrameLayout layout;
    layout.picture = framePicture(framePictures, index, number);
    Bitmap& F = layout.picture;
    if (W < H && F.height() < F.width()) RotateBitmap90(F);

    const int Fw = F.width(), Fh = F.height();
    const LightWindow window = findLightWindow(F);
    const long long windowWidth = Fw - window.left - window.right;
    const long long windowHeight = Fh - window.top - window.bottom;
    // Without a window there is nothing to scale the frame by.
    if (!window.found || windowWidth <= 0 || windowHeight <= 0)
        throw Error("frame picture " + std::to_string(index + 1) + " has no light window to hold the drawing");

    const long long sx = (W * kScaleUnit) / windowWidth;
    const long long sy = (H * kScaleUnit) / windowHeight;
    // The framed height is one pixel less than the scaled picture's; never below one pixel.
    long long Rw = (Fw * sx) / kScaleUnit;
    long long Rh = (Fh * sy) / kScaleUnit - 1;
    if (Rw < 1) Rw = 1;
    if (Rh < 1) Rh = 1;
    if (Rw > kMaxWidth || Rh > kMaxWidth)
        throw Error("the framed picture would be " + std::to_string(Rw) + " x " + std::to_string(Rh) +
                    " pixels, more than the " + std::to_string(kMaxWidth) + " a picture may have on a side");

    if (coloured) {
        // The window was found on the untinted picture.
        for (int y = 0; y < Fh; ++y) {
            std::uint8_t* p = F.row(y);
            for (int x = 0; x < Fw; ++x, p += 3) {
                p[2] = std::uint8_t(clampByte(p[2] + tint.red));
                p[1] = std::uint8_t(clampByte(p[1] + tint.green));
                p[0] = std::uint8_t(clampByte(p[0] + tint.blue));
            }
        }
    }
    layout.width = static_cast<int>(Rw);
    layout.height = static_cast<int>(Rh);
    layout.left = int((window.left * sx) / kScaleUnit);
    layout.top = int((window.top * sy) / kScaleUnit);
    return layout;
}

Bitmap frameAroundPlace(const FrameLayout& layout, int W, int H) {
    Bitmap R;
    R.setSizeForOverwrite(layout.width, layout.height);
    ResizeBilinearAround(layout.picture, R, Rect{layout.left, layout.top, layout.left + W, layout.top + H});
    return R;
}

namespace {

void setIntoFrame(Bitmap& drawing, int style, int number, const FramePictures& framePictures, const FrameTint& tint) {
    const int W = drawing.width(), H = drawing.height();
    const FrameLayout layout = layOutFrame(W, H, style, number, framePictures, tint);
    Bitmap R = frameAroundPlace(layout, W, H);
    R.draw(drawing, layout.left, layout.top);
    drawing = std::move(R);
}

}  // namespace

int realisticFrameIndex(int number) { return number >= 2 && number <= 7 ? number - 1 : 0; }

int colouredFrameIndex(int number) {
    static constexpr int kIndex[6] = {0, 0, 1, 7, 5, 6};
    return number >= 1 && number <= 5 ? kIndex[number] : 0;
}

bool isLightPixel(const Bitmap& picture, int x, int y) {
    if (!picture.contains(x, y)) return false;
    const std::uint8_t* p = picture.pixel(x, y);
    const std::uint32_t value = 65536u * p[0] + 256u * p[1] + p[2];
    return value >= kLightThreshold;
}

LightWindow findLightWindow(const Bitmap& F) {
    const int Fw = F.width(), Fh = F.height();
    const int cx = Fw / 2, cy = Fh / 2;
    LightWindow w;
    for (int x = Fw / 4; isLightPixel(F, x, cy) && x >= 1; --x) w.left = x;
    for (int x = Fw - Fw / 4; isLightPixel(F, x, cy) && x < Fw - 1; ++x) w.right = Fw - x - 3;
    for (int y = Fh / 4; isLightPixel(F, cx, y) && y >= 1; --y) w.top = y;
    for (int y = Fh - Fh / 4; isLightPixel(F, cx, y) && y < Fh - 1; ++y) w.bottom = Fh - y - 3;
    w.found = (isLightPixel(F, Fw / 4, cy) || isLightPixel(F, Fw - Fw / 4, cy)) &&
              (isLightPixel(F, cx, Fh / 4) || isLightPixel(F, cx, Fh - Fh / 4));
    return w;
}

void AddFrame(Bitmap& drawing, int number, const FramePictures& framePictures) {
    setIntoFrame(drawing, kFrameRealistic, number, framePictures, FrameTint{});
}

void AddColorFrame(Bitmap& drawing, int number, const FramePictures& framePictures, const FrameTint& tint) {
    setIntoFrame(drawing, kFrameColoured, number, framePictures, tint);
}

void RotateBitmap90(Bitmap& bitmap) {
    const int W = bitmap.width(), H = bitmap.height();
    Bitmap turned(H, W);
    for (int y = 0; y < W; ++y) {
        std::uint8_t* d = turned.row(y);
        for (int x = 0; x < H; ++x, d += 3) {
            const std::uint8_t* s = bitmap.pixel(y, H - 1 - x);
            d[0] = s[0]; d[1] = s[1]; d[2] = s[2];
        }
    }
    bitmap = std::move(turned);
}

namespace {

constexpr int kPreviewSize = 200;
constexpr int kPreviewFrameSize = 700;
constexpr int kPreviewProbe = 180;  // the column and row searched for the frame's inner corner

void drawPreviewOutlines(Bitmap& preview) {
    Pen pen(preview, kBlack);
    for (int d : {0, 1}) {
        const int e = kPreviewSize - 1 - d;
        pen.MoveTo(d, d);
        pen.LineTo(e, d);
        pen.LineTo(e, e);
        pen.LineTo(d, e);
        pen.LineTo(d, d);
    }
}

void fillRect(Bitmap& b, int left, int top, int right, int bottom, Colour c) {
    for (int y = std::max(top, 0); y < std::min(bottom, b.height()); ++y)
        for (int x = std::max(left, 0); x < std::min(right, b.width()); ++x) b.setColour(x, y, c);
}

}  // namespace

void ClearFramePreview(Bitmap& preview) {
    preview.setSize(kPreviewSize, kPreviewSize);
    drawPreviewOutlines(preview);
}

void DrawFramePreview(Bitmap& preview, const Bitmap& source, const FrameSettings& settings,
                      const FramePictures& framePictures) {
    preview.setSize(kPreviewSize, kPreviewSize);
    const int half = settings.margin / 2;
    if (settings.style == kFrameRealistic || settings.style == kFrameColoured) {
        const bool coloured = settings.style == kFrameColoured;
        const int number = coloured ? settings.colouredNumber : settings.realisticNumber;
        const int index = coloured ? colouredFrameIndex(number) : realisticFrameIndex(number);
        const Bitmap& picture = framePicture(framePictures, index, number);
        StretchCopy(picture, Rect{0, 0, picture.width(), picture.height()}, preview,
                    Rect{0, 0, kPreviewFrameSize, kPreviewFrameSize});
        // The frame's inner corner: the last frame pixel met coming up column 180 from the bottom,
        // and coming left along row 180 from the right.
        int cornerY = 0, cornerX = 0;
        for (int y = kPreviewSize - 1; y >= 0; --y)
            if (!isLightPixel(preview, kPreviewProbe, y)) {
                cornerY = y;
                break;
            }
        for (int x = kPreviewSize - 1; x >= 0; --x)
            if (!isLightPixel(preview, x, kPreviewProbe)) {
                cornerX = x;
                break;
            }
        if (coloured) {
            for (int y = 0; y < kPreviewSize; ++y) {
                std::uint8_t* p = preview.row(y);
                for (int x = 0; x < kPreviewSize; ++x, p += 3) {
                    p[2] = std::uint8_t(clampByte(p[2] + settings.tintRed));
                    p[1] = std::uint8_t(clampByte(p[1] + settings.tintGreen));
                    p[0] = std::uint8_t(clampByte(p[0] + settings.tintBlue));
                }
            }
        }
        fillRect(preview, cornerX, cornerY, kPreviewSize, kPreviewSize, settings.FillColour);
        preview.draw(source, cornerX + half, cornerY + half);
    } else {
        preview.fill(Colour{128, 128, 128});
        fillRect(preview, 2, 2, kPreviewSize, half + 2, settings.FillColour);
        fillRect(preview, 2, 2, half + 2, kPreviewSize, settings.FillColour);
        preview.draw(source, half, half);
        if (settings.style == kFrameLined) {
            Pen pen(preview, settings.LineColour);
            pen.MoveTo(half - 2, half - 2);
            pen.LineTo(kPreviewSize, half - 2);
            pen.MoveTo(half - 2, half - 2);
            pen.LineTo(half - 2, kPreviewSize);
        }
    }
    drawPreviewOutlines(preview);
}

bool IsNumber(std::string_view text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace gt
