// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pixel model: a 24-bit picture, rows top to bottom, each pixel three bytes blue, green, red.
// A picture that is given a size reads white wherever nothing has been drawn yet.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>  // for the files that take it from here

namespace gt {

// The bytes of a picture. Large pictures are mapped in 2 MB pages where the system offers them: a
// fresh 36 MB picture otherwise costs thousands of page faults, far more than writing its bytes.
class PictureBytes {
public:
    PictureBytes() = default;
    PictureBytes(const PictureBytes& other);
    PictureBytes(PictureBytes&& other) noexcept : data_(other.data_), size_(other.size_) {
        other.data_ = nullptr;
        other.size_ = 0;
    }
    PictureBytes& operator=(const PictureBytes& other);
    PictureBytes& operator=(PictureBytes&& other) noexcept;
    ~PictureBytes() { release(); }

    // A new length; the bytes are unspecified afterwards (kept when the length stays the same).
    void resize(std::size_t n);
    // Keeps the first n bytes (n no more than the length) and gives the rest back; a large mapping
    // is cut where it stands, without a second copy.
    void shrink(std::size_t n);

    std::uint8_t* data() { return data_; }
    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    std::uint8_t* begin() { return data_; }
    std::uint8_t* end() { return data_ + size_; }
    const std::uint8_t* begin() const { return data_; }
    const std::uint8_t* end() const { return data_ + size_; }
    std::uint8_t& operator[](std::size_t i) { return data_[i]; }
    const std::uint8_t& operator[](std::size_t i) const { return data_[i]; }

    friend bool operator==(const PictureBytes& a, const PictureBytes& b) {
        return a.size_ == b.size_ && (a.size_ == 0 || std::memcmp(a.data_, b.data_, a.size_) == 0);
    }

private:
    void release() noexcept;

    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

// The widest rows the routines accept (pixel column indexes 0..65535).
inline constexpr int kMaxWidth = 65535;
// The most pixels of any picture the program takes in or makes: 400 megapixels take 1.2 GB.
inline constexpr long long kMaxPixels = 400'000'000;

struct Colour {
    std::uint8_t b = 255, g = 255, r = 255;
    friend bool operator==(const Colour&, const Colour&) = default;
    // The platform's colour integer: red in the low byte, then green, then blue.
    static Colour fromTColor(std::uint32_t c) {
        return {std::uint8_t((c >> 16) & 255), std::uint8_t((c >> 8) & 255), std::uint8_t(c & 255)};
    }
    std::uint32_t toTColor() const { return std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16); }
};

inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kBlack{0, 0, 0};

class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height) { setSize(width, height); }

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    std::size_t stride() const { return std::size_t(width_) * 3; }

    // Gives the picture a new size; every pixel reads white afterwards.
    void setSize(int width, int height);
    // A new size whose pixels the caller paints, every one of them, before anything reads them.
    void setSizeForOverwrite(int width, int height);
    // Keeps the top `height` rows (no more than there are) and gives the memory of the rest back.
    void keepTopRows(int height);

    std::uint8_t* row(int y) { return data_.data() + std::size_t(y) * stride(); }
    const std::uint8_t* row(int y) const { return data_.data() + std::size_t(y) * stride(); }
    std::uint8_t* pixel(int x, int y) { return row(y) + std::size_t(x) * 3; }
    const std::uint8_t* pixel(int x, int y) const { return row(y) + std::size_t(x) * 3; }

    Colour colourAt(int x, int y) const {
        const std::uint8_t* p = pixel(x, y);
        return {p[0], p[1], p[2]};
    }
    void setColour(int x, int y, Colour c) {
        std::uint8_t* p = pixel(x, y);
        p[0] = c.b; p[1] = c.g; p[2] = c.r;
    }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    void fill(Colour c);
    // Copies the whole of `picture` with its top-left corner at (x, y), clipped to this picture.
    void draw(const Bitmap& picture, int x, int y);

    PictureBytes& bytes() { return data_; }
    const PictureBytes& bytes() const { return data_; }

    friend bool operator==(const Bitmap& a, const Bitmap& b) {
        return a.width_ == b.width_ && a.height_ == b.height_ && a.data_ == b.data_;
    }

private:
    int width_ = 0;
    int height_ = 0;
    PictureBytes data_;
};

}  // namespace gt
