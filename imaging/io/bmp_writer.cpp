// SPDX-License-Identifier: GPL-3.0-or-later
// 24-bit BMP written by hand: a 14-byte file header, a 40-byte info header, then the rows from the
// bottom up, each padded to a multiple of 4 bytes. Our rows are already blue, green, red.

#include <cstdint>
#include <vector>

#include "imaging/error.h"
#include "imaging/io/codecs.h"
#include "imaging/io/picture_io.h"

namespace gt {

namespace {

void put16(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v & 255);
    p[1] = static_cast<unsigned char>((v >> 8) & 255);
}

void put32(unsigned char* p, std::uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}


constexpr std::uint32_t kHeaderBytes = 14 + 40;

std::uint64_t rowBytes(const Bitmap& bitmap) { return (std::uint64_t(bitmap.width()) * 3 + 3) / 4 * 4; }

}  // namespace

void checkBmpWritable(const Bitmap& bitmap) {
    if (bitmap.empty()) throw Error("cannot write an empty picture as BMP");
    if (rowBytes(bitmap) * std::uint64_t(bitmap.height()) + kHeaderBytes > 0xFFFFFFFFu)
        throw Error("the picture is too large for a BMP file (more than 4 GB)");
}

void writeBmp(const Bitmap& bitmap, const ByteSink& sink) {
    checkBmpWritable(bitmap);
    const std::uint64_t pixelBytes = rowBytes(bitmap) * std::uint64_t(bitmap.height());

    unsigned char header[kHeaderBytes] = {};
    header[0] = 'B';
    header[1] = 'M';
    put32(header + 2, static_cast<std::uint32_t>(pixelBytes + kHeaderBytes));
    put32(header + 10, kHeaderBytes);
    put32(header + 14, 40);
    put32(header + 18, static_cast<std::uint32_t>(bitmap.width()));
    put32(header + 22, static_cast<std::uint32_t>(bitmap.height()));  // positive: bottom-up rows
    put16(header + 26, 1);                                          // planes
    put16(header + 28, 24);                                         // bits per pixel
    put32(header + 30, 0);                                          // BI_RGB, uncompressed
    put32(header + 34, static_cast<std::uint32_t>(pixelBytes));
    put32(header + 38, 2835);                                       // 72 dots per inch
    put32(header + 42, 2835);
    sink(header, sizeof header);

    const unsigned char padding[3] = {0, 0, 0};
    const std::size_t pad = static_cast<std::size_t>(rowBytes(bitmap) - bitmap.stride());
    for (int y = bitmap.height() - 1; y >= 0; --y) {
        sink(bitmap.row(y), bitmap.stride());
        if (pad) sink(padding, pad);
    }
}

std::vector<unsigned char> encodeBmp(const Bitmap& bitmap) {
    std::vector<unsigned char> bytes;
    writeBmp(bitmap, [&](const unsigned char* data, std::size_t size) { bytes.insert(bytes.end(), data, data + size); });
    return bytes;
}

}  // namespace gt
