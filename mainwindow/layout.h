// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's geometry as plain arithmetic: where the layout pass puts the panes, the divider
// and the two panels for a client area, the window's restored size on a work area, and the centring
// and clamping of a picture in its pane. The window only applies the numbers.

namespace gt {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

inline constexpr int kToolbarHeight = 44;   // Panel1
inline constexpr int kStatusHeight = 20;    // Panel2
inline constexpr int kDividerWidth = 8;     // ResizeImage
inline constexpr int kMinimumClientWidth = 655;
inline constexpr int kMinimumClientHeight = 400;
// A double-click on the divider leaves this marker; the release that follows centres the divider.
inline constexpr int kSplitCentreMarker = 10000;

struct MainLayout {
    int SplitOffset = 0;  // after the clamp
    Rect divider;         // ResizeImage
    Rect toolbar;         // Panel1
    Rect status;          // Panel2
    Rect leftPane;        // ScrollBox1
    Rect rightPane;       // ScrollBox2
    int progressLabelLeft = 0;  // Label2, relative to Panel2
    // Toolbar items anchored to Panel1's right edge, relative to Panel1.
    int zoomOutLeft = 0, fitLeft = 0, zoomInLeft = 0, zoomLabelLeft = 0;
};

// SplitOffset kept within +-(W div 2 - 10): the narrower pane is then 2 pixels wide.
int clampSplitOffset(int splitOffset, int clientWidth);

// The layout pass for a client area of W x H.
MainLayout computeLayout(int clientWidth, int clientHeight, int splitOffset);

// The divider released at x (relative to the divider): the new SplitOffset, or the centre when the
// double-click marker is set.
int splitOffsetAfterDrag(int splitOffset, int clientWidth, int dividerLeft, int x);

// The window's size and place when it is not maximised: the work area less 80 x 60, centred.
Rect restoredGeometry(int workAreaWidth, int workAreaHeight);

// CenterImages for one picture: pane size div 2 - picture size div 2, each half rounded separately.
int centredPosition(int paneSize, int pictureSize);
// BoundImages along one axis: a smaller picture stays wholly inside, a larger one keeps the pane covered.
int boundedPosition(int position, int paneSize, int pictureSize);

// The displayed size of a natural size at a zoom percentage.
constexpr int zoomed(int size, int zoom) { return zoom * size / 100; }
// The zoom slider's range.
inline constexpr int kMinimumZoom = 5;
inline constexpr int kMaximumZoom = 1000;
constexpr int clampZoom(int zoom) { return zoom < kMinimumZoom ? kMinimumZoom : zoom > kMaximumZoom ? kMaximumZoom : zoom; }

}  // namespace gt
