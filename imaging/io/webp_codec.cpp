// SPDX-License-Identifier: GPL-3.0-or-later
// WebP through libwebp itself: an opaque picture is decoded straight into the bitmap's blue, green,
// red rows; a transparent one into the bitmap's own memory with its alpha, then laid on white in
// place. Of an animation, the first frame is the picture. The colour profile comes from the file's
// ICCP chunk; the camera data is read by exiv2 like any other file's.

#include <webp/decode.h>
#include <webp/demux.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "imaging/error.h"
#include "imaging/io/codecs.h"

namespace gt {

namespace {

struct DemuxDelete {
    void operator()(WebPDemuxer* d) const { WebPDemuxDelete(d); }
};

const char* statusInWords(VP8StatusCode status) {
    switch (status) {
        case VP8_STATUS_OUT_OF_MEMORY: return "not enough memory";
        case VP8_STATUS_INVALID_PARAM: return "an invalid setting";
        case VP8_STATUS_BITSTREAM_ERROR: return "the compressed data is damaged";
        case VP8_STATUS_UNSUPPORTED_FEATURE: return "a feature this decoder does not know";
        case VP8_STATUS_NOT_ENOUGH_DATA: return "the data ends before the picture does";
        default: return "unreadable data";
    }
}

// The decoder is given the data a piece more at a time, so that a cancel stops it between pieces (a
// few rows of a photo); all of it at once is the same decoding.
VP8StatusCode decodeInPieces(const unsigned char* data, std::size_t size, WebPDecoderConfig& config,
                             const std::atomic<bool>* cancel, const std::string& name) {
    if (!cancel) return WebPDecode(data, size, &config);
    constexpr std::size_t kPiece = 64 * 1024;
    const std::unique_ptr<WebPIDecoder, decltype(&WebPIDelete)> decoder(WebPIDecode(nullptr, 0, &config), &WebPIDelete);
    if (!decoder) return VP8_STATUS_OUT_OF_MEMORY;
    for (std::size_t given = std::min(size, kPiece);; given = std::min(size, given + kPiece)) {
        stopIfCancelled(cancel, name);
        const VP8StatusCode status = WebPIUpdate(decoder.get(), data, given);
        if (status != VP8_STATUS_SUSPENDED) return status;
        if (given == size) return VP8_STATUS_NOT_ENOUGH_DATA;
    }
}

}  // namespace

DecodedPicture decodeWebp(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check,
                          const std::atomic<bool>* cancel) {
    const auto fail = [&](const std::string& why) -> void { throw Error(name + ": broken WebP data (" + why + ")"); };
    // The size from the header first, before the file's structure is looked at as a whole.
    WebPBitstreamFeatures header;
    if (WebPGetFeatures(data, size, &header) == VP8_STATUS_OK) check(header.width, header.height);
    WebPData whole{data, size};
    const std::unique_ptr<WebPDemuxer, DemuxDelete> demux(WebPDemux(&whole));
    if (!demux) fail("the file's structure is damaged or cut short");
    const int canvasWidth = int(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH));
    const int canvasHeight = int(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT));
    check(canvasWidth, canvasHeight);

    WebPIterator frame;
    if (!WebPDemuxGetFrame(demux.get(), 1, &frame)) fail("no picture in the file");
    const std::unique_ptr<WebPIterator, decltype(&WebPDemuxReleaseIterator)> frameOwner(&frame, &WebPDemuxReleaseIterator);
    WebPBitstreamFeatures features;
    VP8StatusCode status = WebPGetFeatures(frame.fragment.bytes, frame.fragment.size, &features);
    if (status != VP8_STATUS_OK) fail(statusInWords(status));
    if (features.width != frame.width || features.height != frame.height || frame.x_offset + frame.width > canvasWidth ||
        frame.y_offset + frame.height > canvasHeight)
        fail("the first frame does not fit the picture");

    DecodedPicture out;
    const bool wholeCanvas = frame.x_offset == 0 && frame.y_offset == 0 && frame.width == canvasWidth && frame.height == canvasHeight;
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) fail("the decoder cannot start");
    config.output.is_external_memory = 1;
    Bitmap frameBgra;  // a frame with alpha: its pixels and alpha, in the memory that becomes its picture
    if (!features.has_alpha) {
        // Straight into the bitmap's rows, where the frame lies.
        if (wholeCanvas)
            out.bitmap.setSizeForOverwrite(canvasWidth, canvasHeight);
        else
            out.bitmap.setSize(canvasWidth, canvasHeight);  // white where the frame does not reach
        config.output.colorspace = MODE_BGR;
        config.output.u.RGBA.rgba = out.bitmap.pixel(frame.x_offset, frame.y_offset);
        config.output.u.RGBA.stride = int(out.bitmap.stride());
        config.output.u.RGBA.size = out.bitmap.stride() * std::size_t(frame.height - 1) + std::size_t(frame.width) * 3;
    } else {
        frameBgra = bitmapForBgra(frame.width, frame.height);
        config.output.colorspace = MODE_BGRA;
        config.output.u.RGBA.rgba = frameBgra.bytes().data();
        config.output.u.RGBA.stride = frame.width * 4;
        config.output.u.RGBA.size = std::size_t(frame.width) * 4 * std::size_t(frame.height);
    }
    status = decodeInPieces(frame.fragment.bytes, frame.fragment.size, config, cancel, name);
    WebPFreeDecBuffer(&config.output);
    if (status != VP8_STATUS_OK) fail(statusInWords(status));
    if (features.has_alpha) {
        // Transparent pixels are laid on white, as for every other format.
        layBgraOnWhite(frameBgra, frame.width, frame.height);
        if (wholeCanvas) {
            out.bitmap = std::move(frameBgra);
        } else {
            out.bitmap.setSize(canvasWidth, canvasHeight);
            out.bitmap.draw(frameBgra, frame.x_offset, frame.y_offset);
        }
    }

    WebPChunkIterator chunk;
    if (WebPDemuxGetChunk(demux.get(), "ICCP", 1, &chunk)) {
        if (chunk.chunk.size > 0 && chunk.chunk.size <= (16u << 20)) out.iccProfile.assign(chunk.chunk.bytes, chunk.chunk.bytes + chunk.chunk.size);
        WebPDemuxReleaseChunkIterator(&chunk);
    }
    return out;
}

}  // namespace gt
