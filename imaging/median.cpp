#include "imaging/median.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/error.h"
#include "imaging/parallel.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gt {

namespace {

int windowSide(int size) { return std::clamp(size, 2, 11); }

// The padded copy: the picture drawn at (0, 0), (0, s), (s, 0) and (s, s) on a white sheet 2s larger.
// The last copy puts the picture at offset (s, s); the earlier ones fill the left and top bands with
// the picture shifted by s, and leave the right and bottom bands white.
Bitmap paddedCopy(const Bitmap& source, int s) {
    Bitmap padded(source.width() + 2 * s, source.height() + 2 * s);
    padded.draw(source, 0, 0);
    padded.draw(source, 0, s);
    padded.draw(source, s, 0);
    padded.draw(source, s, s);
    return padded;
}

// ProgressReport's last step, Hs - s - 1, is a divisor of the progress arithmetic while a run goes
// on; pictures no higher than the window would make it 0 or negative.
int lastProgressStep(int height, int s) { return std::max(1, height - s - 1); }

}  // namespace

// The count starts at the window's minimum: no value lies below it, so the running total there is
// the number of values <= v, and the first v reaching `half` is the smallest such v. The filter's
// `half` = (s*s - 1) div 2 is at most lastIndex + 1 = s*s, so the total always reaches it by 255 and
// the fall-back 0 is never returned for a filter window.
int HistogramMedian(const std::uint16_t* values, int lastIndex, int start, int half) {
    int histogram[256] = {};
    for (int i = 0; i <= lastIndex; ++i) {
        if (values[i] > 255) throw Error("median window value " + std::to_string(values[i]) + " is out of range");
        ++histogram[values[i]];
    }
    int total = 0;
    for (int v = std::max(start, 0); v <= 255; ++v) {
        total += histogram[v];
        if (total >= half) return v;
    }
    return 0;
}

namespace plain {

void MedianFilter(const Bitmap& source, Bitmap& destination, int size, int pass, int passes, const RenderContext& ctx) {
    const int s = windowSide(size);
    const int Ws = source.width(), Hs = source.height();
    const Bitmap S1 = paddedCopy(source, s);
    Bitmap S2(Ws + 2 * s, Hs + 2 * s);
    const int n = s * s, half = (n - 1) / 2;
    std::vector<std::uint16_t> buffers[3] = {std::vector<std::uint16_t>(n), std::vector<std::uint16_t>(n), std::vector<std::uint16_t>(n)};
    const std::uint8_t* rows[11];

    for (int y = 0; y <= Hs + s - 1; ++y) {
        ctx.ProgressReport(y, lastProgressStep(Hs, s), pass, passes);
        if (ctx.CancelRequested()) return;
        for (int i = 0; i < s; ++i) rows[i] = S1.row(y + i);
        for (int x = 0; x <= Ws + s - 1; ++x) {
            int minimum[3] = {255, 255, 255};
            int k = 0;
            for (int i = 0; i < s; ++i) {
                const std::uint8_t* p = rows[i] + std::size_t(x) * 3;
                for (int j = 0; j < s; ++j, ++k, p += 3)
                    for (int ch = 0; ch < 3; ++ch) {
                        buffers[ch][k] = p[ch];
                        minimum[ch] = std::min<int>(minimum[ch], p[ch]);
                    }
            }
            std::uint8_t* out = S2.pixel(x + s / 2, y + s / 2);
            for (int ch = 0; ch < 3; ++ch) out[ch] = static_cast<std::uint8_t>(HistogramMedian(buffers[ch].data(), n - 1, minimum[ch], half));
        }
    }

    destination.setSize(Ws, Hs);
    for (int y = 0; y < Hs; ++y) std::memcpy(destination.row(y), S2.pixel(s, y + s), destination.stride());
}

}  // namespace plain

namespace {

#if defined(__SSE2__)
// The first s bytes of a 16-byte read: all bits set in `keep`, the value 1 in `one`.
struct ByteMask {
    __m128i keep, one;
};
inline ByteMask firstBytes(int s) {
    alignas(16) std::uint8_t k[16] = {}, o[16] = {};
    for (int i = 0; i < s; ++i) {
        k[i] = 0xFF;
        o[i] = 1;
    }
    return {_mm_load_si128(reinterpret_cast<const __m128i*>(k)), _mm_load_si128(reinterpret_cast<const __m128i*>(o))};
}
inline int sumOfBytes(__m128i bytes) {
    const __m128i sums = _mm_sad_epu8(bytes, _mm_setzero_si128());
    return _mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4);
}
// The sum of the first s bytes at p.
inline int sumFirst(const std::uint8_t* p, const ByteMask& mask, int) {
    return sumOfBytes(_mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), mask.keep));
}
// How many of the first s bytes at p are v or more.
inline int countAtLeast(const std::uint8_t* p, int v, const ByteMask& mask, int) {
    const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    // v - w saturates to 0 exactly where w >= v.
    const __m128i ge = _mm_cmpeq_epi8(_mm_subs_epu8(_mm_set1_epi8(static_cast<char>(v)), w), _mm_setzero_si128());
    return sumOfBytes(_mm_and_si128(ge, mask.one));
}
#else
using ByteMask = int;
inline ByteMask firstBytes(int) { return 0; }
inline int sumFirst(const std::uint8_t* p, ByteMask, int s) {
    int n = 0;
    for (int k = 0; k < s; ++k) n += p[k];
    return n;
}
inline int countAtLeast(const std::uint8_t* p, int v, ByteMask, int s) {
    int n = 0;
    for (int k = 0; k < s; ++k) n += p[k] >= v;
    return n;
}
#endif

// Output rows Y0..Y1-1 of the filter, from the padded copy. Everything the loops use is a local
// here, so stores of result bytes cannot make the compiler reload it.
// Where a window reads when it reaches padded coordinate p (image coordinate p - s) along a side of
// n pixels: the image index, or -1 for white. Beyond the far edge it is white; before the near edge
// it is the image s further on, white if that is outside too.
int paddedIndex(int p, int s, int n) {
    int u = p - s;
    if (u >= n) return -1;
    if (u < 0) u += s;
    return u < n ? u : -1;
}

// Output rows Y0..Y1-1 of the fast filter. Everything the loops use is a local here, so stores of
// result bytes cannot make the compiler reload it.
//
// tiles: for each channel, the values the band's windows read, transposed, so that the s values of
// one window column are s consecutive bytes. Local column j is padded column j + off; local row t is
// padded row Y0 + off + t.
//
// counts: for every value v and every local column j, how many of the s values of that column in the
// current output row's window equal v (at most 11, so a byte). Laid out value by value, the counts of
// the s columns of one window are s consecutive bytes. Both have 16 spare bytes at the end of each
// line, so that 16-byte reads never leave them.
void medianRows(const Bitmap& source, Bitmap& result, int s, int Y0, int Y1, const std::vector<int>& columnOffsets) {
    const int Ws = result.width(), Hs = result.height();
    const int half = (s * s - 1) / 2;
    // Window of output (X, Y): padded columns X + off .. X + off + s - 1, rows Y + off .. Y + off + s - 1.
    const int off = s - s / 2;
    const int nColumns = Ws + s - 1;
    if (Ws == 0) return;
    const int tileRows = Y1 - Y0 + s - 1;
    const std::size_t ts = std::size_t(tileRows) + 16, cs = std::size_t(nColumns) + 16;
    const std::size_t tileSize = std::size_t(nColumns) * ts;
    std::vector<std::uint8_t> tiles(3 * tileSize, 0), countTable(256 * cs, 0);
    std::uint8_t* const counts = countTable.data();
    const ByteMask mask = firstBytes(s);
    // The three tiles in one pass, in blocks of 32 columns so that the lines being written stay in
    // the cache.
    for (int j0 = 0; j0 < nColumns; j0 += 32) {
        const int j1 = std::min(nColumns, j0 + 32);
        for (int t = 0; t < tileRows; ++t) {
            const int v = paddedIndex(Y0 + off + t, s, Hs);
            const std::uint8_t* row = v >= 0 ? source.row(v) : nullptr;
            std::uint8_t* q = tiles.data() + std::size_t(j0) * ts + std::size_t(t);
            for (int j = j0; j < j1; ++j, q += ts) {
                const int c = columnOffsets[std::size_t(j)];
                if (row && c >= 0) {
                    q[0] = row[c];
                    q[tileSize] = row[c + 1];
                    q[2 * tileSize] = row[c + 2];
                } else {
                    q[0] = q[tileSize] = q[2 * tileSize] = 255;
                }
            }
        }
    }
    for (int ch = 0; ch < 3; ++ch) {
        const std::uint8_t* const tile = tiles.data() + std::size_t(ch) * tileSize;
        std::fill(countTable.begin(), countTable.end(), std::uint8_t(0));
        for (int j = 0; j < nColumns; ++j) {
            const std::uint8_t* p = tile + std::size_t(j) * ts;
            for (int k = 0; k < s; ++k) ++counts[p[k] * cs + std::size_t(j)];
        }
        for (int Y = Y0; Y < Y1; ++Y) {
            const std::size_t r = std::size_t(Y - Y0);
            if (r > 0) {
                const std::uint8_t* p = tile + r - 1;
                for (int j = 0; j < nColumns; ++j, p += ts) {
                    --counts[p[0] * cs + std::size_t(j)];
                    ++counts[p[s] * cs + std::size_t(j)];
                }
            }
            std::uint8_t* out = result.row(Y) + ch;
            // v: the current rank value; below: how many window values lie below it.
            int v = 0, below = 0;
            for (int e; below + (e = sumFirst(counts + std::size_t(v) * cs, mask, s)) < half; ++v) below += e;
            out[0] = static_cast<std::uint8_t>(v);
            const std::uint8_t* leaving = tile + r;
            const std::uint8_t* entering = tile + std::size_t(s) * ts + r;
            for (int X = 1; X < Ws; ++X, leaving += ts, entering += ts) {
                below += countAtLeast(leaving, v, mask, s) - countAtLeast(entering, v, mask, s);
                const std::uint8_t* column = counts + std::size_t(X);
                if (below >= half) {
                    // Down while too many values lie below. Where it stops, the values below plus
                    // those equal reach the previous count below, so at least half.
                    do below -= sumFirst(column + std::size_t(--v) * cs, mask, s);
                    while (below >= half);
                } else {
                    // Up until enough values lie at or below.
                    for (int e; below + (e = sumFirst(column + std::size_t(v) * cs, mask, s)) < half; ++v) below += e;
                }
                out[std::size_t(X) * 3] = static_cast<std::uint8_t>(v);
            }
        }
    }
}

}  // namespace

// Same results as the plain routine, computed column-wise. For each output row every window column
// keeps the counts of its s values; moving the window one pixel right changes the number of values
// below the current rank value by the columns that leave and enter, and the rank value then moves
// only as far as the counts of the s columns say. Rows are independent, so bands of rows run in
// parallel. The progress reports and cancel checks of a block of rows are made, in the plain
// routine's order, before the block is computed; a cancelled run returns before anything reaches
// the destination.
void MedianFilter(const Bitmap& source, Bitmap& destination, int size, int pass, int passes, const RenderContext& ctx) {
    if (plainPaths()) return plain::MedianFilter(source, destination, size, pass, passes, ctx);
    const int s = windowSide(size);
    const int Ws = source.width(), Hs = source.height();
    Bitmap result(Ws, Hs);
    const int off = s - s / 2;  // output row Y is computed at padded row Y + off
    // Byte offset in a source row of each window column (local column j is padded column j + off).
    std::vector<int> columnOffsets(std::size_t(std::max(0, Ws + s - 1)));
    for (std::size_t j = 0; j < columnOffsets.size(); ++j) {
        const int u = paddedIndex(static_cast<int>(j) + off, s, Ws);
        columnOffsets[j] = u >= 0 ? 3 * u : -1;
    }

    const int lastRow = Hs + s - 1;
    const int blockRows = 64 * std::max(1, workerCount());
    for (int y = 0; y <= lastRow; y += blockRows) {
        const int yEnd = std::min(lastRow, y + blockRows - 1);
        for (int k = y; k <= yEnd; ++k) {
            ctx.ProgressReport(k, lastProgressStep(Hs, s), pass, passes);
            if (ctx.CancelRequested()) return;
        }
        // Loop rows y..yEnd produce output rows y - off .. yEnd - off (those inside the picture).
        parallelRows(std::max(0, y - off), std::min(Hs, yEnd - off + 1), [&](int Y0, int Y1) { medianRows(source, result, s, Y0, Y1, columnOffsets); }, 8);
    }
    destination = std::move(result);
}

}  // namespace gt
