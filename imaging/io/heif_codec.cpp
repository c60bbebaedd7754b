// SPDX-License-Identifier: GPL-3.0-or-later
// HEIC (phones' photos) and AVIF through libheif. libheif applies the file's own turns and crops
// (its irot and imir boxes), which are what a HEIF picture's orientation is; the EXIF orientation
// inside it only repeats them and is not applied again.

#include <libheif/heif.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "imaging/error.h"
#include "imaging/io/codecs.h"

namespace gt {

namespace {

// libheif wants to be started once before use; it stays started for the process's life.
void startHeif() {
    static std::once_flag once;
    std::call_once(once, [] { heif_init(nullptr); });
}

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleRelease {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageRelease {
    void operator()(heif_image* i) const { heif_image_release(i); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};

[[noreturn]] void fail(const std::string& name, const char* kind, const heif_error& e) {
    std::string reason = e.message && *e.message ? e.message : "";
    // libheif's messages may run over several lines (ending in a newline and a lone ")"): one line
    // with single spaces is what we show.
    std::string line;
    for (const char c : reason) {
        const bool space = c == '\n' || c == '\r' || c == '\t' || c == ' ';
        if (!space)
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    reason = line.empty() ? "unreadable data" : line;
    if (e.code == heif_error_Unsupported_feature || e.code == heif_error_Unsupported_filetype)
        throw Error(name + ": " + kind + " picture of a kind this program cannot decode (" + reason + ")");
    if (e.code == heif_error_Memory_allocation_error) throw Error(name + ": the " + kind + " picture is too large (" + reason + ")");
    throw Error(name + ": broken " + kind + " data (" + reason + ")");
}

// The EXIF block of a HEIF file starts with the offset of its TIFF header.
std::vector<unsigned char> exifOf(heif_image_handle* handle) {
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(handle, "Exif", &id, 1) < 1) return {};
    const std::size_t size = heif_image_handle_get_metadata_size(handle, id);
    if (size < 4 || size > (64u << 20)) return {};
    std::vector<unsigned char> block(size);
    if (heif_image_handle_get_metadata(handle, id, block.data()).code != heif_error_Ok) return {};
    const std::size_t offset = std::size_t(block[0]) << 24 | std::size_t(block[1]) << 16 | std::size_t(block[2]) << 8 | block[3];
    if (offset > size - 4) return {};
    return std::vector<unsigned char>(block.begin() + 4 + std::ptrdiff_t(offset), block.end());
}

std::vector<unsigned char> profileOf(heif_image_handle* handle) {
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
    // Phones often describe the colours by code points instead of an ICC profile (libheif names
    // the ICC profile first when a file has both).
    if (type != heif_color_profile_type_prof && type != heif_color_profile_type_rICC) {
        heif_color_profile_nclx* nclx = nullptr;
        const heif_error e = heif_image_handle_get_nclx_color_profile(handle, &nclx);
        // libheif may hand out the profile even when it refuses its numbers (unknown primaries).
        const std::unique_ptr<heif_color_profile_nclx, decltype(&heif_nclx_color_profile_free)> owned(
            nclx, &heif_nclx_color_profile_free);
        if (e.code != heif_error_Ok || !nclx) return {};
        std::vector<unsigned char> icc =
            cicpProfile(nclx->color_primaries, nclx->transfer_characteristics, nclx->color_primary_white_x,
                        nclx->color_primary_white_y, nclx->color_primary_red_x, nclx->color_primary_red_y,
                        nclx->color_primary_green_x, nclx->color_primary_green_y, nclx->color_primary_blue_x,
                        nclx->color_primary_blue_y);
        return icc;
    }
    const std::size_t size = heif_image_handle_get_raw_color_profile_size(handle);
    if (size == 0 || size > (16u << 20)) return {};
    std::vector<unsigned char> icc(size);
    if (heif_image_handle_get_raw_color_profile(handle, icc.data()).code != heif_error_Ok) return {};
    return icc;
}

}  // namespace

bool heifDecoderInstalled(PictureKind kind) {
    startHeif();
    return heif_have_decoder_for_format(kind == PictureKind::Avif ? heif_compression_AV1 : heif_compression_HEVC) != 0;
}

DecodedPicture decodeHeif(const unsigned char* data, std::size_t size, const std::string& name, PictureKind kind,
                          const SizeCheck& check, const std::atomic<bool>* cancel) {
    startHeif();
    const char* kindText = kind == PictureKind::Avif ? "AVIF" : "HEIC";
    const std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context) throw Error(name + ": not enough memory to read the " + kindText + " picture");
    // No side longer than twice the widest row we accept; the pixel count is checked below.
    heif_context_set_maximum_image_size_limit(context.get(), 2 * kMaxWidth);
    heif_error e = heif_context_read_from_memory_without_copy(context.get(), data, size, nullptr);
    if (e.code != heif_error_Ok) fail(name, kindText, e);

    heif_image_handle* rawHandle = nullptr;
    e = heif_context_get_primary_image_handle(context.get(), &rawHandle);
    if (e.code != heif_error_Ok) fail(name, kindText, e);
    const std::unique_ptr<heif_image_handle, HandleRelease> handle(rawHandle);
    check(heif_image_handle_get_width(handle.get()), heif_image_handle_get_height(handle.get()));

    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    const std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    options->convert_hdr_to_8bit = 1;
    stopIfCancelled(cancel, name);
    heif_image* rawImage = nullptr;
    e = heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    if (e.code != heif_error_Ok) fail(name, kindText, e);
    const std::unique_ptr<heif_image, ImageRelease> image(rawImage);
    stopIfCancelled(cancel, name);

    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    check(width, height);
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    if (!plane || stride <= 0) throw Error(name + ": broken " + kindText + " data (no pixels)");

    DecodedPicture out;
    out.bitmap.setSizeForOverwrite(width, height);
    const int channels = alpha ? 4 : 3;
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = plane + std::size_t(y) * std::size_t(stride);
        unsigned char* o = out.bitmap.row(y);
        for (int x = 0; x < width; ++x, in += channels, o += 3) {
            // Transparent pixels are laid on white, as for every other format.
            const int a = alpha ? in[3] : 255;
            const int white = 255 * (255 - a);
            o[0] = static_cast<unsigned char>((in[2] * a + white + 127) / 255);
            o[1] = static_cast<unsigned char>((in[1] * a + white + 127) / 255);
            o[2] = static_cast<unsigned char>((in[0] * a + white + 127) / 255);
        }
    }
    out.iccProfile = profileOf(handle.get());
    out.exif = exifOf(handle.get());
    return out;
}

}  // namespace gt
