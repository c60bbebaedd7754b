// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The nine styles side by side: the preview of the current crop in every style, each with the
// sliders that style has in the parameter window, made by the preview routine itself, on worker
// threads.

#include <array>
#include <atomic>
#include <functional>

#include "imaging/bitmap.h"
#include "imaging/resources.h"
#include "pipeline/parameter_window_logic.h"
#include "pipeline/parameters.h"

namespace gt {

using StyleControls = std::array<DrawingControls, kStyleCount>;

// The controls the preview reads once style s is chosen in a window in state w: the style change
// (with its own rules for painting 3 and 4) and the preview step's loading of the style's row.
DrawingControls controlsForStyle(const ParameterWindowLogic& w, int style);
StyleControls controlsForEveryStyle(const ParameterWindowLogic& w);

// renderPreview of these settings on the 200 x 200 crop already taken (copyPreviewCrop), from a
// photo of the given size (which sizes the paint dabs): the very picture the window's preview
// shows for them. What the preset strip makes on its worker.
Bitmap renderPreviewOfCrop(const Bitmap& crop, int photoWidth, int photoHeight, const DrawingParameters& p,
                           const Resources& resources);

// renderPreview for every style on the crop at (left, top), several at a time. `ready` is called as
// each picture is done, from the thread that made it. A set cancel flag stops handing out styles;
// the pictures not made stay empty. Each picture is exactly the single preview's.
std::array<Bitmap, kStyleCount> renderStylePreviews(const Bitmap& source, int left, int top, const StyleControls& controls,
                                                    const Resources& resources,
                                                    const std::function<void(int style, const Bitmap&)>& ready = {},
                                                    const std::atomic<bool>* cancel = nullptr);
// The same from the 200 x 200 crop already taken (copyPreviewCrop) and the photo's size, which sizes
// the paint dabs: what a window hands its worker, so that nothing the size of the photo is copied.
std::array<Bitmap, kStyleCount> renderStylePreviewsOfCrop(const Bitmap& crop, int photoWidth, int photoHeight,
                                                          const StyleControls& controls, const Resources& resources,
                                                          const std::function<void(int style, const Bitmap&)>& ready = {},
                                                          const std::atomic<bool>* cancel = nullptr);

}  // namespace gt
