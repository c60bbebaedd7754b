// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures no reader of ours takes (icons, the rarer BMP kinds) go through QImage and its
// plugins, which also write PNG, TIFF and WebP. Qt finds the format from the content; its header
// gives the size, which we check before the pixels are decoded.

#include <QBuffer>
#include <QByteArray>
#include <QColorSpace>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QtGlobal>

#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "imaging/error.h"
#include "imaging/io/codecs.h"

namespace gt {

namespace {

// Qt refuses pictures above its own allocation limit (256 MB by default), far below ours. It is one
// setting for the whole process; set it once to what the default limits need at 8 bytes a pixel
// (16-bit RGBA), so our own check, made from the header, is the one that speaks, and no reader
// allocates beyond the largest picture we accept.
void setQtAllocationLimit() {
    static std::once_flag once;
    std::call_once(once, [] {
        const long long megabytes = PictureLimits{}.maxPixels * 8 / (1024 * 1024) + 1;
        QImageReader::setAllocationLimit(static_cast<int>(megabytes));
    });
}

// The messages of Qt and of the libraries under it (libpng, libtiff) while a picture is decoded:
// kept for the error line instead of printed. Other threads' messages pass on untouched.
std::mutex quietMutex;
int quietDepth = 0;
QtMessageHandler previousHandler = nullptr;
thread_local int quietHere = 0;
thread_local std::string lastQuietMessage;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (quietHere > 0) {
        lastQuietMessage = message.toStdString();
        return;
    }
    QtMessageHandler previous = nullptr;
    {
        const std::lock_guard<std::mutex> lock(quietMutex);
        previous = previousHandler;
    }
    if (previous) previous(type, context, message);
}

// libtiff prints its errors and warnings on standard error unless given handlers, and Qt's TIFF
// reader gives it none. Ours keep the last one for the error line, on the decoding thread only.
#if defined(__GNUC__)
__attribute__((format(printf, 2, 0)))
#endif
void tiffMessage(const char* module, const char* format, va_list args) {
    char text[300];
    std::vsnprintf(text, sizeof text, format, args);
    if (quietHere > 0) lastQuietMessage = (module && *module ? std::string(module) + ": " : std::string()) + text;
}

void quietTiff() {
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(tiffMessage);
        TIFFSetWarningHandler(tiffMessage);
    });
}

// What Qt gives a picture whose file says nothing of its resolution.
bool defaultResolution(const QImage& image) {
    static const QImage fresh(1, 1, QImage::Format_RGB32);
    return image.dotsPerMeterX() == fresh.dotsPerMeterX() && image.dotsPerMeterY() == fresh.dotsPerMeterY();
}

// Transparent pixels are laid on white, as on a fresh bitmap; a fully opaque pixel keeps its colour.
// The rows of `argb` go to the bitmap's rows from `top` on.
void compositeOnWhite(const QImage& argb, Bitmap& bitmap, int top) {
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        unsigned char* out = bitmap.row(top + y);
        for (int x = 0; x < bitmap.width(); ++x, out += 3) {
            const int a = qAlpha(in[x]);
            const int white = 255 * (255 - a);
            out[0] = static_cast<unsigned char>((qBlue(in[x]) * a + white + 127) / 255);
            out[1] = static_cast<unsigned char>((qGreen(in[x]) * a + white + 127) / 255);
            out[2] = static_cast<unsigned char>((qRed(in[x]) * a + white + 127) / 255);
        }
    }
}

std::string formatName(const QByteArray& qtFormat) {
    const QByteArray f = qtFormat.toLower();
    if (f == "tif" || f == "tiff") return "TIFF";
    if (f == "webp") return "WebP";
    return QString::fromLatin1(f).toUpper().toStdString();
}

// Qt's words for a failed read say little ("Unable to read image data"); the library's own message,
// when it gave one, says more.
std::string faultInWords(const QImageReader& reader) {
    std::string why = QuietDecoding::lastMessage();
    if (why.empty()) why = reader.errorString().toStdString();
    // Qt's own words when it knows no more.
    if (why.empty() || why == "Unknown error" || why == "Unable to read image data")
        why = "the data ends or breaks off before the picture does";
    return why;
}

}  // namespace

QuietDecoding::QuietDecoding() {
    const std::lock_guard<std::mutex> lock(quietMutex);
    if (quietDepth++ == 0) previousHandler = qInstallMessageHandler(quietHandler);
    if (quietHere++ == 0) lastQuietMessage.clear();
}

QuietDecoding::~QuietDecoding() {
    const std::lock_guard<std::mutex> lock(quietMutex);
    --quietHere;
    if (--quietDepth == 0) {
        qInstallMessageHandler(previousHandler);
        previousHandler = nullptr;
    }
}

std::string QuietDecoding::lastMessage() { return lastQuietMessage; }

DecodedPicture decodeWithQt(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check) {
    checkHeader(data, size, name, check);
    setQtAllocationLimit();
    quietTiff();
    const QuietDecoding quiet;
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);  // the loader turns every format alike, from the EXIF orientation
    if (!reader.canRead()) throw Error(name + ": not a picture, or of a kind this program does not read", ErrorKind::NotAPicture);
    const std::string format = formatName(reader.format());

    const QSize header = reader.size();
    if (header.isValid()) check(header.width(), header.height());

    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        if (reader.error() == QImageReader::InvalidDataError && header.isValid() &&
            static_cast<long long>(header.width()) * header.height() * 8 > static_cast<long long>(QImageReader::allocationLimit()) << 20)
            throw Error(name + ": the " + format + " picture is too large", ErrorKind::TooLarge);
        throw Error(name + ": broken " + format + " data (" + faultInWords(reader) + ")");
    }
    check(image.width(), image.height());

    DecodedPicture out;
    const QColorSpace space = image.colorSpace();
    if (space.isValid() && space != QColorSpace(QColorSpace::SRgb)) {
        const QByteArray icc = space.iccProfile();
        out.iccProfile.assign(icc.begin(), icc.end());
        // A space Qt built from the file's gamma and primaries has no profile to hand on: Qt converts.
        if (out.iccProfile.empty()) image.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    }
    out.bitmap.setSizeForOverwrite(image.width(), image.height());
    // Converted a band of rows at a time: never a second whole picture beside Qt's.
    constexpr int kBand = 64;
    const bool alpha = image.hasAlphaChannel();
    for (int top = 0; top < image.height(); top += kBand) {
        const int rows = std::min(kBand, image.height() - top);
        const QImage band = image.copy(0, top, image.width(), rows).convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_BGR888);
        if (band.isNull()) throw Error(name + ": not enough memory to read the " + format + " picture");
        if (alpha) {
            compositeOnWhite(band, out.bitmap, top);
        } else {
            for (int y = 0; y < rows; ++y) std::memcpy(out.bitmap.row(top + y), band.constScanLine(y), out.bitmap.stride());
        }
    }
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0 && !defaultResolution(image)) {
        out.dotsPerInchX = image.dotsPerMeterX() * 0.0254;
        out.dotsPerInchY = image.dotsPerMeterY() * 0.0254;
    }
    return out;
}

bool qtCanWrite(const char* format) { return QImageWriter::supportedImageFormats().contains(QByteArray(format)); }

std::vector<unsigned char> encodeWithQt(const Bitmap& bitmap, const char* format, int quality, double dotsPerInchX,
                                        double dotsPerInchY) {
    const std::string shown = formatName(format);
    if (bitmap.empty()) throw Error("cannot write an empty picture as " + shown);
    if (!qtCanWrite(format)) throw Error("cannot write " + shown + ": the " + shown + " writer is not installed");
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_BGR888);
    if (image.isNull()) throw Error("not enough memory to write the picture as " + shown);
    for (int y = 0; y < bitmap.height(); ++y) std::memcpy(image.scanLine(y), bitmap.row(y), bitmap.stride());
    image.setColorSpace(QColorSpace(QColorSpace::SRgb));
    // Qt writes a resolution whatever happens, its screen's when given none: 72 dots an inch then,
    // the usual meaning of "unspecified" and what our BMP files say, so the same picture gives the
    // same bytes on every machine.
    if (!(dotsPerInchX > 0 && dotsPerInchY > 0)) dotsPerInchX = dotsPerInchY = 72;
    image.setDotsPerMeterX(static_cast<int>(std::lround(dotsPerInchX / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dotsPerInchY / 0.0254)));

    const QuietDecoding quiet;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality > 0) writer.setQuality(quality);
    // TIFF written with LZW keeps it lossless at half the size; WebP honours the quality.
    if (QByteArray(format) == "tiff") writer.setCompression(1);
    if (!writer.write(image)) throw Error("cannot encode as " + shown + " (" + writer.errorString().toStdString() + ")");
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

std::vector<unsigned char> encodePng(const Bitmap& bitmap) { return encodeWithQt(bitmap, "png", -1, 0, 0); }

}  // namespace gt
