// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures to and from the system clipboard, and text to it.

#include <QString>
#include <optional>

#include "imaging/bitmap.h"

namespace gt {

void copyPictureToClipboard(const Bitmap& picture);
void copyTextToClipboard(const QString& text);
// The clipboard's picture, if it holds one; its size is checked as for a file.
std::optional<Bitmap> pictureFromClipboard();

}  // namespace gt
