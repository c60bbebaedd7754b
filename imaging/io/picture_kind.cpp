// SPDX-License-Identifier: GPL-3.0-or-later
// What kind of picture a file holds, from its first bytes, and whether this build reads it: a file
// we cannot read is named for what it is, never shown as bytes.

#include <QByteArray>
#include <QImageReader>
#include <QList>

#include <algorithm>
#include <cstring>
#include <string>

#include "imaging/io/codecs.h"

namespace gt {

namespace {

bool startsWith(const unsigned char* data, std::size_t size, const char* magic, std::size_t n, std::size_t at = 0) {
    return size >= at + n && std::memcmp(data + at, magic, n) == 0;
}

// ISO media files (HEIC, AVIF, JPEG 2000's cousins) say what they are in their first box, "ftyp":
// a major brand and a list of compatible ones.
PictureKind isoMediaKind(const unsigned char* data, std::size_t size) {
    if (!startsWith(data, size, "ftyp", 4, 4)) return PictureKind::Unknown;
    const std::size_t box = std::min<std::size_t>(size, (std::size_t(data[0]) << 24 | std::size_t(data[1]) << 16 |
                                                         std::size_t(data[2]) << 8 | std::size_t(data[3])));
    bool heic = false, avif = false;
    for (std::size_t at = 8; at + 4 <= box; at += 4) {
        if (at == 12) continue;  // the minor version
        const std::string brand(reinterpret_cast<const char*>(data + at), 4);
        if (brand == "avif" || brand == "avis") avif = true;
        if (brand == "heic" || brand == "heix" || brand == "heim" || brand == "heis" || brand == "hevc" || brand == "hevx")
            heic = true;
    }
    // The major brand decides when a file claims both.
    const std::string major(reinterpret_cast<const char*>(data + 8), std::min<std::size_t>(4, size - 8));
    if (major == "avif" || major == "avis") return PictureKind::Avif;
    if (heic) return PictureKind::Heic;
    if (avif) return PictureKind::Avif;
    if (major == "jp2 " || major == "jpx ") return PictureKind::Jpeg2000;
    if (major == "mif1" || major == "msf1") return PictureKind::Heic;  // a HEIF file of some kind
    return PictureKind::Unknown;
}

bool qtReads(const char* format) {
    static const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    return formats.contains(QByteArray(format));
}

}  // namespace

PictureKind sniffKind(const unsigned char* data, std::size_t size) {
    if (startsWith(data, size, "\xFF\xD8", 2)) return PictureKind::Jpeg;
    if (startsWith(data, size, "\x89PNG\r\n\x1A\n", 8)) return PictureKind::Png;
    if (startsWith(data, size, "BM", 2)) return PictureKind::Bmp;
    if (startsWith(data, size, "GIF87a", 6) || startsWith(data, size, "GIF89a", 6)) return PictureKind::Gif;
    if (startsWith(data, size, "II*\0", 4) || startsWith(data, size, "MM\0*", 4) || startsWith(data, size, "II+\0", 4) ||
        startsWith(data, size, "MM\0+", 4))
        return PictureKind::Tiff;
    if (startsWith(data, size, "RIFF", 4) && startsWith(data, size, "WEBP", 4, 8)) return PictureKind::Webp;
    if (startsWith(data, size, "\0\0\0\x0CjP  \r\n\x87\n", 12) || startsWith(data, size, "\xFF\x4F\xFF\x51", 4))
        return PictureKind::Jpeg2000;
    if (startsWith(data, size, "\xFF\x0A", 2) || startsWith(data, size, "\0\0\0\x0CJXL \r\n\x87\n", 12))
        return PictureKind::JpegXl;
    if (startsWith(data, size, "8BPS", 4)) return PictureKind::Psd;
    if (startsWith(data, size, "\0\0\1\0", 4)) return PictureKind::Ico;
    if (startsWith(data, size, "%PDF", 4)) return PictureKind::Pdf;
    if (startsWith(data, size, "<svg", 4) || startsWith(data, size, "<?xml", 5)) return PictureKind::Svg;
    if (size >= 3 && data[0] == 'P' && data[1] >= '1' && data[1] <= '6' &&
        (data[2] == ' ' || data[2] == '\n' || data[2] == '\r' || data[2] == '\t' || data[2] == '#'))
        return PictureKind::Pnm;
    const PictureKind iso = isoMediaKind(data, size);
    if (iso != PictureKind::Unknown) return iso;
    // TGA has no magic number, so it comes last: a header that holds together.
    if (looksLikeTga(data, size)) return PictureKind::Tga;
    return PictureKind::Unknown;
}

const char* kindName(PictureKind kind) {
    switch (kind) {
        case PictureKind::Jpeg: return "JPEG";
        case PictureKind::Png: return "PNG";
        case PictureKind::Bmp: return "BMP";
        case PictureKind::Gif: return "GIF";
        case PictureKind::Tiff: return "TIFF";
        case PictureKind::Webp: return "WebP";
        case PictureKind::Heic: return "HEIC";
        case PictureKind::Avif: return "AVIF";
        case PictureKind::Jpeg2000: return "JPEG 2000";
        case PictureKind::JpegXl: return "JPEG XL";
        case PictureKind::Psd: return "Photoshop";
        case PictureKind::Ico: return "icon";
        case PictureKind::Pdf: return "PDF";
        case PictureKind::Svg: return "SVG";
        case PictureKind::Tga: return "TGA";
        case PictureKind::Pnm: return "PNM";
        case PictureKind::Unknown: break;
    }
    return "unknown";
}

bool kindReadable(PictureKind kind, std::string& why) {
    const std::string name = kindName(kind);
    const std::string article = (kind == PictureKind::Heic || kind == PictureKind::Avif || kind == PictureKind::Ico) ? "an " : "a ";
    switch (kind) {
        case PictureKind::Jpeg:
            return true;
        case PictureKind::Png:
        case PictureKind::Bmp:
        case PictureKind::Tiff:
        case PictureKind::Webp:
        case PictureKind::Tga:
        case PictureKind::Pnm:
        case PictureKind::Gif:
            return true;  // our own readers, or libraries linked in
        case PictureKind::Ico:
            if (qtReads("ico"))
                return true;
            why = article + name + " picture, but the " + name + " reader is not installed";
            return false;
        case PictureKind::Heic:
        case PictureKind::Avif:
            if (heifDecoderInstalled(kind)) return true;
            why = article + name + " picture, but no " + name + " decoder is installed";
            return false;
        case PictureKind::Jpeg2000:
        case PictureKind::JpegXl:
        case PictureKind::Psd:
            why = article + name + " picture; this program does not read " + name + " pictures";
            return false;
        case PictureKind::Pdf:
            why = "a PDF document, not a picture";
            return false;
        case PictureKind::Svg:
            why = "an SVG drawing; this program reads only photos and other pixel pictures";
            return false;
        case PictureKind::Unknown:
            break;
    }
    return true;  // Qt tries what we do not recognise (XPM ...)
}

std::vector<ReadableKind> readableKinds() {
    std::vector<ReadableKind> kinds = {{"JPEG", {"jpg", "jpeg", "jpe", "jfif"}}, {"PNG", {"png"}}, {"BMP", {"bmp", "dib"}}};
    std::string ignored;
    kinds.push_back({"GIF", {"gif"}});
    kinds.push_back({"TIFF", {"tif", "tiff"}});
    kinds.push_back({"WebP", {"webp"}});
    if (kindReadable(PictureKind::Heic, ignored)) kinds.push_back({"HEIC", {"heic", "heif", "hif"}});
    if (kindReadable(PictureKind::Avif, ignored)) kinds.push_back({"AVIF", {"avif"}});
    kinds.push_back({"PNM", {"pbm", "pgm", "ppm", "pnm"}});
    kinds.push_back({"TGA", {"tga"}});
    return kinds;
}

}  // namespace gt
