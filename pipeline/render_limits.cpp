// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/render_limits.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "imaging/error.h"
#include "imaging/rotate.h"
#include "pipeline/frames.h"
#include "pipeline/styles.h"

namespace gt {

namespace {

constexpr long long kBytesPerPixel = 3;

// The style's peak, in bytes per photo pixel, the photo counted, when the photo is given over to the
// rendering (the command line and the batch): the largest figure measured at 12 to 100 megapixels
// (docs/reliability.md), a few per cent added. The pencil drawing's turned canvas comes on top.
double styleBytesPerPixel(DrawingStyle style) {
    switch (style) {
        case DrawingStyle::PencilDrawing: return 3.4;  // the result; besides the canvas
        case DrawingStyle::PencilDrawingGrey: return 5.6;
        case DrawingStyle::PencilDrawingColour: return 11.0;
        case DrawingStyle::InkDrawing: return 6.5;
        case DrawingStyle::Painting1: return 9.7;
        case DrawingStyle::Painting2: return 6.5;
        case DrawingStyle::Painting3: return 6.5;
        case DrawingStyle::Painting4: return 6.5;
        case DrawingStyle::FrameAndTextureOnly: return 3.7;
    }
    return 12;
}

// Row scratch, the workers' buffers and the allocator's slack that do not grow with the photo.
constexpr long long kFixedBytes = 16'000'000;

void checkPicture(long long width, long long height, const std::string& what) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
    if (width > kMaxWidth || height > kMaxWidth)
        throw Error(what + " would be " + size + ", more than the " + std::to_string(kMaxWidth) +
                    " a picture may have on a side");
    if (width * height > kMaxPixels)
        throw Error(what + " would be " + size + ", more than the " + std::to_string(kMaxPixels / 1'000'000) +
                    " megapixels a picture may have");
}

}  // namespace

void checkRenderSizes(int photoWidth, int photoHeight, const DrawingParameters& p, const Resources& resources) {
    checkPicture(photoWidth, photoHeight, "the photo");
    // The pencil drawing works on the photo turned by 40 degrees, on a canvas that holds it whole.
    if (p.ComboBox1 == styleIndex(DrawingStyle::PencilDrawing)) {
        const TurnGeometry turn = turnGeometry(photoWidth, photoHeight, 40);
        checkPicture(turn.Wd, turn.Hd, "the pencil drawing's turned canvas");
    }
    if (!p.CheckBox1) return;
    const FrameSettings& frame = p.frame;
    const long long Fw = static_cast<long long>(photoWidth) + frame.margin, Fh = static_cast<long long>(photoHeight) + frame.margin;
    checkPicture(Fw, Fh, "the drawing with its margin");
    if (frame.style != kFrameRealistic && frame.style != kFrameColoured) return;
    const bool coloured = frame.style == kFrameColoured;
    // Lays out the frame as the finishing pass will; only its size is kept.
    const FrameLayout layout = layOutFrame(static_cast<int>(Fw), static_cast<int>(Fh), frame.style,
                                           coloured ? frame.colouredNumber : frame.realisticNumber, resources.FramePictures, FrameTint{});
    checkPicture(layout.width, layout.height, "the framed picture");
}

long long renderPeakBytes(int photoWidth, int photoHeight, const DrawingParameters& p, const Resources& resources,
                          bool photoGivenOver) {
    const long long pixels = static_cast<long long>(photoWidth) * photoHeight;
    const long long photo = kBytesPerPixel * pixels;
    const std::optional<DrawingStyle> style = styleFromIndex(p.ComboBox1);
    if (!style || pixels == 0) return photo;

    long long styleBytes = std::llround(styleBytesPerPixel(*style) * static_cast<double>(pixels));
    if (*style == DrawingStyle::PencilDrawing) {
        const TurnGeometry turn = turnGeometry(photoWidth, photoHeight, 40);
        styleBytes += kBytesPerPixel * turn.Wd * turn.Hd;
    }
    // A photo the caller keeps stays beside the style's pictures, where a photo given over is drawn
    // on or let go early; only the coloured pencil drawing reads it to its end either way.
    if (!photoGivenOver && *style != DrawingStyle::PencilDrawingColour) styleBytes += photo;

    // The finishing pass holds the style's drawing (the photo's size) while it makes the finished
    // picture: the composition with its margin, or the framed picture the composition is painted
    // into; when the frame clips the composition, the composition and then the framed picture.
    const long long drawing = kBytesPerPixel * pixels;
    long long finishing = drawing, finished = drawing;
    const bool evenSize = photoWidth % 2 == 0 && photoHeight % 2 == 0;
    const FrameSettings& frame = p.frame;
    const int margin = p.CheckBox1 ? frame.margin : 0;
    const bool pictureFrame = p.CheckBox1 && (frame.style == kFrameRealistic || frame.style == kFrameColoured);
    const long long Fw = static_cast<long long>(photoWidth) + margin, Fh = static_cast<long long>(photoHeight) + margin;
    const long long composition = kBytesPerPixel * Fw * Fh;
    if (pictureFrame && Fw <= kMaxWidth && Fh <= kMaxWidth) {
        const bool coloured = frame.style == kFrameColoured;
        const FrameLayout layout = layOutFrame(static_cast<int>(Fw), static_cast<int>(Fh), frame.style,
                                               coloured ? frame.colouredNumber : frame.realisticNumber, resources.FramePictures, FrameTint{});
        finished = kBytesPerPixel * layout.width * layout.height;
        if (layout.left + Fw <= layout.width && layout.top + Fh <= layout.height)
            finishing = drawing + finished;
        else
            finishing = std::max(drawing + composition, composition + finished);
    } else if (margin > 0 || !evenSize) {
        finished = composition;
        finishing = drawing + composition;
    }
    // A photo given over is gone by then; the command line and the batch then encode the finished
    // picture whole before writing it: a JPEG of a drawing takes 0.2 to 0.3 bytes a pixel, PNG and
    // WebP under one; counted as one (an uncompressed BMP or TIFF, three, is not).
    if (photoGivenOver)
        finishing = std::max(finishing, finished + finished / kBytesPerPixel);
    else
        finishing += photo;
    return std::max(styleBytes, finishing) + kFixedBytes;
}

namespace {

// "12G", "800M", "5000000": bytes, or thousands, millions or billions of them.
std::optional<long long> parseMemoryFigure(const char* text) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || !(value >= 0) || value > 1e18) return std::nullopt;
    double scale = 1;
    if (*end == 'K' || *end == 'k') scale = 1e3, ++end;
    else if (*end == 'M' || *end == 'm') scale = 1e6, ++end;
    else if (*end == 'G' || *end == 'g') scale = 1e9, ++end;
    if (*end == 'B' || *end == 'b') ++end;
    if (*end != '\0') return std::nullopt;
    return static_cast<long long>(value * scale);
}

#if defined(__linux__)
// A "Key:   123 kB" line of /proc/meminfo, in bytes.
std::optional<long long> memInfo(const char* key) {
    std::ifstream in("/proc/meminfo");
    std::string name;
    long long value = 0;
    std::string unit;
    while (in >> name >> value) {
        std::getline(in, unit);
        if (name == key) return value * (unit.find("kB") != std::string::npos ? 1024 : 1);
    }
    return std::nullopt;
}

// What the process's control group (version 2) still allows: its limit less what it uses.
std::optional<long long> cgroupRoom() {
    std::ifstream self("/proc/self/cgroup");
    std::string line;
    while (std::getline(self, line)) {
        if (line.rfind("0::", 0) != 0) continue;
        const std::string dir = "/sys/fs/cgroup" + line.substr(3);
        std::ifstream maxFile(dir + "/memory.max"), currentFile(dir + "/memory.current");
        std::string limit;
        long long current = 0;
        if (!(maxFile >> limit) || limit == "max" || !(currentFile >> current)) return std::nullopt;
        const std::optional<long long> max = parseMemoryFigure(limit.c_str());
        if (!max) return std::nullopt;
        return std::max(0LL, *max - current);
    }
    return std::nullopt;
}
#endif

}  // namespace

std::optional<long long> availableMemory() {
    if (const char* given = std::getenv("GRAPHITELLO_AVAILABLE_MEMORY"); given && *given) return parseMemoryFigure(given);
#if defined(__linux__)
    std::optional<long long> available = memInfo("MemAvailable:");
    if (const std::optional<long long> room = cgroupRoom(); room && (!available || *room < *available)) available = room;
    return available;
#else
    return std::nullopt;
#endif
}

std::string memoryFigure(long long bytes) {
    char text[32];
    if (bytes >= 1'000'000'000)
        std::snprintf(text, sizeof text, "%.1f GB", static_cast<double>(bytes) / 1e9);
    else
        std::snprintf(text, sizeof text, "%lld MB", (bytes + 500'000) / 1'000'000);
    return text;
}

MemoryShortage::MemoryShortage(long long needed, long long available)
    : Error("not enough memory to draw this photo: it would take about " + memoryFigure(needed) + ", and the machine can give " +
            memoryFigure(available)),
      needed_(needed), available_(available) {}

void checkRenderMemory(int photoWidth, int photoHeight, const DrawingParameters& p, const Resources& resources, bool photoGivenOver) {
    const std::optional<long long> free = availableMemory();
    if (!free) return;
    // The photo is in memory already: what it holds is the machine's to give to this rendering.
    const long long available = *free + kBytesPerPixel * photoWidth * static_cast<long long>(photoHeight);
    const long long needed = renderPeakBytes(photoWidth, photoHeight, p, resources, photoGivenOver);
    if (needed > available) throw MemoryShortage(needed, available);
}

}  // namespace gt
