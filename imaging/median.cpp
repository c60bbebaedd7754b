#include "imaging/median.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/error.h"
#include "imaging/parallel.h"

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

// Same results as the plain routine, by Huang's sliding histogram: moving one column right takes s
// values out of each channel's histogram and puts s in, and the rank value moves only as far as
// the counts say. Rows are independent, so bands of rows run in parallel. The progress reports and
// cancel checks of a block of rows are made, in the plain routine's order, before the block is
// computed; a cancelled run returns before anything reaches the destination.
void MedianFilter(const Bitmap& source, Bitmap& destination, int size, int pass, int passes, const RenderContext& ctx) {
    if (plainPaths()) return plain::MedianFilter(source, destination, size, pass, passes, ctx);
    const int s = windowSide(size);
    const int Ws = source.width(), Hs = source.height();
    const Bitmap S1 = paddedCopy(source, s);
    Bitmap result(Ws, Hs);
    const int half = (s * s - 1) / 2;
    // Window of output (X, Y): padded columns X + off .. X + off + s - 1, rows Y + off .. Y + off + s - 1.
    const int off = s - s / 2;

    auto band = [&](int Y0, int Y1) {
        if (Ws == 0) return;
        // Two histograms, one for the even and one for the odd rows of the window: successive updates
        // of the same count then wait less on each other. A count is the sum of the two.
        int histogram[2][256];
        const std::uint8_t* rows[11];
        for (int Y = Y0; Y < Y1; ++Y) {
            for (int i = 0; i < s; ++i) rows[i] = S1.row(Y + off + i);
            std::uint8_t* out = result.row(Y);
            for (int ch = 0; ch < 3; ++ch) {
                std::memset(histogram, 0, sizeof histogram);
                for (int i = 0; i < s; ++i) {
                    const std::uint8_t* p = rows[i] + std::size_t(off) * 3 + ch;
                    for (int j = 0; j < s; ++j, p += 3) ++histogram[i & 1][*p];
                }
                int* h0 = histogram[0];
                int* h1 = histogram[1];
                // v: the current rank value; b: how many window values lie below it.
                int v = 0, b = 0;
                while (b + h0[v] + h1[v] < half) { b += h0[v] + h1[v]; ++v; }
                out[ch] = static_cast<std::uint8_t>(v);
                for (int X = 1; X < Ws; ++X) {
                    const std::size_t leaving = std::size_t(X - 1 + off) * 3 + ch, entering = std::size_t(X - 1 + off + s) * 3 + ch;
                    int i = 0;
                    for (; i + 1 < s; i += 2) {
                        const int a0 = rows[i][leaving], c0 = rows[i][entering];
                        const int a1 = rows[i + 1][leaving], c1 = rows[i + 1][entering];
                        --h0[a0];
                        --h1[a1];
                        ++h0[c0];
                        ++h1[c1];
                        b += (c0 < v) - (a0 < v) + (c1 < v) - (a1 < v);
                    }
                    if (i < s) {
                        const int a0 = rows[i][leaving], c0 = rows[i][entering];
                        --h0[a0];
                        ++h0[c0];
                        b += (c0 < v) - (a0 < v);
                    }
                    // Down while too many values lie below; then up until enough lie at or below.
                    while (b >= half) { --v; b -= h0[v] + h1[v]; }
                    while (b + h0[v] + h1[v] < half) { b += h0[v] + h1[v]; ++v; }
                    out[std::size_t(X) * 3 + ch] = static_cast<std::uint8_t>(v);
                }
            }
        }
    };

    const int lastRow = Hs + s - 1;
    const int blockRows = 32 * std::max(1, workerCount());
    for (int y = 0; y <= lastRow; y += blockRows) {
        const int yEnd = std::min(lastRow, y + blockRows - 1);
        for (int k = y; k <= yEnd; ++k) {
            ctx.ProgressReport(k, lastProgressStep(Hs, s), pass, passes);
            if (ctx.CancelRequested()) return;
        }
        // Loop rows y..yEnd produce output rows y - off .. yEnd - off (those inside the picture).
        parallelRows(std::max(0, y - off), std::min(Hs, yEnd - off + 1), band, 8);
    }
    destination = std::move(result);
}

}  // namespace gt
