// SPDX-License-Identifier: GPL-3.0-or-later
// The readers of our own and the libraries driven directly: TGA, GIF, TIFF, transparency, JPEG's scan
// cap, every reader's cancel, and the memory a picture costs while it is read, measured in a child
// process.

#include <gtest/gtest.h>

#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>
#include <webp/encode.h>

#include <QImage>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "imaging/error.h"
#include "imaging/io/picture_io.h"
#include "io/io_test_support.h"

namespace gt {
namespace {

using testing::Bytes;
using testing::errorOf;

LoadedPicture load(const Bytes& b, const ReadOptions& options = {}) { return loadPicture(b.data(), b.size(), "p", options); }

void add16(Bytes& b, unsigned v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

Bytes tgaHeader(int type, int mapLength, int mapDepth, int w, int h, int depth, int descriptor, const std::string& id = "") {
    Bytes b = {std::uint8_t(id.size()), std::uint8_t(mapLength ? 1 : 0), std::uint8_t(type)};
    add16(b, 0);
    add16(b, unsigned(mapLength));
    b.push_back(std::uint8_t(mapDepth));
    add16(b, 0);
    add16(b, 0);
    add16(b, unsigned(w));
    add16(b, unsigned(h));
    b.push_back(std::uint8_t(depth));
    b.push_back(std::uint8_t(descriptor));
    b.insert(b.end(), id.begin(), id.end());
    return b;
}

Colour at(const LoadedPicture& p, int x, int y) { return p.bitmap.colourAt(x, y); }

// TGA's common kinds, each 2 x 2: the top row blue, red; the bottom row green, white.
TEST(PictureReaders, TgaCommonKinds) {
    const Colour blue{255, 0, 0}, red{0, 0, 255}, green{0, 255, 0};
    const auto expectQuad = [&](const Bytes& file, const char* which) {
        const LoadedPicture p = load(file);
        EXPECT_EQ(p.metadata.format, "TGA") << which;
        ASSERT_EQ(p.bitmap.width(), 2) << which;
        EXPECT_EQ(at(p, 0, 0), blue) << which;
        EXPECT_EQ(at(p, 1, 0), red) << which;
        EXPECT_EQ(at(p, 0, 1), green) << which;
        EXPECT_EQ(at(p, 1, 1), kWhite) << which;
    };
    // Plain 24-bit, bottom row first, no image-ID: once taken for an icon.
    Bytes plain = tgaHeader(2, 0, 0, 2, 2, 24, 0);
    for (const Colour c : {green, kWhite, blue, red}) plain.insert(plain.end(), {c.b, c.g, c.r});
    expectQuad(plain, "uncompressed");
    // 32-bit run-length coded, top row first, with an image-ID; half-transparent black is grey.
    Bytes rle = tgaHeader(10, 0, 0, 2, 2, 32, 0x28, "id");
    rle.insert(rle.end(), {0x01, 255, 0, 0, 255, 0, 0, 255, 255});     // two as they are
    rle.insert(rle.end(), {0x00, 0, 255, 0, 255, 0x80, 0, 0, 0, 0});  // one, then a run of one transparent
    expectQuad(rle, "run-length");
    // Colour-mapped, run-length, a run of red crossing into the next row.
    Bytes mapped = tgaHeader(9, 2, 24, 2, 2, 8, 0x20);
    mapped.insert(mapped.end(), {255, 0, 0, 0, 0, 255});
    mapped.insert(mapped.end(), {0x00, 0, 0x82, 1});
    const LoadedPicture m = load(mapped);
    EXPECT_EQ(at(m, 0, 0), blue);
    EXPECT_EQ(at(m, 1, 0), red);
    EXPECT_EQ(at(m, 0, 1), red);
    // Grey, 8 bits.
    Bytes grey = tgaHeader(3, 0, 0, 2, 1, 8, 0x20);
    grey.insert(grey.end(), {10, 200});
    EXPECT_EQ(at(load(grey), 1, 0), (Colour{200, 200, 200}));
    // Cut short: one line, no crash.
    EXPECT_EQ(errorOf([&] { load(Bytes(rle.begin(), rle.end() - 3)); }), "p: broken TGA data (the file ends before the picture does)");
    EXPECT_EQ(errorOf([&] { load(Bytes(plain.begin(), plain.end() - 1)); }), "p: broken TGA data (the file ends before the picture does)");
}

// A GIF of 8-bit indexes stored as literal 9-bit codes, a clear code before every 254.
Bytes gifFile(int w, int h, bool interlaced, int transparent, const std::function<int(int x, int y)>& index) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    add16(b, unsigned(w));
    add16(b, unsigned(h));
    b.insert(b.end(), {0xF7, 0, 0});
    for (int i = 0; i < 256; ++i) b.insert(b.end(), {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 3)});
    if (transparent >= 0) b.insert(b.end(), {0x21, 0xF9, 4, 1, 0, 0, std::uint8_t(transparent), 0});
    b.push_back(0x2C);
    add16(b, 0);
    add16(b, 0);
    add16(b, unsigned(w));
    add16(b, unsigned(h));
    b.push_back(interlaced ? 0x40 : 0);
    b.push_back(8);
    std::vector<int> rows;
    if (interlaced) {
        for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
            for (int y = start; y < h; y += step) rows.push_back(y);
    } else {
        for (int y = 0; y < h; ++y) rows.push_back(y);
    }
    Bytes codes;
    std::uint32_t buffer = 0;
    int buffered = 0, count = 0;
    const auto putCode = [&](int code) {
        buffer |= std::uint32_t(code) << buffered;
        for (buffered += 9; buffered >= 8; buffered -= 8, buffer >>= 8) codes.push_back(std::uint8_t(buffer));
    };
    for (const int y : rows)
        for (int x = 0; x < w; ++x) {
            if (count++ % 254 == 0) putCode(256);
            putCode(index(x, y));
        }
    putCode(257);
    if (buffered > 0) codes.push_back(std::uint8_t(buffer));
    for (std::size_t at = 0; at < codes.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, codes.size() - at);
        b.push_back(std::uint8_t(n));
        b.insert(b.end(), codes.begin() + long(at), codes.begin() + long(at + n));
    }
    b.insert(b.end(), {0, 0x3B});
    return b;
}

// Our GIF reader gives what Qt's gives, transparent pixels laid on white.
TEST(PictureReaders, GifAsQtReadsIt) {
    for (const bool interlaced : {false, true}) {
        const Bytes gif = gifFile(23, 19, interlaced, 7, [](int x, int y) { return (x * 7 + y * 13) % 256; });
        QImage qt;
        ASSERT_TRUE(qt.loadFromData(gif.data(), int(gif.size()), "GIF"));
        const LoadedPicture p = load(gif);
        EXPECT_EQ(p.metadata.format, "GIF");
        for (int y = 0; y < 19; ++y)
            for (int x = 0; x < 23; ++x) {
                const QRgb c = qt.pixel(x, y);
                const Colour want = qAlpha(c) == 0 ? kWhite : Colour{std::uint8_t(qBlue(c)), std::uint8_t(qGreen(c)), std::uint8_t(qRed(c))};
                ASSERT_EQ(at(p, x, y), want) << x << "," << y << (interlaced ? " interlaced" : "");
            }
        EXPECT_EQ(errorOf([&] { load(Bytes(gif.begin(), gif.begin() + 900)); }), "p: broken GIF data (the file ends before the picture does)");
    }
}

// Small TIFFs written by libtiff in every layout the reader takes.
Bytes tiffFile(const std::string& path, int w, int h, int bits, int samples, int photometric, bool planar, int tile,
               int compression, const std::function<unsigned(int x, int y, int s)>& value) {
    TIFF* t = TIFFOpen(path.c_str(), "w");
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, planar ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, compression);
    if (samples == 4 && photometric == PHOTOMETRIC_RGB) {
        const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, extra);
    }
    if (photometric == PHOTOMETRIC_PALETTE) {
        static std::vector<uint16_t> r(256), g(256), b(256);
        for (int i = 0; i < 256; ++i) r[std::size_t(i)] = uint16_t(i * 257), g[std::size_t(i)] = 0, b[std::size_t(i)] = uint16_t((255 - i) * 257);
        TIFFSetField(t, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
    }
    const int planes = planar ? samples : 1, perPixel = planar ? 1 : samples;
    const auto fill = [&](std::vector<unsigned char>& buf, int x0, int y0, int cw, int ch, int s) {
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x)
                for (int k = 0; k < perPixel; ++k) {
                    const bool inside = x0 + x < w && y0 + y < h;
                    const unsigned v = inside ? value(x0 + x, y0 + y, planar ? s : k) : 0;
                    const std::size_t i = (std::size_t(y) * std::size_t(cw) + std::size_t(x)) * std::size_t(perPixel) + std::size_t(k);
                    if (bits == 16) std::memcpy(buf.data() + i * 2, &v, 2);
                    else buf[i] = std::uint8_t(v);
                }
    };
    if (tile) {
        TIFFSetField(t, TIFFTAG_TILEWIDTH, tile);
        TIFFSetField(t, TIFFTAG_TILELENGTH, tile);
        std::vector<unsigned char> buf(std::size_t(TIFFTileSize(t)));
        for (int s = 0; s < planes; ++s)
            for (int y = 0; y < h; y += tile)
                for (int x = 0; x < w; x += tile) {
                    fill(buf, x, y, tile, tile, s);
                    TIFFWriteTile(t, buf.data(), uint32_t(x), uint32_t(y), 0, uint16_t(s));
                }
    } else {
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 3);
        std::vector<unsigned char> buf(std::size_t(TIFFScanlineSize(t)));
        for (int s = 0; s < planes; ++s)
            for (int y = 0; y < h; ++y) {
                fill(buf, 0, y, w, 1, s);
                TIFFWriteScanline(t, buf.data(), uint32_t(y), uint16_t(s));
            }
    }
    TIFFClose(t);
    return testing::fileBytes(path);
}

class PictureReadersFiles : public testing::ScratchFolder {};

TEST_F(PictureReadersFiles, TiffStripsAndTilesEightAndSixteenBitsInterleavedAndInPlanes) {
    const auto rgb = [](int x, int y, int s) { return unsigned(s == 0 ? x * 10 : s == 1 ? y * 10 : 100); };
    for (const int tile : {0, 16})
        for (const int bits : {8, 16})
            for (const bool planar : {false, true}) {
                const std::string which = std::string(tile ? "tiles " : "strips ") + std::to_string(bits) + (planar ? " planes" : " interleaved");
                const unsigned scale = bits == 16 ? 257 : 1;
                const Bytes tiff = tiffFile(file("t.tif"), 20, 20, bits, 3, PHOTOMETRIC_RGB, planar, tile, COMPRESSION_DEFLATE,
                                            [&](int x, int y, int s) { return rgb(x, y, s) * scale; });
                const LoadedPicture p = load(tiff);
                EXPECT_EQ(p.metadata.format, "TIFF");
                ASSERT_EQ(p.bitmap.width(), 20) << which;
                EXPECT_EQ(at(p, 19, 13), (Colour{100, 130, 190})) << which;
            }
    // The uncompressed tiled file once refused as broken by the old reader.
    const Bytes tiled = tiffFile(file("u.tif"), 20, 20, 8, 3, PHOTOMETRIC_RGB, false, 16, COMPRESSION_NONE, rgb);
    EXPECT_EQ(at(load(tiled), 17, 18), (Colour{100, 180, 170}));
    // Grey, palette, and alpha laid on white.
    const Bytes grey = tiffFile(file("g.tif"), 5, 4, 16, 1, PHOTOMETRIC_MINISBLACK, false, 0, COMPRESSION_LZW,
                                [](int x, int, int) { return unsigned(x * 60 * 257); });
    EXPECT_EQ(at(load(grey), 3, 2), (Colour{180, 180, 180}));
    const Bytes palette = tiffFile(file("p.tif"), 5, 4, 8, 1, PHOTOMETRIC_PALETTE, false, 0, COMPRESSION_NONE,
                                   [](int x, int, int) { return unsigned(x * 50); });
    EXPECT_EQ(at(load(palette), 2, 1), (Colour{155, 0, 100}));
    const Bytes alpha = tiffFile(file("a.tif"), 5, 4, 8, 4, PHOTOMETRIC_RGB, false, 0, COMPRESSION_NONE,
                                 [](int, int, int s) { return unsigned(s == 3 ? 0 : 30); });
    EXPECT_EQ(at(load(alpha), 1, 1), kWhite);
    // Damaged: our words, never a made-up file name.
    const std::string cut = errorOf([&] { load(Bytes(tiled.begin(), tiled.begin() + 300)); });
    EXPECT_EQ(cut.rfind("p: broken TIFF data (", 0), 0u) << cut;
    EXPECT_EQ(cut.find("foo"), std::string::npos) << cut;
    EXPECT_EQ(cut.find('\n'), std::string::npos) << cut;
}

// A progressive grey JPEG of 1 + 63 x 10 scans: every coefficient refined bit by bit.
Bytes manyScansJpeg() {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = 16;
    c.image_height = 16;
    c.input_components = 1;
    c.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    static std::vector<jpeg_scan_info> scans;
    scans.clear();
    scans.push_back({1, {0}, 0, 0, 0, 0});
    for (int k = 1; k < 64; ++k) {
        scans.push_back({1, {0}, k, k, 0, 9});
        for (int al = 8; al >= 0; --al) scans.push_back({1, {0}, k, k, al + 1, al});
    }
    c.scan_info = scans.data();
    c.num_scans = int(scans.size());
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(16, 128);
    while (c.next_scanline < 16) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes b(out, out + size);
    std::free(out);
    return b;
}

// Blue, green, red and alpha that change from pixel to pixel, alpha through all its values.
std::vector<unsigned char> bgraPixels(int w, int h) {
    std::vector<unsigned char> bgra(std::size_t(w) * std::size_t(h) * 4);
    unsigned seed = 1;
    for (std::size_t i = 0; i < bgra.size(); ++i) {
        seed = seed * 1103515245u + 12345u;
        bgra[i] = static_cast<unsigned char>(i % 4 == 3 ? (i / 4) % 256 : seed >> 16);
    }
    return bgra;
}

Bytes pngOf(const std::vector<unsigned char>& bgra, int w, int h, bool interlaced) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Bytes out;
    png_set_write_fn(png, &out, [](png_structp p, png_bytep data, png_size_t n) {
        auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
        o->insert(o->end(), data, data + n);
    }, nullptr);
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGBA,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    png_set_bgr(png);
    std::vector<png_bytep> rows(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) rows[std::size_t(y)] = const_cast<png_bytep>(bgra.data()) + std::size_t(y) * std::size_t(w) * 4;
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes webpOf(const std::vector<unsigned char>& bgra, int w, int h, bool lossless) {
    std::uint8_t* out = nullptr;
    const std::size_t size = lossless ? WebPEncodeLosslessBGRA(bgra.data(), w, h, w * 4, &out)
                                      : WebPEncodeBGRA(bgra.data(), w, h, w * 4, 80, &out);
    Bytes b(out, out + size);
    WebPFree(out);
    return b;
}

// Transparent pixels come out laid on white by every reader alike, whether the reader lays them a
// row at a time (PNG) or a whole picture in place in its own memory (interlaced PNG, WebP).
TEST(PictureReaders, TransparentPixelsAreLaidOnWhiteAlikeByEveryRoad) {
    constexpr int w = 301, h = 203;  // odd sizes: no row or pixel count a multiple of anything
    const std::vector<unsigned char> bgra = bgraPixels(w, h);
    const Bitmap rowByRow = load(pngOf(bgra, w, h, false)).bitmap;
    ASSERT_EQ(rowByRow.width(), w);
    EXPECT_EQ(rowByRow.colourAt(0, 0), kWhite);  // alpha 0
    EXPECT_EQ(load(pngOf(bgra, w, h, true)).bitmap, rowByRow);
    EXPECT_EQ(load(webpOf(bgra, w, h, true)).bitmap, rowByRow);
}

TEST(PictureReaders, JpegOfAbsurdlyManyScansIsRefusedAndACancelStopsEveryReader) {
    EXPECT_EQ(errorOf([] { load(manyScansJpeg()); }), "p: broken JPEG data (more than 500 scans)");
    const Bitmap photo = testing::pattern(300, 200);
    const std::vector<unsigned char> bgra = bgraPixels(300, 200);
    const std::vector<std::pair<const char*, Bytes>> files = {
        {"JPEG", encodeJpeg(photo)},
        {"PNG", encodePng(photo)},
        {"interlaced PNG", pngOf(bgra, 300, 200, true)},
        {"TIFF", encodePicture(photo, PictureFormat::Tiff)},
        {"WebP", webpOf(bgra, 300, 200, false)},
        {"lossless WebP", webpOf(bgra, 300, 200, true)},  // several of the pieces it is decoded in
    };
    std::atomic<bool> cancel{true};
    ReadOptions options;
    options.cancel = &cancel;
    for (const auto& [kind, file] : files) {
        cancel = true;
        try {
            load(file, options);
            ADD_FAILURE() << kind << " read to its end";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "p: reading cancelled") << kind;
            EXPECT_EQ(e.kind(), ErrorKind::Cancelled) << kind;
        }
        // A flag that stays clear changes nothing (WebP is then decoded a piece at a time).
        cancel = false;
        EXPECT_EQ(load(file, options).bitmap, load(file).bitmap) << kind;
    }
}

// ---- Memory --------------------------------------------------------------------------------------

long statusKilobytes(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
    return -1;
}

// What reading the file costs beyond what the process held before, in bytes, from a child process
// whose peak is reset just before the read (the file's own bytes are the parent's, shared).
long long readingPeak(const Bytes& file, std::string& error) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        std::ofstream("/proc/self/clear_refs") << "5";
        const long before = statusKilobytes("VmRSS:");
        std::string message;  // a refusal is fine: what it cost is measured all the same
        try {
            (void)load(file);
        } catch (const std::exception& e) {
            message = e.what();
        }
        const long long result = (statusKilobytes("VmHWM:") - before) * 1024LL;
        char text[600];
        const int n = std::snprintf(text, sizeof text, "%lld %s", result, message.c_str());
        (void)!write(pipeEnds[1], text, std::size_t(n));
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, std::size_t(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    long long peak = -1;
    if (std::sscanf(text.c_str(), "%lld", &peak) != 1) return -1;
    const std::size_t space = text.find(' ');
    if (space != std::string::npos) error = text.substr(space + 1);
    return peak;
}

#if defined(__SANITIZE_ADDRESS__)
#define GT_MEMORY_MEASURED 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define GT_MEMORY_MEASURED 0
#endif
#endif
#ifndef GT_MEMORY_MEASURED
#define GT_MEMORY_MEASURED 1
#endif

// Bomb-like files: small or plain, of 2000 x 2000 pixels in the format's heaviest common kind. Each
// reading peaks within 4 bytes a pixel beyond the process's own (8 for lossless WebP, whose decoder
// keeps the whole picture in 32-bit pixels as it goes; 5 for transparent lossy WebP).
TEST_F(PictureReadersFiles, ReadingStaysWithinItsMemoryBudget) {
    if (!GT_MEMORY_MEASURED) GTEST_SKIP() << "the sanitizers' shadow memory is counted as the process's";
    constexpr int kSide = 2000;
    constexpr long long kPixels = 1LL * kSide * kSide, kSlack = 6LL << 20;
    struct Case {
        const char* name;
        Bytes file;
        int bytesPerPixel;
    };
    std::vector<Case> cases;
    {
        // A 1 x 1 PNG whose text chunk claims 2 GB: libpng once took and cleared all of it.
        Bytes png = encodePng(Bitmap(1, 1));
        const unsigned char text[] = {0x7F, 0xFF, 0xFF, 0x00, 't', 'E', 'X', 't', 'k', 0, 'v'};
        png.insert(png.begin() + 33, text, text + sizeof text);
        cases.push_back({"tEXt", png, 0});
        for (const char* type : {"zTXt", "iTXt", "sPLT"}) {
            Bytes other = png;
            std::memcpy(other.data() + 37, type, 4);
            cases.push_back({type, other, 0});
        }
    }
    {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = kSide;
        image.height = kSide;
        image.format = PNG_FORMAT_RGBA;
        std::vector<unsigned char> rgba(std::size_t(kPixels) * 4, 128);
        png_alloc_size_t size = 0;
        png_image_write_get_memory_size(image, size, 0, rgba.data(), 0, nullptr);
        Bytes png(size);
        png_image_write_to_memory(&image, png.data(), &size, 0, rgba.data(), 0, nullptr);
        png.resize(size);
        cases.push_back({"RGBA PNG", png, 4});
    }
    cases.push_back({"16-bit TIFF", tiffFile(file("big.tif"), kSide, kSide, 16, 4, PHOTOMETRIC_RGB, false, 0, COMPRESSION_DEFLATE,
                                             [](int, int, int) { return 40000u; }),
                     4});
    {
        std::vector<unsigned char> bgr(std::size_t(kPixels) * 3, 90);
        std::uint8_t* out = nullptr;
        std::size_t size = WebPEncodeLosslessBGR(bgr.data(), kSide, kSide, kSide * 3, &out);
        cases.push_back({"lossless WebP", Bytes(out, out + size), 8});
        WebPFree(out);
        size = WebPEncodeBGR(bgr.data(), kSide, kSide, kSide * 3, 50, &out);
        cases.push_back({"WebP", Bytes(out, out + size), 4});
        WebPFree(out);
        // With transparency: one picture of four bytes a pixel, laid on white in place; lossless
        // adds libwebp's own 32-bit picture, lossy its alpha plane (a byte a pixel when the alpha is
        // coded by a palette, as a cut-out's few levels are).
        std::vector<unsigned char> bgra(std::size_t(kPixels) * 4);
        for (std::size_t i = 0; i < bgra.size(); i += 4) {
            const int x = int(i / 4 % kSide), y = int(i / 4 / kSide);
            bgra[i] = std::uint8_t(x), bgra[i + 1] = std::uint8_t(y), bgra[i + 2] = std::uint8_t(x + y);
            bgra[i + 3] = std::uint8_t((x / 50 + y / 50) % 3 * 127);
        }
        cases.push_back({"transparent lossless WebP", webpOf(bgra, kSide, kSide, true), 8});
        cases.push_back({"transparent WebP", webpOf(bgra, kSide, kSide, false), 5});
        cases.push_back({"interlaced RGBA PNG", pngOf(bgra, kSide, kSide, true), 4});
    }
    const Bitmap plain = testing::pattern(kSide, kSide);
    cases.push_back({"JPEG", encodeJpeg(plain), 4});
    cases.push_back({"BMP", encodeBmp(plain), 4});
    {
        Bytes pnm;
        const std::string header = "P6\n2000 2000\n255\n";
        pnm.assign(header.begin(), header.end());
        pnm.insert(pnm.end(), plain.row(0), plain.row(0) + plain.stride() * kSide);
        cases.push_back({"PNM", pnm, 4});
        Bytes tga = tgaHeader(10, 0, 0, kSide, kSide, 32, 0x28);
        for (long long n = 0; n < kPixels; n += 128) tga.insert(tga.end(), {0xFF, 10, 20, 30, 128});
        cases.push_back({"TGA", tga, 4});
        cases.push_back({"GIF", gifFile(kSide, kSide, true, 3, [](int x, int) { return x % 200; }), 4});
    }
    for (const Case& c : cases) {
        std::string error;
        const long long peak = readingPeak(c.file, error);
        ASSERT_GE(peak, 0) << c.name << ": " << error;
        EXPECT_LE(peak, c.bytesPerPixel * kPixels + kSlack) << c.name << " (" << c.file.size() << " bytes)";
        std::printf("%-28s %8zu bytes: peak %6.2f bytes a pixel (%lld KB)\n", c.name, c.file.size(), double(peak) / kPixels, peak / 1024);
    }
}

}  // namespace
}  // namespace gt
