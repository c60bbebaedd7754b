// SPDX-License-Identifier: GPL-3.0-or-later
// What the headers of BMP and PNG files say, read by our own code before Qt sees the file: Qt
// reports no size for some headers it finds too large (and a negative height for top-down BMP),
// and its BMP reader quietly makes up the rows of a file that is cut short.

#include <algorithm>
#include <cstdint>
#include <string>

#include "imaging/error.h"
#include "imaging/io/codecs.h"

namespace gt {

namespace {

std::uint32_t get16(const unsigned char* p) { return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8; }
std::uint32_t get32(const unsigned char* p) { return get16(p) | get16(p + 2) << 16; }
std::uint32_t get32be(const unsigned char* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | std::uint32_t(p[3]);
}

struct BmpHeader {
    std::uint64_t pixelsStart = 0;
    std::int64_t width = 0, height = 0;  // height made positive
    std::uint32_t bitsPerPixel = 0, compression = 0, imageSize = 0;
};

[[noreturn]] void cutShort(const std::string& name) { throw Error(name + ": broken BMP data (the header is cut short)"); }

BmpHeader readBmpHeader(const unsigned char* data, std::size_t size, const std::string& name) {
    constexpr std::size_t kFileHeader = 14;
    if (size < kFileHeader + 16) cutShort(name);
    BmpHeader h;
    h.pixelsStart = get32(data + 10);
    if (get32(data + 14) == 12) {  // the old OS/2 header
        h.width = get16(data + 18);
        h.height = get16(data + 20);
        h.bitsPerPixel = get16(data + 24);
    } else {
        if (size < kFileHeader + 40) cutShort(name);
        h.width = static_cast<std::int32_t>(get32(data + 18));
        h.height = static_cast<std::int32_t>(get32(data + 22));
        h.bitsPerPixel = get16(data + 28);
        h.compression = get32(data + 30);
        h.imageSize = get32(data + 34);
    }
    if (h.height < 0) h.height = -h.height;  // rows top to bottom
    return h;
}

void checkBmp(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check) {
    const BmpHeader h = readBmpHeader(data, size, name);
    check(h.width, h.height);

    std::uint64_t needed = 0;
    constexpr std::uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
    if (h.compression == kRgb || h.compression == kBitFields || h.compression == kAlphaBitFields) {
        if (h.bitsPerPixel == 0 || h.bitsPerPixel > 64) throw Error(name + ": broken BMP data (" + std::to_string(h.bitsPerPixel) + " bits a pixel)");
        const std::uint64_t rowBytes = (std::uint64_t(h.width) * h.bitsPerPixel + 31) / 32 * 4;
        needed = h.pixelsStart + rowBytes * std::uint64_t(h.height);
    } else {
        needed = h.pixelsStart + h.imageSize;  // run-length coded: the header gives the data's length
    }
    if (needed > size)
        throw Error(name + ": broken BMP data (the file ends after " + std::to_string(size) + " of its " +
                    std::to_string(needed) + " bytes)");
}

void checkPng(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check) {
    // The signature, then the IHDR chunk: length, type, width, height.
    if (size < 24 || data[12] != 'I' || data[13] != 'H' || data[14] != 'D' || data[15] != 'R')
        throw Error(name + ": broken PNG data (no header)");
    check(get32be(data + 16), get32be(data + 20));
}

}  // namespace

void checkHeader(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check) {
    static const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') checkBmp(data, size, name, check);
    if (size >= 8 && std::equal(kPngSignature, kPngSignature + 8, data)) checkPng(data, size, name, check);
}

}  // namespace gt
