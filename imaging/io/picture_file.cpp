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
        throw Error(name + ": the picture has no pixels (" + std::to_string(width) + " x " + std::to_string(height) + ")");
    if (width > limits.maxWidth)
        throw Error(name + ": the picture is " + std::to_string(width) + " pixels wide; the widest accepted is " +
                    std::to_string(limits.maxWidth));
    if (height > limits.maxPixels / width)
        throw Error(name + ": the picture is " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels, more than the " + pixelCount(limits.maxPixels) + " accepted");
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

Bitmap decodePicture(const unsigned char* data, std::size_t size, const std::string& name, const PictureLimits& limits) {
    if (size == 0) throw Error(name + ": empty file");
    // Everything that starts like a JPEG goes to libjpeg, whose damaged-data warnings we heed; Qt's
    // own JPEG reader would pass a damaged file off as a picture.
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xD8) return decodeJpeg(data, size, name, limits);
    return decodeWithQt(data, size, name, limits);
}

Bitmap readPicture(const std::string& path, const PictureLimits& limits) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) throw Error(path + ": no such file");
    if (status.type() == fs::file_type::directory) throw Error(path + ": is a folder, not a picture");

    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw Error(path + ": cannot open (" + std::strerror(errno) + ")");
    const std::streamoff length = in.tellg();
    if (length < 0) throw Error(path + ": cannot read (" + std::strerror(errno) + ")");
    if (length == 0) throw Error(path + ": empty file");
    // No picture within the limits needs more than 8 bytes a pixel (16-bit RGBA, uncompressed).
    if (length / 8 > limits.maxPixels + 1024 * 1024)
        throw Error(path + ": the file is too large to be a picture within the limits");

    std::vector<unsigned char> bytes(static_cast<std::size_t>(length));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), length)) throw Error(path + ": cannot read the whole file");
    return decodePicture(bytes.data(), bytes.size(), path, limits);
}

std::optional<PictureFormat> formatForPath(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == ".jpg" || ext == ".jpeg") return PictureFormat::Jpeg;
    if (ext == ".bmp") return PictureFormat::Bmp;
    if (ext == ".png") return PictureFormat::Png;
    return std::nullopt;
}

bool writePicture(const Bitmap& bitmap, const std::string& path, const std::atomic<bool>* cancel) {
    const std::optional<PictureFormat> format = formatForPath(path);
    if (!format)
        throw Error(path + ": unknown picture format \"" + fs::path(path).extension().string() +
                    "\" (use .jpg, .jpeg, .bmp or .png)");
    if (bitmap.empty()) throw Error(path + ": nothing to write, the picture is empty");

    // Encode before touching the disk: an encoding failure then leaves nothing to clean up. BMP is
    // streamed to the file, but checks first that it can be written.
    std::vector<unsigned char> encoded;
    try {
        if (*format == PictureFormat::Jpeg) encoded = encodeJpeg(bitmap, 90);
        if (*format == PictureFormat::Png) encoded = encodePng(bitmap);
        if (*format == PictureFormat::Bmp) checkBmpWritable(bitmap);
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
