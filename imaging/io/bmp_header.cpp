// Qt's BMP reader quietly returns a picture with made-up rows when the file is cut short; the
// header tells how many bytes the pixels need, so a short file is caught before decoding.

#include <cstdint>
#include <string>

#include "imaging/error.h"
#include "imaging/io/codecs.h"

namespace gt {

namespace {

std::uint32_t get16(const unsigned char* p) { return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8; }
std::uint32_t get32(const unsigned char* p) { return get16(p) | get16(p + 2) << 16; }

}  // namespace

void checkBmpComplete(const unsigned char* data, std::size_t size, const std::string& name) {
    constexpr std::size_t kFileHeader = 14;
    if (size < kFileHeader + 16) throw Error(name + ": broken BMP data (the header is cut short)");
    const std::uint64_t pixelsStart = get32(data + 10);
    const std::uint32_t infoSize = get32(data + 14);

    std::int64_t width = 0, height = 0;
    std::uint32_t bitsPerPixel = 0, compression = 0, imageSize = 0;
    if (infoSize == 12) {  // the old OS/2 header
        width = get16(data + 18);
        height = get16(data + 20);
        bitsPerPixel = get16(data + 24);
    } else {
        if (size < kFileHeader + 40) throw Error(name + ": broken BMP data (the header is cut short)");
        width = static_cast<std::int32_t>(get32(data + 18));
        height = static_cast<std::int32_t>(get32(data + 22));
        bitsPerPixel = get16(data + 28);
        compression = get32(data + 30);
        imageSize = get32(data + 34);
    }
    if (height < 0) height = -height;  // rows top to bottom

    std::uint64_t needed = 0;
    constexpr std::uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
    if (compression == kRgb || compression == kBitFields || compression == kAlphaBitFields) {
        if (width <= 0 || bitsPerPixel == 0 || bitsPerPixel > 32) return;  // Qt judges such headers
        const std::uint64_t rowBytes = (std::uint64_t(width) * bitsPerPixel + 31) / 32 * 4;
        needed = pixelsStart + rowBytes * std::uint64_t(height);
    } else {
        needed = pixelsStart + imageSize;  // run-length coded: the header gives the data's length
    }
    if (needed > size)
        throw Error(name + ": broken BMP data (the file ends after " + std::to_string(size) + " of its " +
                    std::to_string(needed) + " bytes)");
}

}  // namespace gt
