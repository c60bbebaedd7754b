// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/median.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <utility>
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

// A network of byte minima and maxima that runs lane by lane over whole runs of bytes, so one pass
// of the network serves every byte of a run (each byte being one channel of one window). Operands
// 0 .. inputs - 1 are the inputs, the next `outputs` the results, then the scratch slots.
struct Network {
    enum Kind : std::uint8_t { Min, Max, Copy };
    struct Op {
        std::uint16_t dst, a, b;
        Kind kind;
    };
    int inputs = 0, outputs = 0, slots = 0;
    std::vector<Op> ops;
};

// Builds networks from Batcher's odd-even merges. Wires hold values symbolically: an input, the
// minimum or maximum of two earlier values, or "greater than everything" for the wires that pad
// columns and rows to powers of two. Comparing with such a wire costs nothing (at most the two
// wires trade places), and only the operations a wanted result depends on are kept.
class NetworkBuilder {
public:
    constexpr NetworkBuilder(int wires, int inputs) : wire_(std::size_t(wires), kAbove), inputs_(inputs), values_(std::size_t(inputs)) {}
    constexpr void setWire(int w, int input) { wire_[std::size_t(w)] = input; }

    // Sorts the wires, given that every block of `sortedBlock` wires (a power of two) is already in
    // order; sortedBlock 1 sorts from scratch. The wire count is a power of two.
    constexpr void sort(int sortedBlock) {
        const int n = static_cast<int>(wire_.size());
        for (int p = sortedBlock; p < n; p *= 2)
            for (int k = p; k >= 1; k /= 2)
                for (int j = k % p; j + k < n; j += 2 * k)
                    for (int i = 0; i < std::min(k, n - j - k); ++i)
                        if ((i + j) / (2 * p) == (i + j + k) / (2 * p)) exchange(i + j, i + j + k);
    }

    // The network computing the values on the given wires, in that order.
    constexpr Network compile(const std::vector<int>& resultWires) const {
        const int count = static_cast<int>(values_.size());
        std::vector<int> role(std::size_t(count), -1);  // result index of a value, -1 if none
        std::vector<std::uint8_t> needed(std::size_t(count), 0);  // not vector<bool>: clang builds none at compile time
        Network net;
        net.inputs = inputs_;
        net.outputs = static_cast<int>(resultWires.size());
        std::vector<int> copies;  // results that are inputs unchanged
        for (int i = 0; i < net.outputs; ++i) {
            const int v = wire_[std::size_t(resultWires[std::size_t(i)])];
            if (v < inputs_ || role[std::size_t(v)] >= 0) copies.push_back(i);
            else role[std::size_t(v)] = i;
            needed[std::size_t(v)] = 1;
        }
        std::vector<int> lastUse(std::size_t(count), -1);
        for (int v = count - 1; v >= inputs_; --v) {
            if (!needed[std::size_t(v)]) continue;
            for (int operand : {values_[std::size_t(v)].a, values_[std::size_t(v)].b}) {
                needed[std::size_t(operand)] = 1;
                if (lastUse[std::size_t(operand)] < 0) lastUse[std::size_t(operand)] = v;
            }
        }
        std::vector<int> operand(std::size_t(count), -1), freeSlots;
        for (int v = 0; v < inputs_; ++v) operand[std::size_t(v)] = v;
        const int firstSlot = net.inputs + net.outputs;
        for (int v = inputs_; v < count; ++v) {
            if (!needed[std::size_t(v)]) continue;
            const Value& value = values_[std::size_t(v)];
            if (role[std::size_t(v)] >= 0) {
                operand[std::size_t(v)] = net.inputs + role[std::size_t(v)];
            } else if (!freeSlots.empty()) {
                operand[std::size_t(v)] = freeSlots.back();
                freeSlots.pop_back();
            } else {
                operand[std::size_t(v)] = firstSlot + net.slots++;
            }
            net.ops.push_back({std::uint16_t(operand[std::size_t(v)]), std::uint16_t(operand[std::size_t(value.a)]),
                               std::uint16_t(operand[std::size_t(value.b)]), value.kind});
            // Freed only now, so a result never overwrites one of its own operands.
            for (int o : {value.a, value.b})
                if (lastUse[std::size_t(o)] == v && operand[std::size_t(o)] >= firstSlot) freeSlots.push_back(operand[std::size_t(o)]);
        }
        for (int i : copies) {
            const int o = operand[std::size_t(wire_[std::size_t(resultWires[std::size_t(i)])])];
            net.ops.push_back({std::uint16_t(net.inputs + i), std::uint16_t(o), std::uint16_t(o), Network::Copy});
        }
        return net;
    }

private:
    static constexpr int kAbove = -1;
    // Initialised members: a vector of trivial values is filled from its first element at build
    // time, which clang does not accept in a constant expression.
    struct Value {
        int a = 0, b = 0;
        Network::Kind kind = Network::Copy;
    };

    constexpr void exchange(int i, int j) {
        int& low = wire_[std::size_t(i)];
        int& high = wire_[std::size_t(j)];
        if (high == kAbove) return;
        if (low == kAbove) return std::swap(low, high);
        values_.push_back({low, high, Network::Min});
        values_.push_back({low, high, Network::Max});
        low = static_cast<int>(values_.size()) - 2;
        high = low + 1;
    }

    std::vector<int> wire_;
    int inputs_;
    std::vector<Value> values_;  // the inputs first (their entries unused), then one per operation
};

constexpr int powerOfTwoAtLeast(int n) {
    int p = 1;
    while (p < n) p *= 2;
    return p;
}

// Sorts the s values of one window column.
constexpr Network columnSortNetwork(int s) {
    NetworkBuilder b(powerOfTwoAtLeast(s), s);
    std::vector<int> results;
    for (int k = 0; k < s; ++k) {
        b.setWire(k, k);
        results.push_back(k);
    }
    b.sort(1);
    return b.compile(results);
}

// From the s sorted columns of a window (input c * s + k is the k-th smallest of column c), the
// rank value: the ((s*s - 1) div 2)-th smallest of the s*s values.
constexpr Network rankNetwork(int s) {
    const int rows = powerOfTwoAtLeast(s), columns = powerOfTwoAtLeast(s);
    NetworkBuilder b(rows * columns, s * s);
    for (int c = 0; c < s; ++c)
        for (int k = 0; k < s; ++k) b.setWire(c * rows + k, c * s + k);
    b.sort(rows);
    return b.compile({(s * s - 1) / 2 - 1});
}

void runNetwork(const Network& net, std::uint8_t* const* operands, int n) {
    for (const Network::Op& op : net.ops) {
        std::uint8_t* d = operands[op.dst];
        const std::uint8_t* a = operands[op.a];
        const std::uint8_t* b = operands[op.b];
        int i = 0;
#if defined(__SSE2__)
        const auto load = [](const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
        const auto store = [](std::uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); };
        switch (op.kind) {
            case Network::Min: for (; i + 16 <= n; i += 16) store(d + i, _mm_min_epu8(load(a + i), load(b + i))); break;
            case Network::Max: for (; i + 16 <= n; i += 16) store(d + i, _mm_max_epu8(load(a + i), load(b + i))); break;
            case Network::Copy: break;
        }
#endif
        switch (op.kind) {
            case Network::Min: for (; i < n; ++i) d[i] = std::min(a[i], b[i]); break;
            case Network::Max: for (; i < n; ++i) d[i] = std::max(a[i], b[i]); break;
            case Network::Copy: std::memcpy(d, a, std::size_t(n)); break;
        }
    }
}

// The fixed networks of a window side, when there are any: each does the first multiple of 16 bytes
// of a row and returns how many bytes it did.
struct FixedPaths {
    std::size_t (*sortColumns)(std::uint8_t* const* lines, std::uint8_t* const* sorted, std::size_t n) = nullptr;
    std::size_t (*rank)(std::uint8_t* const* sorted, std::uint8_t* out, std::size_t n) = nullptr;
};

#if defined(__SSE2__)
// The networks of one window side, fixed when the program is built, so that the compiler can keep
// the values in registers and run 16 bytes through a whole network at once.
template <int S>
struct FixedNetworks {
    template <std::size_t N>
    static constexpr std::array<Network::Op, N> opsOf(const Network& net) {
        std::array<Network::Op, N> ops{};
        for (std::size_t i = 0; i < N; ++i) ops[i] = net.ops[i];
        return ops;
    }
    static constexpr int kSortValues = S + S + columnSortNetwork(S).slots;
    static constexpr int kRankValues = S * S + 1 + rankNetwork(S).slots;
    static constexpr auto kSort = opsOf<columnSortNetwork(S).ops.size()>(columnSortNetwork(S));
    static constexpr auto kRank = opsOf<rankNetwork(S).ops.size()>(rankNetwork(S));
};

template <const auto& Ops, std::size_t Base, std::size_t... I>
inline void runFixedChunk(__m128i* v, std::index_sequence<I...>) {
    ((v[Ops[Base + I].dst] = Ops[Base + I].kind == Network::Min   ? _mm_min_epu8(v[Ops[Base + I].a], v[Ops[Base + I].b])
                             : Ops[Base + I].kind == Network::Max ? _mm_max_epu8(v[Ops[Base + I].a], v[Ops[Base + I].b])
                                                                  : v[Ops[Base + I].a]),
     ...);
}

// The whole network, unrolled in chunks of 128 operations: clang nests a fold expression no deeper
// than 256.
template <const auto& Ops, std::size_t Base = 0>
inline void runFixed(__m128i* v) {
    constexpr std::size_t n = std::min<std::size_t>(128, Ops.size() - Base);
    runFixedChunk<Ops, Base>(v, std::make_index_sequence<n>());
    if constexpr (Base + n < Ops.size()) runFixed<Ops, Base + n>(v);
}

// Sorts the window columns of bytes 0 .. n - 1 of a padded row, 16 bytes at a time, and returns
// how many bytes it did (a multiple of 16; the rest is left to the run-length networks).
template <int S>
std::size_t sortColumnsFixed(std::uint8_t* const* lines, std::uint8_t* const* sorted, std::size_t n) {
    using F = FixedNetworks<S>;
    std::size_t b = 0;
    for (; b + 16 <= n; b += 16) {
        __m128i v[F::kSortValues];
        for (int k = 0; k < S; ++k) v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lines[k] + b));
        runFixed<F::kSort>(v);
        for (int k = 0; k < S; ++k) _mm_storeu_si128(reinterpret_cast<__m128i*>(sorted[k] + b), v[S + k]);
    }
    return b;
}

// The rank values of output bytes 0 .. n - 1 of a row from the sorted columns, 16 bytes at a time;
// returns how many bytes it did.
template <int S>
std::size_t rankFixed(std::uint8_t* const* sorted, std::uint8_t* out, std::size_t n) {
    using F = FixedNetworks<S>;
    std::size_t o = 0;
    for (; o + 16 <= n; o += 16) {
        __m128i v[F::kRankValues];
        for (int c = 0; c < S; ++c)
            for (int k = 0; k < S; ++k) v[c * S + k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sorted[k] + o + std::size_t(c) * 3));
        runFixed<F::kRank>(v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), v[S * S]);
    }
    return o;
}

FixedPaths fixedPaths(int s) {
    switch (s) {
        case 2: return {sortColumnsFixed<2>, rankFixed<2>};
        case 3: return {sortColumnsFixed<3>, rankFixed<3>};
        case 4: return {sortColumnsFixed<4>, rankFixed<4>};
        case 5: return {sortColumnsFixed<5>, rankFixed<5>};
        case 6: return {sortColumnsFixed<6>, rankFixed<6>};
        case 7: return {sortColumnsFixed<7>, rankFixed<7>};
        case 8: return {sortColumnsFixed<8>, rankFixed<8>};
        default: return {};
    }
}
#else
FixedPaths fixedPaths(int) { return {}; }
#endif

// Bytes per pass of a network: its scratch slots then stay in the first-level cache.
constexpr int kRunBytes = 256;

// Up to this side the networks are faster; beyond it their size grows with s^3 and the column counts,
// whose cost hardly depends on s, take over. Run over whole rows (without fixed networks) they win
// only up to 5.
#if defined(__SSE2__)
constexpr int kNetworkMaxSide = 8;
#else
constexpr int kNetworkMaxSide = 5;
#endif

// Output rows Y0..Y1-1 of the filter by networks. Each output row sorts every window column once
// (the s windows that share a column share its sort), then picks each window's rank value from its
// s sorted columns. Local padded line t holds padded row t + off of every window column j
// (padded column j + off); the lines of the current s rows are kept in a ring.
void networkRows(const Bitmap& source, Bitmap& result, int s, int Y0, int Y1, const std::vector<int>& columnOffsets,
                 const Network& sortNet, const Network& rankNet) {
    const int Ws = result.width(), Hs = result.height();
    if (Ws == 0) return;
    const int off = s - s / 2;
    const int nColumns = Ws + s - 1;
    const std::size_t L = std::size_t(nColumns) * 3;
    std::vector<std::uint8_t> lines(std::size_t(s) * L), sorted(std::size_t(s) * L);
    std::vector<std::uint8_t> pool(std::size_t(std::max(sortNet.slots, rankNet.slots)) * kRunBytes);
    std::vector<std::uint8_t*> operands(std::size_t(std::max(sortNet.inputs + sortNet.outputs + sortNet.slots,
                                                             rankNet.inputs + rankNet.outputs + rankNet.slots)));
    auto fillLine = [&](int t) {
        std::uint8_t* q = lines.data() + std::size_t(t % s) * L;
        const int v = paddedIndex(t + off, s, Hs);
        if (v < 0) return void(std::memset(q, 255, L));
        const std::uint8_t* row = source.row(v);
        // Window columns s - off .. s - off + Ws - 1 read the picture's row as it is; the bands
        // either side go through the column table.
        const int first = s - off, last = first + Ws;
        for (int j = 0; j < nColumns; ++j) {
            if (j == first) {
                std::memcpy(q + std::size_t(j) * 3, row, std::size_t(Ws) * 3);
                j = last - 1;
                continue;
            }
            const int c = columnOffsets[std::size_t(j)];
            std::uint8_t* p = q + std::size_t(j) * 3;
            if (c >= 0) {
                p[0] = row[c];
                p[1] = row[c + 1];
                p[2] = row[c + 2];
            } else {
                p[0] = p[1] = p[2] = 255;
            }
        }
    };
    const FixedPaths fixed = fixedPaths(s);
    std::uint8_t* linePointers[11];
    std::uint8_t* sortedPointers[11];
    for (int k = 0; k < s; ++k) {
        linePointers[k] = lines.data() + std::size_t(k) * L;
        sortedPointers[k] = sorted.data() + std::size_t(k) * L;
    }
    const std::size_t outBytes = std::size_t(Ws) * 3;
    for (int t = Y0; t < Y0 + s - 1; ++t) fillLine(t);
    for (int Y = Y0; Y < Y1; ++Y) {
        fillLine(Y + s - 1);
        std::uint8_t* out = result.row(Y);
        // The fixed networks take the row 16 bytes at a time; the run-length ones do what is left.
        std::size_t sortedBytes = 0, rankedBytes = 0;
        if (fixed.sortColumns) sortedBytes = fixed.sortColumns(linePointers, sortedPointers, L);
        for (std::size_t b0 = sortedBytes; b0 < L; b0 += kRunBytes) {
            const int n = static_cast<int>(std::min<std::size_t>(kRunBytes, L - b0));
            std::uint8_t** o = operands.data();
            for (int k = 0; k < s; ++k) *o++ = lines.data() + std::size_t(k) * L + b0;
            for (int k = 0; k < s; ++k) *o++ = sorted.data() + std::size_t(k) * L + b0;
            for (int i = 0; i < sortNet.slots; ++i) *o++ = pool.data() + std::size_t(i) * kRunBytes;
            runNetwork(sortNet, operands.data(), n);
        }
        if (fixed.rank) rankedBytes = fixed.rank(sortedPointers, out, outBytes);
        for (std::size_t o0 = rankedBytes; o0 < outBytes; o0 += kRunBytes) {
            const int n = static_cast<int>(std::min<std::size_t>(kRunBytes, outBytes - o0));
            std::uint8_t** o = operands.data();
            for (int c = 0; c < s; ++c)
                for (int k = 0; k < s; ++k) *o++ = sorted.data() + std::size_t(k) * L + o0 + std::size_t(c) * 3;
            *o++ = out + o0;
            for (int i = 0; i < rankNet.slots; ++i) *o++ = pool.data() + std::size_t(i) * kRunBytes;
            runNetwork(rankNet, operands.data(), n);
        }
    }
}

}  // namespace

// Same results as the plain routine. Windows up to kNetworkMaxSide go through the networks above.
// Larger ones are computed column-wise: for each output row every window column keeps the counts of
// its s values; moving the window one pixel right changes the number of values
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

    const bool useNetworks = s <= kNetworkMaxSide;
    const Network sortNet = useNetworks ? columnSortNetwork(s) : Network{};
    const Network rankNet = useNetworks ? rankNetwork(s) : Network{};

    const int lastRow = Hs + s - 1;
    const int blockRows = 64 * std::max(1, workerCount());
    for (int y = 0; y <= lastRow; y += blockRows) {
        const int yEnd = std::min(lastRow, y + blockRows - 1);
        for (int k = y; k <= yEnd; ++k) {
            ctx.ProgressReport(k, lastProgressStep(Hs, s), pass, passes);
            if (ctx.CancelRequested()) return;
        }
        // Loop rows y..yEnd produce output rows y - off .. yEnd - off (those inside the picture).
        parallelRows(std::max(0, y - off), std::min(Hs, yEnd - off + 1), [&](int Y0, int Y1) {
            if (useNetworks) networkRows(source, result, s, Y0, Y1, columnOffsets, sortNet, rankNet);
            else medianRows(source, result, s, Y0, Y1, columnOffsets);
        }, 8);
    }
    destination = std::move(result);
}

}  // namespace gt
