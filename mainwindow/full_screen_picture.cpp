// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/full_screen_picture.h"

#include "imaging/filters.h"
#include "ui/qt_bitmap.h"

namespace gt {

QImage fullScreenPicture(const Bitmap& picture, int width, int height) {
    Bitmap shown(width, height);
    ResizeBilinear(picture, shown);
    Sharpen(shown);
    return toQImage(shown);
}

}  // namespace gt
