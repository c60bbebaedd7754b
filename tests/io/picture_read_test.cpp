// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include "imaging/error.h"
#include "imaging/io/picture_io.h"
#include "io_test_support.h"

namespace gt {
namespace {

using testing::Bytes;
using testing::errorOf;
using testing::pattern;
using testing::writeBytes;

int maxDifference(const Bitmap& a, const Bitmap& b) {
    int worst = 0;
    for (std::size_t i = 0; i < a.bytes().size(); ++i) worst = std::max(worst, std::abs(a.bytes()[i] - b.bytes()[i]));
    return worst;
}

double meanDifference(const Bitmap& a, const Bitmap& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.bytes().size(); ++i) sum += std::abs(a.bytes()[i] - b.bytes()[i]);
    return sum / double(a.bytes().size());
}

// A JPEG straight from libjpeg in another colour space (grey, or CMYK with its Adobe marker).
Bytes rawJpeg(int w, int h, J_COLOR_SPACE space, int components, const std::vector<unsigned char>& pixel) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(w);
    cinfo.image_height = JDIMENSION(h);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row;
    for (int x = 0; x < w; ++x) row.insert(row.end(), pixel.begin(), pixel.end());
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes bytes(out, out + size);
    std::free(out);
    return bytes;
}

// The offset of the first SOF0 marker's height field.
std::size_t sofSizeOffset(const Bytes& jpeg) {
    for (std::size_t i = 0; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) return i + 5;
    ADD_FAILURE() << "no SOF0 marker";
    return 0;
}

void put16be(Bytes& b, std::size_t at, int v) {
    b[at] = static_cast<unsigned char>(v >> 8);
    b[at + 1] = static_cast<unsigned char>(v & 255);
}

std::uint32_t crc32(const unsigned char* data, std::size_t n) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        c ^= data[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

void put32be(Bytes& b, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<unsigned char>((v >> s) & 255));
}

// A PNG whose header claims the given size, with no pixel data behind it.
Bytes pngHeaderOnly(std::uint32_t w, std::uint32_t h) {
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    put32be(b, 13);
    const std::size_t chunk = b.size();
    for (char c : std::string("IHDR")) b.push_back(static_cast<unsigned char>(c));
    put32be(b, w);
    put32be(b, h);
    for (int v : {8, 2, 0, 0, 0}) b.push_back(static_cast<unsigned char>(v));  // 8-bit RGB
    put32be(b, crc32(b.data() + chunk, b.size() - chunk));
    put32be(b, 0);
    for (char c : std::string("IEND")) b.push_back(static_cast<unsigned char>(c));
    put32be(b, crc32(b.data() + b.size() - 4, 4));
    return b;
}

// A BMP whose header claims the given size, with no pixel data behind it.
Bytes bmpHeaderOnly(std::int32_t w, std::int32_t h) {
    Bytes b = encodeBmp(Bitmap(1, 1));
    b.resize(54);
    auto put32le = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = static_cast<unsigned char>((v >> (8 * i)) & 255);
    };
    put32le(18, std::uint32_t(w));
    put32le(22, std::uint32_t(h));
    return b;
}

class ReadPicture : public testing::ScratchFolder {};

TEST_F(ReadPicture, EveryFormatRoundTrips) {
    // Widths 1 to 5 cover every BMP row padding.
    for (int w : {1, 2, 3, 4, 5, 37}) {
        const Bitmap b = pattern(w, 7);
        for (const char* name : {"p.bmp", "p.png", "p.BMP"}) {
            writePicture(b, file(name));
            EXPECT_EQ(readPicture(file(name)), b) << name << " width " << w;
        }
    }
    const Bitmap photo = pattern(64, 48);
    for (const char* name : {"p.jpg", "p.JPEG"}) {
        writePicture(photo, file(name));
        const Bitmap back = readPicture(file(name));
        ASSERT_EQ(back.width(), 64);
        ASSERT_EQ(back.height(), 48);
        EXPECT_LT(meanDifference(back, photo), 3.0) << name;
        EXPECT_LT(maxDifference(back, photo), 40) << name;
    }
    EXPECT_EQ(decodeJpeg(encodeJpeg(photo, 90), "memory"), readPicture(file("p.jpg")));
}

TEST_F(ReadPicture, TheContentDecidesNotTheExtension) {
    const Bitmap b = pattern(9, 5);
    writeBytes(folder / "png-inside.jpg", encodePng(b));
    EXPECT_EQ(readPicture(file("png-inside.jpg")), b);
    writeBytes(folder / "bmp-inside.png", encodeBmp(b));
    EXPECT_EQ(readPicture(file("bmp-inside.png")), b);
    writeBytes(folder / "jpeg-inside.bmp", encodeJpeg(b));
    EXPECT_EQ(readPicture(file("jpeg-inside.bmp")), decodeJpeg(encodeJpeg(b), "x"));
}

TEST(DecodeJpeg, GreyAndCmykComeOutAsBlueGreenRed) {
    const Bitmap grey = decodeJpeg(rawJpeg(16, 16, JCS_GRAYSCALE, 1, {100}), "grey.jpg");
    ASSERT_EQ(grey.width(), 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const Colour c = grey.colourAt(x, y);
            EXPECT_NEAR(c.r, 100, 1);
            EXPECT_TRUE(c.r == c.g && c.g == c.b);
        }

    // Adobe's inverted CMYK: stored 255 is no ink. No cyan, full magenta and yellow, no black: red.
    // Taller than one band of the conversion.
    const Bitmap cmyk = decodeJpeg(rawJpeg(16, 40, JCS_CMYK, 4, {255, 0, 0, 255}), "cmyk.jpg");
    ASSERT_EQ(cmyk.height(), 40);
    EXPECT_EQ(cmyk.colourAt(8, 8), cmyk.colourAt(8, 37));
    const Colour red = cmyk.colourAt(8, 37);
    EXPECT_NEAR(red.r, 255, 3);
    EXPECT_NEAR(red.g, 0, 3);
    EXPECT_NEAR(red.b, 0, 3);
    // Half the light left by the black ink on white paper.
    const Colour half = decodeJpeg(rawJpeg(16, 16, JCS_CMYK, 4, {255, 255, 255, 128}), "cmyk.jpg").colourAt(3, 3);
    EXPECT_NEAR(half.r, 128, 3);
    EXPECT_NEAR(half.b, 128, 3);
}

TEST(DecodePicture, TransparencyIsLaidOnWhite) {
    QImage image(3, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(10, 20, 30, 0));      // fully transparent
    image.setPixel(1, 0, qRgba(10, 20, 30, 255));    // opaque
    image.setPixel(2, 0, qRgba(0, 0, 0, 128));       // half-transparent black
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "png"));
    const Bitmap b = decodePicture(reinterpret_cast<const unsigned char*>(png.data()), std::size_t(png.size()), "a.png");
    EXPECT_EQ(b.colourAt(0, 0), kWhite);
    EXPECT_EQ(b.colourAt(1, 0), (Colour{30, 20, 10}));
    EXPECT_EQ(b.colourAt(2, 0), (Colour{127, 127, 127}));  // (255 * 127 + 127) / 255
}

TEST_F(ReadPicture, BadFilesGiveOneErrorNamingTheFile) {
    const std::string missing = file("missing.jpg");
    EXPECT_EQ(errorOf([&] { readPicture(missing); }), missing + ": no such file");
    EXPECT_EQ(errorOf([&] { readPicture(folder.string()); }), folder.string() + ": is a folder, not a picture");

    writeBytes(folder / "empty.jpg", {});
    EXPECT_EQ(errorOf([&] { readPicture(file("empty.jpg")); }), file("empty.jpg") + ": empty file");

    writeBytes(folder / "garbage.jpg", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'});
    EXPECT_EQ(errorOf([&] { readPicture(file("garbage.jpg")); }), file("garbage.jpg") + ": not a picture, or of a kind this program does not read");

    // A damaged PNG with "ftyp" where a video file has it: the camera-data reader took it for a
    // video and looped for ever (found by fuzzing). Now it is only a file that is not a picture.
    const Bytes ftyp = {
        0x89, 0x50, 0x4e, 0x47, 0x66, 0x74, 0x79, 0x70, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d,
        0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x87, 0x08, 0x00, 0x01, 0x00,
        0x00, 0x40, 0x00, 0x00, 0x0a, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0x68, 0x49, 0x45, 0x68,
        0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68,
        0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x42,
        0x4d, 0x2a, 0x00, 0x00, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0xff,
        0x2d, 0x4a, 0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0x68, 0x68, 0x44, 0x4e, 0x68, 0x68, 0x68, 0xae,
        0x42, 0x60, 0x82,
    };
    writeBytes(folder / "ftyp.png", ftyp);
    EXPECT_EQ(errorOf([&] { readPicture(file("ftyp.png")); }).rfind(file("ftyp.png") + ": ", 0), 0u);

    const Bitmap b = pattern(40, 30);
    const Bytes jpeg = encodeJpeg(b), bmp = encodeBmp(b), png = encodePng(b);
    struct Cut {
        const char* name;
        Bytes bytes;
        const char* says;
    };
    const Cut cuts[] = {
        {"cut.jpg", Bytes(jpeg.begin(), jpeg.begin() + long(jpeg.size() / 2)), "broken JPEG data (Premature end of JPEG file)"},
        {"cut2.jpg", Bytes(jpeg.begin(), jpeg.end() - 2), "broken JPEG data (Premature end of JPEG file)"},
        {"cut.bmp", Bytes(bmp.begin(), bmp.end() - 1), "broken BMP data (the file ends after 3653 of its 3654 bytes)"},
        {"cut.png", Bytes(png.begin(), png.begin() + long(png.size() / 2)), "broken PNG data"},
    };
    for (const Cut& c : cuts) {
        writeBytes(folder / c.name, c.bytes);
        const std::string message = errorOf([&] { readPicture(file(c.name)); });
        EXPECT_EQ(message.rfind(file(c.name) + ": " + c.says, 0), 0u) << message;
    }
}

TEST(DecodeJpeg, DamagedDataIsAnErrorNeverAPicture) {
    const Bytes good = encodeJpeg(pattern(64, 64));
    EXPECT_EQ(errorOf([&] { decodeJpeg(encodePng(pattern(2, 2)), "photo.jpg"); }),
              "photo.jpg: not a JPEG file (starts with 0x89 0x50)");

    // A marker in the middle of the coded data: libjpeg would patch it with grey and warn.
    Bytes marker = good;
    const std::size_t middle = marker.size() / 2 + 100;
    marker[middle] = 0xFF;
    marker[middle + 1] = 0xD3;
    EXPECT_EQ(errorOf([&] { decodeJpeg(marker, "photo.jpg"); }).rfind("photo.jpg: broken JPEG data (Corrupt JPEG data", 0), 0u);

    // A stray byte after the start marker: still JPEG, and damaged (Qt's reader would take it).
    Bytes stray = good;
    stray.insert(stray.begin() + 2, 0x00);
    EXPECT_EQ(errorOf([&] { decodePicture(stray.data(), stray.size(), "photo.jpg"); }),
              "photo.jpg: broken JPEG data (Corrupt JPEG data: 1 extraneous bytes before marker 0xe0)");

    // A header libjpeg cannot take: 12-bit samples.
    Bytes precision = good;
    precision[sofSizeOffset(good) - 1] = 12;
    EXPECT_EQ(errorOf([&] { decodeJpeg(precision, "photo.jpg"); }), "photo.jpg: broken JPEG data (Unsupported JPEG data precision 12)");
}

TEST_F(ReadPicture, SizesAreCheckedFromTheHeaderBeforeDecoding) {
    writeBytes(folder / "wide.bmp", bmpHeaderOnly(70000, 1));
    EXPECT_EQ(errorOf([&] { readPicture(file("wide.bmp")); }),
              file("wide.bmp") + ": the picture is 70000 pixels wide; the widest accepted is 65535");
    writeBytes(folder / "wide.png", pngHeaderOnly(70000, 1));
    EXPECT_EQ(errorOf([&] { readPicture(file("wide.png")); }),
              file("wide.png") + ": the picture is 70000 pixels wide; the widest accepted is 65535");

    // 30000 x 20000 is 600 megapixels: refused without taking 1.8 GB first.
    Bytes huge = encodeJpeg(pattern(16, 16));
    put16be(huge, sofSizeOffset(huge), 20000);
    put16be(huge, sofSizeOffset(huge) + 2, 30000);
    writeBytes(folder / "huge.jpg", huge);
    EXPECT_EQ(errorOf([&] { readPicture(file("huge.jpg")); }),
              file("huge.jpg") + ": the picture is 30000 x 20000 pixels, more than the 400 megapixels accepted");
    writeBytes(folder / "tall.bmp", bmpHeaderOnly(20000, -30000));  // rows top to bottom
    EXPECT_EQ(errorOf([&] { readPicture(file("tall.bmp")); }),
              file("tall.bmp") + ": the picture is 20000 x 30000 pixels, more than the 400 megapixels accepted");
    writeBytes(folder / "huge.png", pngHeaderOnly(60000, 60000));
    EXPECT_EQ(errorOf([&] { readPicture(file("huge.png")); }),
              file("huge.png") + ": the picture is 60000 x 60000 pixels, more than the 400 megapixels accepted");

    // The limit is the caller's to choose.
    PictureLimits small;
    small.maxPixels = 1000;
    const Bitmap fits = pattern(40, 25), over = pattern(40, 26);
    for (const char* ext : {".jpg", ".bmp", ".png"}) {
        writePicture(fits, file(std::string("fits") + ext));
        writePicture(over, file(std::string("over") + ext));
        EXPECT_EQ(readPicture(file(std::string("fits") + ext), small).width(), 40) << ext;
        EXPECT_EQ(errorOf([&] { readPicture(file(std::string("over") + ext), small); }),
                  file(std::string("over") + ext) + ": the picture is 40 x 26 pixels, more than the 1000 pixels accepted");
    }
}

}  // namespace
}  // namespace gt
