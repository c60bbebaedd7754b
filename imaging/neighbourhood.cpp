// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/neighbourhood.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/error.h"
#include "imaging/parallel.h"

namespace gt {

namespace {

// Adds one row's channels to sum: 48 byte lanes (16 pixels) summed side by side, then folded.
void addChannels(const std::uint8_t* p, std::size_t n, std::int64_t sum[3]) {
    std::uint32_t lane[48] = {};
    std::size_t i = 0;
    for (; i + 48 <= n; i += 48)
        for (std::size_t j = 0; j < 48; ++j) lane[j] += p[i + j];
    for (std::size_t j = 0; j < 48; ++j) sum[j % 3] += lane[j];
    for (; i < n; ++i) sum[i % 3] += p[i];
}

}  // namespace

void ChannelMeans(const Bitmap& bitmap, int mean[3]) {
    const std::int64_t n = static_cast<std::int64_t>(bitmap.width()) * bitmap.height();
    if (n > INT32_MAX) throw Error("picture too large for the contrast step (" + std::to_string(n) + " pixels)");
    const int H = bitmap.height();
    const int bands = std::clamp(H / 64, 1, std::max(1, workerCount()));
    std::vector<std::int64_t> sums(std::size_t(bands) * 3, 0);
    parallelRows(0, bands, [&](int i0, int i1) {
        for (int i = i0; i < i1; ++i) {
            const int y0 = static_cast<int>(static_cast<long long>(H) * i / bands), y1 = static_cast<int>(static_cast<long long>(H) * (i + 1) / bands);
            for (int y = y0; y < y1; ++y) addChannels(bitmap.row(y), bitmap.stride(), sums.data() + std::size_t(i) * 3);
        }
    }, 1);
    for (int ch = 0; ch < 3; ++ch) {
        std::int64_t total = 0;
        for (int i = 0; i < bands; ++i) total += sums[std::size_t(i) * 3 + std::size_t(ch)];
        mean[ch] = n == 0 ? 0 : static_cast<int>(total / n);
    }
}

int paddedSourceRow(int v, int height) {
    // Rows 9 and below hold the picture at offset 9 where it reaches, the rows above it at offset 0.
    const int r = v >= 9 ? v - 9 : v;
    return r < height ? r : -1;
}

// Left of the picture the first 9 columns of the row (white where the picture is narrower), then
// the row itself, then 9 white pixels.
void PaddedRow9(const std::uint8_t* pictureRow, int width, std::uint8_t* out) {
    const std::size_t stride = std::size_t(width) * 3;
    if (!pictureRow) {
        std::memset(out, 255, stride + 54);
        return;
    }
    const std::size_t lead = std::size_t(std::min(9, width)) * 3;
    std::memcpy(out, pictureRow, lead);
    std::memset(out + lead, 255, 27 - lead);
    std::memcpy(out + 27, pictureRow, stride);
    std::memset(out + 27 + stride, 255, 27);
}

std::vector<int> inPlaceBands(int begin, int end, int minRows) {
    const int rows = std::max(0, end - begin);
    const int n = std::clamp(rows / std::max(1, minRows), 1, 4 * std::max(1, workerCount()));
    std::vector<int> edge(std::size_t(n) + 1);
    for (int i = 0; i <= n; ++i) edge[std::size_t(i)] = begin + static_cast<int>(static_cast<long long>(rows) * i / n);
    return edge;
}

void runInPlaceBands(const std::vector<int>& edge, const std::function<void(int)>& body) {
    const int n = static_cast<int>(edge.size()) - 1;
    parallelRows(0, n, [&](int i0, int i1) {
        for (int i = i0 + 1; i < i1; i += 2) body(i);
        for (int i = i0; i < i1; i += 2) body(i);
    }, 1);
}

Bitmap PaddedCopy9(const Bitmap& bitmap) {
    const int W = bitmap.width(), H = bitmap.height();
    Bitmap s;
    s.setSizeForOverwrite(W + 18, H + 18);
    parallelRows(0, H + 18, [&](int v0, int v1) {
        for (int v = v0; v < v1; ++v) {
            const int r = paddedSourceRow(v, H);
            PaddedRow9(r < 0 ? nullptr : bitmap.row(r), W, s.row(v));
        }
    }, 64);
    return s;
}

}  // namespace gt
