// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/bitmap.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#if defined(__linux__)
#include <sys/mman.h>
#endif

// The address sanitizer must see the bounds of every picture, so it keeps them all on the heap.
#if defined(__SANITIZE_ADDRESS__)
#define GT_LARGE_PAGES 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GT_LARGE_PAGES 0
#endif
#endif
#if !defined(GT_LARGE_PAGES) && defined(__linux__) && defined(MADV_HUGEPAGE)
#define GT_LARGE_PAGES 1
#endif

namespace gt {

namespace {

#if GT_LARGE_PAGES
constexpr std::size_t kLargePage = std::size_t(2) << 20;
// Smaller pictures come from the ordinary heap: a mapping of their own would cost more than it saves.
constexpr std::size_t kMappedFrom = std::size_t(4) << 20;

std::size_t mappedLength(std::size_t n) { return (n + kLargePage - 1) / kLargePage * kLargePage; }
#endif

// The mapping is one large page longer than the picture, so that the picture can start on a
// large-page boundary; the pieces before and after are unmapped at once.
std::uint8_t* allocateBytes(std::size_t n) {
    if (n == 0) return nullptr;
#if GT_LARGE_PAGES
    if (n >= kMappedFrom) {
        const std::size_t length = mappedLength(n);
        void* raw = mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (raw == MAP_FAILED) throw std::bad_alloc();
        const auto start = reinterpret_cast<std::uintptr_t>(raw);
        const std::uintptr_t aligned = (start + kLargePage - 1) & ~std::uintptr_t(kLargePage - 1);
        if (aligned > start) munmap(raw, aligned - start);
        if (start + kLargePage > aligned) munmap(reinterpret_cast<void*>(aligned + length), start + kLargePage - aligned);
        void* p = reinterpret_cast<void*>(aligned);
        madvise(p, length, MADV_HUGEPAGE);  // a refusal only costs speed
        return static_cast<std::uint8_t*>(p);
    }
#endif
    return static_cast<std::uint8_t*>(::operator new(n));
}

void releaseBytes(std::uint8_t* p, std::size_t n) noexcept {
    if (!p) return;
#if GT_LARGE_PAGES
    if (n >= kMappedFrom) {
        munmap(p, mappedLength(n));
        return;
    }
#endif
    (void)n;
    ::operator delete(p);
}

}  // namespace

PictureBytes::PictureBytes(const PictureBytes& other) : data_(allocateBytes(other.size_)), size_(other.size_) {
    if (size_) std::memcpy(data_, other.data_, size_);
}

PictureBytes& PictureBytes::operator=(const PictureBytes& other) {
    if (this == &other) return *this;
    resize(other.size_);
    if (size_) std::memcpy(data_, other.data_, size_);
    return *this;
}

PictureBytes& PictureBytes::operator=(PictureBytes&& other) noexcept {
    if (this == &other) return *this;
    release();
    data_ = other.data_;
    size_ = other.size_;
    other.data_ = nullptr;
    other.size_ = 0;
    return *this;
}

void PictureBytes::resize(std::size_t n) {
    if (n == size_) return;
    std::uint8_t* fresh = allocateBytes(n);
    release();
    data_ = fresh;
    size_ = n;
}

void PictureBytes::shrink(std::size_t n) {
    if (n >= size_) return;
    if (n == 0) {
        release();
        return;
    }
#if GT_LARGE_PAGES
    if (n >= kMappedFrom) {
        // Both lengths are mapped: the large pages beyond the kept ones go.
        const std::size_t kept = mappedLength(n), had = mappedLength(size_);
        if (had > kept) munmap(data_ + kept, had - kept);
        size_ = n;
        return;
    }
#endif
    std::uint8_t* fresh = allocateBytes(n);
    std::memcpy(fresh, data_, n);
    release();
    data_ = fresh;
    size_ = n;
}

void PictureBytes::release() noexcept {
    releaseBytes(data_, size_);
    data_ = nullptr;
    size_ = 0;
}

void Bitmap::setSize(int width, int height) {
    setSizeForOverwrite(width, height);
    if (data_.size()) std::memset(data_.data(), 255, data_.size());
}

void Bitmap::setSizeForOverwrite(int width, int height) {
    if (width < 0 || height < 0)
        throw std::invalid_argument("picture size " + std::to_string(width) + " x " + std::to_string(height) + " is negative");
    width_ = width;
    height_ = height;
    data_.resize(std::size_t(width) * std::size_t(height) * 3);
}

void Bitmap::keepTopRows(int height) {
    if (height < 0 || height > height_)
        throw std::invalid_argument("cannot keep " + std::to_string(height) + " rows of " + std::to_string(height_));
    height_ = height;
    data_.shrink(std::size_t(width_) * std::size_t(height) * 3);
}

void Bitmap::fill(Colour c) {
    if (c == kWhite) {
        if (data_.size()) std::memset(data_.data(), 255, data_.size());
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
