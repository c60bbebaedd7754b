#include "imaging/neighbourhood.h"

#include <cstdint>
#include <string>

#include "imaging/error.h"

namespace gt {

void ChannelMeans(const Bitmap& bitmap, int mean[3]) {
    std::int64_t sum[3] = {0, 0, 0};
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* p = bitmap.row(y);
        for (int x = 0; x < bitmap.width(); ++x, p += 3) {
            sum[0] += p[0]; sum[1] += p[1]; sum[2] += p[2];
        }
    }
    const std::int64_t n = static_cast<std::int64_t>(bitmap.width()) * bitmap.height();
    if (n > INT32_MAX) throw Error("picture too large for the contrast step (" + std::to_string(n) + " pixels)");
    for (int ch = 0; ch < 3; ++ch) mean[ch] = n == 0 ? 0 : static_cast<int>(sum[ch] / n);
}

Bitmap PaddedCopy9(const Bitmap& bitmap) {
    Bitmap s(bitmap.width() + 18, bitmap.height() + 18);
    s.draw(bitmap, 0, 0);
    s.draw(bitmap, 9, 0);
    s.draw(bitmap, 0, 9);
    s.draw(bitmap, 9, 9);
    return s;
}

}  // namespace gt
