#pragma once
// Pictures in and out of files and memory. JPEG goes through libjpeg-turbo, BMP is written by our
// own code, everything else goes through QImage. Every failure is a gt::Error whose message starts
// with the file's name and says what is wrong: "photo.jpg: not a JPEG file (starts with 0x89 0x50)".
//
// Pictures that come in are 24-bit bitmaps; transparent pixels are laid on white, the colour of a
// fresh bitmap. Sizes are checked from the file's header, before any pixel memory is taken.

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "imaging/bitmap.h"

namespace gt {

// The largest picture accepted anywhere a picture enters the program (file, clipboard, resize).
struct PictureLimits {
    int maxWidth = kMaxWidth;            // the widest rows the routines accept
    long long maxPixels = 400'000'000;   // protects memory: 400 megapixels take 1.2 GB as a bitmap
};

// Throws when width x height is beyond the limits; `name` starts the message.
void checkPictureSize(long long width, long long height, const PictureLimits& limits, const std::string& name);

// Reads a picture file; the content decides the format, not the extension.
Bitmap readPicture(const std::string& path, const PictureLimits& limits = {});
// The same from bytes in memory; `name` only serves the error messages.
Bitmap decodePicture(const unsigned char* data, std::size_t size, const std::string& name,
                     const PictureLimits& limits = {});

Bitmap decodeJpeg(const unsigned char* data, std::size_t size, const std::string& name,
                  const PictureLimits& limits = {});
Bitmap decodeJpeg(const std::vector<unsigned char>& bytes, const std::string& name,
                  const PictureLimits& limits = {});
// Baseline JPEG with libjpeg's defaults (4:2:0 chroma) at the given quality, 1..100.
std::vector<unsigned char> encodeJpeg(const Bitmap& bitmap, int quality = 90);
// Uncompressed 24-bit BMP, rows bottom to top, each padded to a multiple of 4 bytes.
std::vector<unsigned char> encodeBmp(const Bitmap& bitmap);
std::vector<unsigned char> encodePng(const Bitmap& bitmap);

enum class PictureFormat { Jpeg, Bmp, Png };
// The format a file name asks for: .jpg and .jpeg, .bmp, .png, in any case; nothing otherwise.
std::optional<PictureFormat> formatForPath(const std::string& path);

// Writes the picture in the format its extension asks for (JPEG at quality 90). The file is written
// under a temporary name in the same folder and renamed over the target at the end, so a failed or
// cancelled write leaves an existing file as it was and no temporary file behind. When `cancel` is
// set by the time the data is written, nothing replaces the target and the result is false.
bool writePicture(const Bitmap& bitmap, const std::string& path, const std::atomic<bool>* cancel = nullptr);

}  // namespace gt
