// SPDX-License-Identifier: GPL-3.0-or-later
// Our own readers of the uncompressed kinds (and TGA's run-length coding): each pixel goes straight
// from the file into the bitmap, so a picture costs its bitmap and nothing more. Qt's readers would
// first make a whole 32-bit picture of their own. Every read is checked against the file's end.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/error.h"
#include "imaging/io/codecs.h"

namespace gt {

namespace {

std::uint32_t get16(const unsigned char* p) { return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8; }
std::uint32_t get32(const unsigned char* p) { return get16(p) | get16(p + 2) << 16; }

struct Pixel {
    int b = 255, g = 255, r = 255, a = 255;
};

void put(unsigned char* out, const Pixel& p) {
    if (p.a == 255) {
        out[0] = std::uint8_t(p.b), out[1] = std::uint8_t(p.g), out[2] = std::uint8_t(p.r);
        return;
    }
    // Transparent pixels are laid on white, as for every other format.
    const int white = 255 * (255 - p.a);
    out[0] = std::uint8_t((p.b * p.a + white + 127) / 255);
    out[1] = std::uint8_t((p.g * p.a + white + 127) / 255);
    out[2] = std::uint8_t((p.r * p.a + white + 127) / 255);
}

int widen5(std::uint32_t v) { return int((v << 3) | (v >> 2)); }

// ---- TGA -----------------------------------------------------------------------------------------

struct TgaHeader {
    int idLength, mapType, type, mapFirst, mapLength, mapDepth, width, height, depth, descriptor;
};

TgaHeader tgaHeader(const unsigned char* d) {
    return {d[0], d[1], d[2], int(get16(d + 3)), int(get16(d + 5)), d[7], int(get16(d + 12)), int(get16(d + 14)), d[16], d[17]};
}

bool tgaHeaderHolds(const TgaHeader& h) {
    const int base = h.type & 7;  // 1 colour-mapped, 2 true colour, 3 grey; +8 run-length coded
    if (h.type != base && h.type != base + 8) return false;
    if (h.mapType > 1 || (h.descriptor & 0xC0) != 0 || h.width == 0 || h.height == 0) return false;
    if (h.mapType == 1 && h.mapDepth != 15 && h.mapDepth != 16 && h.mapDepth != 24 && h.mapDepth != 32) return false;
    switch (base) {
        case 1: return h.mapType == 1 && (h.depth == 8 || h.depth == 16) && h.mapLength > 0;
        case 2: return h.depth == 15 || h.depth == 16 || h.depth == 24 || h.depth == 32;
        case 3: return h.depth == 8 || h.depth == 16;
        default: return false;
    }
}

}  // namespace

bool looksLikeTga(const unsigned char* data, std::size_t size) {
    if (size < 18) return false;
    return tgaHeaderHolds(tgaHeader(data));
}

DecodedPicture decodeTga(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check) {
    const auto fail = [&](const std::string& why) -> void { throw Error(name + ": broken TGA data (" + why + ")"); };
    if (!looksLikeTga(data, size)) fail("not a header TGA pictures have");
    const TgaHeader h = tgaHeader(data);
    check(h.width, h.height);
    const int base = h.type & 7;
    const bool rle = h.type > 8;
    const int alphaBits = h.descriptor & 15;

    std::size_t at = 18 + std::size_t(h.idLength);
    // The colour map, as pixels.
    std::vector<Pixel> map;
    if (h.mapType == 1) {
        const std::size_t entryBytes = std::size_t(h.mapDepth + 7) / 8;
        const std::size_t mapBytes = entryBytes * std::size_t(h.mapLength);
        if (at + mapBytes > size) fail("the file ends inside its colour map");
        map.resize(std::size_t(h.mapLength));
        for (std::size_t i = 0; i < map.size(); ++i) {
            const unsigned char* e = data + at + i * entryBytes;
            Pixel& p = map[i];
            if (entryBytes == 2) {
                const std::uint32_t v = get16(e);
                p.b = widen5(v & 31), p.g = widen5((v >> 5) & 31), p.r = widen5((v >> 10) & 31);
            } else {
                p.b = e[0], p.g = e[1], p.r = e[2];
                if (entryBytes == 4 && alphaBits == 8) p.a = e[3];
            }
        }
        at += mapBytes;
    }

    const std::size_t pixelBytes = std::size_t(h.depth + 7) / 8;
    const auto pixel = [&](const unsigned char* e) {
        Pixel p;
        if (base == 1) {
            const std::size_t index = pixelBytes == 1 ? e[0] : get16(e);
            if (index < std::size_t(h.mapFirst) || index - std::size_t(h.mapFirst) >= map.size()) return p;  // white
            return map[index - std::size_t(h.mapFirst)];
        }
        if (base == 3) {
            p.b = p.g = p.r = e[0];
            if (pixelBytes == 2) p.a = e[1];
            return p;
        }
        if (pixelBytes == 2) {
            const std::uint32_t v = get16(e);
            p.b = widen5(v & 31), p.g = widen5((v >> 5) & 31), p.r = widen5((v >> 10) & 31);
        } else {
            p.b = e[0], p.g = e[1], p.r = e[2];
            if (pixelBytes == 4 && alphaBits == 8) p.a = e[3];
        }
        return p;
    };

    DecodedPicture out;
    Bitmap& bitmap = out.bitmap;
    bitmap.setSizeForOverwrite(h.width, h.height);
    const bool topDown = (h.descriptor & 0x20) != 0, rightToLeft = (h.descriptor & 0x10) != 0;
    const auto target = [&](std::size_t i) {
        const int y = int(i / std::size_t(h.width)), x = int(i % std::size_t(h.width));
        return bitmap.row(topDown ? y : h.height - 1 - y) + std::size_t(rightToLeft ? h.width - 1 - x : x) * 3;
    };
    const std::size_t count = std::size_t(h.width) * std::size_t(h.height);
    const char* shortFile = "the file ends before the picture does";
    if (!rle) {
        if (at + count * pixelBytes > size) fail(shortFile);
        for (std::size_t i = 0; i < count; ++i) put(target(i), pixel(data + at + i * pixelBytes));
        return out;
    }
    // No packet holds more than 128 pixels: a file too short to hold them all is refused unread.
    if ((size - at) / (1 + pixelBytes) < (count + 127) / 128) fail(shortFile);
    // Packets of one pixel repeated, or of pixels as they are; a packet may run on into the next row.
    for (std::size_t i = 0; i < count;) {
        if (at >= size) fail(shortFile);
        const int head = data[at++];
        const std::size_t run = std::min<std::size_t>(std::size_t(head & 127) + 1, count - i);
        if (head & 128) {
            if (at + pixelBytes > size) fail(shortFile);
            const Pixel p = pixel(data + at);
            at += pixelBytes;
            for (std::size_t k = 0; k < run; ++k) put(target(i++), p);
        } else {
            if (at + run * pixelBytes > size) fail(shortFile);
            for (std::size_t k = 0; k < run; ++k, at += pixelBytes) put(target(i++), pixel(data + at));
        }
    }
    return out;
}

// ---- PNM -----------------------------------------------------------------------------------------

namespace {

struct PnmText {
    const unsigned char* data;
    std::size_t size, at;

    void skipSpace() {
        while (at < size) {
            if (data[at] == '#') {
                while (at < size && data[at] != '\n' && data[at] != '\r') ++at;
            } else if (data[at] == ' ' || data[at] == '\t' || data[at] == '\n' || data[at] == '\r' || data[at] == '\v' || data[at] == '\f') {
                ++at;
            } else {
                return;
            }
        }
    }
    // A decimal number; -1 when there is none.
    long long number() {
        skipSpace();
        long long v = -1;
        while (at < size && data[at] >= '0' && data[at] <= '9') {
            v = (v < 0 ? 0 : v) * 10 + (data[at++] - '0');
            if (v > 1'000'000'000) return -1;
        }
        return v;
    }
};

}  // namespace

DecodedPicture decodePnm(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check) {
    const auto fail = [&](const std::string& why) -> void { throw Error(name + ": broken PNM data (" + why + ")"); };
    if (size < 2 || data[0] != 'P' || data[1] < '1' || data[1] > '6') fail("no header");
    const int kind = data[1] - '0';
    const bool bits = kind == 1 || kind == 4, colour = kind == 3 || kind == 6, text = kind <= 3;
    PnmText in{data, size, 2};
    const long long width = in.number(), height = in.number();
    if (width < 0 || height < 0) fail("no size in the header");
    check(width, height);
    const long long maxValue = bits ? 1 : in.number();
    if (maxValue < 1 || maxValue > 65535) fail("the largest value is not 1 to 65535");
    if (!text) {
        if (in.at >= size) fail("the file ends before the picture does");
        ++in.at;  // the one white-space character after the header
    }
    DecodedPicture out;
    Bitmap& bitmap = out.bitmap;
    bitmap.setSizeForOverwrite(int(width), int(height));
    const int channels = colour ? 3 : 1;
    const std::size_t sampleBytes = maxValue > 255 ? 2 : 1;
    const std::size_t rowBytes = kind == 4 ? std::size_t(width + 7) / 8 : std::size_t(width) * std::size_t(channels) * sampleBytes;
    if (!text && in.at + rowBytes * std::size_t(height) > size) fail("the file ends before the picture does");
    // Written out, each sample takes a character at least (and a space, but for P1's digits).
    const std::size_t samples = std::size_t(width) * std::size_t(height) * std::size_t(channels);
    if (text && size - std::min(size, in.at) < (kind == 1 ? samples : 2 * samples - 1)) fail("the file ends before the picture does");
    const auto scale = [&](long long v) { return int((std::min(v, maxValue) * 255 + maxValue / 2) / maxValue); };
    for (int y = 0; y < int(height); ++y) {
        unsigned char* o = bitmap.row(y);
        const unsigned char* row = data + in.at + std::size_t(y) * rowBytes;
        for (int x = 0; x < int(width); ++x, o += 3) {
            int v[3];
            for (int c = 0; c < channels; ++c) {
                long long s = 0;
                if (kind == 4) {
                    s = (row[x / 8] >> (7 - x % 8)) & 1;
                } else if (text) {
                    if (kind == 1) {
                        in.skipSpace();
                        if (in.at >= size || (data[in.at] != '0' && data[in.at] != '1')) fail("the file ends before the picture does");
                        s = data[in.at++] - '0';
                    } else if ((s = in.number()) < 0) {
                        fail("the file ends before the picture does");
                    }
                } else {
                    const unsigned char* p = row + (std::size_t(x) * std::size_t(channels) + std::size_t(c)) * sampleBytes;
                    s = sampleBytes == 2 ? (p[0] << 8 | p[1]) : p[0];
                }
                v[c] = bits ? (s ? 0 : 255) : scale(s);  // in bitmaps, 1 is black
            }
            if (channels == 1) v[1] = v[2] = v[0];
            o[0] = std::uint8_t(v[2]), o[1] = std::uint8_t(v[1]), o[2] = std::uint8_t(v[0]);
        }
    }
    return out;
}

// ---- GIF -----------------------------------------------------------------------------------------

DecodedPicture decodeGif(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check) {
    const auto fail = [&](const std::string& why) -> void { throw Error(name + ": broken GIF data (" + why + ")"); };
    const char* shortFile = "the file ends before the picture does";
    if (size < 13) fail(shortFile);
    int canvasWidth = int(get16(data + 6)), canvasHeight = int(get16(data + 8));
    const int screenFlags = data[10];
    std::size_t at = 13;
    const unsigned char* globalTable = nullptr;
    int globalColours = 0;
    if (screenFlags & 0x80) {
        globalColours = 2 << (screenFlags & 7);
        if (at + std::size_t(globalColours) * 3 > size) fail(shortFile);
        globalTable = data + at;
        at += std::size_t(globalColours) * 3;
    }
    // Extensions up to the first picture; only the transparent colour matters.
    int transparent = -1;
    const auto skipBlocks = [&] {
        while (true) {
            if (at >= size) fail(shortFile);
            const std::size_t n = data[at++];
            if (n == 0) return;
            at += n;
        }
    };
    while (true) {
        if (at >= size) fail(shortFile);
        const int introducer = data[at++];
        if (introducer == 0x2C) break;
        if (introducer != 0x21 || at >= size) fail(introducer == 0x3B ? "no picture in the file" : "an unknown block");
        const int label = data[at++];
        if (label == 0xF9 && at + 5 <= size && data[at] >= 4) transparent = (data[at + 1] & 1) ? data[at + 4] : -1;
        skipBlocks();
    }
    if (at + 9 > size) fail(shortFile);
    const int left = int(get16(data + at)), top = int(get16(data + at + 2));
    const int width = int(get16(data + at + 4)), height = int(get16(data + at + 6));
    const int frameFlags = data[at + 8];
    at += 9;
    if (canvasWidth == 0 || canvasHeight == 0) canvasWidth = left + width, canvasHeight = top + height;
    check(canvasWidth, canvasHeight);
    const unsigned char* table = globalTable;
    int colours = globalColours;
    if (frameFlags & 0x80) {
        colours = 2 << (frameFlags & 7);
        if (at + std::size_t(colours) * 3 > size) fail(shortFile);
        table = data + at;
        at += std::size_t(colours) * 3;
    }
    const bool interlaced = (frameFlags & 0x40) != 0;
    if (at >= size) fail(shortFile);
    const int minimumBits = data[at++];
    if (minimumBits < 1 || minimumBits > 11) fail("a code size of " + std::to_string(minimumBits) + " bits");

    DecodedPicture out;
    Bitmap& bitmap = out.bitmap;
    bitmap.setSize(canvasWidth, canvasHeight);  // white where the first picture does not reach, or is transparent

    // The rows in the order they are stored: interlaced ones in four passes.
    int row = 0, pass = 0, x = 0;
    const auto nextRow = [&] {
        static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
        if (!interlaced) return ++row;
        row += kStep[pass];
        while (row >= height && pass < 3) row = kStart[++pass];
        return row;
    };
    long long remaining = static_cast<long long>(width) * height;  // pixels still to come
    const auto putPixel = [&](int index) {
        if (remaining <= 0) return;
        const int cx = left + x, cy = top + row;
        if (index != transparent && cx < canvasWidth && cy < canvasHeight) {
            unsigned char* o = bitmap.pixel(cx, cy);
            if (table && index < colours) {
                const unsigned char* c = table + index * 3;
                o[0] = c[2], o[1] = c[1], o[2] = c[0];
            } else {
                o[0] = o[1] = o[2] = 0;  // a colour no table gives
            }
        }
        --remaining;
        if (++x == width) {
            x = 0;
            nextRow();
        }
    };

    // LZW: codes from `minimumBits` + 1 bits up to 12, read from the sub-blocks, least significant bit first.
    const int clear = 1 << minimumBits, end = clear + 1;
    std::vector<std::uint16_t> prefix(4096);
    std::vector<std::uint8_t> suffix(4096), stack(4097);
    for (int i = 0; i < clear; ++i) suffix[std::size_t(i)] = std::uint8_t(i);
    int bits = minimumBits + 1, next = end + 1, previous = -1;
    std::uint8_t first = 0;
    std::uint32_t buffer = 0;
    int buffered = 0;
    std::size_t blockLeft = 0;
    bool ended = false;
    while (remaining > 0 && !ended) {
        while (buffered < bits) {
            if (blockLeft == 0) {
                if (at >= size) fail(shortFile);
                blockLeft = data[at++];
                if (blockLeft == 0) {  // the data ends: what came is the picture, the rest stays white
                    ended = true;
                    break;
                }
            }
            if (at >= size) fail(shortFile);
            buffer |= std::uint32_t(data[at++]) << buffered;
            buffered += 8;
            --blockLeft;
        }
        if (ended) break;
        const int code = int(buffer & ((1u << bits) - 1));
        buffer >>= bits;
        buffered -= bits;
        if (code == clear) {
            bits = minimumBits + 1;
            next = end + 1;
            previous = -1;
            continue;
        }
        if (code == end) break;
        if (previous < 0) {
            if (code >= clear) fail("a code before its definition");
            putPixel(code);
            previous = code;
            first = std::uint8_t(code);
            continue;
        }
        int walk = code;
        std::size_t depth = 0;
        if (code >= next) {
            if (code > next) fail("a code before its definition");
            stack[depth++] = first;
            walk = previous;
        }
        while (walk >= clear) {
            stack[depth++] = suffix[std::size_t(walk)];
            walk = prefix[std::size_t(walk)];
        }
        stack[depth++] = std::uint8_t(walk);
        first = std::uint8_t(walk);
        while (depth > 0) putPixel(stack[--depth]);
        if (next < 4096) {
            prefix[std::size_t(next)] = std::uint16_t(previous);
            suffix[std::size_t(next)] = first;
            ++next;
            if (next == (1 << bits) && bits < 12) ++bits;
        }
        previous = code;
    }
    return out;
}

// ---- BMP -----------------------------------------------------------------------------------------

bool decodeBmp(const unsigned char* data, std::size_t size, const std::string& name, const SizeCheck& check, DecodedPicture& out) {
    // The header and the file's length are checked before anything else.
    checkHeader(data, size, name, check);
    const std::uint32_t headerSize = get32(data + 14);
    if (headerSize < 40 || size < 14 + std::size_t(headerSize)) return false;
    const auto width = std::int64_t(std::int32_t(get32(data + 18)));
    const auto signedHeight = std::int64_t(std::int32_t(get32(data + 22)));
    const std::uint32_t depth = get16(data + 28), compression = get32(data + 30);
    // Uncompressed true colour and palettes; the rest (bit fields, run-length coding) is Qt's.
    if (compression != 0 || (depth != 1 && depth != 4 && depth != 8 && depth != 24 && depth != 32)) return false;
    const std::int64_t height = signedHeight < 0 ? -signedHeight : signedHeight;
    const std::uint64_t pixelsStart = get32(data + 10);
    const std::uint64_t rowBytes = (std::uint64_t(width) * depth + 31) / 32 * 4;  // checkHeader saw them all in the file

    std::vector<Pixel> palette;
    if (depth <= 8) {
        std::uint32_t colours = get32(data + 46);
        if (colours == 0 || colours > (1u << depth)) colours = 1u << depth;
        const std::size_t at = 14 + std::size_t(headerSize);
        if (at + std::size_t(colours) * 4 > pixelsStart) colours = std::uint32_t(std::min<std::uint64_t>(colours, (pixelsStart - std::min<std::uint64_t>(pixelsStart, at)) / 4));
        palette.resize(std::size_t(1) << depth, Pixel{0, 0, 0, 255});  // indexes beyond the palette are black
        for (std::uint32_t i = 0; i < colours; ++i) palette[i] = {data[at + i * 4], data[at + i * 4 + 1], data[at + i * 4 + 2], 255};
    }
    Bitmap& bitmap = out.bitmap;
    bitmap.setSizeForOverwrite(int(width), int(height));
    for (std::int64_t y = 0; y < height; ++y) {
        const unsigned char* in = data + pixelsStart + std::uint64_t(y) * rowBytes;
        unsigned char* o = bitmap.row(int(signedHeight < 0 ? y : height - 1 - y));
        if (depth == 24) {
            std::memcpy(o, in, bitmap.stride());
            continue;
        }
        for (std::int64_t x = 0; x < width; ++x, o += 3) {
            if (depth == 32) {
                o[0] = in[x * 4], o[1] = in[x * 4 + 1], o[2] = in[x * 4 + 2];
                continue;
            }
            const std::size_t bit = std::size_t(x) * depth;
            const int index = (in[bit / 8] >> (8 - depth - bit % 8)) & ((1 << depth) - 1);
            put(o, palette[std::size_t(index)]);
        }
    }
    // The resolution, in pixels a metre, when the file gives one.
    const std::uint32_t resX = get32(data + 38), resY = get32(data + 42);
    if (resX > 0 && resY > 0) {
        out.dotsPerInchX = resX * 0.0254;
        out.dotsPerInchY = resY * 0.0254;
    }
    return true;
}

}  // namespace gt
