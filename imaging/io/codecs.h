// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pieces behind picture_io.h that its functions share.

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/io/picture_io.h"

namespace gt {

// Writers stream their output in pieces, so a large picture is not held twice in memory.
using ByteSink = std::function<void(const unsigned char* data, std::size_t size)>;

// Called by a decoder with the size its header gives, before any pixel memory is taken; throws
// when the picture is beyond the limits.
using SizeCheck = std::function<void(long long width, long long height)>;

// What a decoder hands the loader: the pixels in the file's own colours, and what the file says
// about them.
struct DecodedPicture {
    Bitmap bitmap;
    std::vector<unsigned char> iccProfile;  // to be applied by the loader; empty when none or applied
    std::string appliedProfile;             // the profile the decoder applied itself (CMYK JPEG)
    std::vector<unsigned char> exif;        // when the decoder found it itself (HEIF)
    double dotsPerInchX = 0, dotsPerInchY = 0;
};

// Throws "<name>: reading cancelled" when `cancel` is set; the readers ask between rows or strips.
void stopIfCancelled(const std::atomic<bool>* cancel, const std::string& name);

// For a decoder that gives four bytes a pixel (blue, green, red, alpha) into one buffer of its own:
// the buffer is the picture's own memory, a bitmap `width` wide and tall enough to hold `height`
// rows of such pixels. layBgraOnWhite then turns them into the picture's three bytes in place, row
// after row from the top, laying transparent pixels on white, and gives the rest back: the reading
// peaks at four bytes a pixel, never a second whole picture.
Bitmap bitmapForBgra(int width, int height);
void layBgraOnWhite(Bitmap& picture, int width, int height);

// ---- The kinds of file ---------------------------------------------------------------------------

enum class PictureKind { Unknown, Jpeg, Png, Bmp, Gif, Tiff, Webp, Heic, Avif, Tga, Pnm, Jpeg2000, JpegXl, Psd, Ico, Pdf, Svg };
// Found from the first bytes.
PictureKind sniffKind(const unsigned char* data, std::size_t size);
const char* kindName(PictureKind kind);
// Whether this build reads the kind; when not, `why` gets the line to show (after "name: ").
bool kindReadable(PictureKind kind, std::string& why);

// ---- Decoders ------------------------------------------------------------------------------------

// Stops between rows of a scan when `cancel` is set, and refuses files of absurdly many scans.
DecodedPicture decodeJpegPicture(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check,
                                 const std::atomic<bool>* cancel = nullptr);
// Every format QImage knows (BMP, PNG, GIF, TIFF, WebP, PPM ...), found from the content.
DecodedPicture decodeWithQt(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check);
// libheif decodes the whole picture in one call: a cancel is seen before and after it.
DecodedPicture decodeHeif(const unsigned char* data, std::size_t size, const std::string& name, PictureKind kind,
                          const SizeCheck& check, const std::atomic<bool>* cancel = nullptr);
bool heifDecoderInstalled(PictureKind kind);
// The readers below stop between rows (PNG), strips and tiles (TIFF) or pieces of the data (WebP)
// when `cancel` is set.
DecodedPicture decodePng(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check,
                         const std::atomic<bool>* cancel = nullptr);
// Through libtiff, strips and tiles straight into the bitmap; the pixels as stored (not turned).
DecodedPicture decodeTiff(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check,
                          const std::atomic<bool>* cancel = nullptr);
// Through libwebp, straight into the bitmap when there is no alpha.
DecodedPicture decodeWebp(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check,
                          const std::atomic<bool>* cancel = nullptr);
// Our own readers of the simple kinds, straight into the bitmap: TGA (uncompressed and run-length;
// true colour, grey, colour-mapped), PNM (P1 to P6), GIF and the common BMP kinds.
// decodeBmp returns false, having read nothing, for the BMP kinds left to Qt.
DecodedPicture decodeTga(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check);
DecodedPicture decodePnm(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check);
// GIF's first picture, on a white canvas of the file's screen size.
DecodedPicture decodeGif(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check);
bool decodeBmp(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check, DecodedPicture& out);
// Whether the bytes are a TGA file's header (TGA has no magic number: the header must hold together).
bool looksLikeTga(const unsigned char* data, std::size_t size);

// For BMP and PNG: throws when the size in the header is beyond the limits, or a BMP file is
// shorter than its header says.
void checkHeader(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check);

std::string firstBytesText(const unsigned char* data, std::size_t size);

// ---- Orientation, colour, metadata ---------------------------------------------------------------

// Turns and mirrors the picture so that it stands as EXIF orientation 1..8 says; other values
// leave it as it is.
Bitmap orientPicture(Bitmap picture, int orientation);
// Whether the orientation swaps width and height (5 to 8).
inline bool orientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

// Converts the pixels from the profile to sRGB. Returns the profile's description, or "" when the
// profile is sRGB already, unreadable, or not for RGB or grey pixels (the pixels then stay).
std::string convertToSrgb(Bitmap& picture, const std::vector<unsigned char>& iccProfile);
// Converts CMYK rows (four bytes a pixel, `inverted` for Adobe's files) to BGR through the profile;
// false when the profile is not a usable CMYK profile.
class CmykConverter {
public:
    CmykConverter(const std::vector<unsigned char>& iccProfile, bool inverted);
    ~CmykConverter();
    CmykConverter(const CmykConverter&) = delete;
    CmykConverter& operator=(const CmykConverter&) = delete;
    bool usable() const { return transform_ != nullptr; }
    const std::string& description() const { return description_; }
    void convertRow(const unsigned char* cmyk, unsigned char* bgr, int width) const;

private:
    void* transform_ = nullptr;
    std::string description_;
};
// An RGB profile from a white point and primaries (CIE x, y) and one gamma for the three curves.
std::vector<unsigned char> rgbProfile(double wx, double wy, double rx, double ry, double gx, double gy, double bx, double by,
                                      double gamma);
// The profile of RGB pixels described by code points (ITU-T H.273), as HEIC and AVIF files describe
// them when they carry no ICC profile: the white point and primaries (CIE x, y) that stand for the
// `primaries` number, and the `transfer` number. Empty when the pixels are sRGB already (primaries
// of BT.709 or unspecified, with the sRGB curve or one of BT.709's, which photos mean alike) and
// when the transfer is one no photo program converts by a profile (PQ, HLG, unknown ones).
std::vector<unsigned char> cicpProfile(int primaries, int transfer, double wx, double wy, double rx, double ry, double gx,
                                       double gy, double bx, double by);
// The sRGB profile every output is tagged with.
const std::vector<unsigned char>& srgbProfile();

// The EXIF block of a file in any format exiv2 knows (JPEG, PNG, TIFF, WebP); empty when none or
// unreadable. Damaged camera data never refuses a picture.
std::vector<unsigned char> readExifBlock(const unsigned char* data, std::size_t size);
struct ExifFacts {
    int orientation = 1;
    double dotsPerInchX = 0, dotsPerInchY = 0;
};
ExifFacts exifFacts(const std::vector<unsigned char>& exif);
// The block a drawing carries out: orientation 1 (unless the pixels were left as stored), no thumbnail, the drawing's size, sRGB, the
// resolution given. Empty when the input block cannot be read.
std::vector<unsigned char> exifForOutput(const std::vector<unsigned char>& exif, int width, int height,
                                         double dotsPerInchX, double dotsPerInchY, bool resetOrientation = true);
// Puts the EXIF block into an encoded TIFF or WebP file; the file unchanged when exiv2 cannot.
std::vector<unsigned char> withExif(std::vector<unsigned char> encoded, const std::vector<unsigned char>& exif);

// Qt's encoders for PNG, TIFF and WebP: tagged sRGB, with the resolution.
std::vector<unsigned char> encodeWithQt(const Bitmap& bitmap, const char* format, int quality, double dotsPerInchX,
                                        double dotsPerInchY);
bool qtCanWrite(const char* format);

// Throws when the picture cannot be a BMP file (empty, or 4 GB and more).
void checkBmpWritable(const Bitmap& bitmap);
void writeBmp(const Bitmap& bitmap, const ByteSink& sink);

// Silences Qt's messages (libpng's and libtiff's warnings among them) on this thread while it
// lives; the last one is kept, to name a fault in words.
class QuietDecoding {
public:
    QuietDecoding();
    ~QuietDecoding();
    QuietDecoding(const QuietDecoding&) = delete;
    QuietDecoding& operator=(const QuietDecoding&) = delete;
    static std::string lastMessage();
};

}  // namespace gt
