// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures in and out of files and memory. JPEG is read through libjpeg-turbo, PNG through libpng,
// TIFF through libtiff, WebP through libwebp, HEIC and AVIF through libheif; GIF, TGA, PNM and the
// common BMP kinds by our own code; what remains (icons, rarer BMP kinds) through QImage. PNG, TIFF
// and WebP are written through QImage's plugins, BMP by our own code. The camera data (EXIF) is read
// and written with exiv2, colour profiles are applied with lcms2.
//
// Reading a picture of N pixels takes at most about 4 bytes a pixel (the 3 of the bitmap and a few
// rows) plus a small constant, whatever its depth: every reader writes straight into the bitmap, a
// band at a time, or (transparent WebP, interlaced transparent PNG) with the alpha into the bitmap's
// own memory, laid on white in place. The exceptions are the decoders that keep a whole picture of
// their own: progressive JPEG (the coefficients), lossless WebP, and HEIC and AVIF, about 8 bytes a
// pixel; a lossy WebP's alpha adds 1, or 5 when libwebp decodes it in 32-bit pixels.
//
// Every failure is a gt::Error with one line that starts with the file's name and says in words what
// is wrong: "photo.jpg: broken JPEG data (the file is cut short)", "a.tif: a TIFF picture, but the
// TIFF reader is not installed". No reader prints anything of its own while it decodes, but dav1d,
// libheif's decoder of AVIF, says what it finds wrong on standard error (the command line holds it back).
//
// Pictures that come in are 24-bit sRGB bitmaps, turned upright as their EXIF orientation asks;
// transparent pixels are laid on white, the colour of a fresh bitmap. Sizes are checked from the
// file's header, before any pixel memory is taken.

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
    long long maxPixels = kMaxPixels;    // protects memory
};

// Throws when width x height is beyond the limits; `name` starts the message.
void checkPictureSize(long long width, long long height, const PictureLimits& limits, const std::string& name);

// What a picture file says about itself beyond its pixels, kept so that a drawing made from it can
// carry it on.
struct PictureMetadata {
    std::string format;                 // what was read: "JPEG", "PNG", "TIFF", "WebP", "HEIC" ...
    std::vector<unsigned char> exif;    // the EXIF block as stored (TIFF structure, "II*" or "MM"); empty if none
    int orientation = 1;                // the EXIF orientation found, 1..8 (1 when none)
    bool turned = true;                 // the pixels were turned by it; otherwise outputs keep the tag
    double dotsPerInchX = 0, dotsPerInchY = 0;  // 0 when the file says nothing
    std::string colourProfile;          // the description of the profile converted from; empty for sRGB or none

    bool empty() const { return exif.empty() && dotsPerInchX <= 0 && dotsPerInchY <= 0; }
};

struct LoadedPicture {
    Bitmap bitmap;
    PictureMetadata metadata;
};

struct ReadOptions {
    PictureLimits limits;
    bool autoOrient = true;  // turn the picture as its EXIF orientation asks
    // When set (by a Cancel or a signal), a long decoding stops at its next check and the load
    // fails with "<name>: reading cancelled" (ErrorKind::Cancelled). Null: it runs to the end.
    const std::atomic<bool>* cancel = nullptr;
};

// The one loader of the program: the window's open, drop, command-line argument and revert, the
// batch run and the command line all come here. The content decides the format, not the name;
// `name` only starts the error messages.
LoadedPicture loadPicture(const unsigned char* data, std::size_t size, const std::string& name,
                          const ReadOptions& options = {});
// The same from a file.
LoadedPicture loadPictureFile(const std::string& path, const ReadOptions& options = {});

// The pixels alone, for callers that need no metadata.
Bitmap readPicture(const std::string& path, const PictureLimits& limits = {});
Bitmap decodePicture(const unsigned char* data, std::size_t size, const std::string& name,
                     const PictureLimits& limits = {});

// The longest file a picture within the limits can come from; longer ones are refused unread.
std::size_t maxPictureFileBytes(const PictureLimits& limits);

Bitmap decodeJpeg(const unsigned char* data, std::size_t size, const std::string& name,
                  const PictureLimits& limits = {});
Bitmap decodeJpeg(const std::vector<unsigned char>& bytes, const std::string& name,
                  const PictureLimits& limits = {});

enum class PictureFormat { Jpeg, Bmp, Png, Tiff, Webp };

// The names of the files each format is written to, lower case without the dot, in the order the
// messages list them. The clean-up of leftover temporaries knows our files by them.
struct PictureExtension {
    const char* name;
    PictureFormat format;
};
inline constexpr PictureExtension kPictureExtensions[] = {
    {"jpg", PictureFormat::Jpeg}, {"jpeg", PictureFormat::Jpeg}, {"png", PictureFormat::Png}, {"bmp", PictureFormat::Bmp},
    {"tif", PictureFormat::Tiff}, {"tiff", PictureFormat::Tiff}, {"webp", PictureFormat::Webp}};

struct WriteOptions {
    int quality = 90;                          // JPEG and WebP, 1..100
    const PictureMetadata* metadata = nullptr;  // camera data and resolution to keep; none when null
};

// Baseline JPEG with libjpeg's defaults (4:2:0 chroma) at the given quality, 1..100. With options, it
// also carries the EXIF block (orientation 1, no thumbnail, the picture's size), the resolution and
// an sRGB profile.
std::vector<unsigned char> encodeJpeg(const Bitmap& bitmap, int quality = 90);
std::vector<unsigned char> encodeJpeg(const Bitmap& bitmap, const WriteOptions& options);
// Uncompressed 24-bit BMP, rows bottom to top, each padded to a multiple of 4 bytes.
std::vector<unsigned char> encodeBmp(const Bitmap& bitmap);
std::vector<unsigned char> encodePng(const Bitmap& bitmap);
// Any format; BMP and PNG carry the resolution, the others the metadata as encodeJpeg does.
std::vector<unsigned char> encodePicture(const Bitmap& bitmap, PictureFormat format, const WriteOptions& options = {});

// The format a file name asks for: .jpg and .jpeg, .bmp, .png, .tif and .tiff, .webp, in any case;
// nothing otherwise.
std::optional<PictureFormat> formatForPath(const std::string& path);
// The format a name given by the user asks for: "jpeg", "jpg", "png", "bmp", "tiff", "tif", "webp".
std::optional<PictureFormat> formatForName(const std::string& name);
// Whether this build can write the format (TIFF and WebP need Qt's image plugins).
bool canWrite(PictureFormat format);

// Writes the picture in the format its extension asks for (or `format` when given). The file is
// written under a temporary name in the same folder and renamed over the target at the end, so a
// failed or cancelled write leaves an existing file as it was and no temporary file behind. A
// symbolic link is followed and the file it leads to replaced; a pipe or device is written straight
// through (see temporary_file.h). When `cancel` is set by the time the data is written, nothing
// replaces the target and the result is false.
bool writePicture(const Bitmap& bitmap, const std::string& path, const std::atomic<bool>* cancel = nullptr,
                  const WriteOptions& options = {}, std::optional<PictureFormat> format = std::nullopt);

// The kinds of picture the loader reads in this build, for the file dialogs and the desktop entry.
struct ReadableKind {
    std::string name;                     // "TIFF"
    std::vector<std::string> extensions;  // without the dot: "tif", "tiff"
};
std::vector<ReadableKind> readableKinds();

}  // namespace gt
