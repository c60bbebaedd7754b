#include "imaging/filters.h"

#include <cstdint>
#include <algorithm>
#include <cstring>

#include "imaging/arithmetic.h"
#include "imaging/error.h"
#include "imaging/parallel.h"

namespace gt {

namespace {

// Runs kernel(above, centre, below, out, x0, x1) over the interior rows 1..H-2 in parallel bands,
// reading from an unchanged copy of the picture. The kernel writes out[3*x .. 3*x+2] for x in [x0, x1).
template <class Kernel>
void interior3x3(const Bitmap& input, Bitmap& output, Kernel kernel) {
    const int W = input.width(), H = input.height();
    if (W < 3 || H < 3) return;
    parallelRows(1, H - 1, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) kernel(input.row(y - 1), input.row(y), input.row(y + 1), output.row(y), 1, W - 1);
    });
}

inline int sum9(const std::uint8_t* a, const std::uint8_t* c, const std::uint8_t* b, std::size_t i) {
    return a[i - 3] + a[i] + a[i + 3] + c[i - 3] + c[i] + c[i + 3] + b[i - 3] + b[i] + b[i + 3];
}

}  // namespace

void Soften(Bitmap& bitmap) {
    const int W = bitmap.width(), H = bitmap.height();
    if (W == 0 || H == 0) return;
    const Bitmap in = bitmap;
    interior3x3(in, bitmap, [](const std::uint8_t* a, const std::uint8_t* c, const std::uint8_t* b, std::uint8_t* o, int x0, int x1) {
        for (std::size_t i = std::size_t(x0) * 3, e = std::size_t(x1) * 3; i < e; ++i) {
            const int m = sum9(a, c, b, i) / 9;
            o[i] = static_cast<std::uint8_t>((c[i] + 2 * m) / 3);
        }
    });
    // Top and bottom rows: the two horizontal neighbours; left and right columns: the two vertical ones.
    // The four corners keep their values.
    for (int y : {0, H - 1}) {
        const std::uint8_t* c = in.row(y);
        std::uint8_t* o = bitmap.row(y);
        for (std::size_t i = 3, e = (W >= 2 ? std::size_t(W - 1) * 3 : 0); i < e; ++i) o[i] = static_cast<std::uint8_t>((c[i - 3] + c[i] + c[i + 3]) / 3);
    }
    for (int y = 1; y <= H - 2; ++y) {
        for (int x : {0, W - 1}) {
            for (int ch = 0; ch < 3; ++ch) {
                const int v = (in.pixel(x, y - 1)[ch] + in.pixel(x, y)[ch] + in.pixel(x, y + 1)[ch]) / 3;
                bitmap.pixel(x, y)[ch] = static_cast<std::uint8_t>(v);
            }
        }
    }
}

void Blur3x3(Bitmap& bitmap) {
    const Bitmap in = bitmap;
    interior3x3(in, bitmap, [](const std::uint8_t* a, const std::uint8_t* c, const std::uint8_t* b, std::uint8_t* o, int x0, int x1) {
        for (std::size_t i = std::size_t(x0) * 3, e = std::size_t(x1) * 3; i < e; ++i) o[i] = static_cast<std::uint8_t>(sum9(a, c, b, i) / 9);
    });
}

void Sharpen(Bitmap& bitmap) {
    const Bitmap in = bitmap;
    interior3x3(in, bitmap, [](const std::uint8_t* a, const std::uint8_t* c, const std::uint8_t* b, std::uint8_t* o, int x0, int x1) {
        for (std::size_t i = std::size_t(x0) * 3, e = std::size_t(x1) * 3; i < e; ++i) {
            const int n = (sum9(a, c, b, i) - c[i]) / 8;
            int v = 5 * c[i] - n;
            if (v < 0) v = 0;
            v /= 4;
            o[i] = static_cast<std::uint8_t>(v > 255 ? 255 : v);
        }
    });
}

void ResizeBilinear(const Bitmap& source, Bitmap& destination) {
    if (source.width() == destination.width() && source.height() == destination.height()) {
        destination = source;
        return;
    }
    const int Ws = source.width(), Hs = source.height(), Wd = destination.width(), Hd = destination.height();
    if (Wd == 0 || Hd == 0) return;
    if (Ws == 0 || Hs == 0) throw Error("cannot resize an empty picture");
    const int sx = mulDiv(Ws - 1, 65536, Wd);
    const int sy = mulDiv(Hs - 1, 65536, Hd);
    // Destination rows are independent: row k starts at Y = k * sy, exactly as the running sum gives.
    parallelRows(0, Hd, [&](int k0, int k1) {
        for (int k = k0; k < k1; ++k) {
            const long long Y = static_cast<long long>(k) * sy;
            const int r = std::min(static_cast<int>(Y >> 16), Hs - 1);
            const int fy = static_cast<int>(Y & 0xFFFF);
            const std::uint8_t* A = source.row(r);
            const std::uint8_t* B = source.row(r < Hs - 1 ? r + 1 : r);
            const int wB = fy + 1, wA = 65536 - fy;
            std::uint8_t* d = destination.row(k);
            long long X = 0;
            for (int x = 0; x < Wd; ++x, X += sx, d += 3) {
                const int t = std::min(static_cast<int>(X >> 16), Ws - 1);
                const int fx = static_cast<int>(X & 0xFFFF);
                const int w2 = mulDiv(fx, wA, 65536), w1 = wA - w2;
                const int w4 = mulDiv(fx, wB, 65536), w3 = wB - w4;
                // The right-hand sample stays inside the row: on the last column it is the column itself.
                const int t2 = t < Ws - 1 ? t + 1 : t;
                const std::uint8_t* a0 = A + std::size_t(t) * 3;
                const std::uint8_t* a1 = A + std::size_t(t2) * 3;
                const std::uint8_t* b0 = B + std::size_t(t) * 3;
                const std::uint8_t* b1 = B + std::size_t(t2) * 3;
                for (int ch = 0; ch < 3; ++ch) {
                    const std::uint32_t v = std::uint32_t(a0[ch]) * std::uint32_t(w1) + std::uint32_t(a1[ch]) * std::uint32_t(w2) +
                                            std::uint32_t(b0[ch]) * std::uint32_t(w3) + std::uint32_t(b1[ch]) * std::uint32_t(w4);
                    d[ch] = static_cast<std::uint8_t>(v >> 16);
                }
            }
        }
    });
}

}  // namespace gt
