// SPDX-License-Identifier: GPL-3.0-or-later
// make bench: one table of how long each style and each heavy routine takes on a 12-megapixel photo,
// for the plain single-threaded path and the fast path, with their ratio, the peak memory of a
// render and the time of a parameter-window preview.
//
//   graphitello-bench [--quick] [--no-plain] [--previews] [--photo FILE]
//   graphitello-bench --viewer [--photo FILE]
//   graphitello-bench --memory [MP,MP,...] [--styles NAME,NAME,...] [--frame] [--photo FILE]
//
// --quick works on a 3-megapixel photo; --no-plain skips the (slow) plain runs; --previews times
// the previews only; --viewer times the main window's viewer on an 8000 x 6000 photo instead.
// --memory measures the peak memory of whole renderings at several sizes (12, 48 and 100 megapixels
// unless given): for each style and size a child process makes the photo (4:3, the sample photo
// enlarged), renders it and encodes the drawing as JPEG, and the table gives the growth of its
// resident memory from before the photo to the peak, photo included, per photo pixel, beside the
// estimate of the check before a rendering. Without --frame the styles render unframed.

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "imaging/adjust.h"
#include "imaging/filters.h"
#include "imaging/io/builtin_pictures.h"
#include "imaging/io/picture_io.h"
#include "imaging/median.h"
#include "imaging/painting.h"
#include "imaging/parallel.h"
#include "imaging/pencil.h"
#include "imaging/rotate.h"
#include "pipeline/parameters.h"
#include "pipeline/presets.h"
#include "pipeline/preview.h"
#include "pipeline/style_gallery.h"
#include "pipeline/render.h"
#include "pipeline/render_limits.h"
#include "pipeline/styles.h"
#ifdef GT_BENCH_VIEWER
#include "bench/viewer_bench.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

long procStatusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::size_t n = std::strlen(key);
    while (std::getline(in, line))
        if (line.compare(0, n, key) == 0) return std::stol(line.substr(n + 1));
    return -1;
}

// Runs f in a child process and returns the growth of its resident memory over the run, in bytes.
long long peakGrowth(const std::function<void()>& f) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        malloc_trim(0);  // memory freed by earlier runs must not hide this run's growth
        { std::ofstream("/proc/self/clear_refs") << "5"; }  // resets the high-water mark
        const long before = procStatusKb("VmRSS:");
        f();
        const long long growth = (procStatusKb("VmHWM:") - before) * 1024LL;
        if (write(fds[1], &growth, sizeof growth) != sizeof growth) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    long long growth = -1;
    if (read(fds[0], &growth, sizeof growth) != sizeof growth) growth = -1;
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return growth;
}

struct Row {
    std::string name;
    double plainMs = -1, fastMs = -1;
    long long peak = -1;
};

// The fast paths take the best of three runs (the first run of a routine also pays for warming up
// the workers and the memory); the plain ones, slow and steady, run once.
double timeIt(const std::function<void()>& f, bool plain) {
    gt::setPlainPaths(plain);
    gt::setWorkerCount(plain ? 1 : 0);
    double best = 0;
    for (int run = 0; run < (plain ? 1 : 3); ++run) {
        const auto t0 = Clock::now();
        f();
        const double ms = msSince(t0);
        if (run == 0 || ms < best) best = ms;
    }
    gt::setPlainPaths(false);
    gt::setWorkerCount(0);
    return best;
}

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        if (comma > start) items.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return items;
}

// The peak memory of whole renderings, each in a child process of its own that starts without the
// photo: what the growth counts is the photo, the style's pictures, the finishing pass and the
// encoding of the drawing as JPEG, as the command line holds them between reading the photo and
// writing the file (the photo given over to the rendering). Beside each figure, the estimate the
// check before a rendering makes of it.
int memoryBenchmark(const std::string& photoPath, const std::vector<double>& sizes, const std::vector<gt::DrawingStyle>& styles,
                    bool framed) {
    const gt::Bitmap sample = gt::readPicture(photoPath);
    const gt::Resources resources = gt::loadBuiltinPictures();
    std::printf("Peak memory of a rendering and its JPEG, photo included, %s; %d worker threads\n\n",
                framed ? "default frame" : "no frame", gt::workerCount());
    std::printf("| %-14s |", "style");
    std::vector<std::pair<int, int>> dims;
    for (double mp : sizes) {
        const int w = static_cast<int>(std::sqrt(mp * 1e6 * 4 / 3));
        const int h = static_cast<int>(mp * 1e6 / w);
        dims.emplace_back(w, h);
        std::printf(" %22s |", (std::to_string(w) + "x" + std::to_string(h)).c_str());
    }
    std::printf("\n| %-14s |", "");
    for (std::size_t i = 0; i < dims.size(); ++i) std::printf(" %8s %5s %7s |", "peak MB", "B/px", "est.");
    std::printf("\n");
    std::fflush(stdout);
    for (gt::DrawingStyle style : styles) {
        std::printf("| %-14s |", gt::styleCliName(style).c_str());
        std::fflush(stdout);
        for (const auto& [w, h] : dims) {
            gt::DrawingParameters params = gt::defaultParameters(style);
            params.CheckBox1 = framed;
            const long long peak = peakGrowth([&] {
                gt::Bitmap photo(w, h);
                gt::ResizeBilinear(sample, photo);
                const auto t0 = Clock::now();
                gt::RenderContext ctx;
                ctx.DrawingWidth = w;
                ctx.DrawingHeight = h;
                const gt::RenderResult result = gt::renderDrawing(std::move(photo), params, resources, ctx);
                (void)gt::encodeJpeg(result.drawing, 90);
                std::fprintf(stderr, "  %s %dx%d: %.1f s\n", gt::styleCliName(style).c_str(), w, h, msSince(t0) / 1000);
            });
            const double pixels = double(w) * h;
            const double estimate = static_cast<double>(gt::renderPeakBytes(w, h, params, resources)) / pixels;
            if (peak < 0) std::printf(" %8s %5s %7.1f |", "failed", "", estimate);
            else std::printf(" %8.0f %5.1f %7.1f |", peak / 1e6, peak / pixels, estimate);
            std::fflush(stdout);
        }
        std::printf("\n");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bool quick = false, withPlain = true, previewsOnly = false, viewer = false, memoryMode = false, framed = false;
    std::vector<double> sizes = {12, 48, 100};
    std::vector<gt::DrawingStyle> memoryStyles;
    std::string photoPath = std::string(GT_ASSET_DIR) + "/sample_photo.jpg";
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--quick") quick = true;
        else if (a == "--no-plain") withPlain = false;
        else if (a == "--previews") previewsOnly = true;
        else if (a == "--viewer") viewer = true;
        else if (a == "--memory") {
            memoryMode = true;
            if (i + 1 < argc && argv[i + 1][0] != '-') {
                sizes.clear();
                for (const std::string& mp : splitList(argv[++i])) sizes.push_back(std::stod(mp));
            }
        } else if (a == "--styles" && i + 1 < argc) {
            for (const std::string& name : splitList(argv[++i])) {
                const std::optional<gt::DrawingStyle> style = gt::styleFromCliName(name);
                if (!style) {
                    std::fprintf(stderr, "graphitello-bench: unknown style %s\n", name.c_str());
                    return 2;
                }
                memoryStyles.push_back(*style);
            }
        } else if (a == "--frame") framed = true;
        else if (a == "--photo" && i + 1 < argc) photoPath = argv[++i];
        else {
            std::fprintf(stderr, "usage: graphitello-bench [--quick] [--no-plain] [--previews] [--photo FILE]\n"
                                 "       graphitello-bench --viewer [--photo FILE]\n"
                                 "       graphitello-bench --memory [MP,MP,...] [--styles NAME,...] [--frame] [--photo FILE]\n");
            return 2;
        }
    }
    if (viewer) {
#ifdef GT_BENCH_VIEWER
        return viewerBenchmark(photoPath);
#else
        std::fprintf(stderr, "graphitello-bench: built without the desktop application, so without --viewer\n");
        return 2;
#endif
    }
    if (memoryMode) {
        if (memoryStyles.empty())
            for (int s = 0; s < gt::kStyleCount; ++s) memoryStyles.push_back(static_cast<gt::DrawingStyle>(s));
        return memoryBenchmark(photoPath, sizes, memoryStyles, framed);
    }

    const gt::Bitmap sample = gt::readPicture(photoPath);
    gt::Bitmap photo(quick ? 2000 : 4000, quick ? 1500 : 3000);
    gt::ResizeBilinear(sample, photo);
    const double mp = photo.width() * double(photo.height()) / 1e6;
    const gt::Resources resources = gt::loadBuiltinPictures();

    std::printf("Photo %d x %d (%.1f megapixels), %d worker threads\n\n", photo.width(), photo.height(), mp, gt::workerCount());
    std::vector<Row> rows;

    auto routine = [&](const std::string& name, const std::function<void()>& f) {
        Row r;
        r.name = name;
        r.fastMs = timeIt(f, false);
        if (withPlain) r.plainMs = timeIt(f, true);
        rows.push_back(r);
        std::fprintf(stderr, "  %s done\n", name.c_str());
    };

    if (!previewsOnly) {
        // JPEG, decode and encode.
        const std::vector<unsigned char> jpeg = gt::encodeJpeg(photo, 90);
        routine("JPEG decode", [&] { (void)gt::decodeJpeg(jpeg, "bench.jpg"); });
        routine("JPEG encode (quality 90)", [&] { (void)gt::encodeJpeg(photo, 90); });

        // Heavy routines.
        gt::RenderContext quiet;
        routine("Soften", [&] { gt::Bitmap b = photo; gt::Soften(b); });
        routine("Sharpen", [&] { gt::Bitmap b = photo; gt::Sharpen(b); });
        routine("Blur3x3", [&] { gt::Bitmap b = photo; gt::Blur3x3(b); });
        routine("AdjustContrast 25", [&] { gt::Bitmap b = photo; gt::AdjustContrast(b, 25); });
        routine("AdjustSaturation 25", [&] { gt::Bitmap b = photo; gt::AdjustSaturation(b, 25); });
        routine("ResizeBilinear to 3/4", [&] { gt::Bitmap d(photo.width() * 3 / 4, photo.height() * 3 / 4); gt::ResizeBilinear(photo, d); });
        routine("MedianFilter 5", [&] { gt::Bitmap d(photo.width(), photo.height()); gt::MedianFilter(photo, d, 5, 1, 1, quiet); });
        routine("MedianFilter 11", [&] { gt::Bitmap d(photo.width(), photo.height()); gt::MedianFilter(photo, d, 11, 1, 1, quiet); });
        routine("RotateBitmapByAngle 40", [&] { gt::Bitmap d; gt::RotateBitmapByAngle(photo, d, 40, quiet); });
        routine("Painting4Contrast 30", [&] { gt::Bitmap b = photo; gt::Painting4Contrast(b, 30); });

        // Styles: the whole render path with the program's defaults, finishing pass included.
        std::vector<Row> styles;
        for (int s = 0; s <= 8; ++s) {
            gt::DrawingParameters params = gt::defaultParameters(static_cast<gt::DrawingStyle>(s));
            auto render = [&] {
                gt::RenderContext ctx;
                ctx.DrawingWidth = photo.width();
                ctx.DrawingHeight = photo.height();
                (void)gt::renderDrawing(photo, params, resources, ctx);
            };
            Row r;
            r.name = gt::styleCliName(static_cast<gt::DrawingStyle>(s));
            r.fastMs = timeIt(render, false);
            if (withPlain) r.plainMs = timeIt(render, true);
            r.peak = peakGrowth(render);
            styles.push_back(r);
            std::fprintf(stderr, "  style %s done\n", r.name.c_str());
        }

        auto printRow = [&](const Row& r, bool memory) {
            std::printf("| %-26s | %9.0f | %9.1f |", r.name.c_str(), r.fastMs, r.fastMs / mp);
            if (r.plainMs >= 0) std::printf(" %9.0f | %9.1f | %6.1fx |", r.plainMs, r.plainMs / mp, r.plainMs / r.fastMs);
            else std::printf(" %9s | %9s | %7s |", "-", "-", "-");
            if (memory) std::printf(" %8.1f |", r.peak >= 0 ? r.peak / (mp * 1e6) : -1.0);
            std::printf("\n");
        };
        std::printf("| %-26s | %9s | %9s | %9s | %9s | %7s |\n", "routine", "fast ms", "fast ms/MP", "plain ms", "plain ms/MP", "ratio");
        std::printf("|%s|\n", std::string(88, '-').c_str());
        for (const Row& r : rows) printRow(r, false);
        std::printf("\n| %-26s | %9s | %9s | %9s | %9s | %7s | %8s |\n", "style (render + finishing)", "fast ms", "fast ms/MP", "plain ms", "plain ms/MP", "ratio", "peak B/px");
        std::printf("|%s|\n", std::string(99, '-').c_str());
        double total = 0;
        for (const Row& r : styles) {
            printRow(r, true);
            total += r.fastMs;
        }
        std::printf("| %-26s | %9.0f |\n", "all nine styles", total);
    }

    // Previews: 200 x 200, each style, median of several runs, with the style's defaults and with the
    // slowest setting found by moving each visible slider to either end of its range (the others at
    // their defaults).
    auto previewMs = [&](const gt::DrawingParameters& params) {
        std::vector<double> t;
        for (int k = 0; k < 7; ++k) {
            const auto t0 = Clock::now();
            gt::RenderContext ctx;
            ctx.parameterWindowVisible = true;
            ctx.DrawingWidth = photo.width();
            ctx.DrawingHeight = photo.height();
            (void)gt::renderPreview(photo, photo.width() / 2 - 100, photo.height() / 2 - 100, params, resources, ctx);
            t.push_back(msSince(t0));
        }
        std::sort(t.begin(), t.end());
        return t[t.size() / 2];
    };
    std::printf("\n| %-26s | %9s | %9s | %-22s |\n", "preview (200 x 200)", "defaults", "slowest", "slowest at");
    double slowestOfAll = 0;
    for (int s = 0; s <= 8; ++s) {
        const gt::DrawingParameters defaults = gt::defaultParameters(static_cast<gt::DrawingStyle>(s));
        const double atDefaults = previewMs(defaults);
        double slowest = atDefaults;
        std::string where = "defaults";
        const auto visible = gt::sliderVisibility(s);
        for (int slot = 0; slot < gt::kSliderCount; ++slot) {
            if (!visible[std::size_t(slot)]) continue;
            const gt::SliderRange range = gt::sliderRange(s, slot);
            for (int value : {range.minimum, range.maximum}) {
                gt::DrawingParameters moved = defaults;
                gt::setSliderValue(moved, slot, value);
                const double ms = previewMs(moved);
                if (ms > slowest) {
                    slowest = ms;
                    where = std::string(gt::sliderName(slot)) + " = " + std::to_string(value);
                }
            }
        }
        slowestOfAll = std::max(slowestOfAll, slowest);
        std::printf("| %-26s | %9.1f | %9.1f | %-22s |\n", gt::styleCliName(static_cast<gt::DrawingStyle>(s)).c_str(), atDefaults,
                    slowest, where.c_str());
    }
    std::printf("| %-26s | %9s | %9.1f |\n", "slowest preview", "", slowestOfAll);

    // The gallery: the nine styles' previews of one crop at their defaults, on the worker threads,
    // against the same nine one after the other.
    {
        gt::ParameterWindowLogic w = gt::createParameterWindowLogic();
        gt::activateParameterWindow(w);
        const gt::StyleControls controls = gt::controlsForEveryStyle(w);
        auto galleryMs = [&](int workers) {
            gt::setWorkerCount(workers);
            std::vector<double> t;
            for (int k = 0; k < 7; ++k) {
                const auto t0 = Clock::now();
                (void)gt::renderStylePreviews(photo, photo.width() / 2 - 100, photo.height() / 2 - 100, controls, resources);
                t.push_back(msSince(t0));
            }
            gt::setWorkerCount(0);
            std::sort(t.begin(), t.end());
            return t[t.size() / 2];
        };
        const double one = galleryMs(1);
        const double all = galleryMs(0);
        std::printf("| %-26s | %9.1f | %9s | %-22s |\n", "nine previews (gallery)", all, "",
                    ("1 thread: " + std::to_string(int(one + 0.5)) + " ms").c_str());
    }

    // The parameter window's strip: every built-in preset read and drawn on the crop, one after the
    // other as its worker does.
    {
        const gt::Bitmap crop = gt::copyPreviewCrop(photo, photo.width() / 2 - 100, photo.height() / 2 - 100);
        std::vector<double> t;
        for (int k = 0; k < 7; ++k) {
            const auto t0 = Clock::now();
            for (const gt::PresetEntry& e : gt::builtInPresets())
                (void)gt::renderPreviewOfCrop(crop, photo.width(), photo.height(), gt::readPreset(e).parameters, resources);
            t.push_back(msSince(t0));
        }
        std::sort(t.begin(), t.end());
        std::printf("| %-26s | %9.1f | %9s | %-22s |\n", "built-in preset thumbnails", t[t.size() / 2], "",
                    (std::to_string(gt::builtInPresets().size()) + " presets").c_str());
    }
    return 0;
}
