// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The zoom arithmetic of every input, as plain functions: the wheel, the held zoom buttons, their
// right-button steps, the fit, and the typed value. Each returns the new zoom before the slider's
// clamp to 5..1000 (clampZoom in layout.h), as the slider would receive it.

#include <QString>
#include <optional>

namespace gt {

// ZoomDirection of the held zoom buttons.
inline constexpr int kZoomNone = -1;
inline constexpr int kZoomOut = 1;
inline constexpr int kZoomIn = 3;

// The wheel turned away from the user (a positive delta) lowers the zoom by 5, toward the user raises it.
int wheelZoom(int zoom, int delta);
// One heldZoomTimer tick of a held zoom button: the step grows with ZoomTicks and with the zoom itself.
int heldZoom(int zoom, int direction, int zoomTicks);
// The right button released on a zoom button: 100 at a time; zooming out, 10 at a time below 200 %
// and not below 5 %.
int rightClickZoom(int zoom, int direction);
// The fit: the zoom that shows the whole picture (natural w x h) in a paint surface of W x H.
int fitZoom(int surfaceWidth, int surfaceHeight, int pictureWidth, int pictureHeight);
// The zoom box's text: a whole number from 5 to 1000, or nothing.
std::optional<int> typedZoom(const QString& text);

}  // namespace gt
