// SPDX-License-Identifier: GPL-3.0-or-later
// A whole rendering of a small picture made by the fuzzer, in the style and with the sliders and
// finishing settings it chooses: the routines must stay inside their pictures whatever the values.
//
// Input: style, five sliders (two bytes each), switches, texture, frame, margin, width, height, seed,
// then the pixels (repeated when short).

#include <cstddef>
#include <cstdint>
#include <memory>

#include "imaging/context.h"
#include "imaging/error.h"
#include "imaging/io/builtin_pictures.h"
#include "imaging/resources.h"
#include "pipeline/parameters.h"
#include "pipeline/render.h"
#include "pipeline/styles.h"

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    int byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    int word() { return byte() | byte() << 8; }
    const std::uint8_t* rest(std::size_t& n) const {
        n = pos_ < size_ ? size_ - pos_ : 0;
        return data_ + pos_;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_, pos_ = 0;
};

const gt::Resources& resources() {
    static const gt::Resources r = gt::loadBuiltinPictures();
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    const int style = in.byte() % gt::kStyleCount;
    gt::DrawingParameters p = gt::defaultParameters(static_cast<gt::DrawingStyle>(style));
    for (int slot = 0; slot < gt::kSliderCount; ++slot)
        gt::setSliderValue(p, slot, gt::sliderRange(style, slot).clamp(in.word() % 300 - 20));
    const int switches = in.byte();
    p.CheckBox1 = switches & 1;
    p.CheckBox2 = switches & 2;
    p.CheckBox3 = switches & 4;
    p.CheckBox4 = false;  // the text needs Qt's font engine
    p.ComboBox2 = (switches >> 3) % 3;
    p.UpDown1 = in.byte() % 10;
    p.frame.style = in.byte() % 4;
    p.frame.margin = in.word() % 200;
    p.frame.realisticNumber = in.byte() % 9;
    p.frame.colouredNumber = in.byte() % 7;
    const int w = 1 + in.byte() % 64, h = 1 + in.byte() % 64;
    gt::RenderContext ctx;
    ctx.random.seed = static_cast<std::uint32_t>(in.word());
    std::size_t n = 0;
    const std::uint8_t* pixels = in.rest(n);
    gt::Bitmap photo(w, h);
    if (n > 0)
        for (int y = 0, i = 0; y < h; ++y)
            for (int x = 0; x < w * 3; ++x, ++i) photo.row(y)[x] = pixels[std::size_t(i) % n];
    try {
        const gt::RenderResult r = gt::renderDrawing(photo, p, resources(), ctx);
        (void)r;
    } catch (const gt::Error&) {
    }
    return 0;
}
