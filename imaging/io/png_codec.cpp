// SPDX-License-Identifier: GPL-3.0-or-later
// PNG through libpng itself rather than Qt's reader: libpng's own error text says what is wrong in
// words (Qt's reader lets libpng print it on standard error), the memory a chunk may take is
// bounded, and the colour profile, the camera data and the resolution are all at hand. libpng
// reports errors by calling our handler, which longjmps back to the step that called libpng; every
// such step is a small function whose locals are trivial, as in the JPEG decoder.

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/error.h"
#include "imaging/io/codecs.h"

namespace gt {

namespace {

// No chunk of text, profile or camera data needs more; a larger one is refused, not allocated.
constexpr png_alloc_size_t kMaxChunkBytes = 16u << 20;

struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const unsigned char* data = nullptr;
    std::size_t size = 0, at = 0;
    char message[200] = {};

    PngReader() = default;
    ~PngReader() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;
};

[[noreturn]] void onError(png_structp png, png_const_charp message) {
    auto* r = static_cast<PngReader*>(png_get_error_ptr(png));
    std::snprintf(r->message, sizeof r->message, "%s", message ? message : "unreadable data");
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}  // damaged extras (a bad text chunk) are skipped

void readBytes(png_structp png, png_bytep out, png_size_t n) {
    auto* r = static_cast<PngReader*>(png_get_io_ptr(png));
    if (n > r->size - r->at) png_error(png, "the file is cut short");
    std::memcpy(out, r->data + r->at, n);
    r->at += n;
}

bool readInfo(PngReader* r) {
    if (setjmp(png_jmpbuf(r->png))) return false;
    png_set_read_fn(r->png, r, readBytes);
    // Text and suggested-palette chunks are never read: libpng passes them over unallocated, where
    // it would otherwise take and clear the whole length a chunk claims before finding the file short.
    static const png_byte unread[] = "tEXt\0zTXt\0iTXt\0sPLT";
    png_set_keep_unknown_chunks(r->png, PNG_HANDLE_CHUNK_NEVER, unread, 4);
    // No chunk can hold more than the file does, nor inflate to more than deflate's ratio allows.
    const png_alloc_size_t inflated = static_cast<png_alloc_size_t>(r->size) * 1032 + 4096;
    png_set_chunk_malloc_max(r->png, std::min(kMaxChunkBytes, inflated));
    png_set_chunk_cache_max(r->png, 1000);
    png_read_info(r->png, r->info);
    return true;
}

// Everything becomes 8-bit blue, green, red, with alpha when the file has any transparency.
bool setOutput(PngReader* r, bool* alpha, int* passes) {
    if (setjmp(png_jmpbuf(r->png))) return false;
    const png_byte type = png_get_color_type(r->png, r->info);
    const png_byte depth = png_get_bit_depth(r->png, r->info);
    if (depth == 16) png_set_scale_16(r->png);
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(r->png);
    if ((type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) && depth < 8) png_set_expand_gray_1_2_4_to_8(r->png);
    if (png_get_valid(r->png, r->info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(r->png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(r->png);
    png_set_bgr(r->png);
    *passes = png_set_interlace_handling(r->png);
    png_read_update_info(r->png, r->info);
    *alpha = (png_get_color_type(r->png, r->info) & PNG_COLOR_MASK_ALPHA) != 0;
    return true;
}

bool readRows(PngReader* r, png_bytepp rows, png_uint_32 count) {
    if (setjmp(png_jmpbuf(r->png))) return false;
    png_read_rows(r->png, rows, nullptr, count);
    return true;
}

// What comes after the pixels (camera data may); its damage costs nothing.
bool readEnd(PngReader* r) {
    if (setjmp(png_jmpbuf(r->png))) return false;
    png_read_end(r->png, r->info);
    return true;
}

// Transparent pixels are laid on white, as for every other format.
void compositeRowOnWhite(const unsigned char* in, unsigned char* o, png_uint_32 width) {
    for (png_uint_32 x = 0; x < width; ++x, in += 4, o += 3) {
        const int a = in[3];
        const int white = 255 * (255 - a);
        o[0] = static_cast<unsigned char>((in[0] * a + white + 127) / 255);
        o[1] = static_cast<unsigned char>((in[1] * a + white + 127) / 255);
        o[2] = static_cast<unsigned char>((in[2] * a + white + 127) / 255);
    }
}

// A profile from the file's primaries and gamma, when it gives them instead of a profile.
std::vector<unsigned char> profileFromChromaticities(PngReader* r);

}  // namespace

DecodedPicture decodePng(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check,
                         const std::atomic<bool>* cancel) {
    checkHeader(data, size, name, check);
    PngReader r;
    r.data = data;
    r.size = size;
    r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &r, onError, onWarning);
    if (!r.png) throw Error(name + ": not enough memory to read the PNG picture");
    r.info = png_create_info_struct(r.png);
    if (!r.info) throw Error(name + ": not enough memory to read the PNG picture");
    const auto fail = [&] { throw Error(name + ": broken PNG data (" + r.message + ")"); };

    if (!readInfo(&r)) fail();
    const png_uint_32 width = png_get_image_width(r.png, r.info);
    const png_uint_32 height = png_get_image_height(r.png, r.info);
    check(width, height);

    DecodedPicture out;
    png_charp profileName = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 profileLength = 0;
    int srgbIntent = 0;
    if (png_get_iCCP(r.png, r.info, &profileName, &compression, &profile, &profileLength) && profile && profileLength)
        out.iccProfile.assign(profile, profile + profileLength);
    else if (!png_get_sRGB(r.png, r.info, &srgbIntent))
        out.iccProfile = profileFromChromaticities(&r);

    bool alpha = false;
    int passes = 1;
    if (!setOutput(&r, &alpha, &passes)) fail();
    if (png_get_rowbytes(r.png, r.info) != std::size_t(width) * (alpha ? 4 : 3)) {
        std::snprintf(r.message, sizeof r.message, "an unexpected pixel layout");
        fail();
    }
    Bitmap& bitmap = out.bitmap;
    // Interlaced passes revisit every row, so the rows with their alpha are kept to the end, in the
    // picture's own memory.
    const bool keptWithAlpha = alpha && passes > 1;
    if (keptWithAlpha)
        bitmap = bitmapForBgra(static_cast<int>(width), static_cast<int>(height));
    else
        bitmap.setSizeForOverwrite(static_cast<int>(width), static_cast<int>(height));
    const std::size_t rowBytes = std::size_t(width) * (alpha ? 4 : 3);
    std::vector<unsigned char> rgba(alpha && !keptWithAlpha ? rowBytes : 0);
    // Row by row, each pass, so that a cancel stops it between rows; a row with alpha of a picture
    // read in one pass goes through one row of blue, green, red and alpha.
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y) {
            if (y % 64 == 0) stopIfCancelled(cancel, name);
            png_bytep row = keptWithAlpha ? bitmap.bytes().data() + std::size_t(y) * rowBytes
                            : alpha       ? rgba.data()
                                          : bitmap.row(static_cast<int>(y));
            if (!readRows(&r, &row, 1)) fail();
            if (alpha && !keptWithAlpha) compositeRowOnWhite(rgba.data(), bitmap.row(static_cast<int>(y)), width);
        }
    }
    if (keptWithAlpha) layBgraOnWhite(bitmap, static_cast<int>(width), static_cast<int>(height));
    (void)readEnd(&r);

    png_uint_32 resX = 0, resY = 0;
    int unit = 0;
    if (png_get_pHYs(r.png, r.info, &resX, &resY, &unit) && unit == PNG_RESOLUTION_METER && resX > 0 && resY > 0) {
        out.dotsPerInchX = resX * 0.0254;
        out.dotsPerInchY = resY * 0.0254;
    }
    png_uint_32 exifLength = 0;
    png_bytep exif = nullptr;
    if (png_get_eXIf_1(r.png, r.info, &exifLength, &exif) && exif && exifLength) out.exif.assign(exif, exif + exifLength);
    return out;
}

namespace {

std::vector<unsigned char> profileFromChromaticities(PngReader* r) {
    double gamma = 0;
    double wx = 0, wy = 0, rx = 0, ry = 0, gx = 0, gy = 0, bx = 0, by = 0;
    const bool hasGamma = png_get_gAMA(r->png, r->info, &gamma) && gamma > 0;
    const bool hasPrimaries = png_get_cHRM(r->png, r->info, &wx, &wy, &rx, &ry, &gx, &gy, &bx, &by) != 0;
    if (!hasGamma || !hasPrimaries) return {};
    return rgbProfile(wx, wy, rx, ry, gx, gy, bx, by, 1.0 / gamma);
}

}  // namespace

}  // namespace gt
