#include "imaging/bitmap.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace gt {

void Bitmap::setSize(int width, int height) {
    if (width < 0 || height < 0)
        throw std::invalid_argument("picture size " + std::to_string(width) + " x " + std::to_string(height) + " is negative");
    width_ = width;
    height_ = height;
    data_.assign(std::size_t(width) * std::size_t(height) * 3, 255);
}

void Bitmap::fill(Colour c) {
    if (c == kWhite) {
        std::fill(data_.begin(), data_.end(), std::uint8_t(255));
        return;
    }
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = row(y);
        for (int x = 0; x < width_; ++x, p += 3) {
            p[0] = c.b; p[1] = c.g; p[2] = c.r;
        }
    }
}

void Bitmap::draw(const Bitmap& picture, int x, int y) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(width_, x + picture.width()), y1 = std::min(height_, y + picture.height());
    if (x0 >= x1 || y0 >= y1) return;
    const std::size_t bytes = std::size_t(x1 - x0) * 3;
    if (&picture == this) {
        // Drawing a picture onto itself at an offset: copy rows in an order that never reads a row already overwritten.
        if (y > 0 || (y == 0 && x > 0)) {
            for (int yy = y1 - 1; yy >= y0; --yy) std::memmove(pixel(x0, yy), picture.pixel(x0 - x, yy - y), bytes);
        } else {
            for (int yy = y0; yy < y1; ++yy) std::memmove(pixel(x0, yy), picture.pixel(x0 - x, yy - y), bytes);
        }
        return;
    }
    for (int yy = y0; yy < y1; ++yy) std::memcpy(pixel(x0, yy), picture.pixel(x0 - x, yy - y), bytes);
}

}  // namespace gt
