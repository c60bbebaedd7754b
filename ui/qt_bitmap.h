// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures between the pixel model and Qt's images, for showing them and for the clipboard.

#include <QImage>

#include "imaging/bitmap.h"

namespace gt {

// A QImage that shares nothing with the bitmap.
QImage toQImage(const Bitmap& bitmap);
// Any QImage as a 24-bit bitmap; transparent pixels are laid on white, as a new bitmap reads.
Bitmap fromQImage(const QImage& image);

}  // namespace gt
