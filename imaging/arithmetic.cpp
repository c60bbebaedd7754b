// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/arithmetic.h"

#include <cmath>
#include <stdexcept>

namespace gt {

long long roundHalfEven(double v) {
    const double r = std::nearbyint(v);  // the default rounding mode is to nearest, ties to even
    return static_cast<long long>(r);
}

namespace {

// a + b = s + t exactly (round to nearest, no fused operations: the build forbids contraction).
inline void twoSum(double a, double b, double& s, double& t) {
    s = a + b;
    const double bb = s - a;
    t = (a - (s - bb)) + (b - bb);
}

// Splits p into a high part of 26 bits and a low part of 27, so that an integer below 2^26 times
// either is exact.
inline void split(double p, double& high, double& low) {
    const double c = 134217729.0 * p;  // 2^27 + 1
    high = c - (c - p);
    low = p - high;
}

// The sign of the exact sum of the terms: they are grown into an expansion of non-overlapping parts
// (each sum kept with its rounding error), whose largest non-zero part has the sign of the whole.
int signOfSum(const double* terms, int count) {
    double parts[8];
    int m = 0;
    for (int k = 0; k < count; ++k) {
        double q = terms[k];
        for (int i = 0; i < m; ++i) {
            double s, t;
            twoSum(q, parts[i], s, t);
            parts[i] = t;
            q = s;
        }
        parts[m++] = q;
    }
    for (int i = m - 1; i >= 0; --i)
        if (parts[i] != 0) return parts[i] > 0 ? 1 : -1;
    return 0;
}

}  // namespace

long long nearestOfDifference(int e, double p, int a, double q) {
    double ph, pl, qh, ql;
    split(p, ph, pl);
    split(q, qh, ql);
    // e*p - a*q as four exact products; the fifth term is the integer or half being compared with.
    double terms[5] = {e * ph, e * pl, -(a * qh), -(a * ql), 0};
    const auto compare = [&](double v) {
        terms[4] = -v;
        return signOfSum(terms, 5);
    };
    double n = std::floor(((terms[0] + terms[1]) + terms[2]) + terms[3]);
    // The rounded sum is off by far less than one: the exact floor is n - 1, n or n + 1.
    if (compare(n) < 0) n -= 1;
    else if (compare(n + 1) >= 0) n += 1;
    const int half = compare(n + 0.5);
    if (half > 0 || (half == 0 && std::fmod(n, 2.0) != 0)) n += 1;
    return static_cast<long long>(n);
}

int mulDiv(int a, int b, int c) {
    if (c == 0) throw std::domain_error("MulDiv by zero");
    long long p = static_cast<long long>(a) * b;
    long long q = p / c, r = p % c;
    // halves away from zero
    if (2 * std::llabs(r) >= std::llabs(static_cast<long long>(c))) q += ((p < 0) != (c < 0)) ? -1 : 1;
    return static_cast<int>(q);
}

}  // namespace gt
