// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG through libjpeg-turbo. libjpeg reports errors by calling error_exit, which must not return and
// must not throw through libjpeg's C frames: ours longjmps back to the step that called libjpeg.
// Every such step is a small function whose locals are all trivial, so the jump skips no destructor;
// the C++ objects (the bitmap, the codec structs with their destructors) live in the caller.

#include <algorithm>
#include <atomic>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
#include <jerror.h>

#include "imaging/error.h"
#include "imaging/io/codecs.h"
#include "imaging/io/picture_io.h"

namespace gt {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void onError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings (level -1) mostly mean damaged data that libjpeg would quietly patch over (a truncated
// file comes out grey at the bottom); we refuse the picture instead. The few that only concern
// metadata we do not use are let through.
void onMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;
    switch (cinfo->err->msg_code) {
    case JWRN_JFIF_MAJOR:
    case JWRN_ADOBE_XFORM:
    case JWRN_BOGUS_ICC:
        return;
    default:
        onError(cinfo);
    }
}

void initErrorManager(ErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    err.message[0] = '\0';
}

// A progressive file may cut its picture into any number of scans, each a pass over the whole
// picture: thousands of them cost minutes. Real files have a dozen or so; the same cap as
// libjpeg-turbo's own tools.
constexpr int kMaxScans = 500;

// Called by libjpeg as it goes (every few rows of every scan): refuses a file with too many scans and
// stops when the reading is cancelled, through the error path of the step that called libjpeg.
struct Progress {
    jpeg_progress_mgr pub;
    const std::atomic<bool>* cancel = nullptr;
    bool cancelled = false;
};

void onProgress(j_common_ptr cinfo) {
    auto* progress = reinterpret_cast<Progress*>(cinfo->progress);
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (progress->cancel && progress->cancel->load(std::memory_order_relaxed)) {
        progress->cancelled = true;
        std::snprintf(err->message, sizeof err->message, "cancelled");
        std::longjmp(err->jump, 1);
    }
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
        std::snprintf(err->message, sizeof err->message, "more than %d scans", kMaxScans);
        std::longjmp(err->jump, 1);
    }
}

struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    Progress progress;
    bool created = false;

    explicit Decoder(const std::atomic<bool>* cancel = nullptr) {
        std::memset(&cinfo, 0, sizeof cinfo);
        initErrorManager(err);
        cinfo.err = &err.pub;
        std::memset(&progress.pub, 0, sizeof progress.pub);
        progress.pub.progress_monitor = onProgress;
        progress.cancel = cancel;
    }
    ~Decoder() {
        if (created) jpeg_destroy_decompress(&cinfo);
    }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
};

// The protected steps: each returns false when libjpeg gave up, with the reason in err.message.

bool readHeader(Decoder* d, const unsigned char* data, unsigned long size) {
    if (setjmp(d->err.jump)) return false;
    jpeg_create_decompress(&d->cinfo);
    d->created = true;
    d->cinfo.progress = &d->progress.pub;
    jpeg_mem_src(&d->cinfo, data, size);
    jpeg_save_markers(&d->cinfo, JPEG_APP0 + 2, 0xFFFF);  // the colour profile, in pieces
    jpeg_read_header(&d->cinfo, TRUE);
    return true;
}

// The colour profile, put together from its markers; empty when there is none or it is damaged.
bool readProfile(Decoder* d, std::vector<unsigned char>* icc) {
    if (setjmp(d->err.jump)) return false;
    JOCTET* bytes = nullptr;
    unsigned int length = 0;
    if (jpeg_read_icc_profile(&d->cinfo, &bytes, &length) && bytes) {
        icc->assign(bytes, bytes + length);
        std::free(bytes);
    }
    return true;
}

bool startDecompress(Decoder* d, J_COLOR_SPACE out) {
    if (setjmp(d->err.jump)) return false;
    d->cinfo.out_color_space = out;
    jpeg_start_decompress(&d->cinfo);
    return true;
}

// Reads the scanlines from the next one up to `end` (exclusive); the first goes to base, each next
// one `stride` bytes further.
bool readRows(Decoder* d, unsigned char* base, std::size_t stride, JDIMENSION end) {
    if (setjmp(d->err.jump)) return false;
    const JDIMENSION start = d->cinfo.output_scanline;
    while (d->cinfo.output_scanline < end) {
        JSAMPROW rows[16];
        const JDIMENSION first = d->cinfo.output_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(16, end - first);
        for (JDIMENSION i = 0; i < count; ++i) rows[i] = base + (first - start + i) * stride;
        if (jpeg_read_scanlines(&d->cinfo, rows, count) == 0) return false;
    }
    return true;
}

bool finishDecompress(Decoder* d) {
    if (setjmp(d->err.jump)) return false;
    jpeg_finish_decompress(&d->cinfo);
    return true;
}

[[noreturn]] void fail(const std::string& name, const Decoder& d) {
    if (d.progress.cancelled) throw Error(name + ": reading cancelled", ErrorKind::Cancelled);
    const std::string reason = d.err.message[0] ? d.err.message : "the data ends before the picture does";
    throw Error(name + ": broken JPEG data (" + reason + ")");
}

// CMYK and YCCK come out of libjpeg as CMYK; Adobe's files (nearly all of them) store the inks
// inverted, so a stored value is the amount of light left.
void cmykRowToBgr(const unsigned char* cmyk, unsigned char* bgr, int width, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c; m = 255 - m; y = 255 - y; k = 255 - k;
        }
        bgr[0] = static_cast<unsigned char>((y * k + 127) / 255);
        bgr[1] = static_cast<unsigned char>((m * k + 127) / 255);
        bgr[2] = static_cast<unsigned char>((c * k + 127) / 255);
    }
}

struct Encoder {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    bool created = false;
    unsigned char* buffer = nullptr;  // grown by libjpeg with malloc, ours to free
    unsigned long size = 0;

    Encoder() {
        std::memset(&cinfo, 0, sizeof cinfo);
        initErrorManager(err);
        cinfo.err = &err.pub;
    }
    ~Encoder() {
        if (created) jpeg_destroy_compress(&cinfo);
        std::free(buffer);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
};

// What goes into the file besides the pixels; nothing for a plain encode.
struct JpegExtras {
    const std::vector<unsigned char>* exif = nullptr;  // TIFF structure, written as an APP1 "Exif" marker
    const std::vector<unsigned char>* icc = nullptr;
    double dotsPerInchX = 0, dotsPerInchY = 0;
};

bool startCompress(Encoder* e, int width, int height, int quality, const JpegExtras* extras) {
    if (setjmp(e->err.jump)) return false;
    jpeg_create_compress(&e->cinfo);
    e->created = true;
    jpeg_mem_dest(&e->cinfo, &e->buffer, &e->size);
    e->cinfo.image_width = static_cast<JDIMENSION>(width);
    e->cinfo.image_height = static_cast<JDIMENSION>(height);
    e->cinfo.input_components = 3;
    e->cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&e->cinfo);
    jpeg_set_quality(&e->cinfo, quality, TRUE);
    if (extras && extras->dotsPerInchX > 0 && extras->dotsPerInchY > 0 && extras->dotsPerInchX < 65536 &&
        extras->dotsPerInchY < 65536) {
        e->cinfo.density_unit = 1;  // dots per inch
        e->cinfo.X_density = static_cast<UINT16>(extras->dotsPerInchX + 0.5);
        e->cinfo.Y_density = static_cast<UINT16>(extras->dotsPerInchY + 0.5);
    }
    jpeg_start_compress(&e->cinfo, TRUE);
    if (extras && extras->exif && !extras->exif->empty() && extras->exif->size() <= 65533 - 6) {
        std::vector<unsigned char> marker = {'E', 'x', 'i', 'f', 0, 0};
        marker.insert(marker.end(), extras->exif->begin(), extras->exif->end());
        jpeg_write_marker(&e->cinfo, JPEG_APP0 + 1, marker.data(), static_cast<unsigned int>(marker.size()));
    }
    if (extras && extras->icc && !extras->icc->empty())
        jpeg_write_icc_profile(&e->cinfo, extras->icc->data(), static_cast<unsigned int>(extras->icc->size()));
    return true;
}

// libjpeg only reads the rows, but its prototype is not const.
bool writeRows(Encoder* e, const Bitmap* bitmap) {
    if (setjmp(e->err.jump)) return false;
    while (e->cinfo.next_scanline < e->cinfo.image_height) {
        JSAMPROW rows[1] = {const_cast<unsigned char*>(bitmap->row(static_cast<int>(e->cinfo.next_scanline)))};
        jpeg_write_scanlines(&e->cinfo, rows, 1);
    }
    return true;
}

bool finishCompress(Encoder* e) {
    if (setjmp(e->err.jump)) return false;
    jpeg_finish_compress(&e->cinfo);
    return true;
}

}  // namespace

DecodedPicture decodeJpegPicture(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check,
                                 const std::atomic<bool>* cancel) {
    if (size == 0) throw Error(name + ": empty file");
    if (size < 2 || data[0] != 0xFF || data[1] != 0xD8) throw Error(name + ": not a JPEG file");
    if constexpr (sizeof(std::size_t) > sizeof(unsigned long)) {
        if (size > static_cast<std::size_t>(static_cast<unsigned long>(-1))) throw Error(name + ": file too large");
    }

    Decoder d(cancel);
    if (!readHeader(&d, data, static_cast<unsigned long>(size))) fail(name, d);
    check(d.cinfo.image_width, d.cinfo.image_height);

    DecodedPicture out;
    if (!readProfile(&d, &out.iccProfile)) out.iccProfile.clear();
    if (d.cinfo.saw_JFIF_marker && d.cinfo.X_density > 0 && d.cinfo.Y_density > 0 &&
        (d.cinfo.density_unit == 1 || d.cinfo.density_unit == 2)) {
        const double scale = d.cinfo.density_unit == 2 ? 2.54 : 1.0;
        out.dotsPerInchX = d.cinfo.X_density * scale;
        out.dotsPerInchY = d.cinfo.Y_density * scale;
    }

    const J_COLOR_SPACE in = d.cinfo.jpeg_color_space;
    const bool cmyk = in == JCS_CMYK || in == JCS_YCCK;
    if (!startDecompress(&d, cmyk ? JCS_CMYK : JCS_EXT_BGR)) fail(name, d);

    const int width = static_cast<int>(d.cinfo.output_width);
    const int height = static_cast<int>(d.cinfo.output_height);
    Bitmap& bitmap = out.bitmap;
    bitmap.setSizeForOverwrite(width, height);
    if (cmyk) {
        // Four bytes a pixel, converted a band at a time: through the file's own CMYK profile when it
        // has one, otherwise by the plain formula.
        const CmykConverter profile(out.iccProfile, d.cinfo.saw_Adobe_marker);
        if (profile.usable()) {
            out.appliedProfile = profile.description();
            out.iccProfile.clear();
        }
        constexpr int kBand = 16;
        std::vector<unsigned char> band(std::size_t(width) * 4 * kBand);
        for (int y = 0; y < height; y += kBand) {
            const int rows = std::min(kBand, height - y);
            if (!readRows(&d, band.data(), std::size_t(width) * 4, static_cast<JDIMENSION>(y + rows))) fail(name, d);
            for (int i = 0; i < rows; ++i) {
                const unsigned char* row = band.data() + std::size_t(i) * std::size_t(width) * 4;
                if (profile.usable())
                    profile.convertRow(row, bitmap.row(y + i), width);
                else
                    cmykRowToBgr(row, bitmap.row(y + i), width, d.cinfo.saw_Adobe_marker);
            }
        }
    } else if (!readRows(&d, bitmap.row(0), bitmap.stride(), d.cinfo.output_height)) {
        fail(name, d);
    }
    if (!finishDecompress(&d)) fail(name, d);
    return out;
}

Bitmap decodeJpeg(const unsigned char* data, std::size_t size, const std::string& name, const PictureLimits& limits) {
    if (size >= 1 && (size < 2 || data[0] != 0xFF || data[1] != 0xD8))
        throw Error(name + ": not a JPEG file (" + firstBytesText(data, size) + ")");
    return decodeJpegPicture(data, size, name, [&](long long w, long long h) { checkPictureSize(w, h, limits, name); }).bitmap;
}

Bitmap decodeJpeg(const std::vector<unsigned char>& bytes, const std::string& name, const PictureLimits& limits) {
    return decodeJpeg(bytes.data(), bytes.size(), name, limits);
}

namespace {

std::vector<unsigned char> encode(const Bitmap& bitmap, int quality, const JpegExtras* extras) {
    if (bitmap.empty()) throw Error("cannot write an empty picture as JPEG");
    if (quality < 1) quality = 1;
    if (quality > 100) quality = 100;

    Encoder e;
    if (!startCompress(&e, bitmap.width(), bitmap.height(), quality, extras) || !writeRows(&e, &bitmap) ||
        !finishCompress(&e))
        throw Error(std::string("cannot encode as JPEG (") + e.err.message + ")");
    return std::vector<unsigned char>(e.buffer, e.buffer + e.size);
}

}  // namespace

std::vector<unsigned char> encodeJpeg(const Bitmap& bitmap, int quality) { return encode(bitmap, quality, nullptr); }

std::vector<unsigned char> encodeJpeg(const Bitmap& bitmap, const WriteOptions& options) {
    JpegExtras extras;
    std::vector<unsigned char> exif;
    if (options.metadata) {
        const PictureMetadata& m = *options.metadata;
        extras.dotsPerInchX = m.dotsPerInchX;
        extras.dotsPerInchY = m.dotsPerInchY;
        if (!m.exif.empty()) exif = exifForOutput(m.exif, bitmap.width(), bitmap.height(), m.dotsPerInchX, m.dotsPerInchY, m.turned);
        extras.exif = &exif;
    }
    extras.icc = &srgbProfile();
    return encode(bitmap, options.quality, &extras);
}

}  // namespace gt
