#pragma once
// The pieces behind picture_io.h that its functions share.

#include <cstddef>
#include <functional>
#include <string>

#include "imaging/bitmap.h"
#include "imaging/io/picture_io.h"

namespace gt {

// Writers stream their output in pieces, so a large picture is not held twice in memory.
using ByteSink = std::function<void(const unsigned char* data, std::size_t size)>;

// Throws when the picture cannot be a BMP file (empty, or 4 GB and more).
void checkBmpWritable(const Bitmap& bitmap);
void writeBmp(const Bitmap& bitmap, const ByteSink& sink);

// Every format QImage knows (BMP, PNG, GIF, PPM ...), found from the content.
Bitmap decodeWithQt(const unsigned char* data, std::size_t size, const std::string& name, const PictureLimits& limits);

// For BMP and PNG: throws when the size in the header is beyond the limits, or a BMP file is
// shorter than its header says.
void checkHeader(const unsigned char* data, std::size_t size, const std::string& name, const PictureLimits& limits);

std::string firstBytesText(const unsigned char* data, std::size_t size);

}  // namespace gt
