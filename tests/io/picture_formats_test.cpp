// SPDX-License-Identifier: GPL-3.0-or-later
// The formats beyond JPEG and BMP, the EXIF orientation, colour profiles and the camera data that a
// drawing carries on. The pictures are made here, with the libraries the program reads them with.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QColorSpace>
#include <QImage>

#include <lcms2.h>
#include <libheif/heif.h>
#include <zlib.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/error.h"
#include "imaging/io/codecs.h"
#include "imaging/io/picture_io.h"
#include "io_test_support.h"

namespace gt {
namespace {

using testing::Bytes;
using testing::errorOf;
using testing::pattern;

LoadedPicture load(const Bytes& b, const ReadOptions& options = {}) { return loadPicture(b.data(), b.size(), "p", options); }

// A 3 x 2 picture whose pixels are told apart by their index y * 3 + x.
Bitmap indexed() {
    Bitmap b(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const auto i = std::uint8_t(y * 3 + x);
            b.setColour(x, y, Colour{std::uint8_t(10 * i), std::uint8_t(20 + i), std::uint8_t(200 - i)});
        }
    return b;
}

std::vector<int> indexesOf(const Bitmap& b) {
    std::vector<int> out;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) out.push_back(b.colourAt(x, y).g - 20);
    return out;
}

// An EXIF block with the given orientation, camera and a thumbnail.
Bytes exifBlock(int orientation, bool withThumbnail = false) {
    Exiv2::ExifData data;
    data["Exif.Image.Make"] = "TestCam";
    data["Exif.Image.Model"] = "Model 7";
    data["Exif.Photo.DateTimeOriginal"] = "2024:05:06 07:08:09";
    data["Exif.Image.Orientation"] = uint16_t(orientation);
    data["Exif.Image.XResolution"] = Exiv2::URational(300, 1);
    data["Exif.Image.YResolution"] = Exiv2::URational(300, 1);
    data["Exif.Image.ResolutionUnit"] = uint16_t(2);
    if (withThumbnail) {
        const Bytes thumb = encodeJpeg(pattern(16, 12), 80);
        Exiv2::ExifThumb(data).setJpegThumbnail(thumb.data(), static_cast<long>(thumb.size()));
    }
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, Exiv2::littleEndian, data);
    return Bytes(blob.begin(), blob.end());
}

Exiv2::ExifData exifOf(const Bytes& file) {
    Exiv2::ExifData data;
    const Bytes block = readExifBlock(file.data(), file.size());
    if (!block.empty()) Exiv2::ExifParser::decode(data, block.data(), uint32_t(block.size()));
    return data;
}

std::string tag(const Exiv2::ExifData& data, const char* key) {
    const auto it = data.findKey(Exiv2::ExifKey(key));
    return it == data.end() ? std::string() : it->toString();
}

Bytes withProfile(const Bytes& file, const Bytes& icc) {
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(file.data(), long(file.size()));
    image->readMetadata();
    Exiv2::DataBuf buf(icc.data(), long(icc.size()));
    image->setIccProfile(buf);
    image->writeMetadata();
    Exiv2::BasicIo& io = image->io();
    io.seek(0, Exiv2::BasicIo::beg);
    const Exiv2::DataBuf out = io.read(long(io.size()));
    return Bytes(out.pData_, out.pData_ + out.size_);
}

Bytes qtEncoded(const QImage& image, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format, quality));
    return Bytes(bytes.begin(), bytes.end());
}

TEST(PictureFormats, EveryWrittenFormatReadsBack) {
    const Bitmap b = pattern(37, 23);
    for (PictureFormat f : {PictureFormat::Png, PictureFormat::Bmp, PictureFormat::Tiff}) {
        const LoadedPicture back = load(encodePicture(b, f));
        EXPECT_EQ(back.bitmap, b) << back.metadata.format;
        EXPECT_TRUE(back.metadata.colourProfile.empty()) << back.metadata.format;
    }
    const Bytes webp = encodePicture(b, PictureFormat::Webp, {100, nullptr});  // quality 100 is lossless
    EXPECT_EQ(load(webp).bitmap, b);
    EXPECT_EQ(load(webp).metadata.format, "WebP");
    EXPECT_LT(encodePicture(b, PictureFormat::Webp, {20, nullptr}).size(), encodePicture(b, PictureFormat::Webp, {95, nullptr}).size());
    EXPECT_LT(encodePicture(b, PictureFormat::Jpeg, {20, nullptr}).size(), encodePicture(b, PictureFormat::Jpeg, {95, nullptr}).size());

    // GIF, palette and grey PNG, 16-bit PNG and transparent pixels come in as 24 bits.
    QImage grey(4, 3, QImage::Format_Grayscale16);
    grey.fill(QColor(100, 100, 100));
    EXPECT_EQ(load(qtEncoded(grey, "png")).bitmap.colourAt(3, 2), (Colour{100, 100, 100}));
    QImage palette = QImage(4, 3, QImage::Format_RGB32);
    palette.fill(QColor(10, 20, 30));
    EXPECT_EQ(load(qtEncoded(palette.convertToFormat(QImage::Format_Indexed8), "png")).bitmap.colourAt(1, 1), (Colour{30, 20, 10}));
    QImage deep(2, 1, QImage::Format_RGBA64);
    deep.setPixelColor(0, 0, QColor(255, 0, 0, 0));
    deep.setPixelColor(1, 0, QColor(0, 0, 255, 255));
    const Bitmap d = load(qtEncoded(deep, "png")).bitmap;
    EXPECT_EQ(d.colourAt(0, 0), kWhite);
    EXPECT_EQ(d.colourAt(1, 0), (Colour{255, 0, 0}));
}

TEST(PictureFormats, AllEightOrientationsStandUpright) {
    // Output pixels by index of the stored 3 x 2 picture (0 1 2 / 3 4 5), as the EXIF values define.
    const std::vector<std::vector<int>> upright = {
        {0, 1, 2, 3, 4, 5}, {2, 1, 0, 5, 4, 3}, {5, 4, 3, 2, 1, 0}, {3, 4, 5, 0, 1, 2},
        {0, 3, 1, 4, 2, 5}, {3, 0, 4, 1, 5, 2}, {5, 2, 4, 1, 3, 0}, {2, 5, 1, 4, 0, 3},
    };
    const Bytes tiff = encodeWithQt(indexed(), "tiff", -1, 0, 0);
    for (int o = 1; o <= 8; ++o) {
        const Bytes file = withExif(tiff, exifBlock(o));
        const LoadedPicture p = load(file);
        EXPECT_EQ(p.metadata.orientation, o);
        EXPECT_EQ(p.bitmap.width(), o >= 5 ? 2 : 3) << o;
        EXPECT_EQ(indexesOf(p.bitmap), upright[std::size_t(o - 1)]) << "orientation " << o;
        ReadOptions asStored;
        asStored.autoOrient = false;
        EXPECT_EQ(load(file, asStored).bitmap, indexed()) << o;
    }

    // A PNG with its camera data in an eXIf chunk, right after the header.
    const Bytes png = encodePng(indexed());
    const Bytes block = exifBlock(8);
    Bytes chunk = {0, 0, 0, 0, 'e', 'X', 'I', 'f'};
    for (int i = 0; i < 4; ++i) chunk[std::size_t(i)] = std::uint8_t(block.size() >> (24 - 8 * i));
    chunk.insert(chunk.end(), block.begin(), block.end());
    const uLong crc = crc32(0, chunk.data() + 4, uInt(chunk.size() - 4));
    for (int i = 0; i < 4; ++i) chunk.push_back(std::uint8_t(crc >> (24 - 8 * i)));
    Bytes withChunk(png.begin(), png.begin() + 33);
    withChunk.insert(withChunk.end(), chunk.begin(), chunk.end());
    withChunk.insert(withChunk.end(), png.begin() + 33, png.end());
    EXPECT_EQ(indexesOf(load(withChunk).bitmap), upright[7]);

    // A JPEG from a phone, stored on its side.
    const Bitmap photo = pattern(64, 48);
    const Bytes jpeg = withExif(encodeJpeg(photo, 90), exifBlock(6));
    const LoadedPicture p = load(jpeg);
    EXPECT_EQ(p.bitmap, orientPicture(decodeJpeg(encodeJpeg(photo, 90), "x"), 6));
    EXPECT_EQ(p.bitmap.width(), 48);
}

TEST(PictureFormats, AProfileIsConvertedToSrgbAsLcmsDoesIt) {
    const Bitmap b = pattern(32, 16);
    const QByteArray adobe = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
    const Bytes icc(adobe.begin(), adobe.end());
    ASSERT_FALSE(icc.empty());

    // lcms2's own reading of the stored pixels.
    cmsHPROFILE in = cmsOpenProfileFromMem(icc.data(), cmsUInt32Number(icc.size()));
    cmsHPROFILE out = cmsCreate_sRGBProfile();
    cmsHTRANSFORM t = cmsCreateTransform(in, TYPE_BGR_8, out, TYPE_BGR_8, INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_BLACKPOINTCOMPENSATION);
    const auto expected = [&](const Bitmap& stored, int x, int y) {
        unsigned char bgr[3];
        cmsDoTransform(t, stored.pixel(x, y), bgr, 1);
        return Colour{bgr[0], bgr[1], bgr[2]};
    };

    const Bytes jpeg = withProfile(encodeJpeg(b, 95), icc);
    const Bitmap jpegStored = decodeJpeg(jpeg, "x");
    const LoadedPicture fromJpeg = load(jpeg);
    const Bytes png = withProfile(encodePng(b), icc);
    const LoadedPicture fromPng = load(png);
    for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {12, 9}, {31, 15}}) {
        EXPECT_EQ(fromJpeg.bitmap.colourAt(x, y), expected(jpegStored, x, y)) << x << "," << y;
        EXPECT_EQ(fromPng.bitmap.colourAt(x, y), expected(b, x, y)) << x << "," << y;
    }
    EXPECT_NE(fromPng.bitmap, b);  // the profile made a difference
    EXPECT_FALSE(fromJpeg.metadata.colourProfile.empty());
    cmsDeleteTransform(t);
    cmsCloseProfile(in);
    cmsCloseProfile(out);

    // The outputs are tagged sRGB: reading them back changes nothing.
    for (PictureFormat f : {PictureFormat::Png, PictureFormat::Tiff, PictureFormat::Webp}) {
        const Bytes written = encodePicture(fromPng.bitmap, f, {100, nullptr});
        EXPECT_EQ(load(written).bitmap, fromPng.bitmap);
        EXPECT_EQ(load(written).metadata.colourProfile, "");
    }
    const Bytes jpegOut = encodePicture(b, PictureFormat::Jpeg);
    EXPECT_NE(std::search(jpegOut.begin(), jpegOut.end(), std::begin("ICC_PROFILE"), std::end("ICC_PROFILE") - 1), jpegOut.end());
}

TEST(PictureFormats, TheCameraDataGoesToTheDrawingUpright) {
    const Bitmap photo = pattern(60, 40);
    const LoadedPicture in = load(withExif(encodeJpeg(photo, 90), exifBlock(6, true)));
    ASSERT_EQ(in.bitmap.width(), 40);
    ASSERT_FALSE(in.metadata.exif.empty());
    EXPECT_NEAR(in.metadata.dotsPerInchX, 300, 0.01);
    ASSERT_FALSE(exifOf(withExif(encodeJpeg(photo, 90), exifBlock(6, true))).empty());

    // The drawing is larger than the photo (a margin) and stands as shown.
    const Bitmap drawing = pattern(50, 70);
    for (PictureFormat f : {PictureFormat::Jpeg, PictureFormat::Tiff, PictureFormat::Webp}) {
        const Bytes out = encodePicture(drawing, f, {90, &in.metadata});
        const Exiv2::ExifData e = exifOf(out);
        const std::string which = std::to_string(int(f));
        EXPECT_EQ(tag(e, "Exif.Image.Make"), "TestCam") << which;
        EXPECT_EQ(tag(e, "Exif.Photo.DateTimeOriginal"), "2024:05:06 07:08:09") << which;
        EXPECT_EQ(tag(e, "Exif.Image.Orientation"), "1") << which;
        if (f != PictureFormat::Tiff) {  // a TIFF's own tags give its size
            EXPECT_EQ(tag(e, "Exif.Photo.PixelXDimension"), "50") << which;
            EXPECT_EQ(tag(e, "Exif.Photo.PixelYDimension"), "70") << which;
        }
        EXPECT_EQ(tag(e, "Exif.Thumbnail.JPEGInterchangeFormat"), "") << which;
        const LoadedPicture back = load(out);
        EXPECT_EQ(back.bitmap.width(), 50) << which;  // not turned again
        EXPECT_NEAR(back.metadata.dotsPerInchX, 300, 0.01) << which;
    }
    // Without metadata (--strip), nothing of the camera's goes out.
    EXPECT_TRUE(exifOf(encodePicture(drawing, PictureFormat::Jpeg)).empty());
}

TEST(PictureFormats, KindsNotReadAreNamedInOneLine) {
    struct Case {
        Bytes bytes;
        const char* says;
    };
    const auto bytes = [](const char* s, std::size_t n) { return Bytes(s, s + n); };
    const Case cases[] = {
        {bytes("\0\0\0\x0CjP  \r\n\x87\n\0\0\0\0", 16), "p: a JPEG 2000 picture; this program does not read JPEG 2000 pictures"},
        {bytes("\xFF\x0A\xFA\x7F\0\0", 6), "p: a JPEG XL picture; this program does not read JPEG XL pictures"},
        {bytes("8BPS\0\1\0\0\0\0", 10), "p: a Photoshop picture; this program does not read Photoshop pictures"},
        {bytes("%PDF-1.4\n", 9), "p: a PDF document, not a picture"},
        {bytes("hello world\n", 12), "p: not a picture, or of a kind this program does not read"},
    };
    for (const Case& c : cases) EXPECT_EQ(errorOf([&] { load(c.bytes); }), c.says);

    // Damaged files say so in words, and nothing of the libraries' reaches standard error.
    const Bytes tiff = encodePicture(pattern(40, 30), PictureFormat::Tiff);
    const Bytes png = encodePng(pattern(40, 30));
    const Bytes webp = encodePicture(pattern(40, 30), PictureFormat::Webp);
    ::testing::internal::CaptureStderr();
    const std::string cutTiff = errorOf([&] { load(Bytes(tiff.begin(), tiff.begin() + 200)); });
    const std::string cutPng = errorOf([&] { load(Bytes(png.begin(), png.begin() + long(png.size()) - 30)); });
    const std::string cutWebp = errorOf([&] { load(Bytes(webp.begin(), webp.begin() + long(webp.size()) / 2)); });
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(cutTiff.rfind("p: broken TIFF data (", 0), 0u) << cutTiff;
    EXPECT_EQ(cutPng.rfind("p: broken PNG data (", 0), 0u) << cutPng;
    EXPECT_EQ(cutWebp.rfind("p: broken WebP data (", 0), 0u) << cutWebp;
}

TEST(PictureFormats, ThePixelLimitsHoldBeforeDecoding) {
    // A TIFF whose header claims 100,000 x 100,000 pixels and holds none.
    Bytes tiff = {'I', 'I', 42, 0, 8, 0, 0, 0};
    const auto put16 = [&](unsigned v) { tiff.push_back(std::uint8_t(v)); tiff.push_back(std::uint8_t(v >> 8)); };
    const auto put32 = [&](unsigned v) { put16(v & 0xFFFF); put16(v >> 16); };
    const auto entry = [&](unsigned tag, unsigned type, unsigned value) {
        put16(tag); put16(type); put32(1); if (type == 3) { put16(value); put16(0); } else { put32(value); }
    };
    put16(8);
    entry(256, 4, 100000); entry(257, 4, 100000); entry(258, 3, 8); entry(259, 3, 1);
    entry(262, 3, 1); entry(273, 4, 200); entry(278, 4, 1); entry(279, 4, 100000);
    put32(0);
    EXPECT_EQ(errorOf([&] { load(tiff); }), "p: the picture is 100000 pixels wide; the widest accepted is 65535");
    // A WebP whose extended header claims 30,000 x 30,000.
    Bytes webp = {'R', 'I', 'F', 'F', 22, 0, 0, 0, 'W', 'E', 'B', 'P', 'V', 'P', '8', 'X', 10, 0, 0, 0,
                  0, 0, 0, 0, 0x2F, 0x75, 0, 0x2F, 0x75, 0};
    EXPECT_EQ(errorOf([&] { load(webp); }), "p: the picture is 30000 x 30000 pixels, more than the 400 megapixels accepted");

    // Small limits, every format: refused from the header.
    ReadOptions small;
    small.limits.maxPixels = 100;
    for (PictureFormat f : {PictureFormat::Png, PictureFormat::Bmp, PictureFormat::Tiff, PictureFormat::Webp, PictureFormat::Jpeg})
        EXPECT_EQ(errorOf([&] { load(encodePicture(pattern(20, 10), f), small); }),
                  "p: the picture is 20 x 10 pixels, more than the 100 pixels accepted")
            << int(f);
    // The width is that of the picture standing upright.
    ReadOptions narrow;
    narrow.limits.maxWidth = 15;
    const Bytes turned = withExif(encodeWithQt(pattern(20, 10), "tiff", -1, 0, 0), exifBlock(6));
    EXPECT_EQ(load(turned, narrow).bitmap.width(), 10);
    EXPECT_EQ(errorOf([&] { load(withExif(encodeWithQt(pattern(10, 20), "tiff", -1, 0, 0), exifBlock(6)), narrow); }),
              "p: the picture is 20 pixels wide; the widest accepted is 15");
}

// HEIC and AVIF, made with libheif's own encoders where this system has them; `nclx` describes the
// colours by code points.
Bytes heifEncoded(const Bitmap& b, heif_compression_format format, const heif_color_profile_nclx* nclx = nullptr) {
    heif_context* ctx = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    Bytes out;
    if (heif_context_get_encoder_for_format(ctx, format, &encoder).code == heif_error_Ok) {
        heif_encoder_set_lossy_quality(encoder, 95);
        heif_image* image = nullptr;
        heif_image_create(b.width(), b.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
        heif_image_add_plane(image, heif_channel_interleaved, b.width(), b.height(), 8);
        int stride = 0;
        uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (int y = 0; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x) {
                const Colour c = b.colourAt(x, y);
                uint8_t* p = plane + y * stride + x * 3;
                p[0] = c.r; p[1] = c.g; p[2] = c.b;
            }
        heif_encoding_options* options = heif_encoding_options_alloc();
        if (nclx) {
            heif_image_set_nclx_color_profile(image, nclx);
            options->output_nclx_profile = const_cast<heif_color_profile_nclx*>(nclx);
            options->macOS_compatibility_workaround_no_nclx_profile = 0;  // else HEIC leaves them out
        }
        heif_context_encode_image(ctx, image, encoder, options, nullptr);
        heif_encoding_options_free(options);
        heif_image_release(image);
        heif_encoder_release(encoder);
        heif_writer writer{1, [](heif_context*, const void* data, size_t size, void* userdata) {
                               auto* o = static_cast<Bytes*>(userdata);
                               o->insert(o->end(), static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
                               return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
                           }};
        heif_context_write(ctx, &writer, &out);
    }
    heif_context_free(ctx);
    return out;
}

TEST(PictureFormats, PhonePicturesHeicAndAvif) {
    Bitmap b(64, 48);
    b.fill(Colour{40, 120, 200});
    for (auto [format, name] : {std::pair{heif_compression_HEVC, "HEIC"}, {heif_compression_AV1, "AVIF"}}) {
        const Bytes file = heifEncoded(b, format);
        if (file.empty() || !heif_have_decoder_for_format(format)) {
            std::printf("no %s encoder or decoder here\n", name);
            continue;
        }
        const LoadedPicture p = load(file);
        EXPECT_EQ(p.metadata.format, name);
        ASSERT_EQ(p.bitmap.width(), 64);
        ASSERT_EQ(p.bitmap.height(), 48);
        const Colour c = p.bitmap.colourAt(30, 20);
        EXPECT_NEAR(c.b, 40, 6) << name;
        EXPECT_NEAR(c.g, 120, 6) << name;
        EXPECT_NEAR(c.r, 200, 6) << name;
        ReadOptions small;
        small.limits.maxPixels = 100;
        EXPECT_EQ(errorOf([&] { load(file, small); }), "p: the picture is 64 x 48 pixels, more than the 100 pixels accepted");
        // A cut file is an error in words, never a crash or a grey half.
        EXPECT_EQ(errorOf([&] { load(Bytes(file.begin(), file.begin() + long(file.size()) / 2)); }).rfind(std::string("p: broken ") + name, 0), 0u);
        // Damaged anywhere, the message is one line (libheif's own end in a newline): a size beyond
        // libheif's security limit in the ispe box, and bytes flipped all over.
        std::vector<Bytes> damages;
        const std::string ispe = "ispe";
        const auto box = std::search(file.begin(), file.end(), ispe.begin(), ispe.end());
        if (box != file.end() && box + 12 <= file.end()) {
            damages.push_back(file);
            damages.back()[std::size_t(box - file.begin()) + 8] = 0x5A;
        }
        for (std::size_t at = 16; at < file.size(); at += file.size() / 40 + 1) {
            damages.push_back(file);
            damages.back()[at] ^= 0x5A;
        }
        for (const Bytes& damaged : damages) {
            const std::string message = errorOf([&] { load(damaged); });
            EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        }
    }
}

// Colours described by code points instead of a profile: Display P3's become sRGB's (an orange of
// P3 is a deeper one here: (200, 120, 40) is (213, 115, 0) worked out by hand through the two
// spaces' matrices), while BT.709's primaries with a BT.709 curve are taken as sRGB, untouched.
TEST(PictureFormats, PhoneColoursGivenByCodePointsAreConvertedToSrgb) {
    Bitmap b(64, 48);
    b.fill(Colour{40, 120, 200});
    for (auto [format, name] : {std::pair{heif_compression_HEVC, "HEIC"}, {heif_compression_AV1, "AVIF"}}) {
        if (!heif_have_decoder_for_format(format)) continue;
        heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
        nclx->matrix_coefficients = heif_matrix_coefficients_ITU_R_BT_601_6;
        nclx->full_range_flag = 1;
        nclx->color_primaries = heif_color_primaries_SMPTE_EG_432_1;  // 12, Display P3
        nclx->transfer_characteristics = heif_transfer_characteristic_IEC_61966_2_1;  // 13, sRGB's curve
        const Bytes p3 = heifEncoded(b, format, nclx);
        nclx->color_primaries = heif_color_primaries_ITU_R_BT_709_5;
        nclx->transfer_characteristics = heif_transfer_characteristic_ITU_R_BT_709_5;
        const Bytes bt709 = heifEncoded(b, format, nclx);
        heif_nclx_color_profile_free(nclx);
        if (p3.empty() || bt709.empty()) continue;

        const LoadedPicture converted = load(p3);
        const Colour c = converted.bitmap.colourAt(30, 20);
        EXPECT_NEAR(c.r, 213, 7) << name;
        EXPECT_NEAR(c.g, 115, 7) << name;
        EXPECT_LE(c.b, 8) << name;
        EXPECT_EQ(converted.metadata.colourProfile.rfind("Display P3", 0), 0u) << converted.metadata.colourProfile;

        const LoadedPicture kept = load(bt709);
        const Colour k = kept.bitmap.colourAt(30, 20);
        EXPECT_NEAR(k.r, 200, 6) << name;
        EXPECT_NEAR(k.g, 120, 6) << name;
        EXPECT_NEAR(k.b, 40, 6) << name;
        EXPECT_EQ(kept.metadata.colourProfile, "") << name;
    }
    // Numbers libheif refuses (found by fuzzing; it handed out their profile all the same, which was
    // never given back): the colours are taken as decoded.
    if (heif_have_decoder_for_format(heif_compression_HEVC)) {
        const LoadedPicture odd = load(testing::fileBytes(GT_SOURCE_DIR "/fuzz/corpus/fuzz_picture/heic-refused-colour-numbers"));
        EXPECT_EQ(odd.metadata.colourProfile, "");
        EXPECT_EQ(odd.metadata.format, "HEIC");
    }
}

}  // namespace
}  // namespace gt

#pragma GCC diagnostic pop
