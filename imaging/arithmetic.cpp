#include "imaging/arithmetic.h"

#include <cmath>
#include <stdexcept>

namespace gt {

long long roundHalfEven(long double v) {
    long double r = std::nearbyintl(v);  // the default rounding mode is to nearest, ties to even
    return static_cast<long long>(r);
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
