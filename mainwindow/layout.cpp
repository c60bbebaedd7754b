// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/layout.h"

namespace gt {

int clampSplitOffset(int splitOffset, int clientWidth) {
    const int w2 = clientWidth / 2;
    if (splitOffset > w2 - 10) splitOffset = w2 - 10;
    if (splitOffset < 10 - w2) splitOffset = 10 - w2;
    return splitOffset;
}

MainLayout computeLayout(int W, int H, int splitOffset) {
    MainLayout l;
    const int W2 = W / 2;
    const int P1 = kToolbarHeight;
    const int P2 = kStatusHeight;
    l.SplitOffset = clampSplitOffset(splitOffset, W);
    const int s = l.SplitOffset;

    l.divider = {W2 - s - 4, P1, kDividerWidth, H - P1 - 10 - P2};
    l.toolbar = {5, 5, W - 10, P1};
    l.status = {5, H - P2 - 6, W - 10, P2};

    const int PW = l.toolbar.width;
    l.zoomOutLeft = PW - 120;
    l.fitLeft = PW - 80;
    l.zoomInLeft = PW - 40;
    l.zoomLabelLeft = PW - 170;

    l.rightPane = {W2 + 3 - s, P1 + 10, W2 - 8 + s, H - P1 - 22 - P2};
    l.leftPane = {5, P1 + 10, W2 - 8 - s, H - P1 - 22 - P2};
    l.progressLabelLeft = l.status.width - 33;
    return l;
}

int splitOffsetAfterDrag(int splitOffset, int clientWidth, int dividerLeft, int x) {
    if (splitOffset == kSplitCentreMarker) return 0;
    return clientWidth / 2 - dividerLeft - x;
}

Rect restoredGeometry(int workAreaWidth, int workAreaHeight) {
    Rect r;
    r.width = workAreaWidth - 80;
    r.height = workAreaHeight - 60;
    r.left = (workAreaWidth - r.width) / 2;
    r.top = (workAreaHeight - r.height) / 2;
    return r;
}

int centredPosition(int paneSize, int pictureSize) { return paneSize / 2 - pictureSize / 2; }

int boundedPosition(int p, int S, int s) {
    if (s < S) {
        if (p < 0) return 0;
        if (p > S - s) return S - s;
        return p;
    }
    if (p < S - s) return S - s;
    if (p > 0) return 0;
    return p;
}

}  // namespace gt
