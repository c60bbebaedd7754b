// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing picture files: the content chooses the decoder, the extension the encoder, and
// a write never leaves a half-written file where a good one was.

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/error.h"
#include "imaging/io/codecs.h"
#include "imaging/io/picture_io.h"
#include "imaging/io/temporary_file.h"

namespace gt {

namespace fs = std::filesystem;

namespace {

std::string pixelCount(long long n) {
    if (n >= 1'000'000 && n % 1'000'000 == 0) return std::to_string(n / 1'000'000) + " megapixels";
    return std::to_string(n) + " pixels";
}

}  // namespace

void checkPictureSize(long long width, long long height, const PictureLimits& limits, const std::string& name) {
    if (width <= 0 || height <= 0)
        throw Error(name + ": the picture has no pixels (" + std::to_string(width) + " x " + std::to_string(height) + ")",
                    ErrorKind::Damaged);
    if (width > limits.maxWidth)
        throw Error(name + ": the picture is " + std::to_string(width) + " pixels wide; the widest accepted is " +
                        std::to_string(limits.maxWidth),
                    ErrorKind::TooLarge);
    if (height > limits.maxPixels / width)
        throw Error(name + ": the picture is " + std::to_string(width) + " x " + std::to_string(height) +
                        " pixels, more than the " + pixelCount(limits.maxPixels) + " accepted",
                    ErrorKind::TooLarge);
}

std::string firstBytesText(const unsigned char* data, std::size_t size) {
    std::string text = "starts with";
    for (std::size_t i = 0; i < size && i < 2; ++i) {
        char hex[8];
        std::snprintf(hex, sizeof hex, " 0x%02x", data[i]);
        text += hex;
    }
    return text;
}

std::optional<PictureFormat> formatForPath(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    for (const PictureExtension& known : kPictureExtensions)
        if (ext == std::string(".") + known.name) return known.format;
    return std::nullopt;
}

std::optional<PictureFormat> formatForName(const std::string& name) {
    std::string n = name;
    std::transform(n.begin(), n.end(), n.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (!n.empty() && n[0] == '.') n.erase(0, 1);
    return formatForPath("x." + n);
}

bool canWrite(PictureFormat format) {
    if (format == PictureFormat::Tiff) return qtCanWrite("tiff");
    if (format == PictureFormat::Webp) return qtCanWrite("webp");
    return true;
}

std::vector<unsigned char> encodePicture(const Bitmap& bitmap, PictureFormat format, const WriteOptions& options) {
    const PictureMetadata* m = options.metadata;
    const double dpiX = m ? m->dotsPerInchX : 0, dpiY = m ? m->dotsPerInchY : 0;
    switch (format) {
        case PictureFormat::Jpeg:
            return encodeJpeg(bitmap, options);
        case PictureFormat::Bmp:
            return encodeBmp(bitmap);
        case PictureFormat::Png:
            return encodeWithQt(bitmap, "png", -1, dpiX, dpiY);
        case PictureFormat::Tiff:
        case PictureFormat::Webp: {
            const bool tiff = format == PictureFormat::Tiff;
            std::vector<unsigned char> encoded = encodeWithQt(bitmap, tiff ? "tiff" : "webp", tiff ? -1 : options.quality, dpiX, dpiY);
            if (m && !m->exif.empty()) {
                const std::vector<unsigned char> exif = exifForOutput(m->exif, bitmap.width(), bitmap.height(), dpiX, dpiY, m->turned);
                if (!exif.empty()) encoded = withExif(std::move(encoded), exif);
            }
            return encoded;
        }
    }
    throw Error("unknown picture format");
}

bool writePicture(const Bitmap& bitmap, const std::string& path, const std::atomic<bool>* cancel,
                  const WriteOptions& options, std::optional<PictureFormat> chosen) {
    const std::optional<PictureFormat> format = chosen ? chosen : formatForPath(path);
    if (!format) {
        std::string known;
        const std::size_t count = std::size(kPictureExtensions);
        for (std::size_t i = 0; i < count; ++i)
            known += std::string(i == 0 ? "." : i + 1 < count ? ", ." : " or .") + kPictureExtensions[i].name;
        throw Error(path + ": unknown picture format \"" + fs::path(path).extension().string() + "\" (use " + known + ")");
    }
    if (bitmap.empty()) throw Error(path + ": nothing to write, the picture is empty");

    // Encode before touching the disk: an encoding failure then leaves nothing to clean up. BMP is
    // streamed to the file, but checks first that it can be written.
    std::vector<unsigned char> encoded;
    try {
        if (*format == PictureFormat::Bmp)
            checkBmpWritable(bitmap);
        else
            encoded = encodePicture(bitmap, *format, options);
    } catch (const Error& e) {
        throw Error(path + ": " + e.what());
    }

    TemporaryFile file(path, path);
    if (*format == PictureFormat::Bmp) {
        writeBmp(bitmap, [&](const unsigned char* data, std::size_t size) { file.write(data, size); });
    } else {
        file.write(encoded.data(), encoded.size());
    }
    file.close();
    if (cancel && cancel->load()) return false;
    file.commit();
    return true;
}

}  // namespace gt
