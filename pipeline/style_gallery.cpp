// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/style_gallery.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "imaging/parallel.h"
#include "pipeline/preview.h"

namespace gt {

DrawingControls controlsForStyle(const ParameterWindowLogic& w, int style) {
    ParameterWindowLogic chosen = w;
    selectStyle(chosen, style);
    loadSlidersFromTable(chosen.controls, chosen.table);
    return chosen.controls;
}

StyleControls controlsForEveryStyle(const ParameterWindowLogic& w) {
    StyleControls all;
    for (int s = 0; s < kStyleCount; ++s) all[std::size_t(s)] = controlsForStyle(w, s);
    return all;
}

Bitmap renderPreviewOfCrop(const Bitmap& crop, int photoWidth, int photoHeight, const DrawingParameters& p,
                           const Resources& resources) {
    RenderContext ctx;  // as the window's preview: a fresh generator, no progress
    ctx.Busy = false;
    ctx.parameterWindowVisible = true;
    ctx.DrawingWidth = photoWidth;
    ctx.DrawingHeight = photoHeight;
    return renderPreview(crop, 0, 0, p, resources, ctx);
}

std::array<Bitmap, kStyleCount> renderStylePreviews(const Bitmap& source, int left, int top, const StyleControls& controls,
                                                    const Resources& resources,
                                                    const std::function<void(int, const Bitmap&)>& ready,
                                                    const std::atomic<bool>* cancel) {
    return renderStylePreviewsOfCrop(copyPreviewCrop(source, left, top), source.width(), source.height(), controls, resources,
                                     ready, cancel);
}

std::array<Bitmap, kStyleCount> renderStylePreviewsOfCrop(const Bitmap& crop, int photoWidth, int photoHeight,
                                                          const StyleControls& controls, const Resources& resources,
                                                          const std::function<void(int, const Bitmap&)>& ready,
                                                          const std::atomic<bool>* cancel) {
    std::array<Bitmap, kStyleCount> pictures;
    // The slowest previews first (painting 1, the colour and plain pencils), so the last one
    // handed out is a quick one.
    static constexpr std::array<int, kStyleCount> kOrder = {4, 2, 0, 6, 7, 5, 1, 3, 8};
    std::atomic<int> next{0};
    std::mutex failureMutex;
    std::exception_ptr failure;
    auto work = [&] {
        for (int i = next.fetch_add(1); i < kStyleCount; i = next.fetch_add(1)) {
            if (cancel && cancel->load()) return;
            const int style = kOrder[std::size_t(i)];
            try {
                DrawingParameters p;
                static_cast<DrawingControls&>(p) = controls[std::size_t(style)];
                pictures[std::size_t(style)] = renderPreviewOfCrop(crop, photoWidth, photoHeight, p, resources);
                if (ready) ready(style, pictures[std::size_t(style)]);
            } catch (...) {
                std::lock_guard<std::mutex> lock(failureMutex);
                if (!failure) failure = std::current_exception();
                next.store(kStyleCount);
            }
        }
    };
    const int threads = std::clamp(workerCount(), 1, kStyleCount);
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) helpers.emplace_back(work);
    work();
    for (std::thread& t : helpers) t.join();
    if (failure) std::rethrow_exception(failure);
    return pictures;
}

}  // namespace gt
