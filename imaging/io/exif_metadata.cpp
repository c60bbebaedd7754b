// SPDX-License-Identifier: GPL-3.0-or-later
// The camera data (EXIF) through exiv2: read from the file that comes in, carried to the drawing
// with what no longer holds changed (the drawing stands upright, has its own size, no thumbnail of
// the photo, and is sRGB). Damaged camera data is dropped, never a reason to refuse a picture.

// exiv2 0.27 hands its images out as std::auto_ptr, which C++ has deprecated; the use stays here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#include <exiv2/webpimage.hpp>

#include <cmath>
#include <mutex>
#include <string>
#include <vector>

#include "imaging/io/codecs.h"

namespace gt {

namespace {

// exiv2 prints its warnings on standard error unless told otherwise.
void quietExiv2() {
    static std::once_flag once;
    std::call_once(once, [] { Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute); });
}

bool hasTiffHeader(const std::vector<unsigned char>& b) {
    return b.size() >= 8 && ((b[0] == 'I' && b[1] == 'I' && b[2] == 42 && b[3] == 0) ||
                             (b[0] == 'M' && b[1] == 'M' && b[2] == 0 && b[3] == 42));
}

std::vector<unsigned char> encodeBlock(const Exiv2::ExifData& data, Exiv2::ByteOrder order) {
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, order, data);
    return std::vector<unsigned char>(blob.begin(), blob.end());
}

bool decodeBlock(const std::vector<unsigned char>& block, Exiv2::ExifData& data, Exiv2::ByteOrder& order) {
    if (!hasTiffHeader(block)) return false;
    quietExiv2();
    try {
        order = Exiv2::ExifParser::decode(data, block.data(), static_cast<uint32_t>(block.size()));
        return true;
    } catch (...) {
        return false;
    }
}

double dotsPerInch(const Exiv2::ExifData& data, const char* key, int unit) {
    const auto it = data.findKey(Exiv2::ExifKey(key));
    if (it == data.end() || it->count() < 1) return 0;
    const Exiv2::Rational r = it->toRational(0);
    if (r.first <= 0 || r.second <= 0) return 0;
    const double value = double(r.first) / double(r.second);
    return unit == 3 ? value * 2.54 : value;  // 3: dots per centimetre
}

// The tags that describe a TIFF file's own pixels; a TIFF output has its own.
bool isTiffStructure(const std::string& key) {
    static const char* const kTags[] = {
        "Exif.Image.NewSubfileType", "Exif.Image.ImageWidth", "Exif.Image.ImageLength", "Exif.Image.BitsPerSample",
        "Exif.Image.Compression", "Exif.Image.PhotometricInterpretation", "Exif.Image.StripOffsets",
        "Exif.Image.SamplesPerPixel", "Exif.Image.RowsPerStrip", "Exif.Image.StripByteCounts",
        "Exif.Image.PlanarConfiguration", "Exif.Image.Predictor", "Exif.Image.TileWidth", "Exif.Image.TileLength",
        "Exif.Image.TileOffsets", "Exif.Image.TileByteCounts", "Exif.Image.ExtraSamples", "Exif.Image.SampleFormat",
        "Exif.Image.InterColorProfile", "Exif.Image.XResolution", "Exif.Image.YResolution", "Exif.Image.ResolutionUnit",
        "Exif.Image.SubIFDs", "Exif.Image.FillOrder"};
    for (const char* t : kTags)
        if (key == t) return true;
    return false;
}

}  // namespace

std::vector<unsigned char> readExifBlock(const unsigned char* data, std::size_t size) {
    quietExiv2();
    try {
        // Only the kinds whose camera data is read here: exiv2 takes any file with "ftyp" at its
        // fifth byte for a video, and its video reader can loop for ever on a damaged one.
        const int type = Exiv2::ImageFactory::getType(data, static_cast<long>(size));
        if (type != Exiv2::ImageType::jpeg && type != Exiv2::ImageType::tiff && type != Exiv2::ImageType::webp) return {};
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(data, static_cast<long>(size));
        if (!image.get()) return {};
        image->readMetadata();
        Exiv2::ExifData& exif = image->exifData();
        if (exif.empty()) return {};
        const Exiv2::ByteOrder order = image->byteOrder() == Exiv2::invalidByteOrder ? Exiv2::littleEndian : image->byteOrder();
        return encodeBlock(exif, order);
    } catch (...) {
        return {};
    }
}

ExifFacts exifFacts(const std::vector<unsigned char>& exif) {
    ExifFacts facts;
    Exiv2::ExifData data;
    Exiv2::ByteOrder order = Exiv2::littleEndian;
    if (!decodeBlock(exif, data, order)) return facts;
    try {
        const auto o = data.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (o != data.end() && o->count() >= 1) {
            const long value = o->toLong(0);
            if (value >= 1 && value <= 8) facts.orientation = static_cast<int>(value);
        }
        const auto u = data.findKey(Exiv2::ExifKey("Exif.Image.ResolutionUnit"));
        const int unit = (u != data.end() && u->count() >= 1) ? static_cast<int>(u->toLong(0)) : 2;
        if (unit == 2 || unit == 3) {
            facts.dotsPerInchX = dotsPerInch(data, "Exif.Image.XResolution", unit);
            facts.dotsPerInchY = dotsPerInch(data, "Exif.Image.YResolution", unit);
        }
    } catch (...) {
        return ExifFacts{};
    }
    return facts;
}

std::vector<unsigned char> exifForOutput(const std::vector<unsigned char>& exif, int width, int height,
                                         double dotsPerInchX, double dotsPerInchY, bool resetOrientation) {
    Exiv2::ExifData data;
    Exiv2::ByteOrder order = Exiv2::littleEndian;
    if (!decodeBlock(exif, data, order)) return {};
    try {
        Exiv2::ExifThumb(data).erase();
        for (auto it = data.begin(); it != data.end();) {
            // The sub-pictures of a camera's raw files and the photo's own layout go with the photo.
            if (isTiffStructure(it->key()) || it->groupName().rfind("SubImage", 0) == 0)
                it = data.erase(it);
            else
                ++it;
        }
        if (resetOrientation) data["Exif.Image.Orientation"] = uint16_t(1);
        data["Exif.Photo.PixelXDimension"] = uint32_t(width);
        data["Exif.Photo.PixelYDimension"] = uint32_t(height);
        data["Exif.Photo.ColorSpace"] = uint16_t(1);  // sRGB
        if (dotsPerInchX > 0 && dotsPerInchY > 0) {
            data["Exif.Image.XResolution"] = Exiv2::URational(static_cast<uint32_t>(std::lround(dotsPerInchX * 100)), 100);
            data["Exif.Image.YResolution"] = Exiv2::URational(static_cast<uint32_t>(std::lround(dotsPerInchY * 100)), 100);
            data["Exif.Image.ResolutionUnit"] = uint16_t(2);
        }
        return encodeBlock(data, order);
    } catch (...) {
        return {};
    }
}

std::vector<unsigned char> withExif(std::vector<unsigned char> encoded, const std::vector<unsigned char>& exif) {
    Exiv2::ExifData wanted;
    Exiv2::ByteOrder order = Exiv2::littleEndian;
    if (!decodeBlock(exif, wanted, order)) return encoded;
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(encoded.data(), static_cast<long>(encoded.size()));
        if (!image.get()) return encoded;
        image->readMetadata();
        // A TIFF's own layout stays; everything else is the block's.
        Exiv2::ExifData merged = image->exifData();
        for (const Exiv2::Exifdatum& d : wanted) {
            const Exiv2::ExifKey key(d.key());
            auto it = merged.findKey(key);
            if (it != merged.end() && isTiffStructure(d.key())) continue;
            if (it != merged.end()) merged.erase(it);
            merged.add(d);
        }
        image->setExifData(merged);
        image->writeMetadata();
        Exiv2::BasicIo& io = image->io();
        io.seek(0, Exiv2::BasicIo::beg);
        const Exiv2::DataBuf buf = io.read(static_cast<long>(io.size()));
        if (buf.size_ <= 0) return encoded;
        return std::vector<unsigned char>(buf.pData_, buf.pData_ + buf.size_);
    } catch (...) {
        return encoded;
    }
}

}  // namespace gt

#pragma GCC diagnostic pop
