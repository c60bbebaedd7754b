// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture the full-screen view shows (kept apart from the window: the pixel routines' rectangle
// is not the layout's).

#include <QImage>

#include "imaging/bitmap.h"

namespace gt {

// Resampled from the whole picture to width x height (work for the screen's pixels, not the photo's),
// then sharpened once.
QImage fullScreenPicture(const Bitmap& picture, int width, int height);

}  // namespace gt
