// Pictures other than JPEG go through QImage. Qt finds the format from the content; its header gives
// the size, which we check before the pixels are decoded.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <cstring>
#include <mutex>

#include "imaging/error.h"
#include "imaging/io/codecs.h"

namespace gt {

namespace {

// Qt refuses pictures above its own allocation limit (256 MB by default), far below ours. It is one
// setting for the whole process; raise it once to what the default limits need at 8 bytes a pixel
// (16-bit RGBA), so our own check, made from the header, is the one that speaks.
void raiseQtAllocationLimit() {
    static std::once_flag once;
    std::call_once(once, [] {
        const long long megabytes = PictureLimits{}.maxPixels * 8 / (1024 * 1024) + 1;
        if (QImageReader::allocationLimit() < megabytes) QImageReader::setAllocationLimit(static_cast<int>(megabytes));
    });
}

// Transparent pixels are laid on white, as on a fresh bitmap; a fully opaque pixel keeps its colour.
void compositeOnWhite(const QImage& argb, Bitmap& bitmap) {
    for (int y = 0; y < bitmap.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        unsigned char* out = bitmap.row(y);
        for (int x = 0; x < bitmap.width(); ++x, out += 3) {
            const int a = qAlpha(in[x]);
            const int white = 255 * (255 - a);
            out[0] = static_cast<unsigned char>((qBlue(in[x]) * a + white + 127) / 255);
            out[1] = static_cast<unsigned char>((qGreen(in[x]) * a + white + 127) / 255);
            out[2] = static_cast<unsigned char>((qRed(in[x]) * a + white + 127) / 255);
        }
    }
}

}  // namespace

Bitmap decodeWithQt(const unsigned char* data, std::size_t size, const std::string& name, const PictureLimits& limits) {
    checkHeader(data, size, name, limits);
    raiseQtAllocationLimit();
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead()) throw Error(name + ": not a picture (" + firstBytesText(data, size) + ")");
    const std::string format = QString::fromLatin1(reader.format()).toUpper().toStdString();

    const QSize header = reader.size();
    if (header.isValid()) checkPictureSize(header.width(), header.height(), limits, name);

    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw Error(name + ": broken " + format + " data (" + reader.errorString().toStdString() + ")");
    checkPictureSize(image.width(), image.height(), limits, name);

    Bitmap bitmap(image.width(), image.height());
    if (image.hasAlphaChannel()) {
        compositeOnWhite(image.convertToFormat(QImage::Format_ARGB32), bitmap);
    } else {
        const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
        for (int y = 0; y < bitmap.height(); ++y) std::memcpy(bitmap.row(y), bgr.constScanLine(y), bitmap.stride());
    }
    return bitmap;
}

std::vector<unsigned char> encodePng(const Bitmap& bitmap) {
    if (bitmap.empty()) throw Error("cannot write an empty picture as PNG");
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_BGR888);
    if (image.isNull()) throw Error("not enough memory to write the picture as PNG");
    for (int y = 0; y < bitmap.height(); ++y) std::memcpy(image.scanLine(y), bitmap.row(y), bitmap.stride());

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) throw Error("cannot encode as PNG (" + writer.errorString().toStdString() + ")");
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

}  // namespace gt
