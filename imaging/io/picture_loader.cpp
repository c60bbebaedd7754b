// SPDX-License-Identifier: GPL-3.0-or-later
// The one loader: the content says what the file is, the header's size is checked before any pixel
// is decoded (turned as the picture will stand), then the pixels are made sRGB and upright.

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "imaging/error.h"
#include "imaging/io/codecs.h"
#include "imaging/io/picture_io.h"

namespace gt {

namespace fs = std::filesystem;

void stopIfCancelled(const std::atomic<bool>* cancel, const std::string& name) {
    if (cancel && cancel->load(std::memory_order_relaxed)) throw Error(name + ": reading cancelled", ErrorKind::Cancelled);
}

Bitmap bitmapForBgra(int width, int height) {
    Bitmap picture;
    // 4 x height bytes a column, in rows of 3 bytes a pixel.
    picture.setSizeForOverwrite(width, static_cast<int>((4LL * height + 2) / 3));
    return picture;
}

void layBgraOnWhite(Bitmap& picture, int width, int height) {
    unsigned char* bytes = picture.bytes().data();
    const std::size_t pixels = std::size_t(width) * std::size_t(height);
    // Pixel i moves from 4i to 3i: it only ever overwrites itself and pixels already moved, and its
    // four bytes are read before any is written.
    for (std::size_t i = 0; i < pixels; ++i) {
        const unsigned char* in = bytes + 4 * i;
        const int b = in[0], g = in[1], r = in[2], a = in[3], white = 255 * (255 - a);
        unsigned char* o = bytes + 3 * i;
        o[0] = static_cast<unsigned char>((b * a + white + 127) / 255);
        o[1] = static_cast<unsigned char>((g * a + white + 127) / 255);
        o[2] = static_cast<unsigned char>((r * a + white + 127) / 255);
    }
    picture.keepTopRows(height);
}

std::size_t maxPictureFileBytes(const PictureLimits& limits) {
    // No picture within the limits needs more than 8 bytes a pixel (16-bit RGBA, uncompressed).
    return static_cast<std::size_t>(limits.maxPixels) * 8 + 1024 * 1024;
}

LoadedPicture loadPicture(const unsigned char* data, std::size_t size, const std::string& name, const ReadOptions& options) {
    if (size == 0) throw Error(name + ": empty file", ErrorKind::NotAPicture);
    if (size > maxPictureFileBytes(options.limits))
        throw Error(name + ": the file is too large to be a picture within the limits", ErrorKind::TooLarge);

    const PictureKind kind = sniffKind(data, size);
    std::string why;
    if (!kindReadable(kind, why))
        throw Error(name + ": " + why,
                    kind == PictureKind::Pdf || kind == PictureKind::Svg ? ErrorKind::NotAPicture : ErrorKind::UnsupportedKind);

    LoadedPicture result;
    PictureMetadata& meta = result.metadata;
    const bool heif = kind == PictureKind::Heic || kind == PictureKind::Avif;
    // The camera data first: its orientation decides how the picture will stand, and so which of its
    // sides is the width the limits speak of.
    // PNG's camera data comes from libpng, whose chunk limit holds; exiv2 would also inflate every
    // compressed text chunk of the file, whatever its size. The other kinds carry none.
    if (kind == PictureKind::Jpeg || kind == PictureKind::Tiff || kind == PictureKind::Webp)
        meta.exif = readExifBlock(data, size);
    const ExifFacts facts = exifFacts(meta.exif);
    int turn = options.autoOrient && !heif ? facts.orientation : 1;
    const SizeCheck check = [&](long long width, long long height) {
        if (orientationSwapsSides(turn))
            checkPictureSize(height, width, options.limits, name);
        else
            checkPictureSize(width, height, options.limits, name);
    };

    DecodedPicture decoded;
    try {
        if (kind == PictureKind::Jpeg)
            decoded = decodeJpegPicture(data, size, name, check, options.cancel);
        else if (kind == PictureKind::Png)
            decoded = decodePng(data, size, name, check, options.cancel);
        else if (kind == PictureKind::Tiff)
            decoded = decodeTiff(data, size, name, check, options.cancel);
        else if (kind == PictureKind::Webp)
            decoded = decodeWebp(data, size, name, check, options.cancel);
        else if (kind == PictureKind::Tga)
            decoded = decodeTga(data, size, name, check);
        else if (kind == PictureKind::Gif)
            decoded = decodeGif(data, size, name, check);
        else if (kind == PictureKind::Pnm)
            decoded = decodePnm(data, size, name, check);
        else if (heif)
            decoded = decodeHeif(data, size, name, kind, check, options.cancel);
        else if (kind != PictureKind::Bmp || !decodeBmp(data, size, name, check, decoded))
            decoded = decodeWithQt(data, size, name, check);
    } catch (const Error& e) {
        // A decoder that stops without saying why met data it could not follow: a damaged file.
        if (e.kind() != ErrorKind::Other) throw;
        throw Error(e.what(), ErrorKind::Damaged);
    }

    // The whole-picture steps below (colours, turning) are not begun after a cancel.
    stopIfCancelled(options.cancel, name);
    meta.format = kind == PictureKind::Unknown ? "picture" : kindName(kind);
    // Camera data the decoder found itself (HEIF's, a PNG's eXIf chunk that exiv2 passed over).
    const bool lateExif = meta.exif.empty() && !decoded.exif.empty();
    if (lateExif) meta.exif = std::move(decoded.exif);
    const ExifFacts found = lateExif ? exifFacts(meta.exif) : facts;
    meta.orientation = found.orientation;
    meta.turned = options.autoOrient || heif;  // libheif always turns
    if (lateExif && !heif && options.autoOrient) turn = found.orientation;
    meta.dotsPerInchX = decoded.dotsPerInchX > 0 ? decoded.dotsPerInchX : found.dotsPerInchX;
    meta.dotsPerInchY = decoded.dotsPerInchY > 0 ? decoded.dotsPerInchY : found.dotsPerInchY;
    if (orientationSwapsSides(turn)) std::swap(meta.dotsPerInchX, meta.dotsPerInchY);

    meta.colourProfile = decoded.appliedProfile;
    if (!decoded.iccProfile.empty()) meta.colourProfile = convertToSrgb(decoded.bitmap, decoded.iccProfile);
    result.bitmap = orientPicture(std::move(decoded.bitmap), turn);
    checkPictureSize(result.bitmap.width(), result.bitmap.height(), options.limits, name);
    return result;
}

LoadedPicture loadPictureFile(const std::string& path, const ReadOptions& options) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) throw Error(path + ": no such file");
    if (status.type() == fs::file_type::directory) throw Error(path + ": is a folder, not a picture");

    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw Error(path + ": cannot open (" + std::strerror(errno) + ")");
    const std::streamoff length = in.tellg();
    if (length < 0) throw Error(path + ": cannot read (" + std::strerror(errno) + ")");
    if (length == 0) throw Error(path + ": empty file", ErrorKind::NotAPicture);
    if (static_cast<unsigned long long>(length) > maxPictureFileBytes(options.limits))
        throw Error(path + ": the file is too large to be a picture within the limits", ErrorKind::TooLarge);

    std::vector<unsigned char> bytes(static_cast<std::size_t>(length));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), length)) throw Error(path + ": cannot read the whole file");
    return loadPicture(bytes.data(), bytes.size(), path, options);
}

Bitmap readPicture(const std::string& path, const PictureLimits& limits) {
    ReadOptions options;
    options.limits = limits;
    return loadPictureFile(path, options).bitmap;
}

Bitmap decodePicture(const unsigned char* data, std::size_t size, const std::string& name, const PictureLimits& limits) {
    ReadOptions options;
    options.limits = limits;
    return loadPicture(data, size, name, options).bitmap;
}

}  // namespace gt
