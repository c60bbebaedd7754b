// SPDX-License-Identifier: GPL-3.0-or-later
// The fast paintings against their plain references, byte for byte, on many small pictures with
// random parameters, with one and several workers, and when cancelled part way.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "imaging/painting.h"
#include "imaging/parallel.h"
#include "test_pictures.h"

namespace gt {
namespace {

using testing::noisy;

const std::vector<std::pair<int, int>> kSizes = {{1, 1}, {2, 3}, {3, 2}, {4, 4}, {5, 4}, {4, 5}, {5, 7},
                                                 {7, 5}, {9, 3}, {30, 31}, {31, 30}, {61, 45}, {33, 64}};

// Restores the worker count when the test ends.
struct Workers {
    int saved = workerCount();
    explicit Workers(int n) { setWorkerCount(n); }
    ~Workers() { setWorkerCount(saved); }
};

struct Case {
    Bitmap photo;
    DrawingControls controls;
    int cancelAt = -1;  // the progress report on which the cancel flag is set
    std::string name;
};

// Noisy pictures, or flatter ones where whole areas merge and smooth.
Bitmap picture(int w, int h, Random& r) {
    Bitmap b = noisy(w, h, r.draw(1000u));
    if (r.draw(2) == 0) {
        for (auto& v : b.bytes()) v = static_cast<std::uint8_t>(100 + v / 16);
    }
    return b;
}

std::vector<Case> cases(std::uint32_t seed, bool withCancel) {
    Random r;
    r.seed = seed;
    std::vector<Case> all;
    for (auto [w, h] : kSizes) {
        for (int k = 0; k < 3; ++k) {
            Case c;
            c.photo = picture(w, h, r);
            c.controls.TrackBar1 = r.draw(256);
            c.controls.TrackBar2 = r.draw(3) == 0 ? 255 : r.draw(256);
            c.controls.TrackBar3 = r.draw(256);
            c.controls.TrackBar5 = r.draw(4) == 0 ? r.draw(101) : r.draw(8);
            c.controls.CheckBox2 = r.draw(2) == 1;
            c.controls.CheckBox3 = r.draw(2) == 1;
            c.controls.ComboBox1 = r.draw(2) == 0 ? 5 : 6;
            c.controls.ComboBox2 = r.draw(3);
            if (withCancel) c.cancelAt = r.draw(c.controls.TrackBar5 + 2);
            c.name = std::to_string(w) + "x" + std::to_string(h) + " #" + std::to_string(k);
            all.push_back(std::move(c));
        }
    }
    return all;
}

struct Outcome {
    Bitmap source, destination;
    std::uint32_t seed = 0;
    int reports = 0;
    bool operator==(const Outcome&) const = default;
};

template <class Routine>
Outcome run(const Case& c, Routine routine) {
    Outcome out;
    out.source = c.photo;
    std::atomic<bool> cancel{false};
    RenderContext ctx;
    ctx.cancel = &cancel;
    ctx.DrawingWidth = c.photo.width() * 20;  // dab sizes beyond 0
    ctx.DrawingHeight = c.photo.height() * 20;
    ctx.progress = [&](int, int, int, int) {
        if (out.reports++ == c.cancelAt) cancel = true;
    };
    routine(out.source, out.destination, ctx);
    out.seed = ctx.random.seed;
    return out;
}

class PaintingFastPaths : public ::testing::TestWithParam<int> {};

TEST_P(PaintingFastPaths, RecursivePaintingMatchesPlain) {
    Workers workers(GetParam());
    const Bitmap texture = noisy(256, 256, 5);
    Materials m;
    m.PaperTexture = &texture;
    for (bool withCancel : {false, true})
        for (const Case& c : cases(withCancel ? 41 : 40, withCancel)) {
            const Outcome fast = run(c, [&](Bitmap& s, Bitmap& d, RenderContext& ctx) { RecursivePainting(s, d, c.controls, m, ctx); });
            const Outcome plain = run(c, [&](Bitmap& s, Bitmap& d, RenderContext& ctx) { plain::RecursivePainting(s, d, c.controls, m, ctx); });
            EXPECT_TRUE(fast == plain) << c.name << (withCancel ? " cancelled" : "");
        }
}

TEST_P(PaintingFastPaths, BilateralPaintingMatchesPlain) {
    Workers workers(GetParam());
    const Bitmap texture = noisy(256, 256, 6);
    Materials m;
    m.PaperTexture = &texture;
    for (bool withCancel : {false, true})
        for (const Case& c : cases(withCancel ? 51 : 50, withCancel)) {
            const Outcome fast = run(c, [&](Bitmap& s, Bitmap& d, RenderContext& ctx) { BilateralPainting(s, d, 1, 1, c.controls, m, ctx); });
            const Outcome plain =
                run(c, [&](Bitmap& s, Bitmap& d, RenderContext& ctx) { plain::BilateralPainting(s, d, 1, 1, c.controls, m, ctx); });
            EXPECT_TRUE(fast == plain) << c.name << (withCancel ? " cancelled" : "");
        }
}

TEST_P(PaintingFastPaths, MergeAndContrastMatchPlain) {
    Workers workers(GetParam());
    Random r;
    r.seed = 60;
    for (auto [w, h] : kSizes) {
        for (int k = 0; k < 4; ++k) {
            const Bitmap photo = picture(w, h, r);
            const int trackBar1 = r.draw(256), iteration = r.draw(4), percent = r.draw(256);
            Bitmap fast = photo, plain = photo;
            MergeIteration(fast, iteration, trackBar1);
            plain::MergeIteration(plain, iteration, trackBar1);
            EXPECT_EQ(fast, plain) << w << "x" << h << " merge";
            fast = photo;
            plain = photo;
            Painting4Contrast(fast, percent);
            plain::Painting4Contrast(plain, percent);
            EXPECT_EQ(fast, plain) << w << "x" << h << " contrast " << percent;
        }
    }
}

// Taller pictures and more iterations than above: the iterations then run several at a time, in
// bands whose edges the workers finish afterwards, and a cancel can fall inside such a group.
TEST(PaintingFastPaths, IterationsInBandsMatchPlain) {
    const Bitmap texture = noisy(256, 256, 7);
    Materials m;
    m.PaperTexture = &texture;
    Random r;
    r.seed = 70;
    const std::vector<std::pair<int, int>> sizes = {{5, 120}, {37, 101}, {70, 50}, {33, 77}};
    for (int workers : {2, 5}) {
        Workers w(workers);
        for (auto [width, height] : sizes) {
            for (bool withCancel : {false, true}) {
                Case c;
                c.photo = picture(width, height, r);
                c.controls.TrackBar1 = 60 + r.draw(196);
                c.controls.TrackBar2 = r.draw(256);
                c.controls.TrackBar3 = r.draw(256);
                c.controls.TrackBar5 = 5 + r.draw(20);
                c.controls.CheckBox2 = r.draw(2) == 1;
                c.controls.ComboBox1 = r.draw(2) == 0 ? 5 : 6;
                if (withCancel) c.cancelAt = 1 + r.draw(c.controls.TrackBar5);
                const std::string name = std::to_string(width) + "x" + std::to_string(height) + " workers " + std::to_string(workers) +
                                         (withCancel ? " cancelled at " + std::to_string(c.cancelAt) : "");
                const Outcome fast1 = run(c, [&](Bitmap& s, Bitmap& d, RenderContext& ctx) { RecursivePainting(s, d, c.controls, m, ctx); });
                const Outcome plain1 = run(c, [&](Bitmap& s, Bitmap& d, RenderContext& ctx) { plain::RecursivePainting(s, d, c.controls, m, ctx); });
                EXPECT_TRUE(fast1 == plain1) << "painting 1, " << name;
                const Outcome fast2 = run(c, [&](Bitmap& s, Bitmap& d, RenderContext& ctx) { BilateralPainting(s, d, 1, 1, c.controls, m, ctx); });
                const Outcome plain2 =
                    run(c, [&](Bitmap& s, Bitmap& d, RenderContext& ctx) { plain::BilateralPainting(s, d, 1, 1, c.controls, m, ctx); });
                EXPECT_TRUE(fast2 == plain2) << "painting 2, " << name;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Workers, PaintingFastPaths, ::testing::Values(1, 3));

}  // namespace
}  // namespace gt
