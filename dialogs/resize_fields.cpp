// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/resize_fields.h"

#include <algorithm>
#include <cmath>

#include "pipeline/frames.h"

namespace gt {

namespace {

// The value of valid text; long runs of digits stop at a billion, far beyond any range here.
long long valueOf(const std::string& text) {
    long long v = 0;
    for (char c : text) {
        v = v * 10 + (c - '0');
        if (v > 1'000'000'000) return 1'000'000'000;
    }
    return v;
}

std::string str(long long v) { return std::to_string(v); }

// Setting a scroll bar keeps its position within 1 .. its maximum.
int scrollPosition(long long v, int maximum) { return int(std::clamp<long long>(v, 1, std::max(1, maximum))); }

int size(const ResizeFields& f, int side) { return side == 1 ? f.SW : f.SH; }

}  // namespace

void resizeRanges(ResizeFields& f, const ResizeLimits& limits) {
    double k = 3.0;
    k = std::min(k, double(limits.maxWidth) / f.SW);
    k = std::min(k, std::sqrt(double(limits.maxPixels) / (double(f.SW) * f.SH)));
    f.cut = k < 3.0;
    if (!f.cut) {
        f.maxWidth = 3 * f.SW;
        f.maxHeight = 3 * f.SH;
        f.maxPercent = 300;
        return;
    }
    // A hair above k, so a factor that is an exact quotient does not lose a pixel to rounding; the
    // integer checks then keep the result within the limits.
    const double kk = k * (1 + 1e-12);
    f.maxWidth = std::clamp(int(std::floor(kk * f.SW)), 1, limits.maxWidth);
    f.maxHeight = std::max(1, int(std::floor(kk * f.SH)));
    while (f.maxWidth > 1 && f.maxHeight > 1 && 1LL * f.maxWidth * f.maxHeight > limits.maxPixels) {
        --f.maxWidth;
        --f.maxHeight;
    }
    // The percent that still fits both sides.
    f.maxPercent = std::max(1, int(std::min(100LL * f.maxWidth / f.SW, 100LL * f.maxHeight / f.SH)));
}

void activateResize(ResizeFields& f, int sw, int sh, const ResizeLimits& limits) {
    f.SW = std::max(1, sw);
    f.SH = std::max(1, sh);
    resizeRanges(f, limits);
    f.Edit1 = str(f.SW);
    f.Edit2 = str(f.SH);
    f.Edit3 = "100";
    f.Edit4 = "100";
    f.ScrollBar1 = scrollPosition(f.SW, f.maxWidth);
    f.ScrollBar2 = scrollPosition(f.SH, f.maxHeight);
    f.CheckBox2 = false;
    f.CheckBox1 = true;
}

void pixelsTyped(ResizeFields& f, int side) {
    std::string& pixels = side == 1 ? f.Edit1 : f.Edit2;
    std::string& percent = side == 1 ? f.Edit3 : f.Edit4;
    int& bar = side == 1 ? f.ScrollBar1 : f.ScrollBar2;
    const int maximum = side == 1 ? f.maxWidth : f.maxHeight;
    const int whole = size(f, side);
    if (!IsNumber(pixels)) {
        pixels = str(whole);
        bar = scrollPosition(whole, maximum);
        percent = "100";
    }
    if (pixels.empty()) pixels.push_back('0');
    if (valueOf(pixels) > maximum) pixels = str(maximum);
    const long long value = valueOf(pixels);
    bar = scrollPosition(value, maximum);
    percent = str(value * 100 / whole);
    Synchronize(f, side == 1 ? 2 : 1);
    f.CheckBox2 = false;
}

void percentTyped(ResizeFields& f, int side) {
    std::string& pixels = side == 1 ? f.Edit1 : f.Edit2;
    std::string& percent = side == 1 ? f.Edit3 : f.Edit4;
    int& bar = side == 1 ? f.ScrollBar1 : f.ScrollBar2;
    const int maximum = side == 1 ? f.maxWidth : f.maxHeight;
    const int whole = size(f, side);
    if (!IsNumber(percent)) {
        pixels = str(whole);
        bar = scrollPosition(whole, maximum);
        percent = "100";
    }
    if (percent.empty()) percent.push_back('0');
    if (valueOf(percent) > f.maxPercent) percent = str(f.maxPercent);
    bar = scrollPosition(valueOf(percent) * whole / 100, maximum);
    pixels = str(bar);
    Synchronize(f, side == 1 ? 2 : 1);
    f.CheckBox2 = false;
}

void scrollBarMoved(ResizeFields& f, int side, int position) {
    int& bar = side == 1 ? f.ScrollBar1 : f.ScrollBar2;
    bar = scrollPosition(position, side == 1 ? f.maxWidth : f.maxHeight);
    (side == 1 ? f.Edit1 : f.Edit2) = str(bar);
    (side == 1 ? f.Edit3 : f.Edit4) = str(bar * 100LL / size(f, side));
    Synchronize(f, side == 1 ? 2 : 1);
    f.CheckBox2 = false;
}

void keepProportionsChecked(ResizeFields& f) {
    f.CheckBox1 = true;
    Synchronize(f, 2);
    f.CheckBox2 = false;
}

void desktopSizeChecked(ResizeFields& f, int desktopWidth, int desktopHeight) {
    f.CheckBox2 = true;
    f.CheckBox1 = false;
    f.Edit1 = str(desktopWidth);
    f.Edit2 = str(desktopHeight);
    f.ScrollBar1 = scrollPosition(desktopWidth, f.maxWidth);
    f.ScrollBar2 = scrollPosition(desktopHeight, f.maxHeight);
    f.Edit3 = str(desktopWidth * 100LL / f.SW);
    f.Edit4 = str(desktopHeight * 100LL / f.SH);
}

void Synchronize(ResizeFields& f, int side) {
    if (!f.CheckBox1) return;
    if (side == 1) {
        f.Edit1 = str((valueOf(f.Edit2) * 1000 / f.SH) * f.SW / 1000);
        f.Edit3 = f.Edit4;
    } else {
        f.Edit2 = str((valueOf(f.Edit1) * 1000 / f.SW) * f.SH / 1000);
        f.Edit4 = f.Edit3;
    }
    f.ScrollBar1 = scrollPosition(valueOf(f.Edit1), f.maxWidth);
    f.ScrollBar2 = scrollPosition(valueOf(f.Edit2), f.maxHeight);
}

ResizeChoice confirmResize(ResizeFields& f) {
    if (!IsNumber(f.Edit1) || !IsNumber(f.Edit2) || f.Edit1.empty() || f.Edit2.empty()) {
        f.Edit1 = str(f.SW);
        f.Edit2 = str(f.SH);
    }
    return {int(valueOf(f.Edit1)), int(valueOf(f.Edit2))};
}

}  // namespace gt
