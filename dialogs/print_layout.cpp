// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/print_layout.h"

#include <algorithm>

namespace gt {

namespace {
int narrow(std::int64_t v) {
    if (v > 1'000'000'000) return 1'000'000'000;
    if (v < -1'000'000'000) return -1'000'000'000;
    return static_cast<int>(v);
}
}  // namespace

PagePicture pagePicture(const PageDevice& page, bool landscape) {
    if (page.PW <= 0 || page.PH <= 0) return {};
    const std::int64_t R = std::int64_t(page.PH) * 100 / page.PW;
    if (!landscape) return {130, narrow(R * 130 / 100)};
    if (R == 0) return {};
    return {narrow(130 * 100 / R), 130};
}

PrintRect pagePicturePlace(const PagePicture& picture, int clientWidth, int clientHeight) {
    return {(clientWidth - picture.IW - 180) / 2 + 180, (clientHeight - picture.IH) / 2, picture.IW, picture.IH};
}

int fullPageScale(const PageDevice& page, int DW, int DH) {
    // The drawing's height against the page's for a portrait drawing, its width otherwise; and the
    // other side too, so that "full page" never runs off the paper (a landscape drawing less wide
    // than the page's shape would).
    const std::int64_t high = page.DY.times(DH), wide = page.DX.times(DW);
    if (high <= 0 || wide <= 0) return 100;
    const std::int64_t byHeight = std::int64_t(page.PH) * 100 / high, byWidth = std::int64_t(page.PW) * 100 / wide;
    const std::int64_t chosen = DW < DH ? byHeight : byWidth, other = DW < DH ? byWidth : byHeight;
    return narrow(std::min(chosen, other) - 5);
}

PrintRect previewRect(const PageDevice& page, const PagePicture& picture, int DW, int DH, int S, int X0, int Y0) {
    if (DW <= 0 || DH <= 0 || page.PW <= 0 || page.PH <= 0) return {};
    const std::int64_t SX = std::int64_t(page.PW) * 100 / DW;
    const std::int64_t SY = std::int64_t(page.PH) * 100 / DH;
    if (SX == 0 || SY == 0) return {};
    const std::int64_t w = S * page.DX.times(std::int64_t(picture.IW) * 100 / SX) / 100;
    const std::int64_t h = S * page.DY.times(std::int64_t(picture.IH) * 100 / SY) / 100;
    return {narrow((picture.IW - w) / 2 + X0), narrow((picture.IH - h) / 2 + Y0), narrow(w), narrow(h)};
}

PrintRect printRect(const PageDevice& page, const PagePicture& picture, int BW, int BH, int S, int X0, int Y0) {
    if (picture.IW <= 0 || picture.IH <= 0) return {};
    const std::int64_t OX = std::int64_t(page.PW) * 100 * X0 / picture.IW;
    const std::int64_t OY = std::int64_t(page.PH) * 100 * Y0 / picture.IH;
    const std::int64_t w = page.DX.times(BW) * S / 100 * 94 / 100;
    const std::int64_t h = page.DY.times(BH) * S / 100 * 94 / 100;
    return {narrow((page.PW - w) / 2 + OX / 100), narrow((page.PH - h) / 2 + OY / 100), narrow(w), narrow(h)};
}

}  // namespace gt
