// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/zoom.h"

#include "mainwindow/layout.h"

namespace gt {

int wheelZoom(int zoom, int delta) {
    if (delta > 0) return zoom - 5;
    if (delta < 0) return zoom + 5;
    return zoom;
}

int heldZoom(int zoom, int direction, int zoomTicks) {
    if (direction == kZoomOut) return zoom - zoomTicks / 5 - zoom / 35;
    if (direction == kZoomIn) return zoom + zoomTicks / 4 + zoom / 30;
    return zoom;
}

int rightClickZoom(int zoom, int direction) {
    if (direction == kZoomOut) {
        // Steps of 100 down to 100 %, never past it: 105 % gives 95 %, not 5 %.
        if (zoom >= 200) return zoom - 100;
        if (zoom >= 15) return zoom - 10;
        return zoom;
    }
    if (direction == kZoomIn && zoom <= 900) return zoom + 100;
    return zoom;
}

int fitZoom(int W, int H, int w, int h) {
    if (w <= 0 || h <= 0) return 100;
    const long long across = 100LL * W / w, down = 100LL * H / h;
    return int(across < down ? across : down);
}

std::optional<int> typedZoom(const QString& text) {
    if (text.isEmpty() || text.size() > 4) return std::nullopt;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    const int zoom = text.toInt();
    if (zoom < kMinimumZoom || zoom > kMaximumZoom) return std::nullopt;
    return zoom;
}

}  // namespace gt
