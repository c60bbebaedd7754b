// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/preview.h"

#include <algorithm>
#include <cstring>

namespace gt {

PreviewCrop initialPreviewCrop(int sourceWidth) {
    PreviewCrop crop;
    crop.PreviewLeft = sourceWidth <= kPreviewSize ? 0 : sourceWidth / 2 - kPreviewSize / 2;
    return crop;
}

void startPreviewDrag(PreviewCrop& crop, int x, int y) {
    crop.PreviewDragging = true;
    crop.DragX = x;
    crop.DragY = y;
}

void dragPreviewCrop(PreviewCrop& crop, int x, int y, int sourceWidth, int sourceHeight) {
    dragCrop(crop, x, y, sourceWidth, sourceHeight, kPreviewSize);
}

void dragCrop(PreviewCrop& crop, int x, int y, int sourceWidth, int sourceHeight, int size) {
    if (!crop.PreviewDragging) return;
    crop.PreviewLeft -= x - crop.DragX;
    crop.PreviewTop -= y - crop.DragY;
    if (crop.PreviewLeft < 0) crop.PreviewLeft = 0;
    if (crop.PreviewTop < 0) crop.PreviewTop = 0;
    if (crop.PreviewLeft > sourceWidth - size) crop.PreviewLeft = sourceWidth - size;
    if (crop.PreviewTop > sourceHeight - size) crop.PreviewTop = sourceHeight - size;
    if (sourceWidth < size) crop.PreviewLeft = 0;
    if (sourceHeight < size) crop.PreviewTop = 0;
    crop.DragX = x;
    crop.DragY = y;
}

Bitmap copyPreviewCrop(const Bitmap& source, int left, int top) {
    Bitmap crop(kPreviewSize, kPreviewSize);
    // Wide integers: the crop may be asked for anywhere, the photo's edges are where it is clipped.
    const long long x0 = std::max<long long>(left, 0), x1 = std::min<long long>(left + 0LL + kPreviewSize, source.width());
    const long long y0 = std::max<long long>(top, 0), y1 = std::min<long long>(top + 0LL + kPreviewSize, source.height());
    if (x0 >= x1 || y0 >= y1) return crop;
    for (long long y = y0; y < y1; ++y)
        std::memcpy(crop.pixel(int(x0 - left), int(y - top)), source.pixel(int(x0), int(y)), std::size_t(x1 - x0) * 3);
    return crop;
}

void drawPreviewBorder(Bitmap& preview) {
    const auto square = [&](int x0, int y0, int x1, int y1) {
        for (int y = std::max(y0, 0); y <= std::min(y1, preview.height() - 1); ++y)
            for (int x = std::max(x0, 0); x <= std::min(x1, preview.width() - 1); ++x) preview.setColour(x, y, kBlack);
    };
    // Each side sweeps the pen's square from one corner of the path to the next.
    const int points[5][2] = {{1, 1}, {199, 1}, {199, 199}, {1, 199}, {1, 1}};
    for (int i = 0; i < 4; ++i) {
        const int ax = points[i][0], ay = points[i][1], bx = points[i + 1][0], by = points[i + 1][1];
        square(std::min(ax, bx) - 2, std::min(ay, by) - 2, std::max(ax, bx) + 1, std::max(ay, by) + 1);
    }
}

Bitmap rawPreview(const Bitmap& source, int left, int top) {
    Bitmap preview = copyPreviewCrop(source, left, top);
    drawPreviewBorder(preview);
    return preview;
}

}  // namespace gt
