// SPDX-License-Identifier: GPL-3.0-or-later
// TIFF through libtiff itself: strips read a row at a time and tiles one at a time, each converted
// to blue, green, red on the way into the bitmap, so a picture costs its bitmap and a few rows
// whatever its depth (8 or 16 bits; grey, RGB, palette, CMYK; with or without alpha; samples
// interleaved or in planes). Kinds libtiff only knows how to turn into RGBA (YCbCr without JPEG,
// CIE L*a*b* ...) go through its RGBA reader, a band of rows at a time. libtiff's messages are kept
// per file, never printed, and the file is named by its own name in them.

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "imaging/error.h"
#include "imaging/io/codecs.h"

namespace gt {

namespace {

// The name libtiff is given for the file, taken out of its messages again.
constexpr const char* kTiffName = "<tiff>";
// No tile or strip of a real picture needs more in one piece.
constexpr tmsize_t kMaxPieceBytes = tmsize_t(64) << 20;

struct MemoryFile {
    const unsigned char* data = nullptr;
    toff_t size = 0, at = 0;
    std::string message;  // libtiff's last error
};

tmsize_t readProc(thandle_t h, void* out, tmsize_t n) {
    auto* f = static_cast<MemoryFile*>(h);
    if (n <= 0 || f->at >= f->size) return 0;
    const toff_t count = std::min<toff_t>(toff_t(n), f->size - f->at);
    std::memcpy(out, f->data + f->at, std::size_t(count));
    f->at += count;
    return tmsize_t(count);
}
tmsize_t writeProc(thandle_t, void*, tmsize_t) { return 0; }
toff_t seekProc(thandle_t h, toff_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(h);
    toff_t base = whence == SEEK_CUR ? f->at : whence == SEEK_END ? f->size : 0;
    f->at = base + offset;
    return f->at;
}
int closeProc(thandle_t) { return 0; }
toff_t sizeProc(thandle_t h) { return static_cast<MemoryFile*>(h)->size; }
int mapProc(thandle_t h, void** base, toff_t* size) {
    auto* f = static_cast<MemoryFile*>(h);
    *base = const_cast<unsigned char*>(f->data);  // read only: libtiff never writes a mapped file opened to read
    *size = f->size;
    return 1;
}
void unmapProc(thandle_t, void*, toff_t) {}

#if defined(__GNUC__)
__attribute__((format(printf, 4, 0)))
#endif
int onError(TIFF*, void* user, const char*, const char* format, va_list args) {
    char text[300];
    std::vsnprintf(text, sizeof text, format, args);
    std::string message = text;
    const std::string prefix = std::string(kTiffName) + ": ";
    for (std::size_t at; (at = message.find(prefix)) != std::string::npos;) message.erase(at, prefix.size());
    for (std::size_t at; (at = message.find(kTiffName)) != std::string::npos;) message.replace(at, std::strlen(kTiffName), "the file");
    if (!message.empty() && message.back() == '.') message.pop_back();
    static_cast<MemoryFile*>(user)->message = message;
    return 1;  // handled: nothing reaches the process-wide handlers
}
int onWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }  // damaged extras cost nothing

struct TiffClose {
    void operator()(TIFF* t) const { TIFFClose(t); }
};

struct Layout {
    uint32_t width = 0, height = 0;
    uint16_t bits = 8, samples = 1, photometric = PHOTOMETRIC_MINISBLACK, planar = PLANARCONFIG_CONTIG;
    int colours = 1;      // samples that make the colour
    int alpha = -1;       // the sample of the alpha, -1 when none
    bool premultiplied = false;
    const uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;  // the palette
    int paletteShift = 8;
};

uint16_t sampleAt(const unsigned char* row, std::size_t index, int bits) {
    switch (bits) {
        case 8: return row[index];
        case 16: {
            uint16_t v;
            std::memcpy(&v, row + index * 2, 2);  // libtiff gives 16-bit samples in the machine's order
            return v;
        }
        default: {
            const std::size_t bit = index * std::size_t(bits);
            const int shift = 8 - bits - int(bit % 8);
            return uint16_t((row[bit / 8] >> shift) & ((1 << bits) - 1));
        }
    }
}

// Converts `count` pixels whose samples (one sample of each of `layout.samples` planes, or all
// interleaved) are in `planes` into blue, green, red; transparent pixels are laid on white.
class RowConverter {
public:
    RowConverter(const Layout& layout, const std::vector<unsigned char>& icc) : l_(layout) {
        if (l_.photometric == PHOTOMETRIC_SEPARATED) cmyk_ = std::make_unique<CmykConverter>(icc, false);
    }
    bool cmykThroughProfile() const { return cmyk_ && cmyk_->usable(); }
    const std::string profileDescription() const { return cmyk_ ? cmyk_->description() : std::string(); }

    // `planes[s]` holds sample s of each pixel when the samples are in planes; otherwise planes[0]
    // holds them all, interleaved. `first` is the pixel of the row the pointers start at.
    void convert(const unsigned char* const* planes, std::size_t first, std::size_t count, unsigned char* out) {
        const bool separate = l_.planar == PLANARCONFIG_SEPARATE;
        const auto sample = [&](std::size_t x, int s) -> int {
            return separate ? sampleAt(planes[s], first + x, l_.bits) : sampleAt(planes[0], (first + x) * l_.samples + s, l_.bits);
        };
        const int maxValue = (1 << l_.bits) - 1;
        const auto to8 = [&](int v) { return l_.bits == 8 ? v : (v * 255 + maxValue / 2) / maxValue; };
        if (cmykThroughProfile()) ink_.resize(count * 4);
        for (std::size_t x = 0; x < count; ++x, out += 3) {
            int r, g, b;
            switch (l_.photometric) {
                case PHOTOMETRIC_PALETTE: {
                    const int i = sample(x, 0);
                    r = l_.red[i] >> l_.paletteShift;
                    g = l_.green[i] >> l_.paletteShift;
                    b = l_.blue[i] >> l_.paletteShift;
                    break;
                }
                case PHOTOMETRIC_RGB:
                    r = to8(sample(x, 0));
                    g = to8(sample(x, 1));
                    b = to8(sample(x, 2));
                    break;
                case PHOTOMETRIC_SEPARATED: {
                    const int c = to8(sample(x, 0)), m = to8(sample(x, 1)), y = to8(sample(x, 2)), k = to8(sample(x, 3));
                    if (cmykThroughProfile()) {
                        unsigned char* p = ink_.data() + x * 4;
                        p[0] = uint8_t(c), p[1] = uint8_t(m), p[2] = uint8_t(y), p[3] = uint8_t(k);
                        r = g = b = 0;
                        break;
                    }
                    r = ((255 - c) * (255 - k) + 127) / 255;
                    g = ((255 - m) * (255 - k) + 127) / 255;
                    b = ((255 - y) * (255 - k) + 127) / 255;
                    break;
                }
                default:  // grey
                    r = g = b = l_.photometric == PHOTOMETRIC_MINISWHITE ? 255 - to8(sample(x, 0)) : to8(sample(x, 0));
                    break;
            }
            if (l_.alpha >= 0) {
                const int a = to8(sample(x, l_.alpha));
                if (l_.premultiplied) {
                    r = std::min(255, r + 255 - a);
                    g = std::min(255, g + 255 - a);
                    b = std::min(255, b + 255 - a);
                } else {
                    const int white = 255 * (255 - a);
                    r = (r * a + white + 127) / 255;
                    g = (g * a + white + 127) / 255;
                    b = (b * a + white + 127) / 255;
                }
            }
            out[0] = uint8_t(b), out[1] = uint8_t(g), out[2] = uint8_t(r);
        }
        if (cmykThroughProfile()) cmyk_->convertRow(ink_.data(), out - count * 3, int(count));
    }

private:
    const Layout& l_;
    std::unique_ptr<CmykConverter> cmyk_;
    std::vector<unsigned char> ink_;
};

// Whether our own conversion knows the layout; the others go through libtiff's RGBA reader.
bool ownLayout(TIFF* tif, Layout& l) {
    uint16_t format = SAMPLEFORMAT_UINT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &format);
    if (format != SAMPLEFORMAT_UINT && format != SAMPLEFORMAT_VOID) return false;
    if (l.bits != 1 && l.bits != 2 && l.bits != 4 && l.bits != 8 && l.bits != 16) return false;
    switch (l.photometric) {
        case PHOTOMETRIC_MINISBLACK:
        case PHOTOMETRIC_MINISWHITE:
            l.colours = 1;
            break;
        case PHOTOMETRIC_RGB:
            l.colours = 3;
            break;
        case PHOTOMETRIC_PALETTE:
            if (l.bits > 8 && l.bits != 16) return false;
            if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &l.red, &l.green, &l.blue)) return false;
            l.colours = 1;
            {
                // Some writers store 8-bit palettes; libtiff's own reader guesses the same way.
                const std::size_t n = std::size_t(1) << l.bits;
                bool small = true;
                for (std::size_t i = 0; i < n && small; ++i) small = l.red[i] < 256 && l.green[i] < 256 && l.blue[i] < 256;
                l.paletteShift = small ? 0 : 8;
            }
            break;
        case PHOTOMETRIC_SEPARATED: {
            uint16_t inks = INKSET_CMYK;
            TIFFGetFieldDefaulted(tif, TIFFTAG_INKSET, &inks);
            if (inks != INKSET_CMYK || l.bits < 8) return false;
            l.colours = 4;
            break;
        }
        default:
            return false;
    }
    if (l.samples < l.colours) return false;
    uint16_t extraCount = 0;
    const uint16_t* extras = nullptr;
    if (l.samples > l.colours && TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extras) && extraCount > 0 &&
        (extras[0] == EXTRASAMPLE_ASSOCALPHA || extras[0] == EXTRASAMPLE_UNASSALPHA)) {
        l.alpha = l.colours;
        l.premultiplied = extras[0] == EXTRASAMPLE_ASSOCALPHA;
    }
    return true;
}

// `stop` throws when the reading is cancelled; it is asked every few rows, strips or tiles.
bool readStrips(TIFF* tif, const Layout& l, RowConverter& convert, Bitmap& bitmap, const std::function<void()>& stop) {
    const tmsize_t rowBytes = TIFFScanlineSize(tif);
    if (rowBytes <= 0) return false;
    const int planes = l.planar == PLANARCONFIG_SEPARATE ? l.samples : 1;
    std::vector<std::vector<unsigned char>> rows(static_cast<std::size_t>(planes), std::vector<unsigned char>(static_cast<std::size_t>(rowBytes)));
    std::vector<const unsigned char*> pointers(static_cast<std::size_t>(planes));
    for (int s = 0; s < planes; ++s) pointers[std::size_t(s)] = rows[std::size_t(s)].data();
    if (planes == 1) {
        for (uint32_t y = 0; y < l.height; ++y) {
            if (y % 64 == 0) stop();
            if (TIFFReadScanline(tif, rows[0].data(), y, 0) < 0) return false;
            convert.convert(pointers.data(), 0, l.width, bitmap.row(int(y)));
        }
        return true;
    }
    // Samples in planes: a strip of each plane at a time, when they are of a sane size.
    const tmsize_t stripBytes = TIFFStripSize(tif);
    uint32_t rowsPerStrip = l.height;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    rowsPerStrip = std::min(std::max<uint32_t>(rowsPerStrip, 1), l.height);
    if (stripBytes <= 0 || stripBytes > kMaxPieceBytes / planes) {
        // Planes of one huge strip each: row by row, each plane decoded up to the row again.
        for (uint32_t y = 0; y < l.height; ++y) {
            if (y % 64 == 0) stop();
            for (int s = 0; s < planes; ++s)
                if (TIFFReadScanline(tif, rows[std::size_t(s)].data(), y, uint16_t(s)) < 0) return false;
            convert.convert(pointers.data(), 0, l.width, bitmap.row(int(y)));
        }
        return true;
    }
    std::vector<std::vector<unsigned char>> strips(static_cast<std::size_t>(planes), std::vector<unsigned char>(static_cast<std::size_t>(stripBytes)));
    const uint32_t stripsPerPlane = (l.height + rowsPerStrip - 1) / rowsPerStrip;
    for (uint32_t strip = 0; strip < stripsPerPlane; ++strip) {
        stop();
        const uint32_t top = strip * rowsPerStrip, count = std::min(rowsPerStrip, l.height - top);
        for (int s = 0; s < planes; ++s)
            if (TIFFReadEncodedStrip(tif, strip + uint32_t(s) * stripsPerPlane, strips[std::size_t(s)].data(),
                                     tmsize_t(count) * rowBytes) < tmsize_t(count) * rowBytes)
                return false;
        for (uint32_t i = 0; i < count; ++i) {
            for (int s = 0; s < planes; ++s) pointers[std::size_t(s)] = strips[std::size_t(s)].data() + std::size_t(i) * std::size_t(rowBytes);
            convert.convert(pointers.data(), 0, l.width, bitmap.row(int(top + i)));
        }
    }
    return true;
}

bool readTiles(TIFF* tif, const Layout& l, RowConverter& convert, Bitmap& bitmap, std::string& why,
               const std::function<void()>& stop) {
    uint32_t tileWidth = 0, tileHeight = 0;
    TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileHeight);
    const tmsize_t tileBytes = TIFFTileSize(tif), tileRowBytes = TIFFTileRowSize(tif);
    const int planes = l.planar == PLANARCONFIG_SEPARATE ? l.samples : 1;
    if (tileWidth == 0 || tileHeight == 0 || tileBytes <= 0 || tileRowBytes <= 0 || tileBytes > kMaxPieceBytes / planes) {
        why = "tiles of " + std::to_string(tileWidth) + " x " + std::to_string(tileHeight) + " pixels";
        return false;
    }
    std::vector<std::vector<unsigned char>> tiles(static_cast<std::size_t>(planes), std::vector<unsigned char>(static_cast<std::size_t>(tileBytes)));
    std::vector<const unsigned char*> pointers(static_cast<std::size_t>(planes));
    for (uint32_t top = 0; top < l.height; top += tileHeight) {
        for (uint32_t left = 0; left < l.width; left += tileWidth) {
            stop();
            for (int s = 0; s < planes; ++s)
                if (TIFFReadTile(tif, tiles[std::size_t(s)].data(), left, top, 0, uint16_t(s)) < 0) return false;
            const uint32_t across = std::min(tileWidth, l.width - left), down = std::min(tileHeight, l.height - top);
            for (uint32_t i = 0; i < down; ++i) {
                for (int s = 0; s < planes; ++s)
                    pointers[std::size_t(s)] = tiles[std::size_t(s)].data() + std::size_t(i) * std::size_t(tileRowBytes);
                convert.convert(pointers.data(), 0, across, bitmap.row(int(top + i)) + std::size_t(left) * 3);
            }
        }
    }
    return true;
}

// libtiff's RGBA reader, a band of rows at a time, as the file stores them (the loader turns the
// picture by its orientation).
bool readThroughRgba(TIFF* tif, const Layout& l, Bitmap& bitmap, std::string& why, const std::function<void()>& stop) {
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif, message)) {
        why = message;
        return false;
    }
    TIFFRGBAImage image;
    if (!TIFFRGBAImageBegin(&image, tif, 0, message)) {
        why = message;
        return false;
    }
    uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    image.req_orientation = orientation;
    constexpr uint32_t kBand = 64;
    std::vector<uint32_t> band(std::size_t(l.width) * kBand);
    bool ok = true;
    // The reader's state is given back on every way out, a cancel's included.
    const std::unique_ptr<TIFFRGBAImage, decltype(&TIFFRGBAImageEnd)> ending(&image, &TIFFRGBAImageEnd);
    for (uint32_t top = 0; top < l.height && ok; top += kBand) {
        stop();
        const uint32_t rows = std::min(kBand, l.height - top);
        image.row_offset = int(top);
        image.col_offset = 0;
        ok = TIFFRGBAImageGet(&image, band.data(), l.width, rows) != 0;
        for (uint32_t i = 0; i < rows && ok; ++i) {
            const uint32_t* in = band.data() + std::size_t(i) * l.width;
            unsigned char* out = bitmap.row(int(top + i));
            for (uint32_t x = 0; x < l.width; ++x, out += 3) {
                // Premultiplied by the reader: laid on white by adding what the alpha leaves.
                const int left = 255 - int(TIFFGetA(in[x]));
                out[0] = uint8_t(std::min(255, int(TIFFGetB(in[x])) + left));
                out[1] = uint8_t(std::min(255, int(TIFFGetG(in[x])) + left));
                out[2] = uint8_t(std::min(255, int(TIFFGetR(in[x])) + left));
            }
        }
    }
    return ok;
}

}  // namespace

DecodedPicture decodeTiff(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check,
                          const std::atomic<bool>* cancel) {
    MemoryFile file;
    file.data = data;
    file.size = size;
    const std::unique_ptr<TIFFOpenOptions, decltype(&TIFFOpenOptionsFree)> options(TIFFOpenOptionsAlloc(), &TIFFOpenOptionsFree);
    if (!options) throw Error(name + ": not enough memory to read the TIFF picture");
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), onError, &file);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), onWarning, &file);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxPieceBytes);
    const auto fail = [&](std::string why) {
        if (why.empty()) why = file.message;
        if (why.empty()) why = "the data ends or breaks off before the picture does";
        throw Error(name + ": broken TIFF data (" + why + ")");
    };
    const std::unique_ptr<TIFF, TiffClose> tif(TIFFClientOpenExt(kTiffName, "r", &file, readProc, writeProc, seekProc, closeProc,
                                                                 sizeProc, mapProc, unmapProc, options.get()));
    if (!tif) fail("");

    Layout l;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &l.width);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &l.height);
    check(l.width, l.height);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &l.bits);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &l.samples);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_PLANARCONFIG, &l.planar);
    if (!TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &l.photometric))
        l.photometric = l.samples >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_COMPRESSION, &compression);
    if (l.photometric == PHOTOMETRIC_YCBCR && (compression == COMPRESSION_JPEG || compression == COMPRESSION_OJPEG) &&
        TIFFSetField(tif.get(), TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB))
        l.photometric = PHOTOMETRIC_RGB;

    DecodedPicture out;
    uint32_t profileLength = 0;
    const void* profile = nullptr;
    if (TIFFGetField(tif.get(), TIFFTAG_ICCPROFILE, &profileLength, &profile) && profile && profileLength > 0 &&
        profileLength <= (16u << 20)) {
        const auto* p = static_cast<const unsigned char*>(profile);
        out.iccProfile.assign(p, p + profileLength);
    }
    float resolutionX = 0, resolutionY = 0;
    uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_RESOLUTIONUNIT, &unit);
    if (TIFFGetField(tif.get(), TIFFTAG_XRESOLUTION, &resolutionX) && TIFFGetField(tif.get(), TIFFTAG_YRESOLUTION, &resolutionY) &&
        resolutionX > 0 && resolutionY > 0 && (unit == RESUNIT_INCH || unit == RESUNIT_CENTIMETER)) {
        const double scale = unit == RESUNIT_CENTIMETER ? 2.54 : 1.0;
        out.dotsPerInchX = resolutionX * scale;
        out.dotsPerInchY = resolutionY * scale;
    }

    out.bitmap.setSizeForOverwrite(int(l.width), int(l.height));
    std::string why;
    const std::function<void()> stop = [&] { stopIfCancelled(cancel, name); };
    if (ownLayout(tif.get(), l)) {
        RowConverter convert(l, out.iccProfile);
        const bool ok = TIFFIsTiled(tif.get()) ? readTiles(tif.get(), l, convert, out.bitmap, why, stop)
                                               : readStrips(tif.get(), l, convert, out.bitmap, stop);
        if (!ok) fail(why);
        if (convert.cmykThroughProfile()) {
            out.appliedProfile = convert.profileDescription();
            out.iccProfile.clear();
        }
    } else {
        if (!readThroughRgba(tif.get(), l, out.bitmap, why, stop)) {
            if (!file.message.empty() || why.empty()) fail(why);
            throw Error(name + ": a kind of TIFF picture this program cannot read (" + why + ")");
        }
        if (l.photometric == PHOTOMETRIC_SEPARATED || l.photometric == PHOTOMETRIC_CIELAB) out.iccProfile.clear();
    }
    if (l.photometric == PHOTOMETRIC_SEPARATED && !out.appliedProfile.empty()) out.iccProfile.clear();
    return out;
}

}  // namespace gt
