// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The arithmetic every image routine shares: signed 32-bit intermediates, division truncating toward
// zero (C++'s own / and %), and the clamp to a byte that lowers values above 255 first, then raises
// values below 0.

#include <cstdint>
#include <cstdlib>

namespace gt {

constexpr int clampByte(int v) {
    if (v > 255) v = 255;
    if (v < 0) v = 0;
    return v;
}

// The few places that clamp the other way round (0 first, then 255) give the same value for every
// integer; the name keeps the routine reading like its description.
constexpr int clampLowFirst(int v) {
    if (v < 0) v = 0;
    if (v > 255) v = 255;
    return v;
}

constexpr int absInt(int v) { return v < 0 ? -v : v; }

// Floor division for the rare places that need it (C++ / truncates toward zero).
constexpr int floorDiv(int a, int b) {
    int q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// Nearest integer with ties to even (2.5 gives 2, 3.5 gives 4).
long long roundHalfEven(double v);

// The nearest integer, ties to even, to the exact value of e * p - a * q (|e|, |a| < 2^26): no
// rounding of the products or the difference on the way, so every compiler and every width of
// long double gives the same.
long long nearestOfDifference(int e, double p, int a, double q);

// The platform's MulDiv: a * b / c with a 64-bit intermediate, rounded to nearest, halves away from zero.
int mulDiv(int a, int b, int c);

}  // namespace gt
