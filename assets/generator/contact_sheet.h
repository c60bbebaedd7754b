// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A look at the generated pictures: all of them laid out, scaled down where large, on one sheet.

#include <string>

namespace gt::assets {

// Lays out the pictures found in `folder` and writes the sheet as PNG to `sheetPath`.
void writeContactSheet(const std::string& folder, const std::string& sheetPath);
// Converts the sample photograph (a PNG) to sample_photo.jpg, and sample_drawing.jpg until the
// pencil style draws the sample drawing, both quality 92.
void writeSamplePhoto(const std::string& pngPath, const std::string& folder);

}  // namespace gt::assets
